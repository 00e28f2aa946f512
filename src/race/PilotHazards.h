// What the demo pilot sees coming: asteroids and rivals' shots in flight, rivals behind
// whose guns point up the road, rivals close enough to ram, each weighed against the
// lines across the road the ship could take. It reads only what a player sees: the
// shots and asteroids on the screen, the rivals on the screen or the radar.
#pragma once

namespace quillon {

class TRace;

inline constexpr int PilotLines = 9;

struct TPilotView {
    double Offset[PilotLines] = {};  // each line's offset from the road's middle
    double Risk[PilotLines] = {};    // danger on that line, more for nearer hazards
    bool AsteroidInLine = false;     // a shot fired now would meet an asteroid
    bool RivalInLine = false;        // a rival ahead in the gun's line
    bool AsteroidOnShip = false;     // an asteroid will fall onto the ship where it is now
    double RunInFrames = 1e9;        // frames until the ship runs into a slower rival ahead
};

// The view around the player's ship at world position (px, py).
TPilotView LookAround(const TRace& race, double px, double py);

}  // namespace quillon
