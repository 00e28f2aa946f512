// Minimising the window through the headless driver's "minimize" and "restore": no frame
// runs while minimised, and on the menus nothing changes.
#include <gtest/gtest.h>

#include <string>

#include "support/ScriptedRun.h"

namespace quillon::testing {
namespace {

using MinimizeTest = TScriptedRun;

TEST_F(MinimizeTest, NoFrameRunsWhileMinimised) {
    // 10 frames of the 71-frame intro, then 100 minimised: after the restore the intro still
    // holds the menu for about 60 frames.
    At(10, "minimize");
    Dump(50);
    At(110, "restore");
    At(140, "tap Down");
    Dump(140);
    At(200, "tap Down");
    Dump(200);
    Run(202);
    EXPECT_EQ(State(50)["frame"].Int(), 50) << "dumps are still written while minimised";
    EXPECT_EQ(State(140)["HotItem"].Int(), 1) << "the intro should still run";
    EXPECT_EQ(State(200)["HotItem"].Int(), 2);
}

TEST_F(MinimizeTest, OnTheMenusMinimisingChangesNothing) {
    struct Case {
        const char* what;
        std::string before;  // what brings the screen up
    } cases[] = {
        {"main menu", "tap Down"},
        {"options screen", "click " + Tab(3)},
        {"exit dialog", "tap Escape"},
    };
    for (const Case& c : cases) {
        At(Ready, c.before);
        Dump(Ready + 2);
        At(Ready + 4, "minimize");
        At(Ready + 20, "restore");
        Dump(Ready + 22);
        Run(Ready + 24);
        const TJson before = State(Ready + 2);
        const TJson after = State(Ready + 22);
        for (const char* field : {"CurrentScreen", "ActiveDialog", "HotItem", "FirstItem", "LastItem"})
            EXPECT_EQ(after[field].Int(), before[field].Int()) << c.what << ": " << field;
        EXPECT_EQ(after["music"].String, before["music"].String) << c.what;
    }
}

}  // namespace
}  // namespace quillon::testing
