// The texts of the heads-up display that follow from the race state, in the game's
// 8-bit encoding: the clock, the place and the distance to a rival.
#pragma once

#include <string>

namespace quillon {

// "MM : SS" of the time left; 00 : 00 only in the last second.
std::string ClockText(int timeLeftMs);
// "place/racers", e.g. "2/4".
std::string PlaceText(int place, int racers);
// Whole tiles between two world Y positions.
int TileDistance(double fromY, double toY);

}  // namespace quillon
