// The rivals as tables and short races: which slots race at each level and where they
// start, four hits to explode, the wall that explodes a rival once and the respawn on the
// right lane, the swerve, the firing window and aim, and whole level-5 fields reaching
// the finish within the level's time.
#include <gtest/gtest.h>

#include <cmath>

#include "RaceFixture.h"
#include "race/RaceTables.h"
#include "race/RivalTables.h"
#include "race/Rivals.h"
#include "race/Shots.h"

namespace quillon {
namespace {

using testing::TRaceTest;

// The player sits out at the start, untouchable, while the rivals race the level.
TEST_F(TRaceTest, ALevelFiveFieldReachesTheFinishInTime) {
    int finished = 0, raced = 0;
    for (uint64_t seed = 1; seed <= 10; ++seed) {
        Engine.Clear();
        Host.Source.Seed(seed);
        TPlayer& player = Start(1, 5);
        const double finishY = TileSize * (1450.0 - Race.State.TrackLength);
        bool reached[6] = {};
        const int frames = LevelTimeMs(5) / Host.Ms;
        for (int frame = 0; frame < frames; ++frame) {
            player.Invulnerable = true;
            player.InvulnerableMs = 100000;
            Frame();
            for (int i = 1; i <= RivalSlots; ++i)
                if (Race.Rivals()->Slot(i).CenterY < finishY + TileSize) reached[i] = true;
        }
        for (int i = 1; i <= RivalSlots; ++i) {
            raced += Race.Rivals()->Slot(i).Active;
            finished += reached[i];
            EXPECT_TRUE(reached[i]) << "seed " << seed << " rival " << i << " ends at row "
                                    << Race.Rivals()->Slot(i).CenterY / TileSize;
        }
        Race.EndRace();
    }
    std::printf("rivals at the finish within the time: %d of %d\n", finished, raced);
}

}  // namespace
}  // namespace quillon
