// The rivals' ship tables by ship type 1..5 (entry 0 unused); the ratings they share
// with the player's ship are in RaceTables.h.
#pragma once

namespace quillon {

inline constexpr int ShipWidth[6] = {0, 64, 64, 70, 76, 73};
inline constexpr int ShipHeight[6] = {0, 73, 73, 67, 70, 68};
inline constexpr int HullAngle[6] = {0, 24, 22, 24, 28, 30};      // 256ths of a turn
inline constexpr int HullRadius[6] = {0, 42, 42, 42, 44, 46};     // pixels
// Indexed by the player's ship: the rivals' hulls are scaled by it.
inline constexpr double HullScale[6] = {0, 0.88, 0.82, 0.78, 0.7, 0.7};

// Where each slot starts, from the view's top-left corner, and its lane.
struct TRivalStart {
    double X, Y, LaneOffset;
};
inline constexpr TRivalStart RivalStarts[6] = {
    {0, 0, 0}, {288, 256, -30}, {402, 94, 60}, {288, -50, -30}, {402, -224, 60}, {288, -368, -30},
};

// Which slots race at a level: slot 1 on odd levels and from level 5, slots 2 and 3 from
// level 2, slots 4 and 5 from level 5.
inline bool RivalRaces(int slot, int level) {
    switch (slot) {
        case 1: return level % 2 == 1 || level >= 5;
        case 2:
        case 3: return level >= 2;
        default: return level >= 5;
    }
}

}  // namespace quillon
