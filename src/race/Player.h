// TPlayer: the player's ship. It stays at (328, 400) on the screen and turns on the
// spot while the world scrolls under it: controls and speed model, collision outline,
// road test, engine sounds, tilt pictures, energy and lives, the explosion and the
// respawn, and the end of a level once the race is decided.
#pragma once

#include "menus/MyImageSprite.h"
#include "race/Quad.h"
#include "race/RaceHost.h"

namespace quillon {

class TRace;

// Engine-sound groups: which engine sound is playing.
enum TEngineGroup : int { GroupTop, GroupAccel, GroupFive, GroupCoast, GroupIdle, GroupBrake, GroupNitro, GroupCount };

class TPlayer : public TMyImageSprite {
public:
    static constexpr double ScreenX = 328;
    static constexpr double ScreenY = 400;

    TPlayer(TRace& race, int ship);

    void MoveSelf(int moveCount) override;
    void DrawSelf() override;

    // Energy, lives and effects.
    void Damage(int n);
    void Explode();
    void AddScore(int n);
    void ApplyEffect(int effect);
    void EndEffect(int effect);

    // Death and respawn.
    void PlaceOnRoad();
    void ResetShip();

    // Sounds.
    void PlayEngineSound(int n);
    void StopShipSounds(bool withHorn);
    void ClearSoundGroups();
    bool GroupOn(TEngineGroup group) const { return Groups[group]; }
    // The engine sounds again after a pause or the menu question.
    void ResumeShipSounds();
    // Speed and velocity scaled by factor; the engine sound restarts (and sound 17 plays).
    void ScaleSpeed(bool withSound, double factor);

    // Level flow: the race's part of restarting or advancing.
    void BeginLevel(bool advance);
    void UpdatePlace();
    void ComputeOutline();
    // The instrument panel, the radar, the speedometer and the energy gauge.
    void DrawDashboard();
    void DrawRadar();
    bool RoadTest() const;

    // The speed model of this ship at the current speed.
    double TopSpeed() const;
    double AccelNow() const;
    double TurnNow() const;
    double BrakeNow() const;
    double CoastNow() const;

    int ShipNumber = 1;
    int Energy = 4;
    bool Invulnerable = false;
    int InvulnerableMs = -1;
    bool Nitro = false;
    int NitroMs = -1;
    bool MegaShot = false;
    bool TimeOut = false;
    bool EndLatch = false;
    int DeathMs = 0;
    bool Respawned = false;
    bool Dead = false;
    bool HornOn = false;
    bool Bumped = false;
    int BumpMs = 0;
    bool Groups[GroupCount] = {};
    double BlinkPhase = 0;
    bool BlinkOn = false;
    int FireMs = 0;
    double ShipCentreX = 0, ShipCentreY = 0;
    double CornerRadius = 0, CornerAngle = 0;
    TQuad Corners{};
    double Speed = 0;
    double Velocity = 0;
    double HeadingTarget = 0;  // half-steps, -128..128
    int Heading = 0;           // 256 steps a turn, 0 = up, clockwise
    double Decel = 0;
    TRaceControls Controls;
    bool OnRoad = true;
    bool Finished = false;
    bool CoastLatch = false;
    int TiltState = 0;
    bool PrevLeft = false, PrevRight = false;
    double TiltStartHeading = 0;
    int RadarGrid[17][13] = {};  // radar piece codes by column 1..16 and row 1..12

private:
    void TiltAnimation();
    void ShowImage(int image);
    void ApplyControls();
    void DrivingStep();
    void EngineSounds();
    void ExplosionStep();
    void EndOfRace();
    void Fire();
    void RivalContact();
    void DrawShip();

    TRace& FRace;
};

}  // namespace quillon
