// The demo pilot. Steering aims at the road's middle a few rows ahead; the throttle is
// chosen by trying each of accelerate, coast and brake over the next second and a half
// of driving (with the same steering) and taking the fastest that keeps the ship on the
// road. It shoots asteroids and rivals in its way, steps aside from an asteroid it
// cannot shoot, and uses nitro on the straight.
#include "race/DemoPilot.h"

#include <algorithm>
#include <cmath>

#include "race/Player.h"
#include "race/Race.h"
#include "race/RaceTables.h"
#include "race/Rivals.h"
#include "race/ShipPhysics.h"
#include "race/Shots.h"

namespace quillon {

namespace {
constexpr double StepsPerRadian = 256 / (2 * 3.14159265358979);
constexpr double RadiansPerStep = 2 * 3.141593 / 256;
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

void Drive(TImagined& ship, int steer, TThrottle throttle, const TShipSpec& spec, double ss) {
    const double top = TopSpeedFactor(spec.SpeedRating);
    const double velocity = top * ship.Speed / 8;
    const double sign = velocity > 0 ? 1 : velocity < 0 ? -1 : 0;
    ship.HeadingTarget = std::clamp(ship.HeadingTarget + steer * sign * TurnStep(ship.Speed, spec.HandlingRating) * ss,
                                    -128.0, 128.0);
    if (throttle == Accelerate && top * 160 >= ship.Speed) ship.Speed += AccelStep(ship.Speed, spec.AccelRating, false) * ss;
    if (throttle == Coast) ship.Speed -= CoastStep(ship.Speed, spec.AccelRating, false) * ss;
    if (throttle == Brake) ship.Speed = std::max(0.0, ship.Speed - BrakeStep(spec.BrakeRating) * ss);
    const double heading = std::round(ship.HeadingTarget / 2) * RadiansPerStep;
    const double v = top * ship.Speed / 8;
    ship.X += std::sin(heading) * v * 0.5 * ss;
    ship.Y -= std::cos(heading) * v * 0.5 * ss;
}

// Frames the ship stays near the road's middle with this throttle.
int FramesOnRoad(const TRace& race, TImagined ship, TThrottle throttle, double lateral) {
    const TShipSpec& spec = Ship(race.Player()->ShipNumber);
    const double ss = race.Host().SpeedScale();
    for (int frame = 0; frame < Horizon; ++frame) {
        Drive(ship, SteerToward(race.State.Track, ship, lateral), throttle, spec, ss);
        const int row = static_cast<int>(ship.Y) / TileSize;
        if (std::fabs(ship.X - race.State.Track.RoadLeft(row)) > RoadSlack) return frame;
    }
    return Horizon;
}

struct TThreat {
    bool Found = false;
    double DX = 0;  // how far right of the ship it is
};

// The nearest flying asteroid ahead whose path crosses the ship's.
TThreat AsteroidAhead(const TRace& race, double px, double py) {
    TThreat threat;
    double nearest = 450;
    for (int slot = 1; slot <= ShotSlots; ++slot) {
        const TShot& shot = race.Shots[slot];
        if (!shot.Used || shot.Owner != ShotByAsteroid || shot.State != ShotFlying) continue;
        const double ahead = py - shot.Y, dx = shot.X - px;
        if (ahead < -40 || ahead > nearest || std::fabs(dx) > 80) continue;
        nearest = ahead;
        threat = {true, dx};
    }
    return threat;
}

bool RivalInLine(const TRace& race, double px, double py) {
    const TCar* rivals = race.Rivals();
    if (!rivals) return false;
    for (int i = 1; i <= RivalSlots; ++i) {
        const TRivalSlot& rival = rivals->Slot(i);
        if (!rival.Active || rival.Destroyed) continue;
        const double ahead = py - rival.CenterY;
        if (ahead > 40 && ahead < 500 && std::fabs(rival.CenterX - px) < 30) return true;
    }
    return false;
}
}  // namespace

TRaceControls PilotControls(const TRace& race) {
    TRaceControls controls;
    const TPlayer* player = race.Player();
    if (!player || player->Dead || player->Finished) return controls;
    const double px = race.PlayerWorldX(), py = race.PlayerWorldY();

    const TThreat asteroid = AsteroidAhead(race, px, py);
    const bool rivalAhead = RivalInLine(race, px, py);
    controls.Fire = (asteroid.Found && !player->MegaShot) || rivalAhead;
    // An asteroid the gun cannot answer in time: step aside, to the side it is not on.
    double lateral = 0;
    if (asteroid.Found && (player->FireMs > 300 || player->MegaShot)) lateral = asteroid.DX > 0 ? -85 : 85;

    const TImagined ship{px, py, player->HeadingTarget, player->Speed};
    const int steer = SteerToward(race.State.Track, ship, lateral);
    controls.Right = steer > 0;
    controls.Left = steer < 0;

    const int accelerating = FramesOnRoad(race, ship, Accelerate, lateral);
    if (accelerating == Horizon) {
        controls.Accelerate = true;
        const int row = static_cast<int>(py) / TileSize;
        bool straight = true;
        for (int k = 0; k < 12 && straight; ++k) straight = race.State.Track.RowKind(row - k) != 3 && race.State.Track.RowKind(row - k) != 4;
        controls.Nitro = player->Nitro && straight;
    } else if (FramesOnRoad(race, ship, Coast, lateral) >= accelerating && player->Speed > 40) {
        controls.SlowDown = FramesOnRoad(race, ship, Brake, lateral) > FramesOnRoad(race, ship, Coast, lateral);
    } else if (player->Speed < 40) {
        controls.Accelerate = true;
    } else {
        controls.SlowDown = true;
    }
    return controls;
}

}  // namespace quillon
