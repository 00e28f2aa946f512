// Sprite engine benchmarks: one frame's draw, move and free passes over a few hundred
// sprites, a screen-covering cell map, and the table trigonometry lookups.
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/BackgroundSprite.h"
#include "engine/ImageSprite.h"
#include "engine/SpriteEngine.h"
#include "engine/TrigFunctions.h"

namespace quillon {
namespace {

// Fills the pattern's rectangle in one colour: enough drawing work to keep culling honest.
class TSolidImage : public IPatternImage {
public:
    TSolidImage(int width, int height) : FWidth(width), FHeight(height) {}
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    int PatternCount() const override { return 8; }
    TRect PatternRect(int index) const override { return Bounds(index * FWidth, 0, FWidth, FHeight); }
    void Draw(TDirectDrawSurface& dest, int x, int y, int patternIndex) override {
        dest.FillRect(Bounds(x, y, FWidth, FHeight), static_cast<uint16_t>(patternIndex * 0x0841));
    }

private:
    int FWidth, FHeight;
};

// Drifts down and across; leaves (marked dead) when it falls off the surface, and the
// pass puts a fresh one in its place so the count stays steady.
class TDriftSprite : public TImageSprite {
public:
    TDriftSprite(TSprite* parent, IPatternImage* image, int seed) : TImageSprite(parent) {
        SetImage(image);
        X = (seed * 37) % 800;
        Y = (seed * 53) % 600 - 600;
        SetZ(seed % 7);
        FrameCount = 8;
        FrameLooped = true;
        FrameSpeed = 0.01;
    }
    void MoveSelf(int moveCount) override {
        TImageSprite::MoveSelf(moveCount);
        X += 0.05 * moveCount;
        Y += 0.3 * moveCount;
        if (Y > 600) MarkDead();
    }
};

void BM_SpriteFrame(benchmark::State& state) {
    TDirectDrawSurface surface(800, 600);
    TSpriteEngine engine;
    engine.SetSurface(&surface);
    TSolidImage image(32, 32);
    const int count = static_cast<int>(state.range(0));
    for (int i = 0; i < count; ++i) new TDriftSprite(&engine, &image, i);
    int seed = count;
    for (auto _ : state) {
        engine.Draw();
        engine.Move(12);
        const int dead = static_cast<int>(engine.PendingFree().size());
        engine.FreeDead();
        for (int i = 0; i < dead; ++i) new TDriftSprite(&engine, &image, seed++);
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_SpriteFrame)->Arg(100)->Arg(300)->Arg(600);

void BM_WrappedCellMap(benchmark::State& state) {
    TDirectDrawSurface surface(800, 600);
    TSpriteEngine engine;
    engine.SetSurface(&surface);
    TSolidImage image(72, 72);
    auto* map = new TBackgroundSprite(&engine);
    map->SetMapSize(16, 64);
    for (int r = 0; r < 64; ++r)
        for (int c = 0; c < 16; ++c) map->SetCell(c, r, (c + r) % 8);
    map->SetImage(&image);
    map->Wrapped = true;
    for (auto _ : state) {
        map->Y += 3.7;
        map->X -= 0.4;
        engine.Draw();
    }
}
BENCHMARK(BM_WrappedCellMap);

void BM_TableTrig(benchmark::State& state) {
    double x = -6.0;
    for (auto _ : state) {
        double sum = TableSin(x) + TableCos(x) + TableArcCos(x / 7.0) + TableArcTan(x * 3.0);
        benchmark::DoNotOptimize(sum);
        x += 0.001;
        if (x > 6.0) x = -6.0;
    }
}
BENCHMARK(BM_TableTrig);

}  // namespace
}  // namespace quillon
