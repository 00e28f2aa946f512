// The end of a level: a ship still moving coasts to a stop and waits (one second out of
// time, two at the finish) before its dialog; a ship that already stands waits for nothing.
#include <gtest/gtest.h>

#include "race/RaceFixture.h"

namespace quillon::testing {
namespace {

TEST_F(TRaceTest, TheEndDialogWaitsOnlyForAShipThatWasMoving) {
    const struct {
        const char* Name;
        double Speed;
        bool Finished;
        int Lives;
        TDialog Dialog;
        int WaitMs;  // after the ship stands
    } cases[] = {
        {"standing, out of time", 0, false, 3, TDialog::TimeUp, 0},
        {"reversing, out of time", -4, false, 3, TDialog::TimeUp, 0},
        {"standing, out of time, last life", 0, false, 1, TDialog::GameOver, 0},
        {"standing at the finish", 0, true, 3, TDialog::LevelResult, 0},
        {"coasting, out of time", 6, false, 3, TDialog::TimeUp, 1000},
        {"coasting over the finish", 6, true, 3, TDialog::LevelResult, 2000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TPlayer& player = Start(1, 1);
        MakeQuiet();
        Race.State.Lives = c.Lives;
        player.Speed = c.Speed;
        player.Velocity = player.TopSpeed() * c.Speed / 8;
        // Left behind by an earlier level's results: must not count as a wait.
        Race.State.ResultTime = -5;
        if (c.Finished)
            player.Finished = true;
        else
            player.TimeOut = true;
        int standingFrames = 0;
        for (int frame = 0; frame < 1000 && Host.Dialogs.empty(); ++frame) {
            Frame();
            if (player.Speed == 0) ++standingFrames;
        }
        ASSERT_EQ(Host.Dialogs.size(), 1u);
        EXPECT_EQ(Host.Dialogs[0], c.Dialog);
        // The frame that opens the dialog is itself a standing frame.
        const int waitedMs = (standingFrames - 1) * Host.Ms;
        EXPECT_GE(waitedMs, c.WaitMs);
        EXPECT_LT(waitedMs, c.WaitMs + 2 * Host.Ms);
        Race.EndRace();
    }
}

}  // namespace
}  // namespace quillon::testing
