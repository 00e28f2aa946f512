// Races end to end through the headless driver: a race started from the ship selection,
// the level banner, the pause, leaving with Escape, a game lost to the clock, the demo
// pilot finishing level 1 with its results paid into the score, and the last level
// ending in the congratulations.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "support/ScriptedRun.h"

namespace quillon::testing {
namespace {

using RaceTest = TScriptedRun;


TEST_F(RaceTest, ShipSelectionStartsTheRaceBehindTheLevelBanner) {
    At(Ready, "tap Return");        // ship selection
    At(Ready + 2, "tap Up");        // the next-ship button
    At(Ready + 4, "tap Right");     // next ship: the pictures cross-fade for a while
    At(Ready + 60, "tap Down");     // back to the start button
    At(Ready + 62, "tap Return");   // start: the banner's first frame is this one
    const int start = Ready + 62;
    Dump(start);
    Dump(start + kLevelBannerFrames - 2);
    Dump(start + kLevelBannerFrames - 1);
    Dump(start + kLevelBannerFrames);
    Run(start + kLevelBannerFrames + 1, 1);

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
    EXPECT_EQ(State(start + kLevelBannerFrames - 2)["ActiveDialog"].Int(), 6);
    const TJson closed = State(start + kLevelBannerFrames - 1);
    EXPECT_EQ(closed["ActiveDialog"].Int(), 0) << "the banner closes on its 182nd frame";
    EXPECT_EQ(closed["race"]["TimeLeft"].Int(), 45000) << "the clock stood still under the banner";
    EXPECT_EQ(State(start + kLevelBannerFrames)["race"]["TimeLeft"].Int(), 45000 - 11);
}

TEST_F(RaceTest, PauseAndEscapeQuestion) {
    const int go = Ready + kLevelBannerFrames + 2;
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
    Run(go + 34, 1);

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

// Minimising pauses a race; over the level banner the banner goes first, then the pause.
TEST_F(RaceTest, MinimisingPausesTheRace) {
    const int go = Ready + kLevelBannerFrames + 2;
    At(Ready, "race 2 1");
    At(Ready + 20, "minimize");
    At(Ready + 30, "restore");
    Dump(Ready + 31);
    At(Ready + 40, "tap P");
    Dump(Ready + 41);
    At(go + 100, "minimize");
    At(go + 110, "restore");
    Dump(go + 111);
    Dump(go + 130);
    Run(go + 131, 1);

    const TJson overBanner = State(Ready + 31);
    EXPECT_EQ(overBanner["ActiveDialog"].Int(), 5) << "the banner made way for the pause";
    EXPECT_EQ(overBanner["race"]["TimeLeft"].Int(), 45000);
    EXPECT_EQ(State(Ready + 41)["ActiveDialog"].Int(), 0);
    const TJson paused = State(go + 111);
    EXPECT_EQ(paused["ActiveDialog"].Int(), 5);
    EXPECT_EQ(State(go + 130)["race"]["TimeLeft"].Int(), paused["race"]["TimeLeft"].Int()) << "the clock stands";
}

// With no hands on the controls the clock runs out (or an asteroid falls on the standing
// ship): each time level 1 starts again with a life fewer, until the game is over and the
// main menu comes back.
TEST_F(RaceTest, NoInputLosesEveryLifeToTheClock) {
    const int frames = 14400, every = 20;
    At(Ready, "race 3 1");
    for (int f = Ready + every; f < frames; f += every) Dump(f);
    Run(frames, 1);

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
    ASSERT_FALSE(dialogs.empty());
    EXPECT_EQ(dialogs.back(), 7) << "the game-over message";
    const auto timeOut = std::find(dialogs.begin(), dialogs.end(), 3);
    ASSERT_NE(timeOut, dialogs.end()) << "the time ran out at least once";
    EXPECT_EQ(*(timeOut + 1), 6) << "and the level started again";
    for (int dialog : dialogs) EXPECT_TRUE(dialog == 0 || dialog == 3 || dialog == 6 || dialog == 7) << dialog;
    EXPECT_EQ(lives, (std::vector<int>{3, 2, 1, 0}));
}

// The pilot finishes level 1 on a ship against its one rival; the results pay the place
// and time bonuses into the score, exactly.
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

    int scoreBefore = -1, placeBonus = 0, timeBonus = 0, place = 0;
    bool finished = false, nextLevel = false;
    for (int f = Ready + every; f < frames && !nextLevel; f += every) {
        const TJson s = State(f);
        ASSERT_TRUE(s.Has("race")) << "frame " << f;
        const TJson& race = s["race"];
        if (race["player"]["Finished"].Bool) finished = true;
        if (s["ActiveDialog"].Int() == 11) {
            if (scoreBefore < 0) scoreBefore = race["Score"].Int();
            placeBonus = race["PlaceBonus"].Int();
            timeBonus = race["TimeBonus"].Int();
            place = race["Place"].Int();
            EXPECT_EQ(race["Racers"].Int(), 2) << "one rival on level 1";
        }
        if (race["Level"].Int() == 2) {
            nextLevel = true;
            EXPECT_EQ(race["Score"].Int(), scoreBefore + placeBonus + timeBonus);
        }
    }
    EXPECT_TRUE(finished);
    EXPECT_TRUE(nextLevel);
    EXPECT_EQ(placeBonus, place == 1 ? 800 : 600);
    EXPECT_GT(timeBonus, 0);
}

INSTANTIATE_TEST_SUITE_P(EveryShip, PilotTest, ::testing::Range(1, 6));

TEST_F(RaceTest, TheLastLevelEndsInTheCongratulations) {
    const int frames = 16600, every = 50;
    At(Ready, "race 1 10");
    At(Ready, "pilot on");
    for (int f = Ready + every; f < frames; f += every) Dump(f);
    Run(frames, 1);

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
    EXPECT_EQ(dialogs, (std::vector<int>{6, 0, 11, 12, 8})) << "a score for the table asks for a name";
    EXPECT_FALSE(backOnMenu);
}

// A level-5 race with the pilot: the rivals race and fire, get shot, overtake and are
// overtaken, and the place the display shows is the one the positions give. The pilot
// gets through the full field, its shots and the asteroids to the finish without losing
// a life.
TEST_F(RaceTest, ALevelFiveFieldRacesFiresAndIsShot) {
    const int frames = 10000, every = 10;
    At(Ready, "race 1 5");
    At(Ready, "pilot on");
    for (int f = Ready + every; f < frames; f += every) Dump(f);
    THeadlessResult result = RunHeadless(Dir, Script.str(), "--frames " + std::to_string(frames) + " --seed 4");
    ASSERT_EQ(result.ExitStatus, 0) << result.Stderr;

    const int heights[6] = {0, 73, 73, 67, 70, 68};
    double topPower = 0;
    bool rivalFired = false, rivalHit = false, playerShot = false;
    std::set<int> places;
    int checkedPlaces = 0, fewestLives = 3;
    bool finished = false;
    for (int f = Ready + every; f < frames; f += every) {
        const TJson s = State(f);
        if (!s.Has("race") || s["race"]["Level"].Int() != 5) break;
        const TJson& race = s["race"];
        fewestLives = std::min(fewestLives, race["Lives"].Int());
        finished |= race["player"]["Finished"].Bool;
        if (s["ActiveDialog"].Int() != 0) continue;
        places.insert(race["Place"].Int());
        for (const TJson& shot : race["shots"].Array) {
            rivalFired |= shot["Owner"].Int() == 2;
            playerShot |= shot["Owner"].Int() == 1;
        }
        const double player = 72 * race["ViewRow"].Number + race["player"]["ShipCentreY"].Number - race["BackgroundY"].Number;
        int ahead = 0;
        bool close = false;
        for (const TJson& rival : race["rivals"].Array) {
            topPower = std::max(topPower, rival["Power"].Number);
            rivalHit |= rival["HitCount"].Int() > 0 || rival["Destroyed"].Bool;
            const double centre = rival["PosY"].Number + heights[rival["ShipType"].Int()] / 2.0;
            close |= std::fabs(centre - player) < 40;  // the place lags the rivals by one move
            ahead += centre < player;
        }
        if (race["player"]["Finished"].Bool || close) continue;
        EXPECT_EQ(race["Place"].Int(), ahead + 1) << "frame " << f;
        EXPECT_EQ(race["Racers"].Int(), 6);
        ++checkedPlaces;
    }
    EXPECT_GT(topPower, 120) << "the rivals race";
    EXPECT_TRUE(rivalFired);
    EXPECT_TRUE(playerShot);
    EXPECT_TRUE(rivalHit);
    EXPECT_GE(places.size(), 3u) << "places change hands";
    EXPECT_GT(checkedPlaces, 100);
    EXPECT_TRUE(finished) << "the pilot reaches the finish";
    EXPECT_EQ(fewestLives, 3) << "without losing a life";
}

}  // namespace
}  // namespace quillon::testing
