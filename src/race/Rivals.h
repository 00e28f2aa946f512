// TCar: the rival ships. One sprite carries all five rival slots and runs them in its
// move; the player's draw paints them. A slot that is not Active never moves or draws.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "menus/MyImageSprite.h"
#include "race/Quad.h"
#include "race/TrackMap.h"

namespace quillon {

class IRaceHost;
class TRace;
struct TRaceState;
struct TShipModel;

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

// A rival's frame, step by step in the order TCar runs them; ss is the frame's speed scale.
// The flame's flicker.
void AdvanceFlame(TRivalSlot& rival, double ss);
// A wreck burns out and stands; true when its respawn wait is over.
bool BurnWreck(TRivalSlot& rival, double ss, int frameMs);
// Whether the ship is within the screen and the rows around it.
bool RivalOnScreen(const TRivalSlot& rival, const TRaceState& state, TVec scroll);
// Along its heading at its velocity; the centre follows the picture.
void MoveRival(TRivalSlot& rival, int type, double ss);
// The hull's corners, scaled to the player's ship, and the four probe points.
void PlaceHull(TRivalSlot& rival, int type, int playerShip);
// Every few seconds a new lane offset and look-ahead, and a new throttle, unless avoiding.
void DriftLaneAndSpeed(TRivalSlot& rival, int frameMs, IRaceHost& host);
// Avoiding while a probe is blocked and a moment after; the lane offset kept on the road.
void KeepAvoiding(TRivalSlot& rival, bool blocked, int frameMs);
// The heading error toward the lane a few rows ahead (none while avoiding) and that row's kind.
struct TRivalAim {
    double Error = 0;
    TSegmentKind KindAhead = TSegmentKind::None;
};
TRivalAim AimAlongLane(TRivalSlot& rival, const TTrackMap& track);
// A moving ship turns toward the lane at its handling's rate.
void TurnTowardLane(TRivalSlot& rival, double error, const TShipModel& ship, double ss);
// The roll into a turn and back, and the tilted picture it shows.
void RollRival(TRivalSlot& rival, const TShipModel& ship, double ss);
// Power up on bends and slow stretches, brake on straights when fast.
void ThrottleRival(TRivalSlot& rival, const TShipModel& ship, TSegmentKind kindAhead, double ss, bool starting);
// The heading held within 16 steps of the road's direction, the drag applied, and the ship
// stopped past the finish.
void KeepOnCourse(TRivalSlot& rival, const TShipModel& ship, const TTrackMap& track, int trackLength, double ss);

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

    TRace& FRace;
    std::array<TRivalSlot, RivalSlots> FSlots{};
};

}  // namespace quillon
