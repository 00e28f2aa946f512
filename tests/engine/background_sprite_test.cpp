// The cell-map sprite: map sizing, cell access, bounds, and which cells land where
// when drawn once or repeated.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "RecordingImage.h"
#include "engine/BackgroundSprite.h"
#include "engine/SpriteEngine.h"

namespace quillon {
namespace {

using testing::TDrawCall;
using testing::TRecordingImage;

class BackgroundSpriteTest : public ::testing::Test {
protected:
    BackgroundSpriteTest() {
        Engine.SetSurface(&Surface);
        Map = new TBackgroundSprite(&Engine);
    }

    // Each cell shows a pattern number made from its place, so a draw tells which cell it was.
    void FillMap(int cols, int rows) {
        Map->SetMapSize(cols, rows);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) Map->SetCell(c, r, c + 100 * r);
        Map->SetImage(&Cells);
    }

    std::vector<TDrawCall> Draw() {
        Log.clear();
        Engine.Draw();
        return Log;
    }

    TDirectDrawSurface Surface{800, 600};
    std::vector<TDrawCall> Log;
    TRecordingImage Cells{Log, 1, 64, 64};
    TSpriteEngine Engine;
    TBackgroundSprite* Map;
};

TEST_F(BackgroundSpriteTest, SetMapSizeKeepsCellsOnlyForTheSameSize) {
    FillMap(3, 2);
    Map->SetMapSize(3, 2);
    EXPECT_EQ(Map->GetCell(2, 1), 102);

    Map->SetMapSize(2, 3);
    EXPECT_EQ(Map->CellsWide(), 2);
    EXPECT_EQ(Map->CellsHigh(), 3);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 2; ++c) EXPECT_EQ(Map->GetCell(c, r), 0);

    struct Case {
        int cols, rows;
    };
    for (Case c : {Case{0, 5}, Case{5, 0}, Case{-1, 4}, Case{4, -2}}) {
        Map->SetMapSize(3, 3);
        Map->SetMapSize(c.cols, c.rows);
        EXPECT_EQ(Map->CellsWide(), 0) << c.cols << " x " << c.rows;
        EXPECT_EQ(Map->CellsHigh(), 0) << c.cols << " x " << c.rows;
    }
    Map->SetImage(&Cells);
    Map->Wrapped = true;
    EXPECT_TRUE(Draw().empty());
}

TEST_F(BackgroundSpriteTest, CellsOutsideTheMapReadMinusOneAndIgnoreWrites) {
    FillMap(3, 2);
    struct Case {
        int c, r;
    };
    for (Case c : {Case{-1, 0}, Case{3, 0}, Case{0, -1}, Case{0, 2}}) {
        Map->SetCell(c.c, c.r, 7);
        EXPECT_EQ(Map->GetCell(c.c, c.r), -1) << c.c << ", " << c.r;
    }
    EXPECT_EQ(Map->GetCell(0, 0), 0);
    EXPECT_EQ(Map->GetCell(2, 1), 102);
}

TEST_F(BackgroundSpriteTest, SizeAndBounds) {
    EXPECT_EQ(Map->GetBounds(), TRect{});  // no image
    FillMap(3, 2);
    EXPECT_EQ(Map->Width, 192);
    EXPECT_EQ(Map->Height, 128);
    Map->X = 10.5;
    Map->Y = -3;
    EXPECT_EQ(Map->GetBounds(), (TRect{10, -3, 202, 125}));
    Map->Wrapped = true;
    EXPECT_EQ(Map->GetBounds(), (TRect{0, 0, 800, 600}));
}

