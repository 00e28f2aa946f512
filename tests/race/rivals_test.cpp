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
#include "race/ScrollBackground.h"
#include "race/ShipPhysics.h"
#include "race/Shots.h"

namespace quillon {
namespace {

using testing::TRaceTest;

TEST_F(TRaceTest, RivalsRaceByLevelFromTheirStartingPlaces) {
    const struct { int Level; bool Races[6]; } levels[] = {
        {1, {false, true, false, false, false, false}}, {2, {false, false, true, true, false, false}},
        {3, {false, true, true, true, false, false}},   {4, {false, false, true, true, false, false}},
        {5, {false, true, true, true, true, true}},     {10, {false, true, true, true, true, true}},
    };
    for (const auto& l : levels) {
        Engine.Clear();
        Start(1, l.Level);
        int racers = 1;
        for (int i = 1; i <= RivalSlots; ++i) {
            const TRivalSlot& rival = Race.Rivals()->Slot(i);
            EXPECT_EQ(rival.Active, l.Races[i]) << "level " << l.Level << " slot " << i;
            racers += rival.Active;
            if (!rival.Active) continue;
            EXPECT_EQ(rival.PosX, TileSize * 318 + RivalStarts[i].X);
            EXPECT_EQ(rival.PosY, TileSize * 1478 + RivalStarts[i].Y);
            EXPECT_EQ(rival.LaneOffset, RivalStarts[i].LaneOffset);
            EXPECT_GE(rival.ShipType, 1);
            EXPECT_LE(rival.ShipType, 5);
            EXPECT_FALSE(rival.Thrusting) << "the placing move does not light the engines";
        }
        Frame();
        EXPECT_EQ(Race.State.Racers, racers) << "level " << l.Level;
        Race.EndRace();
    }
}

TEST_F(TRaceTest, TheFourthHitExplodesARival) {
    Start(1, 5);
    TCar& rivals = *Race.Rivals();
    for (int hit = 1; hit <= 3; ++hit) {
        rivals.HitRival(2);
        EXPECT_FALSE(rivals.Slot(2).Destroyed) << "hit " << hit;
    }
    EXPECT_FALSE(Host.Played(20));
    rivals.HitRival(2);
    EXPECT_TRUE(rivals.Slot(2).Destroyed);
    EXPECT_TRUE(Host.Played(20));
    EXPECT_EQ(rivals.Slot(2).ShipItem, Ship(rivals.Slot(2).ShipType).ExplosionImage);
}

// A rival on a wall explodes once, coasts to a stop, and a second later stands three
// cells left of the road's right edge, pointing along it, with its hits forgotten.
TEST_F(TRaceTest, AWallExplodesARivalOnceAndItComesBackOnTheRightLane) {
    Start(1, 1);
    TCar& rivals = *Race.Rivals();
    TRivalSlot& rival = rivals.Slot(1);
    rival.HitCount = 2;
    // Its centre on the left wall of the straight first segment.
    rival.PosX = TileSize * 320 + 20 - ShipWidth[rival.ShipType] / 2.0;
    rival.PosY = TileSize * 1475 - ShipHeight[rival.ShipType] / 2.0;
    rival.Power = 50;
    rivals.Move(1);  // its hull where it now is
    Race.Background()->TestRivalWalls();
    ASSERT_TRUE(rival.Destroyed);
    EXPECT_EQ(rival.HitCount, 4);
    Host.Sounds.clear();
    Race.Background()->TestRivalWalls();
    EXPECT_FALSE(Host.Played(20)) << "a wreck is not exploded again";
    int frames = 0;
    while (rival.Destroyed && frames < 2000) {
        Frame();
        ++frames;
    }
    ASSERT_FALSE(rival.Destroyed);
    EXPECT_GE(frames * Host.Ms, 1000) << "it waits a second once it has stopped";
    EXPECT_EQ(rival.HitCount, 0);
    const int row = static_cast<int>(rival.PosY) / TileSize, col = static_cast<int>(rival.PosX) / TileSize + 3;
    EXPECT_EQ(Race.State.Track.Cell(row, col), 3) << "three cells left of the right edge";
    EXPECT_NEAR(rival.Heading, 0, 2);
}

TEST_F(TRaceTest, RivalsSwerveAroundThePlayerAndEachOther) {
    Start(1, 5);
    TCar& rivals = *Race.Rivals();
    TPlayer& player = *Race.Player();
    // Slot 1 right behind the player and faster: its front probes find the player's hull.
    TRivalSlot& chaser = rivals.Slot(1);
    chaser.PosX = TileSize * 318 + player.ShipCentreX - ShipWidth[chaser.ShipType] / 2.0;
    chaser.PosY = TileSize * 1478 + player.ShipCentreY + 70 - ShipHeight[chaser.ShipType] / 2.0;
    chaser.Power = 100;
    chaser.Velocity = 10;
    chaser.LaneOffset = 20;
    chaser.Heading = 0;
    // Slot 3 just ahead of slot 2's nose.
    TRivalSlot& leader = rivals.Slot(3);
    TRivalSlot& follower = rivals.Slot(2);
    follower.PosX = leader.PosX;
    follower.PosY = leader.PosY + 60;
    follower.Heading = leader.Heading = 0;
    follower.LaneOffset = -10;
    Frame();
    EXPECT_TRUE(chaser.Avoiding);
    EXPECT_LT(chaser.Heading, 0) << "a positive lane turns away to the left";
    EXPECT_EQ(chaser.LaneOffset, 20 - 8) << "the player ahead makes the sharper swerve";
    EXPECT_TRUE(follower.Avoiding);
    EXPECT_GT(follower.Heading, 0);
}

// With its heading 0 a rival fires at a player 0..500 pixels ahead (or 20 behind) whose
// bearing lies within 16 steps of its nose.
TEST_F(TRaceTest, RivalsFireOnlyInTheirWindowAndAim) {
    Start(1, 1);
    Quiet = true;
    TRivalSlot& rival = Race.Rivals()->Slot(1);
    const double px = TPlayer::ScreenX, py = TPlayer::ScreenY;
    const struct { double DX, DY; bool Fires; } cases[] = {
        {-10, 200, true},    // ahead and a little to the left: the aim is near 0
        {-60, 200, true},    // the aim is 11.9
        {-100, 200, false},  // the aim is 18.9
        {0, 200, false},     // straight ahead: the aim is 64
        {10, 200, false},    // ahead to the right: the aim is near 128
        {-10, 499, true},
        {-10, 510, false},   // more than 500 pixels ahead
        {-1, -25, false},    // the player is behind it
    };
    for (const auto& c : cases) {
        Host.Sounds.clear();
        Race.Shots.Clear();
        rival.Destroyed = false;
        rival.ShotTimer = 0;
        rival.Heading = 0;
        rival.Power = rival.Velocity = 0;
        // The rival's centre on the screen, relative to the player's place.
        rival.PosX = TileSize * Race.State.ViewCol - Race.Background()->X + px - c.DX - ShipWidth[rival.ShipType] / 2.0;
        rival.PosY = TileSize * Race.State.ViewRow - Race.Background()->Y + py + c.DY - ShipHeight[rival.ShipType] / 2.0;
        Frame();
        EXPECT_EQ(Host.Played(23), c.Fires) << c.DX << ", " << c.DY;
        EXPECT_EQ(Race.Shots.Used() == 1, c.Fires) << c.DX << ", " << c.DY;
    }
}

TEST_F(TRaceTest, TheShotTableHoldsTen) {
    Start(1, 1);
    for (int i = 0; i < 11; ++i) SpawnShot(Race, 1, ShotByPlayer, 0, 5, 100.0 * i, 0);
    EXPECT_EQ(Race.Shots.Used(), 10);
    for (int slot = 1; slot <= ShotSlots; ++slot) EXPECT_EQ(Race.Shots[slot].X, 100.0 * (slot - 1));
    EXPECT_EQ(Race.Shots[1].Speed, 15) << "shots fly 10 faster than they were given";
    FreeShot(Race, 4);
    SpawnShot(Race, 2, ShotByRival, 0, 5, -1, 0);
    EXPECT_EQ(Race.Shots[4].X, -1) << "the lowest free slot";
}

TEST_F(TRaceTest, AMegaShotThatMissesIsLost) {
    TPlayer& player = Start(1, 1);
    MakeQuiet();
    player.ApplyEffect(4);
    ASSERT_TRUE(player.MegaShot);
    TRaceControls fire;
    fire.Fire = true;
    Frame(fire);
    Frame(fire);
    EXPECT_FALSE(player.MegaShot);
    EXPECT_TRUE(Host.Played(25));
    ASSERT_EQ(Race.Shots.Used(), 1);
    EXPECT_EQ(Race.Shots[1].Kind, ShotMega);
    for (int i = 0; i < 400 && Race.Shots.Used(); ++i) Frame();
    EXPECT_EQ(Race.Shots.Used(), 0) << "gone off the top of the screen";
    EXPECT_FALSE(player.MegaShot);
    Host.Sounds.clear();
    player.FireMs = 0;
    Frame(fire);
    Frame(fire);
    EXPECT_TRUE(Host.Played(23)) << "the next shot is the ship's own";
}

TEST_F(TRaceTest, AnAsteroidTakesTheWholeEnergyAndFallsOn) {
    TPlayer& player = Start(1, 1);
    MakeQuiet();
    const double wx = TileSize * Race.State.ViewCol + player.ShipCentreX, wy = TileSize * Race.State.ViewRow + player.ShipCentreY;
    SpawnShot(Race, ShotLargeAsteroid, ShotByAsteroid, 128, -9, wx, wy);
    Race.State.ThirdFrameCounter = 2;
    Frame();
    EXPECT_EQ(player.Energy, 0);
    EXPECT_TRUE(player.Dead);
    EXPECT_EQ(Race.State.Lives, 2);
    ASSERT_TRUE(Race.Shots[1].Used);
    EXPECT_EQ(Race.Shots[1].State, ShotFlying) << "it does not burst on the ship";
}

TEST_F(TRaceTest, ShootingAnAsteroidOrDestroyingARivalScores) {
    Start(1, 5);
    // A shot of the player's just under an asteroid.
    MakeQuiet();
    const double x = TileSize * Race.State.ViewCol + 150, y = TileSize * Race.State.ViewRow + 100;
    SpawnShot(Race, ShotSmallAsteroid, ShotByAsteroid, 128, -9, x, y);
    SpawnShot(Race, 1, ShotByPlayer, 0, -9, x, y + 20);
    Race.State.ThirdFrameCounter = 2;
    Frame();
    EXPECT_EQ(Race.State.Score, 50);
    EXPECT_EQ(Race.Shots[1].State, ShotAsteroidBurst);
    EXPECT_FALSE(Race.Shots[2].Used);

    TRivalSlot& rival = Race.Rivals()->Slot(3);
    rival.Active = true;
    const int before = Race.State.Score;
    for (int hit = 1; hit <= 4; ++hit) {
        Race.Shots.Clear();
        SpawnShot(Race, 1, ShotByPlayer, 0, -10, rival.CenterX, rival.CenterY);
        Race.State.ThirdFrameCounter = 2;
        Frame();
    }
    EXPECT_TRUE(rival.Destroyed);
    EXPECT_EQ(Race.State.Score, before + 100);
}

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

// The throttle reads the road ahead: power on bends and short straights, the brake on the
// long straights and the straightening when fast; at the start the flame stays off.
TEST(RivalStepsTest, ThrottleBrakesOnlyOnStraightsWhenFast) {
    const TShipModel& ship = Ship(2);
    const struct {
        TSegmentKind Ahead;
        double Power;
        bool Starting, Brakes, Thrusts;
    } cases[] = {
        {TSegmentKind::Straight, 140, false, false, true},     {TSegmentKind::ShiftLeft, 140, false, false, true},
        {TSegmentKind::ShiftRight, 140, false, false, true},   {TSegmentKind::LongStraight, 140, false, true, false},
        {TSegmentKind::Straighten, 140, false, true, false},   {TSegmentKind::LongStraight, 100, false, false, true},
        {TSegmentKind::Straight, 100, true, false, false},
    };
    for (const auto& c : cases) {
        TRivalSlot rival;
        rival.Power = c.Power;
        ThrottleRival(rival, ship, c.Ahead, 1.0, c.Starting);
        SCOPED_TRACE(static_cast<int>(c.Ahead));
        EXPECT_EQ(rival.Drag, c.Brakes ? BrakeStep(ship.BrakeRating) : 0) << "power " << c.Power;
        EXPECT_EQ(rival.Thrusting, c.Thrusts) << "power " << c.Power;
    }
}

// A wreck first loses its power, then stands and counts its respawn wait down by the frame.
TEST(RivalStepsTest, AWreckStandsThenWaitsOutItsRespawn) {
    TRivalSlot rival;
    rival.Destroyed = true;
    rival.Power = 5;
    rival.Velocity = 3;
    rival.RespawnTimer = 30;
    EXPECT_FALSE(BurnWreck(rival, 1.0, 11));
    EXPECT_EQ(rival.Drag, 0.8) << "still moving: it slows";
    EXPECT_EQ(rival.RespawnTimer, 30);
    rival.Power = 0;
    const int waits[] = {19, 8, -3};
    for (int left : waits) {
        EXPECT_FALSE(BurnWreck(rival, 1.0, 11));
        EXPECT_EQ(rival.RespawnTimer, left);
        EXPECT_EQ(rival.Velocity, 0);
    }
    EXPECT_TRUE(BurnWreck(rival, 1.0, 11)) << "the wait is over";
}

}  // namespace
}  // namespace quillon
