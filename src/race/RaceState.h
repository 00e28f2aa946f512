// TRaceState: every value of a running game that is not a sprite: level, score, lives,
// clock, the track, the view window, the world's scroll velocity, the place and the
// results of a level. The form owns one for the whole run.
#pragma once

#include <cstdint>

#include "race/TrackGenerator.h"
#include "race/TrackMap.h"

namespace quillon {

// Where the start line lies in world Y: below it every rival counts as behind.
inline constexpr double BelowStartY = 106852.5;

struct TRaceState {
    int Level = 0;
    int Score = 0;
    int Lives = 0;
    int TimeLeft = 0;       // ms of race time left
    int ClockBefore = 0;    // TimeLeft before the clock's last step
    int TrackLength = 0;    // rows
    int BonusCount = 0;
    uint8_t Place = 0;      // 1 = leading
    uint8_t Racers = 0;     // ships in the race, the player included
    double AheadY = 0;      // world Y of the nearest rival ahead of and behind the player
    double BehindY = 0;
    bool AheadMarker = false;
    bool BehindMarker = false;

    TTrackMap Track;
    TGeneratorState Generator;

    int ViewCol = 0;        // map cell at the top-left corner of the view
    int ViewRow = 0;
    double PlayerDX = 0;    // this frame's scroll of the world under the ship
    double PlayerDY = 0;
    bool ThirdFrame = true;
    int ThirdFrameCounter = 0;

    // One variable for three waits: after the ship stops, the time being counted on
    // the results, then the congratulations.
    int ResultTime = 0;
    int PlaceBonus = 0;
    int TimeBonus = 0;
    int ResultLines = 0;
    int ResultLineTimer = 0;
    int ResultHold = 0;

    void AdvanceThirdFrame() {
        ThirdFrameCounter = (ThirdFrameCounter + 1) % 3;
        ThirdFrame = ThirdFrameCounter == 0;
    }
};

}  // namespace quillon
