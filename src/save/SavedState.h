// Everything the game keeps between runs, owned by the main form: the options with the boss key,
// the high-score table with its check string as read from the options file, and the player's name.
#pragma once

#include <cstdint>
#include <string>

#include "save/GameOptions.h"
#include "save/HighScores.h"

namespace quillon {

struct TSavedState {
    TGameOptions GameOptions;
    TShiftState BossKeyShift;
    std::uint16_t BossKeyCode = 0;
    std::string HighScoreChecksum;  // line 7 of the options file as loaded
    THighScoreTable HighScores;
    std::string PlayerName;  // not saved; the last typed name is offered again during a run
};

// The default settings: window, music and sound on, no country, boss key F12 without a modifier,
// no player name. HighScoreChecksum is left as it is.
void ResetOptions(TSavedState& state);

}  // namespace quillon
