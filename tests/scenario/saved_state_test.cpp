// The saved state through the screens: options changed on the options screen and a
// table cleared through its dialog survive a restart, and the links record their targets.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "engine/Cp1251.h"
#include "save/SavePair.h"
#include "save/SavedState.h"
#include "support/ScriptedRun.h"
#include "support/FileText.h"

namespace quillon::testing {
namespace {

using SavedStateTest = TScriptedRun;

TEST_F(SavedStateTest, OptionsChangedOnTheOptionsScreenSurviveARestart) {
    At(Ready, "click " + Tab(3));
    At(Ready + 2, "tap Down");
    At(Ready + 4, "tap Return");  // music off
    At(Ready + 6, "tap Down");
    At(Ready + 8, "tap Return");  // sound off
    At(Ready + 9, "move 100 380");  // onto the country
    At(Ready + 10, "click 100 380");
    At(Ready + 12, "text Мир");
    At(Ready + 14, "tap Escape");  // ends the typing
    At(Ready + 16, "tap Escape");  // back to the main menu
    At(Ready + 18, "tap Escape");  // "Выйти из игры?"
    At(Ready + 20, "tap Y");
    Run(Ready + 100);

    Dump(Ready);
    Run(Ready + 1);
    TJson options = State(Ready)["options"];
    EXPECT_FALSE(options["MusicOn"].Bool);
    EXPECT_FALSE(options["SoundOn"].Bool);
    EXPECT_EQ(options["Country"].String, "Мир");
    EXPECT_EQ(State(Ready)["music"].Kind, TJson::TKind::Null);
}

TEST_F(SavedStateTest, ATableClearedThroughTheDialogIsSavedAtOnce) {
    TSavedState saved;
    ResetOptions(saved);
    ResetHighScores(saved.HighScores);
    saved.HighScores[0] = THighScore{Utf8ToCp1251("Пётр"), 99999};
    SaveOptionsAndHighScores(saved, SaveDirectory(Dir));
    const std::string peter = Utf8ToCp1251("Пётр");
    ASSERT_NE(ReadFileText(Dir + "/Data/Save/hs").find(peter), std::string::npos);

    At(Ready, "click " + Tab(4));
    At(Ready + 2, "tap Left");
    At(Ready + 4, "tap Return");
    At(Ready + 6, "tap Y");
    Run(Ready + 10);  // the run just stops: no orderly shutdown saves anything
    EXPECT_EQ(ReadFileText(Dir + "/Data/Save/hs").find(peter), std::string::npos);

    Dump(1);
    THeadlessResult second = Run(2);
    EXPECT_EQ(second.Stderr, "") << "the saved pair should load without complaint";
    TJson table = State(1)["HighScores"];
    EXPECT_EQ(table[0]["Name"].String, "Ваня");
    EXPECT_EQ(table[0]["Score"].Int(), 10000);
}

TEST_F(SavedStateTest, TheLinksRecordTheirTargets) {
    std::ofstream(Dir + "/moregames.url") << "[InternetShortcut]\r\nURL=https://example.org/more-games\r\n";
    setenv("QUILLON_SCORE_SERVER", "http://127.0.0.1:8080", 1);
    At(Ready, "click " + Tab(5));
    Dump(Ready);
    At(Ready + 2, "click " + Tab(4));
    At(Ready + 4, "tap Return");  // the world table, the screen's first selection
    Dump(Ready + 4);
    Run(Ready + 6);
    unsetenv("QUILLON_SCORE_SERVER");

    TJson more = State(Ready)["opened"];
    ASSERT_EQ(more.Array.size(), 1u);
    EXPECT_EQ(more[0].String, "https://example.org/more-games");
    TJson both = State(Ready + 4)["opened"];
    ASSERT_EQ(both.Array.size(), 2u);
    EXPECT_EQ(both[1].String, "http://127.0.0.1:8080/cgi/version.pl?prg=Quillon&show&type=0");
}

}  // namespace
}  // namespace quillon::testing
