// Everything in the shot table is seen where it flies: each kind and each burst is put
// on a known race frame, and the pixels it changes must be its own picture, at its place,
// at its size, turned where it is drawn turned.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "race/PictureDiff.h"
#include "race/RaceFixture.h"
#include "race/RaceTables.h"
#include "race/Shots.h"

namespace quillon::testing {
namespace {

struct TShotPicture {
    const char* Name;
    uint8_t Kind;
    uint8_t State;
    int Heading;
    double Frame;
    int Image;          // item of the race collection
    int Width, Height;  // drawn size
    bool Rotated;
};

// The drawing table of the shots, with a heading that shows whether the picture turns.
const TShotPicture ShotPictures[] = {
    {"gun 1 upright", 1, ShotFlying, 0, 0, 26, 10, 25, true},
    {"gun 1 turned right", 1, ShotFlying, 64, 0, 26, 10, 25, true},
    {"gun 7 turned left", 7, ShotFlying, 192, 0, 26, 10, 25, true},
    {"gun 2 upright", 2, ShotFlying, 0, 0, 29, 10, 25, true},
    {"gun 8 turned right", 8, ShotFlying, 64, 0, 29, 10, 25, true},
    {"gun 3 upright", 3, ShotFlying, 0, 0, 32, 20, 45, true},
    {"gun 3 turned right", 3, ShotFlying, 64, 0, 32, 20, 45, true},
    {"mega-shot, never turned", ShotMega, ShotFlying, 64, 0, 35, 32, 32, false},
    {"small asteroid, spinning", ShotSmallAsteroid, ShotFlying, 140, 3.5, 12, 36, 31, false},
    {"large asteroid, spinning", ShotLargeAsteroid, ShotFlying, 120, 6, 23, 74, 52, false},
    {"asteroid burst", ShotSmallAsteroid, ShotAsteroidBurst, 128, 9, 63, 64, 64, false},
    {"large asteroid burst, late", ShotLargeAsteroid, ShotAsteroidBurst, 128, 14, 63, 64, 64, false},
    // Sparks turn like the shot that burst: rival type 2 and player ship 3 (below).
    {"spark on a rival", 2, ShotOnRival, 0, 4, 17, 32, 32, true},
    {"spark on the player", 1, ShotOnPlayer, 64, 4, 18, 32, 32, true},
};

constexpr int ShotScreenX = 200, ShotScreenY = 220;

TEST_F(TRaceTest, EveryShotKindAndBurstIsDrawnAtItsPlace) {
    TPlayer& player = Start(3, 1);
    MakeQuiet();
    Race.Rivals()->Slot(2).ShipType = 2;
    const auto [bx, by] = Race.Scroll();
    const double worldX = TileSize * Race.State.ViewCol - bx + ShotScreenX;
    const double worldY = TileSize * Race.State.ViewRow - by + ShotScreenY;
    const std::vector<uint16_t> empty = FramePixels();
    const int width = Display.Surface().Width();
    ASSERT_EQ(player.ShipNumber, 3);

    for (const TShotPicture& c : ShotPictures) {
        SCOPED_TRACE(c.Name);
        Race.Shots.Clear();
        SpawnShot(Race, c.Kind, ShotByPlayer, c.Heading, 0, worldX, worldY);
        TShot& shot = Race.Shots[1];
        shot.State = c.State;
        shot.Frame = c.Frame;
        shot.Target = c.State == ShotOnRival ? 2 : 0;
        const std::vector<uint16_t> drawn = FramePixels();

        const TPictureDiff changed = DiffPictures(empty, drawn, width);
        ASSERT_GE(changed.Count, 12) << "the shot must show";

        // Turned a quarter, the picture lies across; otherwise it stands as drawn.
        const bool across = c.Rotated && (c.Heading == 64 || c.Heading == 192);
        const int boxW = across ? c.Height : c.Width, boxH = across ? c.Width : c.Height;
        const int left = ShotScreenX - boxW / 2 - 1, top = ShotScreenY - boxH / 2 - 1;
        EXPECT_GE(changed.Left, left);
        EXPECT_GE(changed.Top, top);
        EXPECT_LE(changed.Right, left + boxW + 1);
        EXPECT_LE(changed.Bottom, top + boxH + 1);
        if (c.Rotated && c.Width != c.Height) {
            if (across)
                EXPECT_GT(changed.Width(), changed.Height()) << "turned by its heading";
            else
                EXPECT_GT(changed.Height(), changed.Width()) << "standing upright";
        }

        // Its own picture and frame: every changed pixel of an unturned picture is the
        // pattern's, most of a scaled one too.
        const long own = OwnColours(changed, PatternColours(Art.Items(c.Image), static_cast<int>(std::trunc(c.Frame))));
        if (c.Rotated)
            EXPECT_GE(own * 2, changed.Count);
        else
            EXPECT_EQ(own, changed.Count);
    }
}

// The pattern changes with the frame: an asteroid spins and a burst grows and fades.
TEST_F(TRaceTest, AnimatedShotsShowTheirFrame) {
    Start(1, 1);
    MakeQuiet();
    const auto [bx, by] = Race.Scroll();
    const double worldX = TileSize * Race.State.ViewCol - bx + ShotScreenX;
    const double worldY = TileSize * Race.State.ViewRow - by + ShotScreenY;
    for (const auto& [kind, state, first, second] :
         std::vector<std::tuple<uint8_t, uint8_t, double, double>>{
             {ShotLargeAsteroid, ShotFlying, 0.5, 4.2}, {ShotSmallAsteroid, ShotAsteroidBurst, 2, 10}}) {
        std::vector<std::vector<uint16_t>> pictures;
        for (double frame : {first, second}) {
            Race.Shots.Clear();
            SpawnShot(Race, kind, ShotByAsteroid, 128, 0, worldX, worldY);
            Race.Shots[1].State = state;
            Race.Shots[1].Frame = frame;
            pictures.push_back(FramePixels());
        }
        EXPECT_TRUE(pictures[0] != pictures[1]) << "kind " << int(kind) << " state " << int(state);
    }
}

}  // namespace
}  // namespace quillon::testing
