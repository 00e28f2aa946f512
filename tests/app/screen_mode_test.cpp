// --fullscreen and --window choose the screen mode of one run: the saved option stays as it
// was, unless the player changes the mode during the run.
#include <gtest/gtest.h>

#include <optional>

#include "save/SavePair.h"
#include "support/GameFolderFixture.h"

namespace quillon::testing {
namespace {

using ScreenModeThisRun = TGameFolderTest;

TEST_F(ScreenModeThisRun, IsShownButNotSavedUnlessThePlayerSwitches) {
    const struct {
        bool Saved;
        std::optional<bool> ThisRun;
        bool PlayerSwitches;
        bool Shown;        // the mode while the game runs, after any switch
        bool SavedAfter;   // what the options file holds after leaving
    } cases[] = {
        {false, true, false, true, false},
        {true, false, false, false, true},
        {false, std::nullopt, false, false, false},
        {false, false, true, true, true},   // --window, then the player picks full screen
        {true, true, true, false, false},   // --fullscreen, then the player picks a window
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "saved " << c.Saved << ", switches " << c.PlayerSwitches);
        TSavedState before;
        ResetOptions(before);
        before.GameOptions.FullScreen = c.Saved;
        SaveOptionsAndHighScores(before, SaveDirectory(GameDir));

        TMForm& form = StartForm(100, 85, [&](TMForm& f) { f.FullScreenThisRun = c.ThisRun; });
        if (c.PlayerSwitches) {
            form.State.GameOptions.FullScreen = !form.State.GameOptions.FullScreen;
            form.ApplyDisplayMode();
        }
        EXPECT_EQ(form.State.GameOptions.FullScreen, c.Shown);
        EXPECT_EQ(form.MDXDraw.FullScreen(), c.Shown);
        form.Shutdown();
        Form.reset();  // one form at a time
        Platform.reset();

        TSavedState after;
        ResetOptions(after);
        EXPECT_TRUE(LoadOptionsAndHighScores(after, SaveDirectory(GameDir)).Errors.empty());
        EXPECT_EQ(after.GameOptions.FullScreen, c.SavedAfter);
    }
}

}  // namespace
}  // namespace quillon::testing
