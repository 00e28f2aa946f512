// The road tile set of the race (collection 2, item 1: pattern = tile code) and the
// wall collision shapes its walls must cover.
#pragma once

#include <array>
#include <cstdint>

#include "engine/CollectionFiles.h"

namespace quillon::assetgen {

constexpr int RoadTileSize = 72;
constexpr int RoadTileCount = 23;  // codes 0..22; 0 repeats the plain road
constexpr uint8_t EmptyTileCode = 255;

// A wall's collision quadrilateral: corner k at (X[k], Y[k]) inside the 72 x 72 cell.
struct TWallShape {
    int Code;
    std::array<int, 4> X;
    std::array<int, 4> Y;
};
const std::array<TWallShape, 13>& WallShapes();
const TWallShape* WallShapeOf(int code);  // nullptr for codes without a shape

// The road is drawn dark and the walls bright (only the start line's white squares and
// stripes are as bright): a picture pixel is wall when it is not the key and this holds.
// The tests use it to find the walls in the art.
bool IsWallColour(uint32_t rgb);

TPictureItemData BuildRoadTileSet();

}  // namespace quillon::assetgen
