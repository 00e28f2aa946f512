// The demo pilot's look around: everything that flies moves straight at its own
// velocity, so the pilot works out where it will pass the ship's row and how soon.
#include "race/PilotHazards.h"

#include <algorithm>
#include <cmath>

#include "race/Player.h"
#include "race/Race.h"
#include "race/RaceTables.h"
#include "race/Rivals.h"
#include "race/Shots.h"
#include "race/TrackMap.h"

namespace quillon {

namespace {
constexpr double LineSpacing = 21;
constexpr double NoseReach = 37;  // from a rival's centre to its gun

struct TMotion {
    double X, Y, VX, VY;  // world position and pixels per frame
};

TMotion Moving(double x, double y, double heading, double speed, double speedScale) {
    const double a = heading * HeadingStep;
    return {x, y, std::sin(a) * speed * 0.5 * speedScale, -std::cos(a) * speed * 0.5 * speedScale};
}

// Where a hazard passes the ship's row, and in how many frames; none when it never does
// within the horizon.
struct TPass {
    bool Comes = false;
    double X = 0, Frames = 0;
};

TPass PassOf(const TMotion& hazard, const TMotion& ship, double horizon) {
    TPass pass;
    const double gap = hazard.Y - ship.Y;       // below the ship when positive
    const double growth = hazard.VY - ship.VY;  // how fast that gap grows
    if (std::fabs(gap) < 30) pass.Frames = 0;
    else if (gap * growth < 0) pass.Frames = -gap / growth;
    else return pass;
    if (pass.Frames > horizon) return pass;
    pass.Comes = true;
    pass.X = hazard.X + hazard.VX * pass.Frames;
    return pass;
}

class TLook {
public:
    TLook(const TRace& race, double px, double py)
        : FRace(race), FScale(race.Host().SpeedScale()),
          FShip(Moving(px, py, race.Player()->Heading, race.Player()->Velocity, FScale)) {
        const double middle = race.State.Track.RoadLeft(static_cast<int>(py) / TileSize - 2);
        for (int line = 0; line < PilotLines; ++line) {
            View.Offset[line] = (line - PilotLines / 2) * LineSpacing;
            FLineX[line] = middle + View.Offset[line];
        }
    }

    void Shots() {
        for (int slot = 1; slot <= ShotSlots; ++slot) {
            const TShot& shot = FRace.Shots[slot];
            if (!shot.Used || shot.State != ShotFlying || shot.Owner == ShotByPlayer || !OnScreen(shot.X, shot.Y))
                continue;
            const TMotion motion = Moving(shot.X, shot.Y, shot.Heading, shot.Speed, FScale);
            if (shot.Owner == ShotByAsteroid) {
                // The asteroid's 40-pixel square against the ship's outline, with room to spare.
                const TPass pass = PassOf(motion, FShip, 110);
                Weigh(pass, 66, 8, 30);
                if (pass.Comes && pass.Frames < 60 && std::fabs(pass.X - (FShip.X + FShip.VX * pass.Frames)) < 50)
                    View.AsteroidOnShip = true;
                if (GunMeets(motion, 36)) View.AsteroidInLine = true;
            } else {
                Weigh(PassOf(motion, FShip, 90), 44, 6, 20);
            }
        }
    }

    void Rivals() {
        const TCar* rivals = FRace.Rivals();
        if (!rivals) return;
        for (int i = 1; i <= RivalSlots; ++i) {
            const TRivalSlot& rival = rivals->Slot(i);
            if (!rival.Active || rival.Destroyed || !rival.OnScreen) continue;  // the radar shows it
            const TMotion motion = Moving(rival.CenterX, rival.CenterY, rival.Heading, rival.Velocity, FScale);
            FiringLine(rival);
            Ram(motion);
            RunIn(motion);
            const double ahead = FShip.Y - rival.CenterY;
            if (ahead > 40 && ahead < 500 && GunMeets(motion, 26)) View.RivalInLine = true;
        }
    }

