// The track generator over many seeds and every level: each row follows from the row
// below by its segment's rule, the start and finish lines, the segment lengths and
// successions, the left edge per row, the empty map around the track, and safe reads
// and writes at the map's edges.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "engine/Random.h"
#include "race/Race.h"
#include "race/RaceTables.h"
#include "race/TrackGenerator.h"
#include "race/TrackMap.h"
#include "RaceFixture.h"

namespace quillon {
namespace {

struct TGenerated {
    TTrackMap Map;
    TTrackMap Unlined;  // the finish line put back to the straight road it was cut into
    int Length = 0;
};

std::unique_ptr<TGenerated> Generate(int level, uint64_t seed) {
    auto g = std::make_unique<TGenerated>();
    g->Length = LevelTrackLength(level);
    TGeneratorState state;
    TRandom random(seed);
    GenerateTrack(g->Map, state, g->Length, [&](int n) { return random.Random(n); });
    g->Unlined = g->Map;
    const int finish = FinishRow(g->Length);
    static const std::map<int, int> straight = {{18, 2}, {19, 1}, {20, 1}, {21, 1}, {22, 3}};
    for (int c = 1; c <= MapCols; ++c)
        if (auto it = straight.find(g->Map.Cell(finish, c)); it != straight.end()) g->Unlined.SetCell(finish, c, it->second);
    return g;
}

bool IsLeftEdge(int code) { return code == 2 || code == 4 || code == 6 || code == 11 || code == 13 || code == 18; }

class TrackGeneratorTest : public ::testing::TestWithParam<int> {};

TEST_P(TrackGeneratorTest, EveryRowFollowsFromTheRowBelowByItsKind) {
    const int level = GetParam();
    TTrackMap scratch;
    for (uint64_t seed = 1; seed <= 6; ++seed) {
        auto g = Generate(level, seed);
        const int top = TrackTopRow(g->Length);
        for (int row = top; row <= 1479; ++row) {
            for (int c = 1; c <= MapCols; ++c) {
                scratch.SetCell(row, c, EmptyTile);
                scratch.SetCell(row + 1, c, g->Unlined.Cell(row + 1, c));
            }
            const TSegmentKind kind = g->Map.RowKind(row);
            ASSERT_GE(static_cast<int>(kind), 1);
            ASSERT_LE(static_cast<int>(kind), 5);
            GenerateRow(scratch, row, kind);
            for (int c = 1; c <= MapCols; ++c)
                ASSERT_EQ(scratch.Cell(row, c), g->Unlined.Cell(row, c))
                    << "level " << level << " seed " << seed << " row " << row << " column " << c;
        }
    }
}

TEST_P(TrackGeneratorTest, StartStretchFinishLineAndNothingOutsideTheTrack) {
    const int level = GetParam();
    const int line[6] = {18, 19, 20, 19, 21, 22};
    const int road[6] = {2, 1, 1, 1, 1, 3};
    for (uint64_t seed = 1; seed <= 10; ++seed) {
        auto g = Generate(level, seed);
        for (int row = 1480; row <= 1499; ++row) {
            EXPECT_EQ(g->Map.RowKind(row), TSegmentKind::Straight);
            for (int i = 0; i < 6; ++i) EXPECT_EQ(g->Map.Cell(row, 320 + i), row == 1481 ? line[i] : road[i]);
        }
        for (int c = 1; c <= MapCols; ++c) {
            EXPECT_EQ(g->Map.Cell(1500, c), EmptyTile) << "below the start stretch";
            for (int row = 1; row <= TrackTopRow(g->Length) - 1; ++row)
                ASSERT_EQ(g->Map.Cell(row, c), EmptyTile) << "above the track, row " << row;
        }
        const int finish = FinishRow(g->Length);
        int leftmostEdge = 0;
        for (int c = MapCols; c >= 1; --c)
            if (g->Unlined.Cell(finish, c) == 2) leftmostEdge = c;
        int lineStart = 0;
        for (int c = MapCols; c >= 1; --c)
            if (g->Map.Cell(finish, c) == 18) lineStart = c;
        EXPECT_EQ(lineStart, leftmostEdge) << "the finish line lies on the row's straight left edge, or is missing";
        for (int i = 0; lineStart && i < 6; ++i) EXPECT_EQ(g->Map.Cell(finish, lineStart + i), line[i]);
    }
}

// Segments last their kind's length (runs of one kind are whole segments, the last one
// cut by the top of the track) and follow each other as the succession table allows;
// the top 99 rows start no new shift.
TEST_P(TrackGeneratorTest, SegmentLengthsAndSuccessions) {
    const int level = GetParam();
    const std::set<std::pair<int, int>> allowed = {{1, 2}, {2, 3}, {2, 4}, {3, 5}, {4, 5}, {5, 1}};
    const std::set<std::pair<int, int>> closing = {{2, 1}, {3, 5}, {4, 5}, {5, 1}};
    const int lengths[6] = {0, 8, 10, 6, 6, 4};
    for (uint64_t seed = 1; seed <= 10; ++seed) {
        auto g = Generate(level, seed);
        const int top = TrackTopRow(g->Length);
        int runKind = 1, runRows = 0;  // the first segment starts above the start stretch
        for (int row = 1479; row >= top; --row) {
            const int kind = static_cast<int>(g->Map.RowKind(row));
            if (kind == runKind) {
                ++runRows;
                continue;
            }
            EXPECT_EQ(runRows % lengths[runKind], 0) << "row " << row << " seed " << seed;
            const bool inClosing = row <= 1598 - g->Length;
            EXPECT_TRUE((inClosing ? closing : allowed).count({runKind, kind}))
                << runKind << " -> " << kind << " at row " << row << " seed " << seed;
            runKind = kind;
            runRows = 1;
        }
    }
}

TEST_P(TrackGeneratorTest, RoadLeftIsTheLastLeftEdgePieceOfTheRow) {
    const int level = GetParam();
    const std::map<int, int> offset = {{2, 0}, {18, 0}, {4, 45}, {6, 16}, {11, 30}, {13, 60}};
    auto g = Generate(level, 7);
    for (int row = TrackTopRow(g->Length); row <= 1499; ++row) {
        int expected = -1;
        for (int c = 1; c <= MapCols - 1; ++c)
            if (IsLeftEdge(g->Map.Cell(row, c))) expected = 72 * c + 216 + offset.at(g->Map.Cell(row, c));
        ASSERT_NE(expected, -1) << "row " << row << " has no left edge";
        EXPECT_EQ(g->Map.RoadLeft(row), expected) << "row " << row;
    }
}

INSTANTIATE_TEST_SUITE_P(AllLevels, TrackGeneratorTest, ::testing::Range(1, 11));

TEST(TrackGeneratorEdgesTest, ShiftsAtTheMapEdgesStayInsideTheMap) {
    TTrackMap map;
    map.SetCell(101, 1, 2);
    map.SetCell(101, MapCols, 3);
    GenerateRow(map, 100, TSegmentKind::ShiftLeft);
    EXPECT_EQ(map.Cell(100, 1), 5) << "the piece for column 0 is dropped";
    EXPECT_EQ(map.Cell(100, MapCols), 8);
    EXPECT_EQ(map.Cell(100, MapCols - 1), 7);
    GenerateRow(map, 99, TSegmentKind::ShiftRight);
    GenerateRow(map, 1500, TSegmentKind::ShiftRight);  // the row below the map reads as empty
    for (int c = 1; c <= MapCols; ++c) EXPECT_EQ(map.Cell(1500, c), EmptyTile);
}

TEST(TrackGeneratorEdgesTest, ReadsOutsideTheMapAreSafe) {
    TTrackMap map;
    map.SetRoadLeft(1, 111);
    map.SetRoadLeft(MapRows, 999);
    map.SetRowKind(1, TSegmentKind::ShiftLeft);
    const struct { int Row, Col, Code, RoadLeft, Kind; } cases[] = {
        {0, 5, EmptyTile, 111, 3}, {-40, 5, EmptyTile, 111, 3}, {1501, 5, EmptyTile, 999, 0},
        {5000, 5, EmptyTile, 999, 0}, {10, 0, EmptyTile, 0, 0},   {10, 651, EmptyTile, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(map.Cell(c.Row, c.Col), c.Code);
        EXPECT_EQ(map.RoadLeft(c.Row), c.RoadLeft) << "row " << c.Row;
        EXPECT_EQ(static_cast<int>(map.RowKind(c.Row)), c.Kind) << "row " << c.Row;
    }
    map.SetCell(0, 5, 1);
    map.SetCell(1501, 5, 1);
    map.SetCell(5, 651, 1);
    EXPECT_EQ(map.Cell(1, 5), EmptyTile);
}

TEST(LevelTableTest, EachLevelsTrackTimeAndBonuses) {
    testing::TRecordingHost host;
    TRace race(host);
    const struct { int Level, Rows, Seconds, Bonuses; } levels[] = {
        {1, 300, 45, 10},   {2, 500, 75, 20},   {3, 700, 100, 30},  {4, 900, 120, 40},  {5, 1100, 135, 50},
        {6, 1300, 175, 60}, {7, 1300, 175, 70}, {8, 1300, 175, 80}, {9, 1300, 175, 90}, {10, 1300, 175, 100},
    };
    for (const auto& l : levels) {
        race.StartLevel(l.Level);
        EXPECT_EQ(race.State.TrackLength, l.Rows) << "level " << l.Level;
        EXPECT_EQ(race.State.TimeLeft, l.Seconds * 1000) << "level " << l.Level;
        EXPECT_EQ(race.State.BonusCount, l.Bonuses) << "level " << l.Level;
        EXPECT_EQ(race.State.ViewCol, 318);
        EXPECT_EQ(race.State.ViewRow, 1478);
        EXPECT_EQ(race.State.AheadY, 106852.5);
    }
}

}  // namespace
}  // namespace quillon
