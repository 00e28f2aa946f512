// TRace: a running game. Starts a game and its levels, generates the track, runs the
// race frame (clock, effect timers, the view window, the world's velocity) and the end
// of a game; owns the race state and knows the race's sprites.
#pragma once

#include "race/Quad.h"
#include "race/RaceHost.h"
#include "race/RaceState.h"
#include "race/Shots.h"

namespace quillon {

class TPlayer;
class TCar;
class TBonus;
class TScrollBackground;
class TBackgroundSprite;

class TRace {
public:
    explicit TRace(IRaceHost& host) : FHost(host) {}

    TRaceState State;
    TShotTable Shots;
    int SelectedShip = 1;

    // A new game on SelectedShip at `level` (1 for a game from the ship selection):
    // the sprites, the first level and the level banner.
    void StartRace(int level = 1);
    // The race state of a level: clock, track, shots.
    void StartLevel(int level);
    void GenerateTrack();
    // Restarts the level (false) or starts the next one (true), with the level banner.
    void BeginLevel(bool advance);
    // The race's sprites are released.
    void EndRace();
    bool Running() const { return FPlayer != nullptr; }
    // The games started so far and the level the last one began at.
    int Games() const { return FGames; }
    int FirstLevel() const { return FFirstLevel; }
    // The race frames run so far and the controls the last one ran with.
    uint64_t Frames() const { return FFrames; }
    const TRaceControls& LastControls() const { return FLastControls; }

    // One race frame; escape and pause are this frame's key presses.
    void RaceFrame(int moveCount, const TRaceControls& controls, bool escapePressed, bool pausePressed);
    void UpdateEffectTimers();
    void CopyTrackWindow();
    void UpdatePlayerVelocity();

    TPlayer* Player() const { return FPlayer; }
    TCar* Rivals() const { return FRivals; }
    TBonus* Bonuses() const { return FBonuses; }
    TScrollBackground* Background() const { return FBackground; }
    TBackgroundSprite* Stars() const { return FStars; }
    IRaceHost& Host() const { return FHost; }

    // The road's offset inside its top-left cell (the scrolling background's X and Y).
    TVec Scroll() const;
    // The player's world position from its fixed place on the screen and the scroll.
    double PlayerWorldX() const;
    double PlayerWorldY() const;

private:
    IRaceHost& FHost;
    TPlayer* FPlayer = nullptr;
    TCar* FRivals = nullptr;
    TBonus* FBonuses = nullptr;
    TScrollBackground* FBackground = nullptr;
    TBackgroundSprite* FStars = nullptr;
    int FGames = 0;
    int FFirstLevel = 0;
    uint64_t FFrames = 0;
    TRaceControls FLastControls;
};

}  // namespace quillon