    TPilotView View;

private:
    // What a player sees of the world: the 800 x 600 screen around the ship.
    bool OnScreen(double x, double y) const {
        const TPlayer& player = *FRace.Player();
        const double sx = x - FShip.X + player.ShipCentreX, sy = y - FShip.Y + player.ShipCentreY;
        return sx >= 0 && sx < 800 && sy >= 0 && sy < 600;
    }

    void Weigh(const TPass& pass, double reach, double weight, double fade) {
        if (!pass.Comes) return;
        for (int line = 0; line < PilotLines; ++line)
            if (std::fabs(pass.X - FLineX[line]) < reach) View.Risk[line] += weight / (1 + pass.Frames / fade);
    }

    // A rival behind fires up the road along its heading when the ship is ahead of it and
    // a little to its left; the lines its shot would cross are risky before it fires.
    void FiringLine(const TRivalSlot& rival) {
        const double behind = rival.CenterY - FShip.Y;
        if (behind < 20 || behind > 520) return;
        const double a = rival.Heading * HeadingStep;
        const double lineX = rival.CenterX + std::sin(a) * NoseReach + std::tan(a) * (behind - NoseReach);
        for (int line = 0; line < PilotLines; ++line) {
            const double dx = FLineX[line] - rival.CenterX;
            const double aim = (dx == 0 ? 0 : std::atan(behind / dx)) + 1.5707965;
            const bool fires = std::fabs(aim / 3.141593 * 128 - rival.Heading) < 18;
            if (fires && std::fabs(lineX - FLineX[line]) < 44) View.Risk[line] += 3;
        }
    }

    // A rival whose hull will come level with the ship's within the next half second.
    void Ram(const TMotion& rival) {
        for (int t = 0; t <= 40; t += 5) {
            const double dy = (rival.Y + rival.VY * t) - (FShip.Y + FShip.VY * t);
            if (std::fabs(dy) > 85) continue;
            const double x = rival.X + rival.VX * t;
            for (int line = 0; line < PilotLines; ++line)
                if (std::fabs(x - FLineX[line]) < 78) View.Risk[line] += 2.5 / (1 + t / 15.0);
            return;
        }
    }

    // A slower rival ahead on the ship's own line: the ship would run into its tail.
    void RunIn(const TMotion& rival) {
        const double gap = FShip.Y - rival.Y - 75;  // between the ship's nose and the rival's tail
        const double closing = rival.VY - FShip.VY;
        if (gap < -40 || gap > 300 || closing <= 0) return;
        const double frames = std::max(0.0, gap) / closing;
        if (std::fabs((rival.X + rival.VX * frames) - (FShip.X + FShip.VX * frames)) < 70)
            View.RunInFrames = std::min(View.RunInFrames, frames);
    }

    // Whether a shot fired now from the ship's nose would come within reach of a target
    // ahead that moves as given.
    bool GunMeets(const TMotion& target, double reach) const {
        const TPlayer& player = *FRace.Player();
        const TMotion shot = Moving(FShip.X, FShip.Y - NoseReach, player.Heading, std::round(player.Velocity) + 10, FScale);
        const double closing = target.VY - shot.VY;  // the target comes down, the shot goes up
        const double gap = shot.Y - target.Y;
        if (gap <= 0 || closing <= 0.5) return false;
        const double t = gap / closing;
        if (t > 70) return false;
        return std::fabs((target.X + target.VX * t) - (shot.X + shot.VX * t)) < reach;
    }

    const TRace& FRace;
    const double FScale;
    const TMotion FShip;
    double FLineX[PilotLines] = {};
};
}  // namespace

TPilotView LookAround(const TRace& race, double px, double py) {
    TLook look(race, px, py);
    look.Shots();
    look.Rivals();
    return look.View;
}

}  // namespace quillon
