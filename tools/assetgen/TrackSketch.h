// A small copy of the race's track rules, to lay road tiles out the way the race does:
// for the contact sheet's sample stretches and for checking that the tiles join.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/DIB.h"

namespace quillon::assetgen {

// Tile codes by row (row 0 at the top) and column; 255 is empty space.
struct TTrackSketch {
    int Rows = 0;
    int Cols = 0;
    std::vector<uint8_t> Codes;
    uint8_t At(int row, int col) const;
    void Set(int row, int col, uint8_t code);
};

// Rows are generated bottom-up from a straight start row whose left edge is at column
// `leftCol`: one segment kind (1..5) per generated row, taken from the end of `kinds`
// (kinds.back() builds the row just above the start row). `startLine` lays the
// chequered line over the start row afterwards, as the race does.
TTrackSketch SketchFromKinds(const std::vector<int>& kinds, int cols, int leftCol, bool startLine);
// A whole random track by the race's segment rules (seeded), closing with a straight
// stretch and the finish line 50 rows below the top, as a level does.
TTrackSketch RandomTrack(uint32_t seed, int rows, int cols);

// The tiles of `sketch` drawn from the road tile set; key pixels stay keyColor.
TDIBImage AssembleStretch(const TTrackSketch& sketch, const TDIBImage& tiles, uint32_t keyColor);

}  // namespace quillon::assetgen
