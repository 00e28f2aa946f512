// The demo pilot: drives the player's ship only through the controls a player holds,
// from what is on the screen. It aims at the road a few rows ahead on the line clear of
// asteroids, shots and rivals, slows for bends it could not take at speed and keeps off
// the walls.
#pragma once

#include "race/RaceHost.h"

namespace quillon {

class TRace;

TRaceControls PilotControls(const TRace& race);

}  // namespace quillon
