// Race frames: one whole tick of a level-10 race with the demo pilot driving, from the
// black fill to presenting (the headless present, a copy of the back surface), and
// beside it one full-surface copy, the cheapest thing a frame can do, as the yardstick.
#include <benchmark/benchmark.h>

#include "app/MainForm.h"
#include "engine/Blit.h"
#include "platform/HeadlessPlatform.h"
#include "platform/TtfFontRasterizer.h"

namespace quillon {
namespace {

constexpr double FrameAt85Hz = 1000.0 / 85;  // ms

void BM_RaceFrame(benchmark::State& state) {
    THeadlessPlatform platform(1 << 30, 85, THeadlessScript());
    TTtfFontRasterizer fonts;
    TMForm form(platform, TFormServices{nullptr, nullptr, &fonts});
    form.StartSeed = 1;
    form.RunHandler([&] { form.FormCreate(); });  // the build's game folder
    if (form.CurrentScreen != 1) {
        state.SkipWithError("no game data: run from the build folder");
        return;
    }
    while (form.MenuIntro) form.MDXTimerTimer(12);
    form.StartRaceFromMenu(static_cast<int>(state.range(0)), 10);
    form.PilotOn = true;
    while (form.ActiveDialog != 0) form.MDXTimerTimer(12);  // past the level banner
    for (int i = 0; i < 600; ++i) form.MDXTimerTimer(12);   // up to speed, into the bends
    for (auto _ : state) {
        form.MDXTimerTimer(12);
        platform.EndFrame([](int) { return std::string(); });
    }
    // Seconds a frame, as a share of the 11.76 ms one frame lasts at 85 frames a second.
    state.counters["share_of_85Hz_frame"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * FrameAt85Hz / 1000.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetLabel("level 10, ship " + std::to_string(state.range(0)) + ", the pilot driving");
}
BENCHMARK(BM_RaceFrame)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);

void BM_FullSurfaceCopy(benchmark::State& state) {
    TDirectDrawSurface source(800, 600), target(800, 600);
    source.Fill(0x1234);
    for (auto _ : state) {
        target = source;
        benchmark::DoNotOptimize(target.Row(0));
    }
    state.SetLabel("800 x 600 RGB565");
}
BENCHMARK(BM_FullSurfaceCopy)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillon
