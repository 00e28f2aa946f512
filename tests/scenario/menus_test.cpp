// The menus end to end through the headless driver: the intro, the main menu's keys,
// tabs, Escape, ship switching, options, the country text, the boss-key capture, help
// pages, clearing the table, hover sounds and leaving the game.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "engine/Cp1251.h"
#include "save/SavePair.h"
#include "save/SavedState.h"
#include "support/ScriptedRun.h"

namespace quillon::testing {
namespace {

using MenusTest = TScriptedRun;

TEST_F(MenusTest, IntroBlocksTheMenuThenUpAndDownWrap) {
    At(20, "tap Down");
    Dump(20);
    At(40, "click " + Tab(2));  // selects silently but does not open the help
    Dump(40);
    At(Ready, "move 10 10");  // off every button: the main menu keeps its selection
    At(Ready, "tap Down");
    Dump(Ready);
    At(Ready + 2, "tap Up");
    At(Ready + 4, "tap Up");
    Dump(Ready + 4);
    At(Ready + 6, "tap Up");
    Dump(Ready + 6);
    At(Ready + 8, "tap Down");
    Dump(Ready + 8);
    At(Ready + 10, "move " + Tab(4));
    Dump(Ready + 10);
    Run(Ready + 12);

    TJson intro = State(20);
    EXPECT_EQ(intro["CurrentScreen"].Int(), 1);
    EXPECT_EQ(intro["HotItem"].Int(), 1);
    EXPECT_TRUE(intro["music"].String.find("Menu") != std::string::npos) << intro["music"].String;
    TJson click = State(40);
    EXPECT_EQ(click["CurrentScreen"].Int(), 1);
    EXPECT_EQ(click["HotItem"].Int(), 2);
    EXPECT_TRUE(Started(click, 2)) << "a click sounds even while the buttons fade in";
    EXPECT_FALSE(Started(click, 1)) << "hovering is silent during the intro";

    EXPECT_EQ(State(Ready)["HotItem"].Int(), 3);
    EXPECT_TRUE(Started(State(Ready), 1));
    EXPECT_EQ(State(Ready + 4)["HotItem"].Int(), 1);
    EXPECT_EQ(State(Ready + 6)["HotItem"].Int(), 6);
    EXPECT_EQ(State(Ready + 8)["HotItem"].Int(), 1);
    TJson hover = State(Ready + 10);
    EXPECT_EQ(hover["HotItem"].Int(), 4);
    EXPECT_EQ(std::count_if(hover["soundsStarted"].Array.begin(), hover["soundsStarted"].Array.end(),
                            [](const TJson& s) { return s.Int() == 1; }),
              1);
}

TEST_F(MenusTest, TheIntroLastsSeventyOneFrames) {
    // The first frame is frame 0: the sixth button is opaque after the tick of frame 70.
    At(70, "tap Down");
    Dump(70);
    At(72, "tap Down");
    Dump(72);
    Run(74);
    EXPECT_EQ(State(70)["HotItem"].Int(), 1);
    EXPECT_EQ(State(72)["HotItem"].Int(), 2);
}

TEST_F(MenusTest, EscapeReturnsWithTheScreensItemSelected) {
    const struct { int tab, screen, hot; } cases[] = {{1, 2, 9}, {2, 5, 8}, {3, 3, 7}, {4, 4, 8}};
    int frame = Ready;
    std::map<int, int> openedAt, backAt;
    for (const auto& c : cases) {
        At(frame, "click " + Tab(c.tab));
        Dump(frame);
        openedAt[c.tab] = frame;
        At(frame + 3, "tap Escape");
        Dump(frame + 3);
        backAt[c.tab] = frame + 3;
        frame += 6;
    }
    Run(frame + 2);
    for (const auto& c : cases) {
        TJson opened = State(openedAt[c.tab]);
        EXPECT_EQ(opened["CurrentScreen"].Int(), c.screen) << c.tab;
        EXPECT_EQ(opened["HotItem"].Int(), c.hot) << c.tab;
        TJson back = State(backAt[c.tab]);
        EXPECT_EQ(back["CurrentScreen"].Int(), 1) << c.tab;
        EXPECT_EQ(back["HotItem"].Int(), c.tab) << c.tab;
    }
}

TEST_F(MenusTest, TabsSwitchScreensFromASubScreen) {
    At(Ready, "click " + Tab(3));   // options
    At(Ready + 2, "move " + Tab(4));
    At(Ready + 4, "click " + Tab(4));  // high scores
    Dump(Ready + 4);
    At(Ready + 6, "move " + Tab(4));
    At(Ready + 8, "click " + Tab(4));  // its own tab: nothing
    Dump(Ready + 8);
    At(Ready + 10, "move " + Tab(2));
    At(Ready + 12, "click " + Tab(2));  // help
    Dump(Ready + 12);
    At(Ready + 14, "click 300 150");  // empty space: the click sounds, nothing changes
    Dump(Ready + 14);
    Run(Ready + 16);
    EXPECT_EQ(State(Ready + 4)["CurrentScreen"].Int(), 4);
    EXPECT_EQ(State(Ready + 8)["CurrentScreen"].Int(), 4);
    EXPECT_EQ(State(Ready + 12)["CurrentScreen"].Int(), 5);
    TJson empty = State(Ready + 14);
    EXPECT_EQ(empty["CurrentScreen"].Int(), 5);
    EXPECT_EQ(empty["HelpPage"].Int(), 1);
    EXPECT_TRUE(Started(empty, 2));
}

TEST_F(MenusTest, ShipSwitchingWrapsAndBlocksASecondPressDuringTheFade) {
    At(Ready, "click " + Tab(1));
    At(Ready + 2, "tap Up");     // 9 -> 8
    At(Ready + 4, "tap Right");  // next ship
    Dump(Ready + 4);
    At(Ready + 6, "tap Right");  // during the fade: ignored
    Dump(Ready + 7);
    Dump(Ready + 40);
    At(Ready + 42, "tap Left");  // 8 -> 7
    At(Ready + 44, "tap Left");  // previous: 2 -> 1
    At(Ready + 80, "tap Left");  // previous: 1 -> 5
    Dump(Ready + 120);
    At(Ready + 122, "tap Escape");
    Dump(Ready + 122);
    At(Ready + 124, "tap Return");  // back in: the ship is kept
    Dump(Ready + 125);
    Run(Ready + 127);

    TJson first = State(Ready + 4);
    EXPECT_EQ(first["CurrentScreen"].Int(), 2);
    EXPECT_TRUE(Started(first, 3));
    EXPECT_EQ(State(Ready + 7)["SelectedShip"].Int(), 1);
    EXPECT_EQ(State(Ready + 40)["SelectedShip"].Int(), 2);
    EXPECT_EQ(State(Ready + 120)["SelectedShip"].Int(), 5);
    EXPECT_EQ(State(Ready + 122)["CurrentScreen"].Int(), 1);
    EXPECT_EQ(State(Ready + 122)["HotItem"].Int(), 1);
    TJson again = State(Ready + 125);
    EXPECT_EQ(again["CurrentScreen"].Int(), 2);
    EXPECT_EQ(again["SelectedShip"].Int(), 5);
}

TEST_F(MenusTest, OptionsToggleAndTheCountryKeepsItsLimits) {
    At(Ready, "click " + Tab(3));
    At(Ready + 2, "tap Down");
    At(Ready + 4, "tap Return");  // music off
    Dump(Ready + 4);
    At(Ready + 6, "tap Return");  // music on again, from the start
    Dump(Ready + 6);
    At(Ready + 8, "tap Down");
    At(Ready + 10, "tap Return");  // sound off
    Dump(Ready + 10);
    At(Ready + 12, "tap Up");
    At(Ready + 14, "tap Up");
    At(Ready + 16, "tap Up");  // stays on 7
    Dump(Ready + 16);
    At(Ready + 18, "move 100 380");  // onto the country
    At(Ready + 20, "click 100 380");
    At(Ready + 22, "text Россия");
    Dump(Ready + 22);
    At(Ready + 24, "tap Backspace");
    At(Ready + 26, "text iiiiiiiiiiiiiiiiiiiiii!");
    Dump(Ready + 26);
    At(Ready + 28, "tap Escape");  // ends the typing, stays
    Dump(Ready + 28);
    At(Ready + 30, "tap Escape");  // leaves
    Dump(Ready + 30);
    Run(Ready + 32);

    EXPECT_FALSE(State(Ready + 4)["options"]["MusicOn"].Bool);
    EXPECT_EQ(State(Ready + 4)["music"].Kind, TJson::TKind::Null);
    EXPECT_TRUE(State(Ready + 6)["options"]["MusicOn"].Bool);
    EXPECT_EQ(State(Ready + 6)["music"].Kind, TJson::TKind::String);
    EXPECT_FALSE(State(Ready + 10)["options"]["SoundOn"].Bool);
    EXPECT_EQ(State(Ready + 16)["HotItem"].Int(), 7);
    TJson typed = State(Ready + 22);
    EXPECT_TRUE(typed["EditingCountry"].Bool);
    EXPECT_EQ(typed["options"]["Country"].String, "Россия");
    EXPECT_EQ(State(Ready + 26)["options"]["Country"].String, "Росси" + std::string(11, 'i'));
    TJson ended = State(Ready + 28);
    EXPECT_FALSE(ended["EditingCountry"].Bool);
    EXPECT_EQ(ended["CurrentScreen"].Int(), 3);
    EXPECT_EQ(State(Ready + 30)["CurrentScreen"].Int(), 1);
    EXPECT_EQ(State(Ready + 30)["HotItem"].Int(), 3);
}

TEST_F(MenusTest, WideCountryLettersStopAtTheWidthLimit) {
    At(Ready, "click " + Tab(3));
    At(Ready + 2, "move 100 380");
    At(Ready + 4, "click 100 380");
    At(Ready + 6, "text ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ");
    Dump(Ready + 6);
    Run(Ready + 8);
    const std::string country = Utf8ToCp1251(State(Ready + 6)["options"]["Country"].String);
    EXPECT_GT(country.size(), 5u);
    EXPECT_LT(country.size(), 16u) << "the 345-pixel limit should stop wide letters first";
}

TEST_F(MenusTest, BossKeyCaptureCases) {
    At(Ready, "click " + Tab(3));
    for (int i = 0; i < 4; ++i) At(Ready + 2 + 2 * i, "tap Down");  // item 11
    int f = Ready + 10;
    At(f, "tap Return");  // capture starts
    Dump(f);
    At(f + 2, "down Left Ctrl");
    At(f + 3, "tap F5");
    At(f + 5, "up Left Ctrl");
    Dump(f + 5);
    At(f + 7, "tap Return");  // again, then A, then leave the item
    At(f + 9, "tap A");
    Dump(f + 9);
    At(f + 11, "tap Up");
    Dump(f + 12);
    At(f + 14, "tap Down");
    At(f + 16, "tap Return");
    At(f + 18, "tap Return");  // Enter ends the wait and brings the old key back
    Dump(f + 18);
    At(f + 20, "tap Return");  // a wait left by Escape: the next F-key anywhere is taken
    At(f + 22, "tap Escape");
    At(f + 24, "down Left Shift");
    At(f + 25, "tap F9");
    At(f + 26, "up Left Shift");
    Dump(f + 27);
    Run(f + 29);

    EXPECT_TRUE(State(f)["CapturingBossKey"].Bool);
    EXPECT_EQ(State(f)["options"]["BossKeyCode"].Int(), 0);
    TJson taken = State(f + 5);
    EXPECT_FALSE(taken["CapturingBossKey"].Bool);
    EXPECT_EQ(taken["options"]["BossKeyShift"].String, "Ctrl");
    EXPECT_EQ(taken["options"]["BossKeyCode"].Int(), 116);
    EXPECT_TRUE(State(f + 9)["CapturingBossKey"].Bool);
    TJson left = State(f + 12);
    EXPECT_FALSE(left["CapturingBossKey"].Bool);
    EXPECT_EQ(left["HotItem"].Int(), 10);
    EXPECT_EQ(left["options"]["BossKeyShift"].String, "Ctrl");
    EXPECT_EQ(left["options"]["BossKeyCode"].Int(), 116);
    TJson entered = State(f + 18);
    EXPECT_FALSE(entered["CapturingBossKey"].Bool);
    EXPECT_EQ(entered["options"]["BossKeyCode"].Int(), 116);
    TJson later = State(f + 27);
    EXPECT_EQ(later["CurrentScreen"].Int(), 1);
    EXPECT_FALSE(later["CapturingBossKey"].Bool);
    EXPECT_EQ(later["options"]["BossKeyShift"].String, "Shift");
    EXPECT_EQ(later["options"]["BossKeyCode"].Int(), 120);
}

TEST_F(MenusTest, HelpPagesTurnBothWays) {
    At(Ready, "click " + Tab(2));
    Dump(Ready);
    const int expected[] = {2, 3, 4, 5, 1};
    for (int i = 0; i < 5; ++i) {
        At(Ready + 2 + 2 * i, "tap Right");
        Dump(Ready + 2 + 2 * i);
    }
    At(Ready + 12, "tap Left");  // onto item 7 only
    Dump(Ready + 12);
    At(Ready + 14, "tap Left");  // page 5
    Dump(Ready + 14);
    Run(Ready + 16);
    EXPECT_EQ(State(Ready)["HelpPage"].Int(), 1);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(State(Ready + 2 + 2 * i)["HelpPage"].Int(), expected[i]) << i;
    EXPECT_EQ(State(Ready + 12)["HotItem"].Int(), 7);
    EXPECT_EQ(State(Ready + 12)["HelpPage"].Int(), 1);
    EXPECT_EQ(State(Ready + 14)["HelpPage"].Int(), 5);
}

TEST_F(MenusTest, ClearingTheTableAsksFirst) {
    TSavedState saved;
    ResetOptions(saved);
    ResetHighScores(saved.HighScores);
    saved.HighScores[0] = THighScore{Utf8ToCp1251("Пётр"), 99999};
    SaveOptionsAndHighScores(saved, SaveDirectory(Dir));

    At(Ready, "click " + Tab(4));
    At(Ready + 2, "tap Left");
    At(Ready + 4, "tap Return");
    Dump(Ready + 4);
    At(Ready + 6, "tap N");
    Dump(Ready + 6);
    At(Ready + 8, "tap Return");
    At(Ready + 10, "tap Escape");  // does nothing in a yes/no dialog
    At(Ready + 12, "tap Y");
    Dump(Ready + 12);
    Run(Ready + 14);

    TJson asked = State(Ready + 4);
    EXPECT_EQ(asked["ActiveDialog"].Int(), 4);
    EXPECT_EQ(asked["HotItem"].Int(), 12);
    EXPECT_EQ(asked["HighScores"][0]["Name"].String, "Пётр");
    TJson no = State(Ready + 6);
    EXPECT_EQ(no["ActiveDialog"].Int(), 0);
    EXPECT_EQ(no["HotItem"].Int(), 7);
    EXPECT_EQ(no["HighScores"][0]["Score"].Int(), 99999);
    TJson yes = State(Ready + 12);
    EXPECT_EQ(yes["ActiveDialog"].Int(), 0);
    EXPECT_EQ(yes["CurrentScreen"].Int(), 4);
    EXPECT_EQ(yes["HighScores"][0]["Name"].String, "Ваня");
    EXPECT_EQ(yes["HighScores"][0]["Score"].Int(), 10000);
    EXPECT_EQ(yes["HighScores"][9]["Score"].Int(), 1000);
}

TEST_F(MenusTest, ExitDialogNoKeepsTheSelectionAndYesEndsTheGame) {
    At(Ready, "tap Down");
    At(Ready + 2, "tap Escape");
    Dump(Ready + 2);
    At(Ready + 4, "tap Left");  // 12 -> 11
    Dump(Ready + 4);
    At(Ready + 6, "tap N");
    Dump(Ready + 6);
    At(Ready + 8, "tap Escape");
    At(Ready + 10, "tap Y");
    Dump(Ready + 12);
    Run(Ready + 100);
    TJson asked = State(Ready + 2);
    EXPECT_EQ(asked["ActiveDialog"].Int(), 1);
    EXPECT_EQ(asked["HotItem"].Int(), 12);
    EXPECT_EQ(State(Ready + 4)["HotItem"].Int(), 11);
    TJson no = State(Ready + 6);
    EXPECT_EQ(no["ActiveDialog"].Int(), 0);
    EXPECT_EQ(no["HotItem"].Int(), 2);
    EXPECT_FALSE(std::filesystem::exists(Dir + "/s" + std::to_string(Ready + 12) + ".json"))
        << "the game should have ended";
    EXPECT_TRUE(std::filesystem::exists(Dir + "/Data/Save/options"));
}

TEST_F(MenusTest, BossKeyStopsTheMusicUntilTheNextDialogCloses) {
    At(Ready, "click " + Tab(3));
    At(Ready + 2, "tap Return");  // full screen on
    Dump(Ready + 2);
    At(Ready + 4, "tap F12");
    Dump(Ready + 4);
    At(Ready + 6, "tap Escape");
    At(Ready + 8, "tap Escape");  // the exit dialog over the main menu
    At(Ready + 10, "tap N");
    Dump(Ready + 10);
    At(Ready + 12, "down Left Alt");
    At(Ready + 13, "tap Return");  // Alt+Enter switches the mode back, nothing else
    At(Ready + 15, "up Left Alt");
    Dump(Ready + 15);
    Run(Ready + 17);
    EXPECT_TRUE(State(Ready + 2)["options"]["FullScreen"].Bool);
    TJson hidden = State(Ready + 4);
    EXPECT_EQ(hidden["music"].Kind, TJson::TKind::Null);
    EXPECT_FALSE(hidden["options"]["FullScreen"].Bool);
    TJson back = State(Ready + 10);
    EXPECT_EQ(back["ActiveDialog"].Int(), 0);
    EXPECT_EQ(back["music"].Kind, TJson::TKind::String);
    TJson toggled = State(Ready + 15);
    EXPECT_TRUE(toggled["options"]["FullScreen"].Bool);
    EXPECT_EQ(toggled["CurrentScreen"].Int(), 1);
    EXPECT_EQ(toggled["ActiveDialog"].Int(), 0);
}

TEST_F(MenusTest, AFailedSaveAtExitBringsTheMenuBack) {
    std::filesystem::remove_all(Dir + "/Data/Save");
    std::ofstream(Dir + "/Data/Save") << "not a folder";
    At(Ready, "tap Escape");
    At(Ready + 2, "tap Y");
    Dump(Ready + 3);
    THeadlessResult run = Run(Ready + 5);
    EXPECT_NE(run.Stderr.find("error:"), std::string::npos) << run.Stderr;
    TJson after = State(Ready + 3);
    EXPECT_EQ(after["CurrentScreen"].Int(), 1);
    EXPECT_EQ(after["ActiveDialog"].Int(), 0);
    EXPECT_EQ(after["HotItem"].Int(), 6);
}

}  // namespace
}  // namespace quillon::testing
