// Everything else that moves in a race is seen where the race keeps it: the rivals of
// every ship type, their flames and wrecks, the player's flame and explosion, and every
// kind of bonus. Each is put on a known frame; the pixels it changes must be its own, in
// its place.
#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "race/Bonuses.h"
#include "race/PictureDiff.h"
#include "race/RaceFixture.h"
#include "race/RaceTables.h"
#include "race/RivalTables.h"

namespace quillon::testing {
namespace {

constexpr int CentreX = 200, CentreY = 220;  // on the road, clear of the ship and the panel

class RaceDrawingTest : public TRaceTest {
protected:
    void SetUp() override {
        TRaceTest::SetUp();
        if (IsSkipped()) return;
        Start(1, 5);
        MakeQuiet();
        for (int i = 1; i <= BonusSlots; ++i) Race.Bonuses()->Slot(i).Present = false;
    }
    double WorldX(double screenX) { return TileSize * Race.State.ViewCol - Race.Scroll().X + screenX; }
    double WorldY(double screenY) { return TileSize * Race.State.ViewRow - Race.Scroll().Y + screenY; }

    // Rival 1 of this type, upright, its centre at the screen point.
    TRivalSlot& PlaceRival(int type) {
        TRivalSlot& rival = Race.Rivals()->Slot(1);
        rival = TRivalSlot{};
        rival.Active = rival.OnScreen = true;
        rival.ShipType = static_cast<uint8_t>(type);
        rival.ShipItem = Ship(type).Image;
        rival.CenterX = WorldX(CentreX);
        rival.CenterY = WorldY(CentreY);
        rival.PosX = rival.CenterX - ShipWidth[type] / 2.0;
        rival.PosY = rival.CenterY - ShipHeight[type] / 2.0;
        return rival;
    }
    // The picture before and after a change.
    TPictureDiff Change(const std::function<void()>& change) {
        const std::vector<uint16_t> before = FramePixels();
        change();
        return DiffPictures(before, FramePixels(), Display.Surface().Width());
    }
};

TEST_F(RaceDrawingTest, EveryRivalTypeItsFlameAndItsWreck) {
    for (int type = 1; type <= 5; ++type) {
        SCOPED_TRACE("ship type " + std::to_string(type));
        const int w = ShipWidth[type], h = ShipHeight[type];
        TRivalSlot& rival = PlaceRival(type);
        rival.Active = false;
        const TPictureDiff ship = Change([&] { rival.Active = true; });
        ASSERT_GE(ship.Count, w * h / 5);
        EXPECT_TRUE(ship.Inside(CentreX - w / 2 - 1, CentreY - h / 2 - 1, CentreX + w / 2 + 1, CentreY + h / 2 + 1));
        EXPECT_GE(OwnColours(ship, PatternColours(Art.Items(Ship(type).Image), 0)) * 2, ship.Count);

        // The flame hangs behind the ship, under its tail, narrower than the hull.
        const TPictureDiff flame = Change([&] { rival.Thrusting = true; });
        ASSERT_GE(flame.Count, 10);
        EXPECT_GT(flame.Top, CentreY - 5);
        EXPECT_TRUE(flame.Inside(CentreX - 12, CentreY, CentreX + 12, CentreY + 70));

        // A wreck: the explosion's picture at the ship's top-left.
        const int item = Ship(type).ExplosionImage;
        rival.Thrusting = false;
        const TPictureDiff wreck = Change([&] {
            rival.Destroyed = true;
            rival.ShipItem = item;
            rival.Frame = 6;
        });
        const int left = static_cast<int>(std::lround(CentreX - w / 2.0)), top = static_cast<int>(std::lround(CentreY - h / 2.0));
        const long own = OwnColours(wreck, PatternColours(Art.Items(item), 6));
        EXPECT_GE(own, 40) << "the explosion shows";
        // Whatever changed outside the hull's old place is the explosion's own.
        EXPECT_TRUE(wreck.Inside(std::min(left, CentreX - w / 2 - 1), std::min(top, CentreY - h / 2 - 1),
                                 std::max(left + Art.Items(item).Width(), CentreX + w / 2 + 1),
                                 std::max(top + Art.Items(item).Height(), CentreY + h / 2 + 1)));
    }
}

TEST_F(RaceDrawingTest, ThePlayersFlameAndExplosion) {
    TPlayer& player = *Race.Player();
    const int cx = static_cast<int>(std::lround(player.ShipCentreX)), cy = static_cast<int>(std::lround(player.ShipCentreY));
    const TPictureDiff flame = Change([&] { player.Controls.Accelerate = true; });
    ASSERT_GE(flame.Count, 10);
    EXPECT_TRUE(flame.Inside(cx - 12, cy, cx + 12, cy + 70)) << "behind the ship";

    const TPictureDiff nitro = Change([&] { player.Groups[GroupNitro] = true; });
    EXPECT_GE(nitro.Count, 10) << "the nitro flame is another picture";
    EXPECT_TRUE(nitro.Inside(cx - 12, cy, cx + 12, cy + 70));

    player.Controls.Accelerate = false;
    player.Damage(player.Energy);
    ASSERT_TRUE(player.Dead);
    player.FramePos = 5;
    const std::vector<uint16_t> exploding = FramePixels();
    const int item = Ship(1).ExplosionImage;
    const std::set<uint16_t> colours = PatternColours(Art.Items(item), 5);
    int own = 0;
    const int width = Display.Surface().Width();
    for (size_t i = 0; i < exploding.size(); ++i) {
        if (!colours.count(exploding[i])) continue;
        const int x = static_cast<int>(i) % width, y = static_cast<int>(i) / width;
        own += x >= TPlayer::ScreenX && x < TPlayer::ScreenX + Art.Items(item).Width() && y >= TPlayer::ScreenY &&
               y < TPlayer::ScreenY + Art.Items(item).Height();
    }
    EXPECT_GE(own, 60) << "the explosion at the ship's place";
}

TEST_F(RaceDrawingTest, EveryBonusKind) {
    TBonusSlot& bonus = Race.Bonuses()->Slot(1);
    Race.State.BonusCount = std::max(Race.State.BonusCount, 1);
    const int col = Race.State.ViewCol + 2, row = Race.State.ViewRow + 3;
    const int x = static_cast<int>(std::lround(TileSize * 2 + Race.Scroll().X)) + 19;
    const int y = static_cast<int>(std::lround(TileSize * 3 + Race.Scroll().Y)) + 19;
    const int images[9] = {0, 11, 13, 14, 15, 59, 60, 61, 62};
    for (int kind = 1; kind <= 8; ++kind) {
        SCOPED_TRACE("bonus kind " + std::to_string(kind));
        bonus = TBonusSlot{false, col, row, static_cast<uint8_t>(kind), 2};
        TPictureCollectionItem& item = Art.Items(images[kind]);
        const TPictureDiff shown = Change([&] { bonus.Present = true; });
        ASSERT_GE(shown.Count, item.Width() * item.Height() / 5);
        EXPECT_TRUE(shown.Inside(x, y, x + item.Width() - 1, y + item.Height() - 1));
        EXPECT_EQ(OwnColours(shown, PatternColours(item, 2)), shown.Count);
    }
}

}  // namespace
}  // namespace quillon::testing
