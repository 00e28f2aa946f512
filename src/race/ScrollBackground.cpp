// TScrollBackground: scrolling, the view window's steps and the wall contacts.
#include "race/ScrollBackground.h"

#include "engine/Rounding.h"
#include "menus/MyImageSprite.h"
#include "race/Player.h"
#include "race/Race.h"
#include "race/Rivals.h"

namespace quillon {

namespace {
struct TWallShape {
    int Code;
    int X[4];
    int Y[4];
};

constexpr TWallShape WallShapes[13] = {
    {2, {19, 29, 20, 30}, {0, 0, 71, 71}},   {3, {42, 51, 42, 51}, {0, 0, 71, 71}},
    {5, {3, 0, 19, 29}, {20, 35, 71, 71}},   {6, {20, 29, 53, 64}, {0, 0, 71, 71}},
    {7, {65, 71, 65, 71}, {0, 0, 19, 19}},   {8, {5, 14, 41, 51}, {0, 0, 71, 71}},
    {9, {40, 51, 71, 71}, {0, 0, 42, 63}},   {11, {57, 67, 20, 30}, {0, 0, 71, 71}},
    {14, {20, 29, 0, 0}, {0, 0, 42, 63}},    {15, {68, 71, 42, 52}, {20, 35, 71, 71}},
    {17, {42, 51, 7, 18}, {0, 0, 71, 71}},   {18, {20, 29, 20, 29}, {0, 0, 71, 71}},
    {22, {42, 52, 41, 51}, {0, 0, 71, 71}},
};
}  // namespace

int TileShape(int code) {
    for (int i = 0; i < 13; ++i)
        if (WallShapes[i].Code == code) return i + 1;
    return -1;
}

TQuad WallQuad(int code, double left, double top) {
    const TWallShape& shape = WallShapes[TileShape(code) - 1];
    TQuad quad;
    for (int k = 0; k < 4; ++k)
        quad[k] = {static_cast<double>(Trunc(left + shape.X[k])), static_cast<double>(Trunc(top + shape.Y[k]))};
    return quad;
}

TScrollBackground::TScrollBackground(TRace* race, int collection, int tileSet, int cols, int rows)
    : TBackgroundSprite(SpriteWorld.Root), FRace(race) {
    SetMapSize(cols, rows);
    TileCollection = static_cast<uint8_t>(collection);
    SetTileSet(tileSet);
    X = 0;
    Y = 0;
    SetZ(2);
    Wrapped = false;
    if (FRace) FRace->State.PlayerDX = FRace->State.PlayerDY = 0;
}

void TScrollBackground::SetTileSet(int item) {
    TPictureCollection* list = SpriteWorld.List(TileCollection);
    if (!list) return;
    TPictureCollectionItem& tiles = list->Items(item);
    SetImage(&tiles);
    Width = tiles.Width();
    Height = tiles.Height();
}

void TScrollBackground::SetCollectionAndTileSet(int collection, int item) {
    TileCollection = static_cast<uint8_t>(collection);
    SetTileSet(item);
}

void TScrollBackground::Kill() {
    if (!Killed) MarkDead();
    Killed = true;
}

// One cell step at most each way per frame; the direction follows the velocity's sign,
// and the window stands at the map's edges while the picture keeps wrapping.
void TScrollBackground::StepWindow(double& offset, double velocity, int& view, int viewCells, int mapCells) {
    const int cell = TileSize;
    auto step = [&] {
        if (velocity > 0 && view > 0) --view;
        if (velocity < 0 && view + viewCells < mapCells) ++view;
    };
    if (offset > 0) {
        offset -= cell;
        step();
    }
    if (offset < -cell) {
        offset += cell;
        step();
    }
}

void TScrollBackground::MoveSelf(int moveCount) {
    TBackgroundSprite::MoveSelf(moveCount);
    if (!FRace) return;
    TRaceState& state = FRace->State;
    const double speedScale = FRace->Host().SpeedScale();
    ScrollDX = state.PlayerDX;
    ScrollDY = state.PlayerDY;
    X += ScrollDX * 0.5 * speedScale;
    Y += ScrollDY * 0.5 * speedScale;
    if (TBackgroundSprite* stars = FRace->Stars()) {
        stars->X += ScrollDX * 0.5 * speedScale / 4;
        if (stars->X > 800) stars->X -= 800;
        if (stars->X < -800) stars->X += 800;
        stars->Y += ScrollDY * 0.5 * speedScale / 4;
        if (stars->Y > 600) stars->Y -= 600;
        if (stars->Y < -600) stars->Y += 600;
    }
    StepWindow(X, state.PlayerDX, state.ViewCol, 13, MapCols);
    StepWindow(Y, state.PlayerDY, state.ViewRow, 10, MapRows);
    if (state.ThirdFrame) {
        TestPlayerWalls();
        TestRivalWalls();
    }
}

// The nine cells around the ship's fixed place on the screen. A wall takes the whole
// energy, even from an invulnerable ship.
void TScrollBackground::TestPlayerWalls() {
    TPlayer* player = FRace->Player();
    if (!player) return;
    const TRaceState& state = FRace->State;
    for (int j = 4; j <= 6; ++j)
        for (int i = 5; i <= 7; ++i) {
            const int code = state.Track.Cell(state.ViewRow + i, state.ViewCol + j);
            if (TileShape(code) < 0) continue;
            const TQuad wall = WallQuad(code, TileSize * j + X, TileSize * i + Y);
            if (!QuadOverlap(wall, player->Corners)) continue;
            if (player->Energy > 0 && !player->Dead) {
                player->CoastLatch = false;
                player->Damage(player->Energy);
            }
        }
}

// The nine cells around each rival's centre, in world coordinates.
void TScrollBackground::TestRivalWalls() {
    TCar* rivals = FRace->Rivals();
    if (!rivals) return;
    const TRaceState& state = FRace->State;
    for (int slot = 1; slot <= RivalSlots; ++slot) {
        TRivalSlot& rival = rivals->Slot(slot);
        if (!rival.Active) continue;
        const int r = static_cast<int>(Trunc(rival.CenterY / TileSize));
        const int c = static_cast<int>(Trunc(rival.CenterX / TileSize));
        for (int dr = -1; dr <= 1; ++dr)
            for (int dc = -1; dc <= 1; ++dc) {
                const int code = state.Track.Cell(r + dr, c + dc);
                if (TileShape(code) < 0) continue;
                const TQuad wall = WallQuad(code, TileSize * (c + dc), TileSize * (r + dr));
                if (QuadOverlap(wall, rival.Hull) && !rival.Destroyed) {
                    rival.HitCount = 4;
                    rivals->ExplodeRival(slot);
                }
            }
    }
}

}  // namespace quillon
