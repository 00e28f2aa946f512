// The demo pilot's rules of thumb.
#include "race/DemoPilot.h"

#include <cmath>

#include "race/Player.h"
#include "race/Race.h"

namespace quillon {

namespace {
constexpr double StepsPerRadian = 256 / (2 * 3.14159265358979);

// The road's middle at a map row: the left edge's world X already stands three cells in.
double RoadMiddle(const TRace& race, int row) { return race.State.Track.RoadLeft(row); }

// Heading in steps from (x, y) toward the point (tx, ty); forward is decreasing y.
double HeadingToward(double x, double y, double tx, double ty) { return std::atan2(tx - x, y - ty) * StepsPerRadian; }
}  // namespace

TRaceControls PilotControls(const TRace& race) {
    TRaceControls controls;
    const TPlayer* player = race.Player();
    if (!player || player->Dead || player->Finished) return controls;
    const double px = race.PlayerWorldX(), py = race.PlayerWorldY();
    const int row = static_cast<int>(py) / TileSize;
    const double speed = player->Speed;

    // Steer at a point further ahead the faster the ship goes.
    const int lookahead = 2 + static_cast<int>(speed / 50);
    const double aim = HeadingToward(px, py, RoadMiddle(race, row - lookahead), (row - lookahead + 0.5) * TileSize);
    const double error = aim - player->HeadingTarget / 2;
    if (error > 1) controls.Right = true;
    if (error < -1) controls.Left = true;

    // The sharpest turn the road asks for within the distance the ship covers in about
    // a second and a half; a turn it cannot make at this speed means slowing down.
    double demand = std::fabs(error);
    const int reach = 3 + static_cast<int>(speed / 25);
    for (int k = 1; k <= reach; ++k) {
        const double ahead = HeadingToward(px, py, RoadMiddle(race, row - k - 1), (row - k - 0.5) * TileSize);
        const double along = HeadingToward(RoadMiddle(race, row - k), 2.0 * TileSize, RoadMiddle(race, row - k - 2), 0);
        demand = std::fmax(demand, std::fabs(along - player->Heading) * (k <= 4 ? 1.0 : 0.6));
        demand = std::fmax(demand, std::fabs(ahead - player->Heading) * 0.5);
    }
    const double wanted = demand > 20 ? 55 : demand > 10 ? 80 : demand > 5 ? 110 : 200;
    if (speed < wanted)
        controls.Accelerate = true;
    else if (speed > wanted + 15)
        controls.SlowDown = true;
    return controls;
}

}  // namespace quillon
