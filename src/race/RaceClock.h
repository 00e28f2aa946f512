// The race clock and the counting of a level's results: pure steps on the race state.
#pragma once

#include "race/RaceState.h"

namespace quillon {

// One frame of the clock. Runs down by frameMs unless `stopped` (finished or out of
// time), never below 0, and raises timeOut once frameMs + 1 >= TimeLeft. Answers
// whether the tick sounds: in the last ten seconds, once for each whole second the
// clock actually crossed on its previous step.
bool UpdateRaceClock(TRaceState& state, int frameMs, bool stopped, bool& timeOut);

struct TResultsStep {
    bool LineSound = false;  // a new line of the results appeared
    bool TickSound = false;  // a whole second of the remaining time was paid
    bool Done = false;       // the bonuses are in the score: leave the results
};

// One frame of the results dialog: lines one by one each second, then the remaining
// time runs down ten times faster paying 5 points a whole second, then a hold, then
// both bonuses are added to Score.
TResultsStep StepResults(TRaceState& state, int frameMs);

// The results as they stand when the level's results open.
void BeginResults(TRaceState& state);

}  // namespace quillon
