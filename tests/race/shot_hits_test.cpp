// A player's shot among rivals that overlap: it is tested against every rival in turn, so
// a shot that bursts on one can still strike the next whose hull covers it; a shot that
// is gone (a destroying hit, a mega-shot) strikes nothing more.
#include <gtest/gtest.h>

#include "race/RaceFixture.h"
#include "race/Shots.h"

namespace quillon::testing {
namespace {

TEST_F(TRaceTest, APlayersShotGoesOnTestingTheRivalsAfterAHit) {
    const struct {
        const char* Name;
        uint8_t Kind;
        bool Covers[3];   // rivals 1 and 2 cover the shot
        int Earlier[3];   // hits each had taken before
        int Hits[3];      // hits each has after
        bool Destroyed[3];
        bool ShotLeft;
        int Target;
        int Points;
    } cases[] = {
        {"bursts on the first, strikes the second", 1, {false, true, true}, {0, 0, 0}, {0, 1, 1}, {}, true, 2, 0},
        {"only the second covers it", 3, {false, false, true}, {0, 0, 0}, {0, 0, 1}, {}, true, 2, 0},
        {"destroys the first and is gone", 2, {false, true, true}, {0, 3, 0}, {0, 4, 0}, {false, true, false}, false, 0, 100},
        {"a mega-shot explodes the first and is gone", ShotMega, {false, true, true}, {0, 0, 0}, {0, 0, 0},
         {false, true, false}, false, 0, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Start(1, 5);
        MakeQuiet();
        const double x = TileSize * Race.State.ViewCol + 200, y = TileSize * Race.State.ViewRow + 150;
        for (int j = 1; j <= 2; ++j) {
            TRivalSlot& rival = Race.Rivals()->Slot(j);
            rival.Active = true;
            rival.HitCount = static_cast<uint8_t>(c.Earlier[j]);
            // Two rivals side by side under the shot, or one far off.
            const double cx = c.Covers[j] ? x + (j == 1 ? -6 : 6) : x + 400;
            rival.CenterX = cx;
            rival.CenterY = y;
            rival.PosX = cx - 30;
            rival.PosY = y - 30;
            rival.Hull = SquareAround(cx, y, 60);
        }
        SpawnShot(Race, c.Kind, ShotByPlayer, 0, -10, x, y);  // speed 0: it stays put
        Race.State.ThirdFrame = true;
        MoveShots(Race);
        for (int j = 1; j <= 2; ++j) {
            const TRivalSlot& rival = Race.Rivals()->Slot(j);
            EXPECT_EQ(rival.HitCount, c.Hits[j]) << "rival " << j;
            EXPECT_EQ(rival.Destroyed, c.Destroyed[j]) << "rival " << j;
        }
        EXPECT_EQ(Race.Shots[1].Used, c.ShotLeft);
        if (c.ShotLeft) {
            EXPECT_EQ(Race.Shots[1].State, ShotOnRival);
            EXPECT_EQ(Race.Shots[1].Target, c.Target) << "the burst follows the last rival it struck";
        }
        EXPECT_EQ(Race.State.Score, c.Points);
        Race.EndRace();
        Engine.Clear();
    }
}

}  // namespace
}  // namespace quillon::testing
