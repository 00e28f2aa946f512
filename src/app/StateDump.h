// The headless driver's state dump: the game's state after a frame, as JSON.
#pragma once

#include <string>
#include <vector>

namespace quillon {

class TMForm;

// opened: what the run handed to the desktop so far.
std::string BuildStateDump(const TMForm& form, int frame, const std::vector<std::string>& opened);

struct TRaceState;
// The current level's track: every row from the one above the track to the bottom.
std::string BuildTrackDump(const TRaceState& race);

}  // namespace quillon
