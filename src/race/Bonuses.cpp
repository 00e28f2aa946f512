// TBonus: placing, animating, picking up and drawing the bonuses.
#include "race/Bonuses.h"

#include <cmath>

#include "engine/Rounding.h"
#include "engine/SpriteEngine.h"
#include "race/Player.h"
#include "race/Race.h"

namespace quillon {

namespace {
// Picture, points and effect of each kind 1..8.
constexpr struct { int Image, Points, Effect; } Kinds[9] = {
    {0, 0, 0}, {11, 10, 0}, {13, 50, 0}, {14, 100, 0}, {15, 10, 1}, {59, 10, 2}, {60, 10, 3}, {61, 10, 4}, {62, 10, 5},
};
constexpr int LifeBonus = 4;
}  // namespace

TBonus::TBonus(TRace& race) : TMyImageSprite(2), FRace(race) {
    SelectImage(11);
    SetZ(5);
    X = Y = 0;
    PlaceBonuses();
}

// Each bonus lies on a random row between 50 rows below the top of the track and the
// start, in one of the four road cells right of a straight left edge; a row where the
// road shifts leaves its slot empty. No level has more than three extra lives.
void TBonus::PlaceBonuses() {
    IRaceHost& host = FRace.Host();
    const TRaceState& state = FRace.State;
    for (TBonusSlot& slot : FSlots) slot.Present = false;
    const int lo = 1549 - state.TrackLength, hi = 1495;
    int lives = 0;
    for (int i = 1; i <= state.BonusCount && i <= BonusSlots; ++i) {
        TBonusSlot& bonus = Slot(i);
        const int row = lo + host.Random(hi - lo);
        for (int c = 1; c <= MapCols; ++c) {
            if (state.Track.Cell(row, c) != 2) continue;
            bonus.Present = true;
            bonus.Col = c + 1 + host.Random(4);
            bonus.Row = row;
            do {
                bonus.Kind = static_cast<uint8_t>(host.Random(8) + 1);
            } while (bonus.Kind == LifeBonus && lives >= MaxLifeBonuses);
            if (bonus.Kind == LifeBonus) ++lives;
            bonus.Phase = host.Random(40) / 10.0;
        }
    }
}

void TBonus::GiveToPlayer(int kind) {
    TPlayer* player = FRace.Player();
    if (!player || kind < 1 || kind > 8) return;
    player->AddScore(Kinds[kind].Points);
    if (Kinds[kind].Effect) player->ApplyEffect(Kinds[kind].Effect);
    FRace.Host().PlaySound(Kinds[kind].Effect ? 15 : 14);
}

void TBonus::MoveSelf(int) {
    TSpriteEngine* engine = Engine();
    TPlayer* player = FRace.Player();
    const TRaceState& state = FRace.State;
    const auto [bx, by] = FRace.Scroll();
    const double ss = FRace.Host().SpeedScale();
    for (int i = 1; i <= state.BonusCount && i <= BonusSlots; ++i) {
        TBonusSlot& bonus = Slot(i);
        if (!bonus.Present) continue;
        bonus.Phase += 0.06 * ss;
        if (bonus.Phase > 4) bonus.Phase = 0;
        const int sx = static_cast<int>(Round(TileSize * (bonus.Col - state.ViewCol) + bx));
        const int sy = static_cast<int>(Round(TileSize * (bonus.Row - state.ViewRow) + by));
        if (!player || !engine) continue;
        if (std::abs(sy + 19 - player->Y) >= 100 || std::abs(sx + 19 - player->X) >= 100) continue;
        const int corners[4][2] = {{sx + 19, sy + 19}, {sx + 64, sy + 19}, {sx + 19, sy + 64}, {sx + 64, sy + 64}};
        for (const auto& point : corners) {
            if (engine->SpriteAt(point[0], point[1]) != player) continue;
            bonus.Present = false;
            GiveToPlayer(bonus.Kind);
            break;
        }
    }
}

void TBonus::DrawSelf() {
    TSpriteEngine* engine = Engine();
    TPictureCollection* list = SpriteWorld.List(2);
    if (!engine || !engine->Surface() || !list) return;
    const TRaceState& state = FRace.State;
    const auto [bx, by] = FRace.Scroll();
    for (int i = 1; i <= state.BonusCount && i <= BonusSlots; ++i) {
        const TBonusSlot& bonus = Slot(i);
        if (!bonus.Present || bonus.Col < state.ViewCol || bonus.Col > state.ViewCol + 13 ||
            bonus.Row < state.ViewRow || bonus.Row > state.ViewRow + 10)
            continue;
        const int x = static_cast<int>(Round(TileSize * (bonus.Col - state.ViewCol) + bx)) + 19;
        const int y = static_cast<int>(Round(TileSize * (bonus.Row - state.ViewRow) + by)) + 19;
        list->Items(Kinds[bonus.Kind].Image).Draw(*engine->Surface(), x, y, static_cast<int>(Trunc(bonus.Phase)));
    }
}

}  // namespace quillon
