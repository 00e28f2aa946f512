// Replays: what recording adds to a race frame (the recorder's bookkeeping with its race
// checksum once a second, and packing the file at the end, per frame), and how much faster
// than real time a headless replay of the pilot's level-10 race plays.
// Measured on the 2-core build machine under heavy load (CPU time): a level-10 race frame
// 153-162 us; recording 0.39 us a frame (the checksum itself 4.5 us, once every 91 frames)
// and packing 0.24 us a frame: together 0.4 % of a race frame. 6000 frames pack into 1.6 KB.
// The recorder at the input door, its looks at the form around each tick included: 0.07 us a
// frame, its checksum once a second included (the same run gave the recorder's calls 0.57 us).
// The headless replay plays the race 88 times faster than its own time on CPU time; the
// whole program replaying the pilot's finished level-10 race (13720 frames, 161 s) used
// 2.07 s of CPU, 78 times real time (10.4 s of wall time on the loaded machine, 15 times).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "InGameFolder.h"
#include "app/MainForm.h"
#include "app/ReplayChecksum.h"
#include "app/ReplayPlayer.h"
#include "app/ReplayRecorder.h"
#include "app/ReplayTap.h"
#include "platform/HeadlessPlatform.h"
#include "platform/TtfFontRasterizer.h"
#include "save/ReplayFile.h"

namespace quillon {
namespace {

constexpr int RecordedFrames = 6000;  // 70 s of a level-10 race at 85 frames a second

class TSilentPlatform : public THeadlessPlatform {
public:
    TSilentPlatform() : THeadlessPlatform(1 << 30, 85, THeadlessScript()) {}
    void Present(const TDirectDrawSurface&) override {}
};

// A form in the build's game folder, on the main menu after its intro; null without the data.
struct TBenchForm {
    TInGameFolder Folder;
    TSilentPlatform Platform;
    TTtfFontRasterizer Fonts;
    TMForm Form{Platform, TFormServices{nullptr, nullptr, &Fonts}};

