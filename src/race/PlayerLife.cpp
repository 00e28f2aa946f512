// TPlayer: energy, lives and the timed effects; the explosion, the respawn on the road,
// the end of a level and the restart of one; the ship's sounds and the rival contact.
#include <cmath>

#include "engine/Rounding.h"
#include "race/Bonuses.h"
#include "race/Player.h"
#include "race/Shots.h"
#include "race/Race.h"
#include "race/RaceClock.h"
#include "race/RaceTables.h"
#include "race/Rivals.h"
#include "race/ScrollBackground.h"

namespace quillon {

namespace {
// The sound effect of each engine-sound group, in the order they come back after a pause.
constexpr struct { TEngineGroup Group; int Sound; } ResumeOrder[] = {
    {GroupTop, 13}, {GroupIdle, 4}, {GroupAccel, 12}, {GroupFive, 5}, {GroupCoast, 6}, {GroupBrake, 7}, {GroupNitro, 22},
};

TEngineGroup GroupOf(int sound) {
    switch (sound) {
        case 13: return GroupTop;
        case 9: case 10: case 11: case 12: return GroupAccel;
        case 5: return GroupFive;
        case 6: return GroupCoast;
        case 7: return GroupBrake;
        case 22: return GroupNitro;
        default: return GroupIdle;
    }
}

}  // namespace

void TPlayer::Damage(int n) {
    for (int i = 0; i < n && Energy > 0; ++i) {
        --Energy;
        if (Energy == 0) {
            --FRace.State.Lives;
            Explode();
        }
    }
}

void TPlayer::Explode() {
    Dead = true;
    ClearSoundGroups();
    EndEffect(2);
    EndEffect(3);
    FRace.Host().PlaySound(20);
    SelectImage(Ship(ShipNumber).ExplosionImage);
    FrameLooped = false;
    StopShipSounds(false);
    DeathMs = 3000;
}

void TPlayer::AddScore(int n) { FRace.State.Score += n; }

void TPlayer::ApplyEffect(int effect) {
    switch (effect % 128) {
        case 1:
            if (FRace.State.Lives <= 2) ++FRace.State.Lives;
            break;
        case 2:
            Invulnerable = true;
            InvulnerableMs = 10000;
            break;
        case 3:
            Nitro = true;
            NitroMs = 10000;
            break;
        case 4: MegaShot = true; break;
        case 5:
            if (Energy < FullEnergy) ++Energy;
            break;
        default: break;
    }
}

void TPlayer::EndEffect(int effect) {
    if (effect == 2) {
        Invulnerable = false;
        InvulnerableMs = -1;
    } else if (effect == 3) {
        Nitro = false;
        NitroMs = -1;
    }
}

// The wreck drifts on, then the ship comes back on the road or the game is over.
void TPlayer::ExplosionStep() {
    IRaceHost& host = FRace.Host();
    const double speedScale = host.SpeedScale();
    FramePos = std::min<double>(FramePos + 0.25 * speedScale, Ship(ShipNumber).ExplosionFrames - 1);
    if (!CoastLatch) {
        CoastLatch = true;
        int d = 0;
        const int row = FRace.State.ViewRow + 5;
        for (int c = 1; c <= MapCols; ++c) {
            const int code = FRace.State.Track.Cell(row, c);
            if (code == 2) d = 0;
            if (code == 4 || code == 6) d = -1;
            if (code == 11 || code == 13) d = 1;
        }
        Heading = 38 * d - Heading;
    }
    if (Speed > 0) {
        Speed -= 0.8 * speedScale;
        Velocity = TopSpeed() * Speed / 8;
    } else {
        Velocity = 0;
    }
    if (DeathMs > 0) {
        DeathMs -= host.FrameMs();
        return;
    }
    if (FRace.State.Lives > 0) {
        if (!Respawned) PlaceOnRoad();
        ResetShip();
    } else {
        host.OpenDialog(TDialog::GameOver);
    }
}

// The view is moved so that the first right edge a few rows ahead stands in the eighth
// column of the view, the ship pointing along it.
void TPlayer::PlaceOnRoad() {
    TRaceState& state = FRace.State;
    if (state.ViewRow < 1490) {
        for (int row = state.ViewRow + 5; row <= MapRows; ++row) {
            int found = 0;
            for (int k = MapCols - 1; k >= 1 && !found; --k)
                if (IsRightEdge(state.Track.Cell(row, k))) found = k;
            if (!found) continue;
            const int code = state.Track.Cell(row, found);
            int c = found - 8;
            HeadingTarget = 0;
            if (code == 15 || code == 17) {
                HeadingTarget = 38;
                c -= 1;
            } else if (code == 7 || code == 9) {
                HeadingTarget = -38;
                c += 1;
            }
            Heading = static_cast<int>(Round(HeadingTarget / 2));
            state.ViewCol = c + 1;
            state.ViewRow = row - 4;
            break;
        }
    } else {
        state.ViewCol = 1;
    }
    if (TScrollBackground* background = FRace.Background()) background->X = background->Y = 0;
    Respawned = true;
}

void TPlayer::ResetShip() {
    TimeOut = false;
    Dead = false;
    Respawned = false;
    EndLatch = false;
    Speed = Velocity = 0;
    SelectImage(Ship(ShipNumber).Image);
    FramePos = 0;
    TiltState = 0;
    FrameSpeed = 0;
    Energy = FullEnergy;
}

// The level is decided: the ship coasts to a stop, waits, then the results open (or,
// out of time, the level starts again with a life fewer, or the game is over).
void TPlayer::EndOfRace() {
    TRaceState& state = FRace.State;
    IRaceHost& host = FRace.Host();
    if (!EndLatch) {
        EndLatch = true;
        ClearSoundGroups();
        StopShipSounds(true);
        PlayEngineSound(4);
        // The wait is set only while the ship still coasts: a ship that already stands
        // has nothing left to wait for.
        state.ResultTime = 0;
    }
    if (Speed > 0) {
        Speed -= 0.8 * host.SpeedScale();
        Velocity = TopSpeed() * Speed / 8;
        Controls.Left = Controls.Right = false;
        const int row = static_cast<int>(Round(FRace.PlayerWorldY())) / TileSize;
        const TSegmentKind kind = state.Track.RowKind(row);
        HeadingTarget = kind == TSegmentKind::ShiftLeft ? -37.78 : kind == TSegmentKind::ShiftRight ? 37.78 : 0;
        state.ResultTime = Finished ? 2000 : 1000;
        if (Speed <= 0) Speed = Velocity = 0;
        return;
    }
    // A ship still reversing when the time ran out stands at once.
    Speed = Velocity = 0;
    if (state.ResultTime > 0) {
        state.ResultTime -= host.FrameMs();
        return;
    }
    if (!TimeOut || Finished) {
        StopShipSounds(false);
        BeginResults(state);
        host.OpenDialog(TDialog::LevelResult);
        return;
    }
    if (state.Lives >= 1) {
        --state.Lives;
        Energy = FullEnergy;
    }
    host.OpenDialog(state.Lives > 0 ? TDialog::TimeUp : TDialog::GameOver);
}

void TPlayer::BeginLevel(bool advance) {
    FRace.StartLevel(advance ? FRace.State.Level + 1 : FRace.State.Level);
    TimeOut = false;
    EndLatch = false;
    EndEffect(2);
    EndEffect(3);
    HeadingTarget = 0;
    Heading = 0;
    Energy = FullEnergy;
    if (TScrollBackground* background = FRace.Background()) background->X = background->Y = 0;
    if (FRace.Bonuses()) FRace.Bonuses()->PlaceBonuses();
    Finished = false;
    if (FRace.Rivals()) FRace.Rivals()->ResetRivals();
    FRace.Host().OpenDialog(TDialog::LevelBanner);
    ResetShip();
    PlayEngineSound(4);
}

void TPlayer::ClearSoundGroups() {
    for (bool& group : Groups) group = false;
}

// Starting one engine sound stops the others, so it alone is marked as playing.
void TPlayer::PlayEngineSound(int n) {
    IRaceHost& host = FRace.Host();
    for (int index : {4, 9, 10, 11, 12, 5, 6, 13, 7, 22}) host.StopSound(index);
    host.PlaySound(n);
    ClearSoundGroups();
    Groups[GroupOf(n)] = true;
}

void TPlayer::StopShipSounds(bool withHorn) {
    IRaceHost& host = FRace.Host();
    for (int index : {4, 9, 10, 11, 12, 5, 6, 13, 7, 22}) host.StopSound(index);
    if (withHorn)
        for (int index : {22, 8, 14, 15, 16, 17}) host.StopSound(index);
}

void TPlayer::ResumeShipSounds() {
    bool playing[GroupCount];
    for (int g = 0; g < GroupCount; ++g) playing[g] = Groups[g];
    for (const auto& entry : ResumeOrder)
        if (playing[entry.Group]) PlayEngineSound(entry.Sound);
    if (HornOn) FRace.Host().PlaySound(8);
}

void TPlayer::ScaleSpeed(bool withSound, double factor) {
    Speed *= factor;
    Velocity *= factor;
    bool playing[GroupCount];
    for (int g = 0; g < GroupCount; ++g) playing[g] = Groups[g];
    StopShipSounds(false);
    for (const auto& entry : ResumeOrder)
        if (playing[entry.Group]) PlayEngineSound(entry.Sound);
    if (withSound) FRace.Host().PlaySound(17);
}

void TPlayer::Fire() { PlayerFires(FRace); }

// Ramming a rival costs a point of energy once per contact and trades speed and heading.
void TPlayer::RivalContact() {
    TCar* rivals = FRace.Rivals();
    if (!rivals) return;
    const TRaceState& state = FRace.State;
    const auto [bx, by] = FRace.Scroll();
    for (int i = 1; i <= RivalSlots; ++i) {
        TRivalSlot& rival = rivals->Slot(i);
        if (!rival.Active || !rival.OnScreen || rival.Destroyed) continue;
        TQuad hull = rival.Hull;
        for (TVec& corner : hull) {
            corner.X = corner.X - TileSize * state.ViewCol + bx;
            corner.Y = corner.Y - TileSize * state.ViewRow + by;
        }
        if (!QuadOverlap(hull, Corners)) {
            rival.PlayerContact = false;
            continue;
        }
        if (!rival.PlayerContact) {
            if (!Finished) Damage(1);
            if (rival.CenterY - TileSize * state.ViewRow + by > ShipCentreY) {
                if (Speed != 0) ScaleSpeed(true, (Speed + 10) / Speed);
                Bumped = true;
                BumpMs = 100;
                rival.Power *= 0.95;
            } else {
                rival.Power *= 1.05;
                ScaleSpeed(true, 0.95);
            }
            const double r = 2 * rival.Heading, t = r - HeadingTarget;
            HeadingTarget = r + t / 2;
            rival.Heading -= t / 2;
            rivals->HitRival(i);
        }
        rival.PlayerContact = true;
    }
}

}  // namespace quillon
