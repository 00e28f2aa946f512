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

void Drive(TImagined& ship, int steer, TThrottle throttle, const TShipModel& model, double ss) {
    const double top = TopSpeedFactor(model.SpeedRating);
    const double velocity = top * ship.Speed / 8;
    const double sign = velocity > 0 ? 1 : velocity < 0 ? -1 : 0;
    ship.HeadingTarget = std::clamp(ship.HeadingTarget + steer * sign * TurnStep(ship.Speed, model.HandlingRating) * ss,
                                    -128.0, 128.0);
    if (throttle == Accelerate && top * 160 >= ship.Speed) ship.Speed += AccelStep(ship.Speed, model.AccelRating, false) * ss;
    if (throttle == Coast) ship.Speed -= CoastStep(ship.Speed, model.AccelRating, false) * ss;
    if (throttle == Brake) ship.Speed = std::max(0.0, ship.Speed - BrakeStep(model.BrakeRating) * ss);
    const double heading = std::round(ship.HeadingTarget / 2) * RadiansPerStep;
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

// Where a hazard will pass the ship's line: its world X when it is level with the ship,
// and in how many frames. Hazards move straight at their own velocity; the ship goes up
// the road at its speed.
struct TCrossing {
    double X = 0;
    double Frames = 0;
    bool Comes = false;
};

TCrossing Crossing(double hx, double hy, double hvx, double hvy, double py, double shipSpeed) {
    TCrossing crossing;
    const double closing = hvy + shipSpeed;  // how fast the gap in Y shrinks (hazard ahead)
    const double gap = py - hy;
    if (gap > 0 && closing > 0.05) crossing.Frames = gap / closing;
    else if (gap < 0 && closing < -0.05) crossing.Frames = gap / closing;  // coming from behind
    else if (std::fabs(gap) < 40) crossing.Frames = 0;
    else return crossing;
    if (crossing.Frames > 110) return crossing;
    crossing.X = hx + hvx * crossing.Frames;
    crossing.Comes = true;
    return crossing;
}

struct THazards {
    double Risk[5] = {};        // for the lanes -90, -45, 0, 45, 90 pixels off the middle
    bool AsteroidInLine = false;  // the gun would meet an asteroid on the ship's line
};

constexpr double Lanes[5] = {-90, -45, 0, 45, 90};

// Asteroids and rivals' shots that will cross the ship's row, and rivals ahead that it
// would run into, each weighed against the five lanes it could take.
THazards LookForHazards(const TRace& race, double px, double py, double shipSpeed) {
    THazards hazards;
    const double ss = race.Host().SpeedScale();
    const double middle = race.State.Track.RoadLeft(static_cast<int>(py) / TileSize - 2);
    auto weigh = [&](const TCrossing& c, double reach, double weight) {
        if (!c.Comes) return;
        for (int lane = 0; lane < 5; ++lane)
            if (std::fabs(c.X - (middle + Lanes[lane])) < reach) hazards.Risk[lane] += weight / (1 + c.Frames / 30);
    };
    for (int slot = 1; slot <= ShotSlots; ++slot) {
        const TShot& shot = race.Shots[slot];
        if (!shot.Used || shot.State != ShotFlying || shot.Owner == ShotByPlayer) continue;
        const double a = shot.Heading * RadiansPerStep;
        const double vx = std::sin(a) * shot.Speed * 0.5 * ss, vy = -std::cos(a) * shot.Speed * 0.5 * ss;
        const TCrossing c = Crossing(shot.X, shot.Y, vx, vy, py, shipSpeed);
        if (shot.Owner == ShotByAsteroid) {
            weigh(c, 70, 4);
            if (c.Comes && std::fabs(c.X - px) < 30 && shot.Y < py) hazards.AsteroidInLine = true;
        } else {
            weigh(c, 45, 1);
        }
    }
    if (const TCar* rivals = race.Rivals()) {
        for (int i = 1; i <= RivalSlots; ++i) {
            const TRivalSlot& rival = rivals->Slot(i);
            if (!rival.Active || rival.Destroyed) continue;
            const double a = rival.Heading * RadiansPerStep;
            const double vx = std::sin(a) * rival.Velocity * 0.5 * ss, vy = -std::cos(a) * rival.Velocity * 0.5 * ss;
            const TCrossing c = Crossing(rival.CenterX, rival.CenterY, vx, vy, py, shipSpeed);
            if (c.Comes && rival.CenterY < py) weigh(c, 75, 1.5);
        }
    }
    return hazards;
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

    const double shipSpeed = player->Velocity * 0.5 * race.Host().SpeedScale();
    const THazards hazards = LookForHazards(race, px, py, shipSpeed);
    const bool rivalAhead = RivalInLine(race, px, py);
    controls.Fire = (hazards.AsteroidInLine && !player->MegaShot) || rivalAhead;
    // The lane with the least risk, the middle when all are alike.
    int best = 2;
    for (int lane = 0; lane < 5; ++lane)
        if (hazards.Risk[lane] < hazards.Risk[best] - 0.05) best = lane;
    const double lateral = Lanes[best];

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