    bool Start() {
        Form.StartSeed = 1;
        Form.RunHandler([&] { Form.FormCreate(); });
        if (Form.CurrentScreen != TScreen::MainMenu) return false;
        while (Form.MenuIntro) Form.MDXTimerTimer(12);
        return true;
    }
};

// The pilot's level-10 race recorded for RecordedFrames frames, read back from its file.
std::optional<TReplay> RecordPilotRace() {
    char folder[] = "/tmp/quillon-replay-bench-XXXXXX";
    if (!mkdtemp(folder)) return std::nullopt;
    std::optional<TReplay> replay;
    {
        TBenchForm bench;
        if (bench.Start()) {
            TReplayTap tap(folder, nullptr);
            tap.Watch(bench.Form);
            bench.Form.StartRaceFromMenu(2, 10);
            bench.Form.PilotOn = true;
            for (int i = 0; i < RecordedFrames; ++i) {
                tap.BeforeTick(12);
                bench.Form.MDXTimerTimer(12);
                tap.AfterTick();
            }
            tap.Finish(TReplayEnd::Closed);
            if (!tap.LastReplay().empty()) replay = ReadReplayFile(tap.LastReplay().string());
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return replay;
}

// One frame's bookkeeping: its inputs, its controls, and once a second the checksum of a
// running level-10 race.
void BM_RecordingPerFrame(benchmark::State& state) {
    TBenchForm bench;
    if (!bench.Start()) {
        state.SkipWithError("no game data beside the benchmarks: build the game data");
        return;
    }
    bench.Form.StartRaceFromMenu(2, 10);
    bench.Form.PilotOn = true;
    while (bench.Form.ActiveDialog != TDialog::None) bench.Form.MDXTimerTimer(12);
    for (int i = 0; i < 600; ++i) bench.Form.MDXTimerTimer(12);
    TReplayRecorder recorder;
    recorder.Begin(TReplayHeader{});
    const TRaceControls controls{true, false, true, false, false, true, false, false};
    int frame = 0;
    for (auto _ : state) {
        recorder.Frame(11 + frame % 2, 11, 1.0, 5);
        recorder.Controls(controls, true);
        recorder.EndFrame([&] { return RaceChecksum(bench.Form); });
        // A race of an hour at most: start again so the frame list stays of a race's size.
        if (++frame == 85 * 3600) {
            recorder.Begin(TReplayHeader{});
            frame = 0;
        }
    }
    state.SetLabel("inputs, controls, a checksum every 91 frames");
}
BENCHMARK(BM_RecordingPerFrame)->Unit(benchmark::kNanosecond);

// The same bookkeeping as the recorder at the input door does it around each tick: reading the
// form's game from outside (a game begun or ended, the dialog, the race frame's controls) on
// top of the recorder's own work.
void BM_RecordingAtTheDoorPerFrame(benchmark::State& state) {
    TBenchForm bench;
    if (!bench.Start()) {
        state.SkipWithError("no game data beside the benchmarks: build the game data");
        return;
    }
    TReplayTap tap("unused", nullptr);  // never finished: nothing is written
    tap.Watch(bench.Form);
    bench.Form.StartRaceFromMenu(2, 10);
    bench.Form.PilotOn = true;
    while (bench.Form.ActiveDialog != TDialog::None) bench.Form.MDXTimerTimer(12);
    for (int i = 0; i < 600; ++i) bench.Form.MDXTimerTimer(12);
    tap.Look();
    for (auto _ : state) {
        tap.BeforeTick(12);
        tap.AfterTick();
    }
    state.SetLabel("around a level-10 race's tick, a checksum every 91 frames");
}
// Fewer frames than a replay holds, so every one is recorded.
BENCHMARK(BM_RecordingAtTheDoorPerFrame)->Unit(benchmark::kNanosecond)->Iterations(200000);

void BM_RaceChecksum(benchmark::State& state) {
    TBenchForm bench;
    if (!bench.Start()) {
        state.SkipWithError("no game data beside the benchmarks: build the game data");
        return;
    }
    bench.Form.StartRaceFromMenu(2, 10);
    for (int i = 0; i < 400; ++i) bench.Form.MDXTimerTimer(12);
    for (auto _ : state) benchmark::DoNotOptimize(RaceChecksum(bench.Form));
    state.SetLabel("level 10, five rivals, bonuses");
}
BENCHMARK(BM_RaceChecksum)->Unit(benchmark::kNanosecond);

// Packing the recorded race into its file, per frame of it.
void BM_PackReplayPerFrame(benchmark::State& state) {
    static const std::optional<TReplay> replay = RecordPilotRace();
    if (!replay) {
        state.SkipWithError("no game data beside the benchmarks: build the game data");
        return;
    }
    size_t bytes = 0;
    for (auto _ : state) bytes = EncodeReplay(*replay).size();
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(replay->Frames.size()));
    state.SetLabel(std::to_string(replay->Frames.size()) + " frames in " + std::to_string(bytes) + " bytes");
}
BENCHMARK(BM_PackReplayPerFrame)->Unit(benchmark::kMillisecond);

// The recorded race played headless on a fresh form, checksums compared; "realtime" is
// how many times faster than the race's own time it plays.
void BM_HeadlessReplay(benchmark::State& state) {
    static const std::optional<TReplay> replay = RecordPilotRace();
    if (!replay) {
        state.SkipWithError("no game data beside the benchmarks: build the game data");
        return;
    }
    double raceSeconds = 0;
    for (const TReplayFrame& frame : replay->Frames) raceSeconds += frame.FrameMs / 1000.0;
    bool reproduced = true;
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = std::make_unique<TBenchForm>();
        bench->Form.StartSeed = replay->Header.Seed;
        bench->Form.RunHandler([&] { bench->Form.FormCreate(); });
        state.ResumeTiming();
        TReplayPlayer player(bench->Form, *replay);
        player.Start();
        while (!player.Done()) player.Step();
        reproduced = reproduced && player.Finish().Reproduced;
        state.PauseTiming();
        bench.reset();
        state.ResumeTiming();
    }
    if (!reproduced) state.SkipWithError("the replay diverged");
    state.counters["realtime"] = benchmark::Counter(raceSeconds * static_cast<double>(state.iterations()),
                                                    benchmark::Counter::kIsRate);
    state.SetLabel("level 10, the pilot's race, " + std::to_string(replay->Frames.size()) + " frames");
}
BENCHMARK(BM_HeadlessReplay)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace quillon