TEST_F(BackgroundSpriteTest, WrappedMapRepeatsAcrossTheWholeSurface) {
    FillMap(4, 3);
    Map->Wrapped = true;
    Map->X = -10;
    const std::vector<TDrawCall> calls = Draw();

    // Grid columns -1 .. 14 and rows -1 .. 11, each drawn once, rows outermost.
    ASSERT_EQ(calls.size(), 16u * 13u);
    EXPECT_EQ(calls.front(), (TDrawCall{1, -74, -64, 3 + 200}));
    for (const TDrawCall& call : calls) {
        const int col = ((call.X + 10) / 64 + 4 * 4) % 4;  // x = 64 i - 10
        const int row = (call.Y / 64 + 3 * 4) % 3;
        EXPECT_EQ((call.X + 10) % 64, 0);
        EXPECT_EQ(call.Pattern, col + 100 * row) << call.X << ", " << call.Y;
    }
    auto at = [&](int x, int y) {
        return std::find_if(calls.begin(), calls.end(),
                            [&](const TDrawCall& c) { return c.X == x && c.Y == y; });
    };
    ASSERT_NE(at(-10, 0), calls.end());
    EXPECT_EQ(at(-10, 0)->Pattern, 0);  // column 0 at x -10
    EXPECT_EQ(at(-74, 0)->Pattern, 3);  // the last column just before it
    EXPECT_NE(at(886, 704), calls.end());  // still repeating past the right and bottom edges
}

TEST_F(BackgroundSpriteTest, WrappedMapFollowsNegativeOffsetsOfManyCells) {
    FillMap(4, 3);
    Map->Wrapped = true;
    Map->X = -130;  // column 2 lands at x -2
    Map->Y = 70;    // row 0 at y 70, row 2 at y 6
    const std::vector<TDrawCall> calls = Draw();
    auto at = [&](int x, int y) {
        auto it = std::find_if(calls.begin(), calls.end(),
                               [&](const TDrawCall& c) { return c.X == x && c.Y == y; });
        return it == calls.end() ? -1 : it->Pattern;
    };
    EXPECT_EQ(at(-2, 6), 202);
    EXPECT_EQ(at(62, 70), 3);
    EXPECT_EQ(at(126, 134), 100);
}

TEST_F(BackgroundSpriteTest, UnwrappedMapDrawsOnlyItsCellsOnTheGrid) {
    struct Case {
        const char* name;
        int cols, rows;
        double x, y;
        int firstX, firstY, firstPattern;
        size_t count;
    };
    const Case cases[] = {
        {"placed inside", 3, 2, 100, 50, 100, 50, 0, 6},
        {"left part off the surface", 4, 1, -130, 0, -2, 0, 2, 2},
        {"off by less than a cell", 2, 2, -10, -20, -10, -20, 0, 4},
        {"wider than the surface", 100, 1, 0, 0, 0, 0, 0, 14},  // grid columns 0 .. 13
        {"taller than the surface", 1, 50, 0, 0, 0, 0, 0, 11},  // grid rows 0 .. 10
        {"right of the surface", 2, 2, 800, 0, 0, 0, 0, 0},
        {"above the surface", 2, 2, 0, -128, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        FillMap(c.cols, c.rows);
        Map->X = c.x;
        Map->Y = c.y;
        const std::vector<TDrawCall> calls = Draw();
        ASSERT_EQ(calls.size(), c.count) << c.name;
        if (c.count == 0) continue;
        EXPECT_EQ(calls.front(), (TDrawCall{1, c.firstX, c.firstY, c.firstPattern})) << c.name;
        for (const TDrawCall& call : calls) {
            const int col = call.Pattern % 100, row = call.Pattern / 100;
            EXPECT_EQ(call.X, static_cast<int>(c.x) + 64 * col) << c.name;
            EXPECT_EQ(call.Y, static_cast<int>(c.y) + 64 * row) << c.name;
        }
    }
}

TEST_F(BackgroundSpriteTest, EmptyCellsAreSkipped) {
    FillMap(3, 1);
    Map->SetCell(1, 0, -1);
    const std::vector<TDrawCall> calls = Draw();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].Pattern, 0);
    EXPECT_EQ(calls[1].Pattern, 2);
}

TEST_F(BackgroundSpriteTest, NothingIsDrawnWithoutImageOrCellSize) {
    Map->SetMapSize(3, 3);
    Map->Wrapped = true;
    EXPECT_TRUE(Draw().empty());

    TRecordingImage empty(Log, 2, 0, 0);
    Map->SetImage(&empty);
    EXPECT_TRUE(Draw().empty());
}

}  // namespace
}  // namespace quillon
