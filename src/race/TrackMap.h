// TTrackMap: the level's tile map, the segment kind of every row and the world X of the
// road's left edge per row. Every read outside the map is answered safely, so a ship
// near the top or bottom of the map or beside it never reads past the arrays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillon {

inline constexpr int MapRows = 1500;
inline constexpr int MapCols = 650;
inline constexpr int TileSize = 72;
inline constexpr int EmptyTile = -1;  // code 255 read as a signed byte

// The kind of track segment a row belongs to; rows outside the track have none.
enum class TSegmentKind : uint8_t { None = 0, Straight = 1, LongStraight = 2, ShiftLeft = 3, ShiftRight = 4, Straighten = 5 };

// The tiles of the road's right-hand wall.
inline bool IsRightEdge(int code) { return code == 3 || code == 7 || code == 9 || code == 15 || code == 17; }

class TTrackMap {
public:
    TTrackMap();

    // Tile code of [row][col], rows 1..1500, columns 1..650; EmptyTile outside.
    int Cell(int row, int col) const {
        if (row < 1 || row > MapRows || col < 1 || col > MapCols) return EmptyTile;
        return FCells[Index(row, col)];
    }
    // Writes outside the map are dropped.
    void SetCell(int row, int col, int code) {
        if (row < 1 || row > MapRows || col < 1 || col > MapCols) return;
        FCells[Index(row, col)] = static_cast<int8_t>(code);
    }
    void Fill(int code);

    // A row outside 1..1500 reads as the nearest row of the map.
    TSegmentKind RowKind(int row) const { return FRowKind[Clamp(row)]; }
    void SetRowKind(int row, TSegmentKind kind) {
        if (row >= 1 && row <= MapRows) FRowKind[row] = kind;
    }
    int RoadLeft(int row) const { return FRoadLeft[Clamp(row)]; }
    void SetRoadLeft(int row, int x) {
        if (row >= 1 && row <= MapRows) FRoadLeft[row] = x;
    }

    static int Clamp(int row) { return row < 1 ? 1 : row > MapRows ? MapRows : row; }

private:
    static size_t Index(int row, int col) { return static_cast<size_t>(row - 1) * MapCols + (col - 1); }

    std::vector<int8_t> FCells;
    std::vector<TSegmentKind> FRowKind;  // index 0 unused
    std::vector<int32_t> FRoadLeft;
};

}  // namespace quillon
