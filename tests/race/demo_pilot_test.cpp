// The demo pilot's answers to what it sees, as a table: the ship at speed on the start
// straight, one hazard placed around it, and the controls the pilot holds.
#include <gtest/gtest.h>

#include <string>

#include "RaceFixture.h"
#include "race/DemoPilot.h"
#include "race/RaceTables.h"
#include "race/ShipPhysics.h"

namespace quillon {
namespace {

using testing::TRaceTest;

enum TWant { Straight, Aside, AsideRight, AsideLeft };

struct TPilotCase {
    const char* What;
    // Where the hazard is, relative to the ship's centre (up is negative).
    enum { Nothing, Asteroid, RivalShot, Rival } Kind;
    double DX, DY;
    double Heading, Speed;  // a shot's heading and speed, or a rival's heading and velocity
    TWant Steer;
    bool Fire, Accelerate, SlowDown;
};

class DemoPilotTest : public TRaceTest {
protected:
    // Ship 1 at speed 100 on the start straight, everything else quiet.
    void Place(const TPilotCase& c) {
        TPlayer& player = Start(1, 1);
        MakeQuiet();
        player.Speed = 100;
        player.Velocity = TopSpeedFactor(Ship(1).SpeedRating) * player.Speed / 8;
        const double x = Race.PlayerWorldX() + c.DX, y = Race.PlayerWorldY() + c.DY;
        if (c.Kind == TPilotCase::Asteroid || c.Kind == TPilotCase::RivalShot) {
            TShot& shot = Race.Shots[1];
            shot = TShot{};
            shot.Used = true;
            shot.Kind = c.Kind == TPilotCase::Asteroid ? ShotSmallAsteroid : 1;
            shot.Owner = c.Kind == TPilotCase::Asteroid ? ShotByAsteroid : ShotByRival;
            shot.X = x;
            shot.Y = y;
            shot.Heading = static_cast<int>(c.Heading);
            shot.Speed = c.Speed;
        }
        if (c.Kind == TPilotCase::Rival) {
            TRivalSlot& rival = Race.Rivals()->Slot(1);
            rival.Active = true;
            rival.Destroyed = false;
            rival.OnScreen = true;
            rival.CenterX = x;
            rival.CenterY = y;
            rival.Heading = c.Heading;
            rival.Velocity = c.Speed;
        }
    }
};

TEST_F(DemoPilotTest, AnswersWhatItSees) {
    // The ship moves up about 6 pixels a frame; an asteroid that fell in at this speed
    // has the speed 11 - 12 = -1 downward, so it keeps nearly level with the ship and
    // closes slowly, as on the screen.
    const TPilotCase cases[] = {
        {"an empty road", TPilotCase::Nothing, 0, 0, 0, 0, Straight, false, true, false},
        {"an asteroid straight ahead is shot and passed", TPilotCase::Asteroid, 0, -250, 128, -1, Aside, true, true,
         false},
        {"an asteroid ahead on the left is passed on the right", TPilotCase::Asteroid, -55, -300, 128, -1, AsideRight,
         false, true, false},
        {"an asteroid ahead on the right is passed on the left", TPilotCase::Asteroid, 55, -300, 128, -1, AsideLeft,
         false, true, false},
        {"a rival's shot from behind on the ship's line", TPilotCase::RivalShot, 0, 150, 0, 30, Aside, false, true,
         false},
        {"a rival behind with the ship ahead-left of its gun", TPilotCase::Rival, 10, 220, 0, 12, Aside, false, true,
         false},
        {"a slower rival just ahead is shot at, not run into, and passed", TPilotCase::Rival, 0, -120, 0, 6, Aside, true,
         false, true},
        {"a rival beside on the left is given room", TPilotCase::Rival, -60, 0, 0, 12, AsideRight, false, true, false},
    };
    for (const TPilotCase& c : cases) {
        Place(c);
        const TRaceControls controls = PilotControls(Race);
        const std::string what = c.What;
        switch (c.Steer) {
            case Straight: EXPECT_FALSE(controls.Left || controls.Right) << what; break;
            case Aside: EXPECT_TRUE(controls.Left || controls.Right) << what; break;
            case AsideRight: EXPECT_TRUE(controls.Right && !controls.Left) << what; break;
            case AsideLeft: EXPECT_TRUE(controls.Left && !controls.Right) << what; break;
        }
        EXPECT_EQ(controls.Fire, c.Fire) << what;
        EXPECT_EQ(controls.Accelerate, c.Accelerate) << what;
        EXPECT_EQ(controls.SlowDown, c.SlowDown) << what;
        EXPECT_FALSE(controls.Brake) << what << ": the extra brake would stop the steering";
        Race.EndRace();
    }
}

}  // namespace
}  // namespace quillon
