// Text drawing cost: one frame's heads-up display lines with the real fonts and
// a warm glyph cache, and the first frame that fills the cache.
#include <benchmark/benchmark.h>

#include "engine/Surface.h"
#include "engine/TextCanvas.h"
#include "menus/Text.h"
#include "platform/TtfFontRasterizer.h"

namespace quillon {
namespace {

void DrawHudLines(TGameText& text) {
    text.SelectFont(6);
    text.DrawText("\xD3\xD0\xCE\xC2\xC5\xCD\xDC 3 / 10", 20, 10, false, false);  // УРОВЕНЬ 3 / 10
    text.SelectFont(18);
    text.DrawText("01 : 27", 400, 20, true, false);
    text.DrawText("0012345", 700, 20, true, false);
    text.SelectFont(7);
    text.DrawText("3", 40, 560, true, true);
    text.SelectFont(24);
    text.DrawText("2/6", 760, 300, true, true);
    const char* distances[] = {"-120", "35", "410", "-7", "988"};
    for (int i = 0; i < 5; ++i) text.DrawText(distances[i], 740, 340 + 20 * i, false, false);
}

void BM_HudTextFrame(benchmark::State& state) {
    TTtfFontRasterizer fonts;
    TDirectDrawSurface surface(800, 600);
    TTextCanvas canvas(fonts);
    canvas.SetSurface(&surface);
    TGameText text(canvas);
    DrawHudLines(text);  // warms the glyph cache
    for (auto _ : state) {
        DrawHudLines(text);
        benchmark::DoNotOptimize(surface.Row(0));
    }
    state.SetLabel("10 HUD lines per frame");
}
BENCHMARK(BM_HudTextFrame)->Unit(benchmark::kMicrosecond);

void BM_HudTextFirstFrame(benchmark::State& state) {
    TTtfFontRasterizer fonts;
    TDirectDrawSurface surface(800, 600);
    for (auto _ : state) {
        TTextCanvas canvas(fonts);
        canvas.SetSurface(&surface);
        TGameText text(canvas);
        DrawHudLines(text);
        benchmark::DoNotOptimize(surface.Row(0));
    }
    state.SetLabel("cold glyph cache, fonts already open");
}
BENCHMARK(BM_HudTextFirstFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillon
