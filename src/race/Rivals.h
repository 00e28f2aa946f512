// TCar: the rival ships. One sprite carries all five rival slots and runs them in its
// move; the player's draw paints them. A slot that is not Active never moves or draws.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "menus/MyImageSprite.h"
#include "race/Quad.h"

namespace quillon {

class TRace;

inline constexpr int RivalSlots = 5;

struct TRivalSlot {
    bool Active = false;
    uint8_t ShipType = 1;
    int ShipItem = 0;
    double PosX = 0, PosY = 0;        // world position of the picture's top-left corner
    double CenterX = 0, CenterY = 0;
    double Heading = 0;               // 256ths of a turn, 0 = up
    double Power = 0;
    double Velocity = 0;
    double Drag = 0;
    bool OnScreen = false;
    double Roll = 0;
    int RollDir = 0;
    double Frame = 0;
    TQuad Hull{};
    TVec ProbeFL, ProbeFR, ProbeL, ProbeR;
    double LaneOffset = 0;
    int LaneShift = 0;
    int LaneTimer = 0, SpeedTimer = 0;
    int SpeedDelta = 0;
    bool Avoiding = false;
    int AvoidTimer = 0;
    bool Turning = false;
    double TurnStartHeading = 0;
    double RollHold = 0;
    uint8_t HitCount = 0;
    bool Destroyed = false;
    int RespawnTimer = 0;
    bool Thrusting = false;
    double FlamePhase = 0;
    bool FlameBlink = false;
    int ShotTimer = 0;
    bool PlayerContact = false;
};

class TCar : public TMyImageSprite {
public:
    explicit TCar(TRace& race);

    // Every slot cleared and the level's rivals placed at the start.
    void ResetRivals();
    void HitRival(int slot);
    void ExplodeRival(int slot);
    // Painted by the player's draw, under the player's ship.
    void DrawRivals();

    void MoveSelf(int moveCount) override;
    void DrawSelf() override {}

    TRivalSlot& Slot(int slot) { return FSlots[static_cast<size_t>(slot - 1)]; }
    const TRivalSlot& Slot(int slot) const { return FSlots[static_cast<size_t>(slot - 1)]; }
    bool Starting = false;

private:
    void StepRival(int slot);
    void Probe(int slot, bool& ahead, bool& left, bool& right);
    void Fire(int slot);
    void RespawnRival(int slot);
    static TVec PointAt(const TRivalSlot& rival, double angle, double distance);

    TRace& FRace;
    std::array<TRivalSlot, RivalSlots> FSlots{};
};

}  // namespace quillon
