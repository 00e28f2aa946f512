// Whole-frame benchmarks: what one tick of the game costs, from the black fill
// through the sprite passes to presenting on the headless platform.
#include <benchmark/benchmark.h>

#include "InGameFolder.h"
#include "app/MainForm.h"
#include "engine/ImageSprite.h"
#include "engine/PatternImage.h"
#include "platform/HeadlessPlatform.h"
#include "platform/TtfFontRasterizer.h"

namespace quillon {
namespace {

// A 32 x 32 picture with a colour-keyed corner, drawn pixel by pixel like a sprite.
class TBenchImage : public IPatternImage {
public:
    TBenchImage() : FPicture(32, 32) {
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) FPicture.SetPixel(x, y, (x + y < 8) ? 0 : static_cast<uint16_t>(0x07E0 + x));
    }
    int Width() const override { return 32; }
    int Height() const override { return 32; }
    int PatternCount() const override { return 1; }
    TRect PatternRect(int) const override { return TRect{0, 0, 32, 32}; }
    void Draw(TDirectDrawSurface& dest, int x, int y, int) override {
        TRect target = Intersect(Bounds(x, y, 32, 32), dest.ClientRect());
        for (int row = target.Top; row < target.Bottom; ++row) {
            const uint16_t* src = FPicture.Row(row - y) + (target.Left - x);
            uint16_t* out = dest.Row(row) + target.Left;
            for (int i = 0; i < target.Width(); ++i)
                if (src[i] != 0) out[i] = src[i];
        }
    }

private:
    TDirectDrawSurface FPicture;
};

void BM_FrameTickWithSprites(benchmark::State& state) {
    TInGameFolder folder;
    THeadlessPlatform platform(1 << 30, 85, THeadlessScript());
    TTtfFontRasterizer fonts;
    TMForm form(platform, TFormServices{nullptr, nullptr, &fonts});
    form.StartSeed = 1;
    form.RunHandler([&] { form.FormCreate(); });  // with the build's data, or without any
    TBenchImage image;
    TSpriteEngine* engine = form.MDXSpriteEngine.Engine();
    for (int i = 0; i < state.range(0); ++i) {
        auto* sprite = new TImageSprite(engine);
        sprite->SetImage(&image);
        sprite->X = (i * 37) % 840 - 20;
        sprite->Y = (i * 53) % 640 - 20;
        sprite->SetZ(i % 7);
    }
    for (auto _ : state) {
        form.MDXTimerTimer(12);
        form.MDXSpriteEngine.Move(12);
        platform.EndFrame([](int) { return std::string(); });
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FrameTickWithSprites)->Arg(100)->Arg(300)->Unit(benchmark::kMicrosecond);

void BM_FillBackSurface(benchmark::State& state) {
    TDirectDrawSurface surface(800, 600);
    for (auto _ : state) {
        surface.Fill(0);
        benchmark::DoNotOptimize(surface.Row(0));
    }
}
BENCHMARK(BM_FillBackSurface)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillon
