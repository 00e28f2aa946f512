// The demo pilot. Steering aims at a line across the road a few rows ahead, the safest
// of what it sees coming (PilotHazards); the throttle is chosen by trying each of
// accelerate, coast and brake over the next second and a half of driving (with the same
// steering) and taking the fastest that keeps the ship on the road. It shoots asteroids
// and rivals in its gun's line, keeps behind a slower rival until it has a way past,
// slows under an asteroid it cannot shoot, and uses nitro on the straight.
#include "race/DemoPilot.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "race/PilotHazards.h"
#include "race/Player.h"
#include "race/Race.h"
#include "race/RaceTables.h"
#include "race/ShipPhysics.h"

namespace quillon {

namespace {
constexpr double StepsPerRadian = 256 / (2 * 3.14159265358979);
constexpr int Horizon = 130;        // frames tried ahead
constexpr double RoadSlack = 115;   // how far the ship's centre may stray from the road's middle

enum TThrottle { Accelerate, Coast, Brake };

// The ship as the pilot imagines it: world position, heading target and speed.
struct TImagined {
    double X, Y, HeadingTarget, Speed;
};

int SteerToward(const TTrackMap& track, const TImagined& ship, double lateral) {
    const int row = static_cast<int>(ship.Y) / TileSize;
    const int lookahead = 2 + static_cast<int>(ship.Speed / 50);
    const double tx = track.RoadLeft(row - lookahead) + lateral, ty = (row - lookahead + 0.5) * TileSize;
    const double aim = std::atan2(tx - ship.X, ship.Y - ty) * StepsPerRadian;
    const double error = aim - ship.HeadingTarget / 2;
    return error > 1 ? 1 : error < -1 ? -1 : 0;
}

void Drive(TImagined& ship, int steer, TThrottle throttle, const TShipModel& model, double ss) {
    const double top = TopSpeedFactor(model.SpeedRating);
    const double velocity = top * ship.Speed / 8;
    const double sign = velocity > 0 ? 1 : velocity < 0 ? -1 : 0;
    ship.HeadingTarget = std::clamp(ship.HeadingTarget + steer * sign * TurnStep(ship.Speed, model.HandlingRating) * ss,
                                    -128.0, 128.0);
    if (throttle == Accelerate && top * 160 >= ship.Speed) ship.Speed += AccelStep(ship.Speed, model.AccelRating, false) * ss;
    if (throttle == Coast) ship.Speed -= CoastStep(ship.Speed, model.AccelRating, false) * ss;
    if (throttle == Brake) ship.Speed = std::max(0.0, ship.Speed - BrakeStep(model.BrakeRating) * ss);
    const double heading = std::round(ship.HeadingTarget / 2) * HeadingStep;
    const double v = top * ship.Speed / 8;
    ship.X += std::sin(heading) * v * 0.5 * ss;
    ship.Y -= std::cos(heading) * v * 0.5 * ss;
}

// Frames the ship stays near the road's middle with this throttle.
int FramesOnRoad(const TRace& race, TImagined ship, TThrottle throttle, double lateral) {
    const TShipModel& model = Ship(race.Player()->ShipNumber);
    const double ss = race.Host().SpeedScale();
    for (int frame = 0; frame < Horizon; ++frame) {
        Drive(ship, SteerToward(race.State.Track, ship, lateral), throttle, model, ss);
        const int row = static_cast<int>(ship.Y) / TileSize;
        if (std::fabs(ship.X - race.State.Track.RoadLeft(row)) > RoadSlack) return frame;
    }
    return Horizon;
}

// The lines across the road, cheapest first: their risk and the way across the road to
// them, so the ship does not weave for nothing.
struct TLineChoice {
    double Offset;
    double Cost;
};

std::array<TLineChoice, PilotLines> RankLines(const TPilotView& view, double offsetNow) {
    std::array<TLineChoice, PilotLines> lines{};
    for (int line = 0; line < PilotLines; ++line) {
        const double way = 0.004 * std::fabs(view.Offset[line] - offsetNow) + 0.001 * std::fabs(view.Offset[line]);
        lines[static_cast<size_t>(line)] = {view.Offset[line], view.Risk[line] + way};
    }
    std::stable_sort(lines.begin(), lines.end(), [](const TLineChoice& a, const TLineChoice& b) { return a.Cost < b.Cost; });
    return lines;
}

// Full throttle when the ship stays on the road with it (and nitro on a straight), else
// coast or brake, whichever keeps it on the road longer; slower turns tighter.
void ChooseThrottle(const TRace& race, const TImagined& ship, double lateral, int accelerating, TRaceControls& controls) {
    const TPlayer& player = *race.Player();
    if (accelerating == Horizon) {
        controls.Accelerate = true;
        const int row = static_cast<int>(ship.Y) / TileSize;
        bool straight = true;
        for (int k = 0; k < 12 && straight; ++k) {
            const TSegmentKind kind = race.State.Track.RowKind(row - k);
            straight = kind != TSegmentKind::ShiftLeft && kind != TSegmentKind::ShiftRight;
        }
        controls.Nitro = player.Nitro && straight;
        return;
    }
    if (player.Speed < 40) {
        controls.Accelerate = true;
        return;
    }
    const int coasting = FramesOnRoad(race, ship, Coast, lateral);
    controls.SlowDown = coasting < accelerating || (coasting < Horizon && FramesOnRoad(race, ship, Brake, lateral) >= coasting);
}

// How much more danger the pilot takes to keep its speed.
constexpr double SpeedWorth = 2.0;
}  // namespace

TRaceControls PilotControls(const TRace& race) {
    TRaceControls controls;
    const TPlayer* player = race.Player();
    if (!player || player->Dead || player->Finished) return controls;
    const double px = race.PlayerWorldX(), py = race.PlayerWorldY();

    const TPilotView view = LookAround(race, px, py);
    controls.Fire = view.AsteroidInLine || view.RivalInLine;
    const double middle = race.State.Track.RoadLeft(static_cast<int>(py) / TileSize - 2);
    const TImagined ship{px, py, player->HeadingTarget, player->Speed};
    // The safest line, or a nearly as safe one that can be driven at full throttle.
    const auto lines = RankLines(view, px - middle);
    double lateral = lines[0].Offset;
    int accelerating = FramesOnRoad(race, ship, Accelerate, lateral);
    for (const TLineChoice& line : lines) {
        if (accelerating == Horizon || line.Cost > lines[0].Cost + SpeedWorth) break;
        if (FramesOnRoad(race, ship, Accelerate, line.Offset) == Horizon) {
            lateral = line.Offset;
            accelerating = Horizon;
        }
    }
    const int steer = SteerToward(race.State.Track, ship, lateral);
    controls.Right = steer > 0;
    controls.Left = steer < 0;

    const bool closeCall = view.RunInFrames < 20 || (view.AsteroidOnShip && !controls.Fire);
    if (closeCall && player->Speed > 40) {
        // Behind a slower rival: keep its pace until there is a way past. Under an asteroid
        // the gun cannot meet: a slower ship lets it come on slower and turns away tighter.
        controls.SlowDown = true;
    } else if (view.RunInFrames >= 45) {  // nearer than that the ship coasts
        ChooseThrottle(race, ship, lateral, accelerating, controls);
    }
    return controls;
}

}  // namespace quillon
