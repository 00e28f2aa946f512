// TBonus: every bonus of a level in one sprite. Places them at random on straight road
// cells when a level starts, animates and draws the ones in view, and hands a bonus to
// the player when the player's ship covers any corner of its picture.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "menus/MyImageSprite.h"

namespace quillon {

class TRace;

inline constexpr int BonusSlots = 400;
inline constexpr int MaxLifeBonuses = 3;

struct TBonusSlot {
    bool Present = false;
    int Col = 0;
    int Row = 0;
    uint8_t Kind = 1;  // 1..8
    double Phase = 0;  // 0..4
};

class TBonus : public TMyImageSprite {
public:
    explicit TBonus(TRace& race);

    void PlaceBonuses();
    // The kind's points, effect and sound, as when the player picks it up.
    void GiveToPlayer(int kind);

    void MoveSelf(int moveCount) override;
    void DrawSelf() override;

    TBonusSlot& Slot(int slot) { return FSlots[static_cast<size_t>(slot - 1)]; }
    const TBonusSlot& Slot(int slot) const { return FSlots[static_cast<size_t>(slot - 1)]; }

private:
    TRace& FRace;
    std::array<TBonusSlot, BonusSlots> FSlots{};
};

}  // namespace quillon
