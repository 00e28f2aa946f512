// Race frames. One whole tick of a level-10 race with the demo pilot driving; the busiest
// frame the game draws (five rivals on screen, ten shots in the air, bonuses in view, the
// dashboard with its radar and the texts over it) as a whole tick and step by step; and
// beside them one full-surface copy, the yardstick. Presenting is left out: the benchmark
// platform's present does nothing.
// Measured on the 2-core build machine (CPU time, median of 3 runs, other work running):
// the busiest frame, now with its ten shots drawn (four large asteroids, six gun shots),
// 0.134 ms, 1.1 % of the 11.76 ms one frame lasts at 85 Hz and 9.2 full-surface copies
// (15 us each; the "copies" counter gives the ratio, measured in the same run). Its
// dearest step: the sprites' draw 0.082 ms (5.6 copies); the black fill, the texts and the
// race's logic 0.007-0.008 ms each.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "InGameFolder.h"
#include "app/MainForm.h"
#include "platform/HeadlessPlatform.h"
#include "platform/TtfFontRasterizer.h"
#include "race/Bonuses.h"
#include "race/Player.h"
#include "race/RivalTables.h"
#include "race/Rivals.h"
#include "race/ScrollBackground.h"
#include "race/Shots.h"

namespace quillon {
namespace {

class TBenchPlatform : public THeadlessPlatform {
public:
    TBenchPlatform() : THeadlessPlatform(1 << 30, 85, THeadlessScript()) {}
    void Present(const TDirectDrawSurface&) override {}
};

// A form on a level-10 race past its banner; null without the game data.
struct TRaceBench {
    TInGameFolder Folder;
    TBenchPlatform Platform;
    TTtfFontRasterizer Fonts;
    TMForm Form{Platform, TFormServices{nullptr, nullptr, &Fonts}};

    bool Start(int ship) {
        Form.StartSeed = 1;
        Form.RunHandler([&] { Form.FormCreate(); });  // the build's game folder
        if (Form.CurrentScreen != TScreen::MainMenu) return false;
        while (Form.MenuIntro) Form.MDXTimerTimer(12);
        Form.StartRaceFromMenu(ship, 10);
        while (Form.ActiveDialog != TDialog::None) Form.MDXTimerTimer(12);
        return true;
    }

    // Everything on the screen at once, put back before every frame so that the frame
    // stays as busy: the rivals around the ship, ten shots hanging in the air, bonuses.
    void Stage() {
        TRace& race = Form.Race;
        TPlayer& player = *race.Player();
        player.Invulnerable = true;
        player.InvulnerableMs = 100000;
        player.Speed = 0;
        race.State.TimeLeft = 100000;
        const double left = TileSize * race.State.ViewCol - race.Background()->X;
        const double top = TileSize * race.State.ViewRow - race.Background()->Y;
        const double places[6][2] = {{0, 0}, {120, 120}, {400, 140}, {130, 300}, {420, 320}, {250, 500}};
        for (int i = 1; i <= RivalSlots; ++i) {
            TRivalSlot& rival = race.Rivals()->Slot(i);
            rival.Active = true;
            rival.Destroyed = false;
            rival.PosX = left + places[i][0];
            rival.PosY = top + places[i][1];
            rival.Power = rival.Velocity = 0;
        }
        race.Shots.Clear();
        race.Shots.AsteroidTimer = 1000000;
        for (int slot = 1; slot <= ShotSlots; ++slot) {
            const uint8_t kind = slot <= 4 ? ShotLargeAsteroid : 1;
            SpawnShot(race, kind, slot <= 4 ? ShotByAsteroid : ShotByPlayer, slot <= 4 ? 128 : 0, 0, left + 40 + 50 * slot,
                      top + 60 + 20 * slot);
            race.Shots[slot].Speed = 0;
        }
        TBonus& bonuses = *race.Bonuses();
        for (int i = 1; i <= 6; ++i)
            bonuses.Slot(i) = TBonusSlot{true, race.State.ViewCol + i, race.State.ViewRow + 1 + (i % 3), uint8_t(i), 0};
    }
};

void BM_RaceFrame(benchmark::State& state) {
    TRaceBench bench;
    if (!bench.Start(static_cast<int>(state.range(0)))) {
        state.SkipWithError("no game data beside the benchmarks: build the game data");
        return;
    }
    bench.Form.PilotOn = true;
    for (int i = 0; i < 600; ++i) bench.Form.MDXTimerTimer(12);  // up to speed, into the bends
    for (auto _ : state) bench.Form.MDXTimerTimer(12);
    state.SetLabel("level 10, ship " + std::to_string(state.range(0)) + ", the pilot driving");
}
BENCHMARK(BM_RaceFrame)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);

// One full-surface copy in microseconds, the best of a few rounds: the yardstick a frame's
// cost is given in.
double FullSurfaceCopyMicros() {
    TDirectDrawSurface source(800, 600), target(800, 600);
    source.Fill(0x1234);
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 50; ++i) {
            target = source;
            benchmark::DoNotOptimize(target.Row(0));
        }
        best = std::min(best, std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() / 50);
    }
    return best;
}

// The whole tick (0), then its steps: the sprites' draw (1), the race's logic (2), the
// texts (3), the black fill (4).
void BM_BusiestRaceFrame(benchmark::State& state) {
    TRaceBench bench;
    if (!bench.Start(3)) {
        state.SkipWithError("no game data beside the benchmarks: build the game data");
        return;
    }
    TMForm& form = bench.Form;
    const int step = static_cast<int>(state.range(0));
    const double copyMicros = FullSurfaceCopyMicros();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        bench.Stage();
        switch (step) {
            case 0: form.MDXTimerTimer(12); break;
            case 1: form.MDXSpriteEngine.Draw(); break;
            case 2: form.Race.RaceFrame(12, TRaceControls{}, false, false); break;
            case 3: form.DrawHud(); break;
            default: form.MDXDraw.Fill(0); break;
        }
        form.MDXDraw.ReleaseCanvas();
    }
    const double micros = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    state.counters["copies"] = micros / static_cast<double>(state.iterations()) / copyMicros;
    static const char* const names[] = {"whole tick", "sprites' draw", "race logic", "texts", "black fill"};
    state.SetLabel(names[step]);
}
BENCHMARK(BM_BusiestRaceFrame)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

// Only the road and the star field, the bulk of the sprites' draw.
void BM_RaceBackgroundDraw(benchmark::State& state) {
    TRaceBench bench;
    if (!bench.Start(3)) {
        state.SkipWithError("no game data beside the benchmarks: build the game data");
        return;
    }
    TRace& race = bench.Form.Race;
    for (auto _ : state) {
        race.Stars()->Draw();
        race.Background()->Draw();
    }
    state.SetLabel("road and star field");
}
BENCHMARK(BM_RaceBackgroundDraw)->Unit(benchmark::kMicrosecond);

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
