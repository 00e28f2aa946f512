// The race's fixed tables: the five ships, the levels and the place bonuses.
#pragma once

#include <array>

namespace quillon {

// A heading step, a 256th of a turn, in radians: ships, shots and the demo pilot turn and
// move by it.
inline constexpr double HeadingStep = 2 * 3.141593 / 256;

// One ship model; the player's ship and the rivals read the same rows.
struct TShipModel {
    int Image;           // straight picture (collection 2)
    int TiltLeftImage;
    int TiltRightImage;
    int ExplosionImage;
    int ExplosionFrames;
    int NoseWidth;       // width of the collision outline's nose
    double CornerFactor[4];  // front-left, front-right, back-right, back-left
    int SpeedRating;
    int AccelRating;
    int HandlingRating;
    int BrakeRating;
    int ShotKind;
    int SparkImage;      // a shot bursting on this ship
    int FlameOffset;     // how far behind the centre the exhaust hangs
};

// Indexed by ship 1..5; entry 0 is unused.
inline constexpr std::array<TShipModel, 6> ShipTable = {{
    {},
    {5, 24, 25, 63, 17, 50, {0.88, 0.88, 0.78, 0.78}, 6, 9, 8, 7, 1, 16, 38},
    {6, 27, 28, 64, 17, 40, {0.82, 0.82, 0.82, 0.82}, 11, 4, 5, 8, 2, 17, 34},
    {7, 30, 31, 65, 17, 48, {0.78, 0.78, 0.78, 0.78}, 6, 8, 6, 10, 3, 18, 64},
    {8, 33, 34, 63, 17, 58, {0.7, 0.7, 0.7, 0.7}, 9, 10, 5, 9, 7, 16, 70},
    {9, 36, 37, 64, 17, 60, {0.7, 0.7, 0.8, 0.8}, 8, 8, 11, 9, 8, 17, 38},
}};

inline const TShipModel& Ship(int ship) { return ShipTable[ship >= 1 && ship <= 5 ? ship : 1]; }

// Seconds of race time per level 1..10.
inline constexpr std::array<int, 11> LevelTimeTable = {0, 45, 75, 100, 120, 135, 175, 175, 175, 175, 175};
// Points for finishing in place 1..6.
inline constexpr std::array<int, 7> PlaceBonusTable = {0, 800, 600, 400, 300, 200, 100};

inline constexpr int LastLevel = 10;
inline constexpr int StartingLives = 3;
inline constexpr int FullEnergy = 4;

inline int LevelTrackLength(int level) { return level <= 5 ? 200 * level + 100 : 1300; }
inline int LevelBonusCount(int level) { return 10 * level; }
inline int LevelTimeMs(int level) { return LevelTimeTable[level >= 1 && level <= 10 ? level : 1] * 1000; }
inline int PlaceBonus(int place) { return PlaceBonusTable[place >= 1 && place <= 6 ? place : 6]; }

}  // namespace quillon
