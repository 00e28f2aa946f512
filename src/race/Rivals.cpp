// TCar: the rival slots. The field races alone for now: every slot stays inactive.
#include "race/Rivals.h"

#include "race/Race.h"

namespace quillon {

namespace {
constexpr int ExplosionItems[6] = {0, 63, 64, 65, 63, 64};
}

TCar::TCar(TRace& race) : TMyImageSprite(2), FRace(race) {
    SelectImage(0);
    SetZ(9);
    ResetRivals();
}

void TCar::ResetRivals() {
    for (TRivalSlot& slot : FSlots) {
        slot = TRivalSlot{};
        slot.FlamePhase = FRace.Host().Random(20) / 20.0;
        slot.LaneTimer = slot.SpeedTimer = 5000;
    }
}

void TCar::HitRival(int slot) {
    TRivalSlot& rival = Slot(slot);
    ++rival.HitCount;
    if (rival.HitCount > 3) ExplodeRival(slot);
}

void TCar::ExplodeRival(int slot) {
    TRivalSlot& rival = Slot(slot);
    rival.Destroyed = true;
    rival.ShipItem = ExplosionItems[rival.ShipType >= 1 && rival.ShipType <= 5 ? rival.ShipType : 1];
    rival.Frame = 0;
    rival.RespawnTimer = 1000;
    FRace.Host().PlaySound(20);
}

void TCar::MoveSelf(int moveCount) { TMyImageSprite::MoveSelf(moveCount); }

void TCar::DrawRivals() {}

}  // namespace quillon
