// TScrollBackground: the race's view of the track, 13 x 10 cells of 72 pixels refilled
// from the track map every frame. Its move scrolls by the world's velocity, steps the
// view window a cell at a time, drifts the star field behind it and tests the ships
// against the road-edge walls.
#pragma once

#include <cstdint>

#include "engine/BackgroundSprite.h"
#include "race/Quad.h"

namespace quillon {

class TRace;

// The wall shape (1..13) of a tile code, or -1 for a tile with no wall.
int TileShape(int code);
// The wall of `code` in a cell whose top-left corner is at (left, top), each corner
// truncated after the addition. Only for codes with a shape.
TQuad WallQuad(int code, double left, double top);

class TScrollBackground : public TBackgroundSprite {
public:
    // Made in the sprite engine's root; race is null where the view never scrolls.
    TScrollBackground(TRace* race, int collection, int tileSet, int cols, int rows);

    void SetTileSet(int item);
    void SetCollectionAndTileSet(int collection, int item);
    void Kill();

    void MoveSelf(int moveCount) override;
    // The wall contacts, run by the move on every third race frame.
    void TestPlayerWalls();
    void TestRivalWalls();

    uint8_t TileCollection = 2;
    double ScrollDX = 0;
    double ScrollDY = 0;
    bool Killed = false;

private:
    void StepWindow(double& offset, double velocity, int& view, int viewCells, int mapCells);

    TRace* FRace;
};

}  // namespace quillon
