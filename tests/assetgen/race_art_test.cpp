// The race pictures: road tiles laid out by the track rules must join without seams and
// show solid wall over every wall collision shape; sprites keep their key colour clean
// in 16 bits; the generator draws the same bytes every run.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "TrackSketch.h"
#include "art/Collections.h"
#include "art/RaceKit.h"
#include "art/RaceRoad.h"
#include "engine/Surface.h"
#include "support/Rgb565.h"

namespace quillon::assetgen {
namespace {

const TDIBImage& Tiles() {
    static const TDIBImage tiles = BuildRoadTileSet().Picture;
    return tiles;
}

enum class TLook { Space, Road, Wall };

TLook LookAt(const TDIBImage& img, int x, int y) {
    const uint32_t p = img.At(x, y);
    if (p == RaceKeyRGB) return TLook::Space;
    return IsWallColour(p) ? TLook::Wall : TLook::Road;
}

// Integer points inside (or on) the convex hull of a wall shape's four corners.
bool InsideShape(const TWallShape& s, int x, int y) {
    const int order[4] = {0, 1, 3, 2};  // listed top pair, bottom pair; walk them round
    int sign = 0;
    for (int k = 0; k < 4; ++k) {
        int a = order[k], b = order[(k + 1) % 4];
        long cross = static_cast<long>(s.X[b] - s.X[a]) * (y - s.Y[a]) - static_cast<long>(s.Y[b] - s.Y[a]) * (x - s.X[a]);
        if (cross == 0) continue;
        int sg = cross > 0 ? 1 : -1;
        if (sign != 0 && sg != sign) return false;
        sign = sg;
    }
    return true;
}

// Every collision pixel of every wall in the stretch is drawn as wall.
void ExpectWallsCoverShapes(const TTrackSketch& t, const TDIBImage& img) {
    for (int r = 0; r < t.Rows; ++r)
        for (int c = 0; c < t.Cols; ++c) {
            const TWallShape* s = WallShapeOf(t.At(r, c));
            if (!s) continue;
            int misses = 0;
            for (int y = 0; y < RoadTileSize; ++y)
                for (int x = 0; x < RoadTileSize; ++x)
                    if (InsideShape(*s, x, y) && LookAt(img, c * RoadTileSize + x, r * RoadTileSize + y) != TLook::Wall)
                        ++misses;
            EXPECT_EQ(misses, 0) << "tile code " << s->Code << " at row " << r << ", column " << c;
        }
}

// Across every tile edge the picture continues: what lies on one side of the edge lies
// on the other within a pixel or two (a wall crossing at a slant moves half a pixel a row).
void ExpectSeamlessEdges(const TTrackSketch& t, const TDIBImage& img) {
    auto matchesNear = [&](TLook want, int x, int y, bool alongX) {
        for (int d = -2; d <= 2; ++d) {
            int px = alongX ? x + d : x, py = alongX ? y : y + d;
            if (px < 0 || py < 0 || px >= img.Width || py >= img.Height) continue;
            if (LookAt(img, px, py) == want) return true;
        }
        return false;
    };
    for (int r = 0; r < t.Rows; ++r)
        for (int c = 0; c < t.Cols; ++c) {
            int bad = 0;
            if (r + 1 < t.Rows) {
                const int y = (r + 1) * RoadTileSize;  // first row of the tile below
                for (int x = c * RoadTileSize; x < (c + 1) * RoadTileSize; ++x)
                    if (!matchesNear(LookAt(img, x, y - 1), x, y, true)) ++bad;
            }
            if (c + 1 < t.Cols) {
                const int x = (c + 1) * RoadTileSize;  // first column of the tile to the right
                for (int y = r * RoadTileSize; y < (r + 1) * RoadTileSize; ++y)
                    if (!matchesNear(LookAt(img, x - 1, y), x, y, false)) ++bad;
            }
            EXPECT_EQ(bad, 0) << "seam below or right of codes " << int(t.At(r, c)) << " at row " << r << ", column " << c
                              << " (below " << int(t.At(r + 1, c)) << ", right " << int(t.At(r, c + 1)) << ")";
        }
}

struct TStretchCase {
    const char* Name;
    TTrackSketch Sketch;
};

std::vector<TStretchCase> StretchCases() {
    // Segment lengths as the race makes them: shifts run 6 rows, straightening 4.
    auto rows = [](std::initializer_list<std::pair<int, int>> runs) {
        std::vector<int> kinds;
        for (auto [kind, count] : runs) kinds.insert(kinds.begin(), count, kind);
        return kinds;
    };
    std::vector<TStretchCase> cases = {
        {"StraightWithStartLine", SketchFromKinds(rows({{1, 8}}), 10, 2, true)},
        {"LeftShifts", SketchFromKinds(rows({{1, 1}, {3, 12}, {5, 4}, {1, 1}}), 14, 8, false)},
        {"RightShifts", SketchFromKinds(rows({{1, 1}, {4, 12}, {5, 4}, {1, 1}}), 14, 0, false)},
        {"LeftThenRight", SketchFromKinds(rows({{3, 6}, {5, 4}, {4, 6}, {5, 4}}), 12, 4, false)},
    };
    for (uint32_t seed = 1; seed <= 12; ++seed)
        cases.push_back({"RandomTrack", RandomTrack(seed * 2654435761u, 40, 44)});
    return cases;
}

TEST(RoadStretch, WallArtCoversEveryCollisionShape) {
    for (const TStretchCase& k : StretchCases()) {
        SCOPED_TRACE(k.Name);
        ExpectWallsCoverShapes(k.Sketch, AssembleStretch(k.Sketch, Tiles(), RaceKeyRGB));
    }
}

TEST(RoadStretch, TilesJoinWithoutSeams) {
    for (const TStretchCase& k : StretchCases()) {
        SCOPED_TRACE(k.Name);
        ExpectSeamlessEdges(k.Sketch, AssembleStretch(k.Sketch, Tiles(), RaceKeyRGB));
    }
}

TEST(RoadStretch, RandomTracksUseEveryTileCode) {
    std::array<bool, RoadTileCount> seen{};
    for (const TStretchCase& k : StretchCases())
        for (uint8_t code : k.Sketch.Codes)
            if (code < RoadTileCount) seen[code] = true;
    for (int code = 1; code < RoadTileCount; ++code) EXPECT_TRUE(seen[code]) << "code " << code << " never laid";
}

TEST(RoadTiles, RoadIsOpaqueAndOutsideTheWallsIsKey) {
    // The middle of a plain road tile and the far side of a straight wall.
    const TDIBImage& t = Tiles();
    for (int y = 0; y < RoadTileSize; ++y) {
        EXPECT_EQ(LookAt(t, 1 * RoadTileSize + 36, y), TLook::Road);
        EXPECT_EQ(LookAt(t, 2 * RoadTileSize + 5, y), TLook::Space);
        EXPECT_EQ(LookAt(t, 3 * RoadTileSize + 66, y), TLook::Space);
        EXPECT_EQ(LookAt(t, 2 * RoadTileSize + 50, y), TLook::Road);
    }
}

using testing::To565;

TEST(ImageCollections, NoOpaquePixelTurnsIntoTheKeyIn16Bits) {
    const std::vector<TPictureItemData> collections[3] = {BuildCollection1(), BuildCollection2(), BuildCollection3()};
    for (int c = 0; c < 3; ++c) {
        for (size_t i = 0; i < collections[c].size(); ++i) {
            const TPictureItemData& item = collections[c][i];
            if (!item.Transparent) continue;
            const uint32_t k = item.TransparentColor;  // 0x00BBGGRR
            const uint32_t keyRGB = (k & 0xFF) << 16 | (k & 0xFF00) | (k >> 16 & 0xFF);
            const uint16_t key565 = To565(keyRGB);
            size_t clashes = 0;
            for (uint32_t p : item.Picture.Pixels)
                if (p != keyRGB && To565(p) == key565) ++clashes;
            EXPECT_EQ(clashes, 0u) << "collection " << c + 1 << " index " << i;
        }
    }
}

TEST(ImageCollections, RacePicturesAreTheSameEveryRun) {
    const std::vector<TPictureItemData> a = BuildCollection2(), b = BuildCollection2();
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i].Picture.Pixels, b[i].Picture.Pixels) << "index " << i;
}

}  // namespace
}  // namespace quillon::assetgen
