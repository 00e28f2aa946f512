// The race clock and the results counting.
#include "race/RaceClock.h"

#include "engine/Rounding.h"
#include "race/RaceTables.h"

namespace quillon {

// The tick compares the clock with where it stood before its last step, so a clock
// that stands (finished, out of time) does not tick again every frame.
bool UpdateRaceClock(TRaceState& state, int frameMs, bool stopped, bool& timeOut) {
    bool tick = false;
    if (state.TimeLeft <= 10000 && Trunc(state.ClockBefore / 1000.0) > Trunc(state.TimeLeft / 1000.0)) tick = true;
    state.ClockBefore = state.TimeLeft;
    if (!stopped && state.TimeLeft - frameMs >= 0) state.TimeLeft -= frameMs;
    if (frameMs + 1 >= state.TimeLeft) timeOut = true;
    return tick;
}

void BeginResults(TRaceState& state) {
    state.ResultTime = state.TimeLeft;
    state.TimeBonus = 0;
    state.PlaceBonus = PlaceBonus(state.Place);
    state.ResultLineTimer = 0;
    state.ResultLines = 0;
}

TResultsStep StepResults(TRaceState& state, int frameMs) {
    TResultsStep step;
    state.ResultLineTimer -= frameMs;
    if (state.ResultLineTimer <= 0) {
        state.ResultLineTimer = 1000;
        ++state.ResultLines;
        if (state.ResultLines < 5) step.LineSound = true;
    }
    if (state.ResultLines < 5) return step;
    if (state.ResultTime >= 0) {
        const int counted = state.ResultTime - 10 * frameMs;
        if (Trunc(state.ResultTime / 1000.0) > Trunc(counted / 1000.0)) {
            state.TimeBonus += 5;
            step.TickSound = true;
        }
        state.ResultTime = counted;
        state.ResultHold = 2000;
    }
    if (state.ResultTime < 0) {
        state.ResultHold -= frameMs;
        if (state.ResultHold <= 0) {
            state.Score += state.PlaceBonus + state.TimeBonus;
            step.Done = true;
        }
    }
    return step;
}

}  // namespace quillon
