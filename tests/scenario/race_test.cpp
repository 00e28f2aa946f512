// Races end to end through the headless driver: a race started from the ship selection,
// the level banner, the pause, leaving with Escape, a game lost to the clock, the demo
// pilot finishing level 1 with its results paid into the score, and the last level
// ending in the congratulations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ScriptedRun.h"

namespace quillon::testing {
namespace {

using RaceTest = TScriptedRun;

constexpr int Banner = 182;  // frames of the level banner at 85 frames a second

TEST_F(RaceTest, ShipSelectionStartsTheRaceBehindTheLevelBanner) {
    At(Ready, "tap Return");        // ship selection
    At(Ready + 2, "tap Up");        // the next-ship button
    At(Ready + 4, "tap Right");     // next ship: the pictures cross-fade for a while
    At(Ready + 60, "tap Down");     // back to the start button
    At(Ready + 62, "tap Return");   // start: the banner's first frame is this one
    const int start = Ready + 62;
    Dump(start);
    Dump(start + Banner - 2);
    Dump(start + Banner - 1);
    Dump(start + Banner);
    Run(start + Banner + 1);

    const TJson first = State(start);
    EXPECT_EQ(first["CurrentScreen"].Int(), 6);
    EXPECT_EQ(first["ActiveDialog"].Int(), 6);
    EXPECT_EQ(first["SelectedShip"].Int(), 2);
    EXPECT_NE(first["music"].String.find("Race"), std::string::npos);
    const TJson& race = first["race"];
    EXPECT_EQ(race["Level"].Int(), 1);
    EXPECT_EQ(race["Lives"].Int(), 3);
    EXPECT_EQ(race["Score"].Int(), 0);
    EXPECT_EQ(race["TimeLeft"].Int(), 45000);
    EXPECT_EQ(race["ViewCol"].Int(), 318);
    EXPECT_EQ(race["ViewRow"].Int(), 1478);
    EXPECT_EQ(race["player"]["Energy"].Int(), 4);
    EXPECT_EQ(State(start + Banner - 2)["ActiveDialog"].Int(), 6);
    const TJson closed = State(start + Banner - 1);
    EXPECT_EQ(closed["ActiveDialog"].Int(), 0) << "the banner closes on its 182nd frame";
    EXPECT_EQ(closed["race"]["TimeLeft"].Int(), 45000) << "the clock stood still under the banner";
    EXPECT_EQ(State(start + Banner)["race"]["TimeLeft"].Int(), 45000 - 11);
}

TEST_F(RaceTest, PauseAndEscapeQuestion) {
    const int go = Ready + Banner + 2;
    At(Ready, "race 1 1");
    At(go, "tap P");
    Dump(go);
    At(go + 10, "down P");
    At(go + 10, "down Escape");
    Dump(go + 10);
    At(go + 11, "up P");
    At(go + 11, "up Escape");
    Dump(go + 12);
    At(go + 20, "tap Escape");
    Dump(go + 20);
    At(go + 22, "tap N");
    Dump(go + 23);
    At(go + 30, "tap Escape");
    At(go + 32, "tap Y");
    Dump(go + 33);
    Run(go + 34);

    EXPECT_EQ(State(go)["ActiveDialog"].Int(), 5);
    EXPECT_EQ(State(go + 10)["ActiveDialog"].Int(), 0) << "P and Escape together close the pause";
    EXPECT_EQ(State(go + 12)["ActiveDialog"].Int(), 0) << "and open nothing else";
    EXPECT_EQ(State(go + 20)["ActiveDialog"].Int(), 2);
    const TJson goesOn = State(go + 23);
    EXPECT_EQ(goesOn["ActiveDialog"].Int(), 0);
    EXPECT_EQ(goesOn["CurrentScreen"].Int(), 6);
    EXPECT_LT(goesOn["race"]["TimeLeft"].Int(), 45000);
    const TJson menu = State(go + 33);
    EXPECT_EQ(menu["CurrentScreen"].Int(), 1);
    EXPECT_EQ(menu["ActiveDialog"].Int(), 0);
    EXPECT_FALSE(menu.Has("race"));
    EXPECT_NE(menu["music"].String.find("Menu"), std::string::npos);
}

// With no hands on the controls the clock runs out three times: two retries of level 1
// with a life fewer each, then the game is over and the main menu comes back.
TEST_F(RaceTest, NoInputLosesEveryLifeToTheClock) {
    const int frames = 14400, every = 20;
    At(Ready, "race 3 1");
    for (int f = Ready + every; f < frames; f += every) Dump(f);
    Run(frames);

    std::vector<int> dialogs;
    std::vector<int> lives;
    bool backOnMenu = false;
    for (int f = Ready + every; f < frames; f += every) {
        const TJson s = State(f);
        if (s["CurrentScreen"].Int() == 1) {
            backOnMenu = true;
            EXPECT_NE(s["music"].String.find("Menu"), std::string::npos);
            break;
        }
        const int dialog = s["ActiveDialog"].Int();
        if (dialogs.empty() || dialogs.back() != dialog) dialogs.push_back(dialog);
        const int life = s["race"]["Lives"].Int();
        if (lives.empty() || lives.back() != life) lives.push_back(life);
        EXPECT_GE(s["race"]["TimeLeft"].Int(), 0);
        EXPECT_EQ(s["race"]["Level"].Int(), 1);
    }
    EXPECT_TRUE(backOnMenu);
    EXPECT_EQ(dialogs, (std::vector<int>{6, 0, 3, 6, 0, 3, 6, 0, 7}));
    EXPECT_EQ(lives, (std::vector<int>{3, 2, 1, 0}));
}

// The pilot finishes level 1 on a ship; the results pay the place and time bonuses into
// the score, exactly.
class PilotTest : public TScriptedRun, public ::testing::WithParamInterface<int> {};

TEST_P(PilotTest, FinishesLevelOneAndTheResultsAddBothBonuses) {
    const int ship = GetParam();
    const int frames = 6200, every = 10;
    At(Ready, "race " + std::to_string(ship) + " 1");
    At(Ready, "pilot on");
    for (int f = Ready + every; f < frames; f += every) Dump(f);
    THeadlessResult result = RunHeadless(Dir, Script.str(), "--frames " + std::to_string(frames) + " --seed " +
                                                                std::to_string(ship));
    ASSERT_EQ(result.ExitStatus, 0) << result.Stderr;

    int scoreBefore = -1, placeBonus = 0, timeBonus = 0;
    bool finished = false, nextLevel = false;
    for (int f = Ready + every; f < frames && !nextLevel; f += every) {
        const TJson s = State(f);
        ASSERT_TRUE(s.Has("race")) << "frame " << f;
        const TJson& race = s["race"];
        EXPECT_FALSE(race["player"]["Dead"].Bool) << "frame " << f;
        if (race["player"]["Finished"].Bool) finished = true;
        if (s["ActiveDialog"].Int() == 11) {
            if (scoreBefore < 0) scoreBefore = race["Score"].Int();
            placeBonus = race["PlaceBonus"].Int();
            timeBonus = race["TimeBonus"].Int();
            EXPECT_EQ(race["Place"].Int(), 1);
            EXPECT_EQ(race["Racers"].Int(), 1);
        }
        if (race["Level"].Int() == 2) {
            nextLevel = true;
            EXPECT_EQ(race["Score"].Int(), scoreBefore + placeBonus + timeBonus);
        }
    }
    EXPECT_TRUE(finished);
    EXPECT_TRUE(nextLevel);
    EXPECT_EQ(placeBonus, 800);
    EXPECT_GT(timeBonus, 0);
}

INSTANTIATE_TEST_SUITE_P(EveryShip, PilotTest, ::testing::Range(1, 6));

TEST_F(RaceTest, TheLastLevelEndsInTheCongratulations) {
    const int frames = 17200, every = 50;
    At(Ready, "race 4 10");
    At(Ready, "pilot on");
    for (int f = Ready + every; f < frames; f += every) Dump(f);
    Run(frames);

    std::vector<int> dialogs;
    bool backOnMenu = false;
    for (int f = Ready + every; f < frames; f += every) {
        const TJson s = State(f);
        if (s["CurrentScreen"].Int() == 1) {
            backOnMenu = true;
            break;
        }
        EXPECT_EQ(s["race"]["Level"].Int(), 10) << "no level after the tenth";
        const int dialog = s["ActiveDialog"].Int();
        if (dialogs.empty() || dialogs.back() != dialog) dialogs.push_back(dialog);
    }
    EXPECT_EQ(dialogs, (std::vector<int>{6, 0, 11, 12}));
    EXPECT_TRUE(backOnMenu);
}

}  // namespace
}  // namespace quillon::testing
