// The game played with a pad alone, through the headless driver: the main menu, the
// ship selection, a race started, steered and paused, and the questions answered with
// A and B.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/ScriptedRun.h"

namespace quillon::testing {
namespace {

class PadTest : public TScriptedRun {
protected:
    // A button pressed for two frames, as a thumb would.
    void Press(int frame, const std::string& button) {
        At(frame, "pad down " + button);
        At(frame + 2, "pad up " + button);
    }
};

TEST_F(PadTest, MenusShipSelectionAndTheExitQuestion) {
    Press(Ready, "dpdown");
    Dump(Ready + 3);
    Press(Ready + 4, "dpup");
    Press(Ready + 8, "a");  // ship selection
    Dump(Ready + 11);
    Press(Ready + 12, "dpup");
    Press(Ready + 16, "dpright");  // the next ship
    Dump(Ready + 60);
    Press(Ready + 62, "b");  // back to the main menu
    Dump(Ready + 65);
    Press(Ready + 66, "b");  // "Выйти из игры?"
    Dump(Ready + 69);
    Press(Ready + 70, "dpright");
    Dump(Ready + 73);
    Press(Ready + 74, "b");  // no
    Dump(Ready + 77);
    Press(Ready + 78, "b");
    Press(Ready + 82, "a");  // yes: the game ends
    Run(Ready + 200);

    EXPECT_EQ(State(Ready + 3)["HotItem"].Int(), 2);
    TJson ships = State(Ready + 11);
    EXPECT_EQ(ships["CurrentScreen"].Int(), 2);
    EXPECT_EQ(ships["HotItem"].Int(), 9);
    TJson switched = State(Ready + 60);
    EXPECT_EQ(switched["HotItem"].Int(), 8);
    EXPECT_EQ(switched["SelectedShip"].Int(), 2);
    EXPECT_EQ(State(Ready + 65)["CurrentScreen"].Int(), 1);
    EXPECT_EQ(State(Ready + 69)["ActiveDialog"].Int(), 1);
    EXPECT_EQ(State(Ready + 73)["HotItem"].Int(), 12);
    TJson no = State(Ready + 77);
    EXPECT_EQ(no["ActiveDialog"].Int(), 0);
    EXPECT_EQ(no["CurrentScreen"].Int(), 1);
    EXPECT_FALSE(std::filesystem::exists(Dir + "/s" + std::to_string(Ready + 100) + ".json"));
    EXPECT_TRUE(std::filesystem::exists(Dir + "/Data/Save/options")) << "A on yes ends the game after saving";
}

TEST_F(PadTest, ARaceStartedSteeredPausedAndLeft) {
    Press(Ready, "a");         // ship selection, on "start"
    Press(Ready + 4, "a");     // the race, behind the level banner
    Dump(Ready + 7);
    const int racing = Ready + 200;  // the banner has gone
    At(racing, "pad down dpup");  // accelerate, steer right a while, sound the horn
    At(racing + 20, "pad down dpright");
    At(racing + 40, "pad up dpright");
    At(racing + 50, "pad down y");
    Dump(racing + 51);
    At(racing + 55, "pad up y");
    Dump(racing + 60);
    At(racing + 60, "pad up dpup");
    Press(racing + 62, "start");  // pause
    Dump(racing + 65);
    Press(racing + 66, "start");  // and on again
    Dump(racing + 69);
    Press(racing + 70, "b");  // "Выйти в меню?"
    Dump(racing + 73);
    Press(racing + 74, "b");  // no: the race goes on
    Dump(racing + 77);
    Press(racing + 78, "b");
    Press(racing + 82, "a");  // yes: back to the main menu
    Dump(racing + 85);
    Run(racing + 86);

    TJson started = State(Ready + 7);
    EXPECT_EQ(started["CurrentScreen"].Int(), 6);
    EXPECT_EQ(started["ActiveDialog"].Int(), 6);
    TJson moving = State(racing + 60);
    EXPECT_EQ(moving["ActiveDialog"].Int(), 0);
    EXPECT_GT(moving["race"]["player"]["Speed"].Number, 0.0);
    EXPECT_GT(moving["race"]["player"]["HeadingTarget"].Number, 0.0);
    EXPECT_TRUE(Started(State(racing + 51), 8)) << "Y sounds the horn";
    EXPECT_EQ(State(racing + 65)["ActiveDialog"].Int(), 5);
    EXPECT_EQ(State(racing + 69)["ActiveDialog"].Int(), 0);
    EXPECT_EQ(State(racing + 73)["ActiveDialog"].Int(), 2);
    TJson no = State(racing + 77);
    EXPECT_EQ(no["ActiveDialog"].Int(), 0);
    EXPECT_EQ(no["CurrentScreen"].Int(), 6);
    TJson left = State(racing + 85);
    EXPECT_EQ(left["CurrentScreen"].Int(), 1);
    EXPECT_EQ(left["ActiveDialog"].Int(), 0);
}

}  // namespace
}  // namespace quillon::testing
