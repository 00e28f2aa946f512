// The race's rules as tables: the speed model of the five ships, the controls, the
// tilt pictures, the engine-sound bands, the walls, the respawn, the clock and the
// results counting.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "RaceFixture.h"
#include "race/RaceClock.h"
#include "race/RaceTables.h"
#include "race/ShipPhysics.h"

namespace quillon {
namespace {

using testing::TRaceTest;

TEST(ShipSpeedModelTest, TheFiveShips) {
    const struct { int Ship; double TopSpeed, Brake, AccelAt100, TurnAt100; } ships[] = {
        {1, 6 / 110.0 + 0.9, 0.35, 107 / (100 * std::sqrt(200.0)), 1000 / (100 * std::sqrt(100 * 3.2))},
        {2, 1.0, 0.325, 92 / (100 * std::sqrt(200.0)), 1000 / (100 * std::sqrt(100 * 3.5))},
        {3, 6 / 110.0 + 0.9, 0.275, 104 / (100 * std::sqrt(200.0)), 1000 / (100 * std::sqrt(100 * 3.4))},
        {4, 9 / 110.0 + 0.9, 0.3, 110 / (100 * std::sqrt(200.0)), 1000 / (100 * std::sqrt(100 * 3.5))},
        {5, 8 / 110.0 + 0.9, 0.3, 104 / (100 * std::sqrt(200.0)), 1000 / (100 * std::sqrt(100 * 2.9))},
    };
    for (const auto& s : ships) {
        const TShipModel& model = Ship(s.Ship);
        EXPECT_DOUBLE_EQ(TopSpeedFactor(model.SpeedRating), s.TopSpeed) << "ship " << s.Ship;
        EXPECT_DOUBLE_EQ(BrakeStep(model.BrakeRating), s.Brake) << "ship " << s.Ship;
        EXPECT_DOUBLE_EQ(AccelStep(100, model.AccelRating, false), s.AccelAt100) << "ship " << s.Ship;
        EXPECT_DOUBLE_EQ(TurnStep(100, model.HandlingRating), s.TurnAt100) << "ship " << s.Ship;
        EXPECT_EQ(AccelStep(0, model.AccelRating, false), 0.3) << "standing ships pull away at the top rate";
        EXPECT_EQ(AccelStep(150, model.AccelRating, true), 0.3) << "nitro";
        EXPECT_EQ(AccelStep(1, model.AccelRating, false), 0.3) << "never above the top rate";
        EXPECT_EQ(TurnStep(0, model.HandlingRating), 0);
        EXPECT_EQ(TurnStep(-2, model.HandlingRating), 0.4) << "reversing turns by -v / 5";
        EXPECT_EQ(TurnStep(-8, model.HandlingRating), 0.8) << "never above 0.8";
        EXPECT_EQ(TurnStep(5, model.HandlingRating), 0.8);
        EXPECT_EQ(CoastStep(0, model.AccelRating, false), 0);
        EXPECT_EQ(CoastStep(-3, model.AccelRating, false), 0);
        EXPECT_EQ(CoastStep(150, model.AccelRating, true), 0.05) << "at least 0.05";
    }
}

TEST(ShipSpeedModelTest, EngineSoundBands) {
    const double m = 1.0545;
    const struct { double V; int Band; } cases[] = {
        {0, 0},       {-3, 0},       {0.01, 9},    {65 * m, 9},  {65.5 * m, 0}, {67 * m, 0},   {67.01 * m, 10},
        {97 * m, 10}, {97.1 * m, 11}, {116 * m, 11}, {116.1 * m, 12}, {131 * m, 12}, {143.5 * m, 12}, {157 * m, 12},
        {157.1 * m, 13}, {180 * m, 13}, {180.1 * m, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(EngineBand(c.V, m), c.Band) << "v = " << c.V;
}

// A map of one endless straight road, so a ship can drive at full speed for long.
void StraightRoad(TRace& race) {
    TTrackMap& map = race.State.Track;
    map.Fill(EmptyTile);
    const int road[6] = {2, 1, 1, 1, 1, 3};
    for (int row = 1; row <= MapRows; ++row) {
        for (int i = 0; i < 6; ++i) map.SetCell(row, 320 + i, road[i]);
        map.SetRowKind(row, TSegmentKind::Straight);
    }
    ComputeRoadLeft(map);
}

TEST_F(TRaceTest, FullSpeedReadsTheShipsTopSpeedOnTheSpeedometer) {
    for (int ship = 1; ship <= 5; ++ship) {
        Engine.Clear();
        TPlayer& player = Start(ship, 10);
        MakeQuiet();
        StraightRoad(Race);
        Race.State.TimeLeft = 1000000;
        TRaceControls up;
        up.Accelerate = true;
        int highest = 0;
        for (int i = 0; i < 4000; ++i) {
            Race.State.ViewRow = 1000;  // keep the ship far from the finish
            Frame(up);
            highest = std::max(highest, SpeedometerReading(player.Speed));
        }
        const int top = static_cast<int>(std::lround(19 * 160 * player.TopSpeed()));
        EXPECT_LE(std::abs(highest - top), 1) << "ship " << ship;
        EXPECT_LE(std::abs(SpeedometerReading(player.Speed) - top), 2) << "ship " << ship;
        if (ship == 2) {
            EXPECT_EQ(top, 3040);
        }
    }
}

TEST_F(TRaceTest, AccelerateAndSlowDownTogetherOnlyBrake) {
    TPlayer& player = Start(3);
    player.Speed = 60;
    TRaceControls both;
    both.Accelerate = both.SlowDown = true;
    Frame(both);  // the controls reach the ship's next move
    const double before = player.Speed;
    Frame(both);
    EXPECT_NEAR(player.Speed, before - player.BrakeNow(), 1e-9);
    EXPECT_TRUE(player.GroupOn(GroupCoast)) << "coasting sound above speed 40";
    player.Speed = 30;
    Frame(both);
    EXPECT_TRUE(player.GroupOn(GroupIdle)) << "idle sound at 40 and below";
}

TEST_F(TRaceTest, SteeringNeedsSpeedAndTurnsTheOtherWayInReverse) {
    TPlayer& player = Start(1);
    TRaceControls right;
    right.Right = true;
    Frame(right);
    Frame(right);
    EXPECT_EQ(player.HeadingTarget, 0) << "standing still the ship does not turn";

    player.Speed = -4;
    player.Velocity = player.TopSpeed() * player.Speed / 8;
    Frame(right);
    EXPECT_LT(player.HeadingTarget, 0) << "reversing, right turns the nose left";

    player.HeadingTarget = 0;
    player.Speed = 50;
    player.Velocity = player.TopSpeed() * player.Speed / 8;
    Frame(right);
    EXPECT_GT(player.HeadingTarget, 0);
}

TEST_F(TRaceTest, ReversingStopsAtMinusEight) {
    TPlayer& player = Start(1);
    Race.State.ViewRow = 1400;  // away from the bottom of the map, where reversing stops
    TRaceControls back;
    back.SlowDown = true;
    for (int i = 0; i < 300; ++i) Frame(back);
    EXPECT_EQ(player.Speed, -8);
    TRaceControls brake;
    brake.Brake = true;
    for (int i = 0; i < 30; ++i) Frame(brake);
    EXPECT_EQ(player.Speed, 0) << "the extra brake stops a reversing ship";
}

TEST_F(TRaceTest, TiltPicturesFollowTheSteering) {
    TPlayer& player = Start(4);
    StraightRoad(Race);
    player.Speed = 100;
    TRaceControls left;
    left.Left = true;
    left.Accelerate = true;
    Frame(left);
    Frame(left);
    EXPECT_EQ(player.TiltState, -1);
    EXPECT_EQ(player.ImageIndex(), Ship(4).TiltLeftImage);
    EXPECT_EQ(player.FramePos, 5.5) << "the tilt starts with the slightest bank";
    double lowest = 5.5;
    for (int i = 0; i < 80; ++i) {
        Race.State.ViewRow = 1400;  // below the finish of level 1
        player.Speed = 100;
        Frame(left);
        lowest = std::min(lowest, player.FramePos);
    }
    ASSERT_FALSE(player.Dead);
    EXPECT_LT(lowest, 5.5) << "the bank deepens once the heading has turned by more than 5";
    EXPECT_GE(lowest, 5.5 - 100 / 25.0) << "no deeper than the speed allows";

    TRaceControls straight;
    straight.Accelerate = true;
    for (int i = 0; i < 100; ++i) {
        player.HeadingTarget = 0;  // back in the middle of the road, pointing along it
        Race.State.ViewCol = 318;
        Race.Background()->X = 0;
        Frame(straight);
    }
    EXPECT_EQ(player.TiltState, 0);
    EXPECT_EQ(player.ImageIndex(), Ship(4).Image);
}

// Each wall shape, placed over the ship, takes all of its energy; invulnerability does
// not help; a dead ship is left alone.
TEST_F(TRaceTest, EveryWallShapeTakesTheWholeEnergy) {
    const int codes[13] = {2, 3, 5, 6, 7, 8, 9, 11, 14, 15, 17, 18, 22};
    for (int code : codes) {
        for (bool invulnerable : {false, true}) {
            TPlayer& player = Start(1);
            TScrollBackground& background = *Race.Background();
            Race.State.Track.Fill(EmptyTile);
            Race.State.Track.SetCell(Race.State.ViewRow + 5, Race.State.ViewCol + 4, code);
            // The wall's first corner on the ship's centre.
            const TQuad wall = WallQuad(code, 0, 0);
            background.X = player.ShipCentreX - 72 * 4 - wall[0].X;
            background.Y = player.ShipCentreY - 72 * 5 - wall[0].Y;
            player.Invulnerable = invulnerable;
            const int lives = Race.State.Lives;
            background.TestPlayerWalls();
            EXPECT_EQ(player.Energy, 0) << "tile " << code;
            EXPECT_TRUE(player.Dead) << "tile " << code;
            EXPECT_EQ(Race.State.Lives, lives - 1) << "tile " << code;
            EXPECT_TRUE(Host.Played(20));
            background.TestPlayerWalls();
            EXPECT_EQ(Race.State.Lives, lives - 1) << "a dead ship is not hit again";
            Race.EndRace();
        }
    }
    EXPECT_EQ(TileShape(1), -1);
    EXPECT_EQ(TileShape(4), -1);
    EXPECT_EQ(TileShape(EmptyTile), -1);
}

TEST_F(TRaceTest, RespawnOnAStraightPutsTheRightEdgeInTheEighthColumn) {
    for (int drift : {0, -3, 5}) {
        TPlayer& player = Start(2);
        StraightRoad(Race);
        Race.State.ViewRow = 1400;
        Race.State.ViewCol = 318 + drift;  // the wreck drifted off the road
        player.Damage(player.Energy);
        ASSERT_TRUE(player.Dead);
        for (int i = 0; i < 400 && player.Dead; ++i) Frame();
        EXPECT_FALSE(player.Dead);
        EXPECT_EQ(Race.State.Track.Cell(Race.State.ViewRow + 4, Race.State.ViewCol + 7), 3) << "drift " << drift;
        EXPECT_EQ(player.Energy, 4);
        EXPECT_EQ(player.Heading, 0);
        Race.EndRace();
    }
}

TEST_F(TRaceTest, LastLifeLostOpensTheGameOver) {
    TPlayer& player = Start(1);
    Race.State.Lives = 1;
    player.Damage(4);
    EXPECT_EQ(Race.State.Lives, 0);
    for (int i = 0; i < 400; ++i) Frame();
    EXPECT_TRUE(player.Dead);
    ASSERT_FALSE(Host.Dialogs.empty());
    EXPECT_EQ(Host.Dialogs.back(), TDialog::GameOver);
}

TEST(RaceClockTest, TicksOncePerSecondInTheLastTenSeconds) {
    TRaceState state;
    state.TimeLeft = state.ClockBefore = 12500;
    std::vector<int> tickedAt;
    bool timeOut = false;
    while (!timeOut) {
        if (UpdateRaceClock(state, 11, false, timeOut)) tickedAt.push_back(state.TimeLeft);
        ASSERT_GE(state.TimeLeft, 0);
    }
    ASSERT_EQ(tickedAt.size(), 10u);
    for (size_t i = 0; i < tickedAt.size(); ++i)
        EXPECT_EQ(tickedAt[i] / 1000, 9 - static_cast<int>(i)) << "heard the frame after crossing a second";
    EXPECT_LE(state.TimeLeft, 12);
    const int standing = state.TimeLeft;
    for (int i = 0; i < 50; ++i) EXPECT_FALSE(UpdateRaceClock(state, 11, true, timeOut)) << "a stopped clock is silent";
    EXPECT_EQ(state.TimeLeft, standing);
}

TEST(RaceClockTest, TimeOutAndTheFloor) {
    const struct { int TimeLeft, FrameMs; bool Stopped; int After; bool TimeOut; } cases[] = {
        {13, 11, false, 2, true},   // 11 + 1 >= 2
        {24, 11, false, 13, false},  // 13 is one more than 11 + 1
        {23, 11, false, 12, true},
        {5, 11, false, 5, true},    // never below 0: the step is refused
        {5000, 16, true, 5000, false},
        {17, 16, true, 17, true},
    };
    for (const auto& c : cases) {
        TRaceState state;
        state.TimeLeft = state.ClockBefore = c.TimeLeft;
        bool timeOut = false;
        UpdateRaceClock(state, c.FrameMs, c.Stopped, timeOut);
        EXPECT_EQ(state.TimeLeft, c.After) << c.TimeLeft;
        EXPECT_EQ(timeOut, c.TimeOut) << c.TimeLeft;
    }
}

TEST(RaceResultsTest, LinesThenTheTimeBonusThenTheScore) {
    const struct { int TimeLeft, Place, FrameMs, TimeBonus; } cases[] = {
        {12300, 1, 11, 60}, {12300, 2, 16, 60}, {999, 1, 11, 0}, {0, 6, 11, 0}, {45000, 3, 11, 225},
    };
    for (const auto& c : cases) {
        TRaceState state;
        state.Score = 1000;
        state.TimeLeft = c.TimeLeft;
        state.Place = static_cast<uint8_t>(c.Place);
        BeginResults(state);
        int lineSounds = 0, ticks = 0, frames = 0;
        TResultsStep step;
        while (!(step = StepResults(state, c.FrameMs)).Done) {
            lineSounds += step.LineSound;
            ticks += step.TickSound;
            ASSERT_LT(++frames, 100000);
        }
        EXPECT_EQ(lineSounds, 4);
        EXPECT_EQ(state.TimeBonus, c.TimeBonus) << c.TimeLeft;
        EXPECT_EQ(ticks * 5, c.TimeBonus);
        EXPECT_EQ(state.Score, 1000 + PlaceBonus(c.Place) + c.TimeBonus);
        EXPECT_LT(state.ResultTime, 0);
    }
    EXPECT_EQ(PlaceBonus(1), 800);
    EXPECT_EQ(PlaceBonus(6), 100);
}

}  // namespace
}  // namespace quillon
