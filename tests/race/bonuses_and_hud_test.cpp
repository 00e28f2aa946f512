// Bonuses and the heads-up display: where bonuses lie, the pick-up by the four corners of
// the picture and its 100-pixel reach, what each gives (an extra life only up to three),
// the clock and place texts, the rival markers and the radar piece of every edge tile.
#include <gtest/gtest.h>

#include <set>

#include "RaceFixture.h"
#include "race/Bonuses.h"
#include "race/HudTexts.h"
#include "race/RaceTables.h"
#include "race/RivalTables.h"

namespace quillon {
namespace {

using testing::TRaceTest;

TEST_F(TRaceTest, BonusesLieOnStraightRoadBelowTheFinishAtMostThreeLives) {
    for (int level : {1, 10}) {
        for (uint64_t seed = 1; seed <= 8; ++seed) {
            Engine.Clear();
            Host.Source.Seed(seed);
            Start(1, level);
            const TBonus& bonuses = *Race.Bonuses();
            int placed = 0, lives = 0;
            for (int i = 1; i <= BonusSlots; ++i) {
                const TBonusSlot& b = bonuses.Slot(i);
                if (!b.Present) continue;
                ++placed;
                lives += b.Kind == 4;
                EXPECT_LE(i, Race.State.BonusCount);
                EXPECT_GE(b.Row, 1549 - Race.State.TrackLength);
                EXPECT_LE(b.Row, 1494);
                EXPECT_EQ(Race.State.Track.Cell(b.Row, b.Col), 1) << "on the road";
                bool nearEdge = false;
                for (int k = 1; k <= 4; ++k) nearEdge |= Race.State.Track.Cell(b.Row, b.Col - k) == 2;
                EXPECT_TRUE(nearEdge) << "one of the four cells right of a straight left edge";
            }
            EXPECT_LE(placed, level * 10);
            EXPECT_GT(placed, 0);
            EXPECT_LE(lives, MaxLifeBonuses);
            Race.EndRace();
        }
    }
}

// A bonus cell whose picture's lower right corner alone lies on the ship: picked up.
TEST_F(TRaceTest, TheShipNeedsToCoverOnlyOneCornerOfABonus) {
    Start(1, 1);
    MakeQuiet();
    TBonus& bonuses = *Race.Bonuses();
    for (int i = 2; i <= BonusSlots; ++i) bonuses.Slot(i).Present = false;
    TBonusSlot& bonus = bonuses.Slot(1);
    bonus = TBonusSlot{true, Race.State.ViewCol + 4, Race.State.ViewRow + 5, 3, 0};
    // The cell's top-left corner at (266, 338): only (sx + 64, sy + 64) = (330, 402) is on the ship.
    Race.Background()->X = Race.Background()->Y = -22;
    bonuses.MoveSelf(1);
    EXPECT_FALSE(bonus.Present);
    EXPECT_EQ(Race.State.Score, 100);
    EXPECT_TRUE(Host.Played(14));
}

TEST_F(TRaceTest, BonusesAHundredPixelsAwayAreNotTested) {
    TPlayer& player = Start(1, 1);
    MakeQuiet();
    player.Width = player.Height = 400;  // a ship that covers every corner of the bonuses below
    TBonus& bonuses = *Race.Bonuses();
    for (int i = 1; i <= BonusSlots; ++i) bonuses.Slot(i).Present = false;
    Race.Background()->X = Race.Background()->Y = 0;
    // Cell (5, 5) of the view: the picture's corner (379, 379) is 51 pixels right of and 21
    // above the ship's (328, 400); with the background 49 pixels right it is 100 pixels away.
    bonuses.Slot(1) = TBonusSlot{true, Race.State.ViewCol + 5, Race.State.ViewRow + 5, 1, 0};
    Race.Background()->X = 49;
    bonuses.MoveSelf(1);
    EXPECT_TRUE(bonuses.Slot(1).Present) << "exactly 100 pixels away";
    Race.Background()->X = 48;
    bonuses.MoveSelf(1);
    EXPECT_FALSE(bonuses.Slot(1).Present) << "99 pixels away";
}

TEST_F(TRaceTest, WhatEachBonusGives) {
    TPlayer& player = Start(1, 1);
    TBonus& bonuses = *Race.Bonuses();
    const struct { int Kind, Lives, Energy, Score, Sound; bool Invulnerable, Nitro, Mega; int LivesAfter, EnergyAfter; } cases[] = {
        {1, 3, 4, 10, 14, false, false, false, 3, 4},  {2, 3, 4, 50, 14, false, false, false, 3, 4},
        {3, 3, 4, 100, 14, false, false, false, 3, 4}, {4, 2, 4, 10, 15, false, false, false, 3, 4},
        {4, 3, 4, 10, 15, false, false, false, 3, 4},  // a fourth life is not given, the points are
        {5, 3, 4, 10, 15, true, false, false, 3, 4},   {6, 3, 4, 10, 15, false, true, false, 3, 4},
        {7, 3, 4, 10, 15, false, false, true, 3, 4},   {8, 3, 2, 10, 15, false, false, false, 3, 3},
        {8, 3, 4, 10, 15, false, false, false, 3, 4},  // a fifth energy point is not given
    };
    for (const auto& c : cases) {
        Race.State.Score = 0;
        Race.State.Lives = c.Lives;
        player.Energy = c.Energy;
        player.EndEffect(2);
        player.EndEffect(3);
        player.MegaShot = false;
        Host.Sounds.clear();
        bonuses.GiveToPlayer(c.Kind);
        EXPECT_EQ(Race.State.Score, c.Score) << "kind " << c.Kind;
        EXPECT_EQ(Race.State.Lives, c.LivesAfter) << "kind " << c.Kind;
        EXPECT_EQ(player.Energy, c.EnergyAfter) << "kind " << c.Kind;
        EXPECT_EQ(player.Invulnerable, c.Invulnerable) << "kind " << c.Kind;
        EXPECT_EQ(player.Nitro, c.Nitro) << "kind " << c.Kind;
        EXPECT_EQ(player.MegaShot, c.Mega) << "kind " << c.Kind;
        EXPECT_EQ(Host.Sounds, std::vector<int>{c.Sound}) << "kind " << c.Kind;
    }
    EXPECT_EQ(player.NitroMs, -1);
    bonuses.GiveToPlayer(6);
    EXPECT_EQ(player.NitroMs, 10000);
}

TEST(HudTextsTest, ClockPlaceAndDistance) {
    const struct { int Ms; const char* Text; } clocks[] = {
        {59999, "00 : 59"}, {60000, "01 : 00"}, {65000, "01 : 05"}, {1000, "00 : 01"},
        {999, "00 : 00"},   {0, "00 : 00"},     {175000, "02 : 55"},
    };
    for (const auto& c : clocks) EXPECT_EQ(ClockText(c.Ms), c.Text) << c.Ms;
    EXPECT_EQ(PlaceText(1, 2), "1/2");
    EXPECT_EQ(PlaceText(2, 4), "2/4");
    EXPECT_EQ(TileDistance(1000, 1000 + 36), 0) << "half a tile rounds to even";
    EXPECT_EQ(TileDistance(1000 + 400, 1000), 6);
}

TEST_F(TRaceTest, LevelOnePlacesOneOfTwo) {
    Start(2, 1);
    Frame();
    Frame();
    EXPECT_EQ(Race.State.Racers, 2);
    EXPECT_TRUE(Race.State.Place == 1 || Race.State.Place == 2);
}

// The markers show a rival only more than 360 pixels (five tiles) away; the leader never
// sees one ahead, the last never one behind.
TEST_F(TRaceTest, RivalMarkersBeyondFiveTiles) {
    TPlayer& player = Start(1, 1);
    Quiet = true;
    TRivalSlot& rival = Race.Rivals()->Slot(1);
    const struct { double Ahead; bool AheadMarker, BehindMarker; int Place; } cases[] = {
        {300, false, false, 2}, {400, true, false, 2}, {-300, false, false, 1}, {-400, false, true, 1},
    };
    for (const auto& c : cases) {
        const double playerY = Race.PlayerWorldY();
        rival.PosY = playerY - c.Ahead - ShipHeight[rival.ShipType] / 2.0;
        rival.Power = rival.Velocity = 0;
        Frame();
        Frame();
        player.DrawRadar();
        EXPECT_EQ(Race.State.Place, c.Place) << c.Ahead;
        EXPECT_EQ(Race.State.AheadMarker, c.AheadMarker) << c.Ahead;
        EXPECT_EQ(Race.State.BehindMarker, c.BehindMarker) << c.Ahead;
    }
}

// The radar piece of a row comes from the tile left of its first road tile.
TEST_F(TRaceTest, RadarPieceForEachEdgeTile) {
    TPlayer& player = Start(1, 1);
    const struct { int Left; int Before, At, After; } cases[] = {
        {2, 0, 6, 0}, {5, 20, 10, 0}, {6, 0, 40, 30}, {12, 1, 2, 0}, {14, 3, 4, 0}, {7, 0, 0, 0},
    };
    TTrackMap& track = Race.State.Track;
    const int viewRow = 1000, row = viewRow + 3;
    Race.State.ViewRow = viewRow;
    track.SetRoadLeft(viewRow, TileSize * 320 + 216);  // radar column j is map column 315 + j
    for (const auto& c : cases) {
        track.Fill(EmptyTile);
        track.SetCell(row, 319, c.Left);
        track.SetCell(row, 320, 1);
        player.DrawRadar();
        const int j = 320 - 315;
        EXPECT_EQ(player.RadarGrid[j - 1][3], c.Before) << "left tile " << c.Left;
        EXPECT_EQ(player.RadarGrid[j][3], c.At) << "left tile " << c.Left;
        EXPECT_EQ(player.RadarGrid[j + 1][3], c.After) << "left tile " << c.Left;
    }
    track.Fill(EmptyTile);
    track.SetCell(row, 318, 18);
    track.SetCell(row, 319, 19);
    player.DrawRadar();
    EXPECT_EQ(player.RadarGrid[319 - 315][3], 7) << "the middle of a start or finish line";
}

}  // namespace
}  // namespace quillon
