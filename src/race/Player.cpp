// TPlayer: construction, the move in its fixed order, the controls, the driving step
// with the engine sounds, the tilt pictures, the outline and the road test.
#include "race/Player.h"

#include <algorithm>
#include <cmath>

#include "engine/Rounding.h"
#include "engine/TrigFunctions.h"
#include "race/Race.h"
#include "race/RaceTables.h"
#include "race/Rivals.h"
#include "race/ShipPhysics.h"
#include "race/Shots.h"

namespace quillon {

namespace {
int Sign(double v) { return v > 0 ? 1 : v < 0 ? -1 : 0; }
}  // namespace

TPlayer::TPlayer(TRace& race, int ship) : TMyImageSprite(2), ShipNumber(ship), FRace(race) {
    SelectImage(Ship(ship).Image);
    X = ScreenX;
    Y = ScreenY;
    SetZ(12);
    Energy = FullEnergy;
    ShipCentreX = X + Width / 2.0;
    ShipCentreY = Y + Height / 2.0;
    const double halfNose = Ship(ship).NoseWidth / 2.0, halfHeight = Height / 2.0;
    CornerRadius = std::sqrt(halfHeight * halfHeight + halfNose * halfNose);
    CornerAngle = halfHeight > 0 ? TableArcTan(halfNose / halfHeight) / 6.283186 * 256 : 0;
    ComputeOutline();
}

double TPlayer::TopSpeed() const { return TopSpeedFactor(Ship(ShipNumber).SpeedRating); }
double TPlayer::AccelNow() const { return AccelStep(Speed, Ship(ShipNumber).AccelRating, Groups[GroupNitro]); }
double TPlayer::TurnNow() const { return TurnStep(Speed, Ship(ShipNumber).HandlingRating); }
double TPlayer::BrakeNow() const { return BrakeStep(Ship(ShipNumber).BrakeRating); }
double TPlayer::CoastNow() const { return CoastStep(Speed, Ship(ShipNumber).AccelRating, Groups[GroupNitro]); }

void TPlayer::MoveSelf(int moveCount) {
    TMyImageSprite::MoveSelf(moveCount);
    TRaceState& state = FRace.State;
    IRaceHost& host = FRace.Host();
    const double speedScale = host.SpeedScale();

    SpawnAsteroid(FRace);
    BlinkPhase += 0.15 * speedScale;
    if (BlinkPhase > 2) BlinkPhase = 0;
    BlinkOn = Round(BlinkPhase * 4) % 2 == 0;
    if (!Dead) TiltAnimation();

    if ((1550 - state.TrackLength - state.ViewRow) * TileSize + FRace.Scroll().Y > Y) Finished = true;
    MoveShots(FRace);
    CullShots(FRace);
    if (!Finished) UpdatePlace();
    ComputeOutline();

    if (Bumped) {
        BumpMs -= host.FrameMs();
        if (BumpMs <= 0) {
            if (Speed != 0) ScaleSpeed(false, (Speed - 10) / Speed);
            Bumped = false;
        }
    }
    if (state.ThirdFrame && !Dead && !Invulnerable) RivalContact();

    if (Dead) {
        ExplosionStep();
        return;
    }
    // Once the time has run out the ship only coasts to a stop: keys held then must not
    // keep it rolling, or the level would never end.
    if (!Finished && !TimeOut) ApplyControls();
    Heading = static_cast<int>(Round(HeadingTarget / 2));
    if (Finished || TimeOut) {
        EndOfRace();
        return;
    }
    DrivingStep();
}

void TPlayer::ShowImage(int image) {
    if (ImageIndex() != image) SelectImage(image);
}

void TPlayer::TiltAnimation() {
    const double speedScale = FRace.Host().SpeedScale();
    const TShipModel& ship = Ship(ShipNumber);
    auto straight = [&] {
        ShowImage(ship.Image);
        TiltState = 0;
        FramePos = 0;
    };
    if (Finished) {
        FramePos = std::min(5.5, FramePos + 0.2 * speedScale * 0.5);
        if (FramePos >= 5.5) straight();
        if (HeadingTarget > 0)
            HeadingTarget = std::max(0.0, HeadingTarget - speedScale);
        else if (HeadingTarget < 0)
            HeadingTarget = std::min(0.0, HeadingTarget + speedScale);
        Heading = static_cast<int>(Round(HeadingTarget / 2));
    } else if (Speed < 5) {
        straight();
    } else if ((Controls.Left && TiltState != 1) || (Controls.Right && TiltState != -1)) {
        const bool left = Controls.Left && TiltState != 1;
        const int state = left ? -1 : 1;
        if (!(left ? PrevLeft : PrevRight)) TiltStartHeading = Heading;
        if (TiltState != state) {
            SelectImage(left ? ship.TiltLeftImage : ship.TiltRightImage);
            FramePos = 5.5;
            TiltState = state;
        }
        if (std::fabs(Heading - TiltStartHeading) > 5)
            FramePos = std::max(std::max(0.0, 5.5 - Speed / 25), FramePos - 0.25 * speedScale * 0.5);
    } else if (FramePos == 5.5) {
        straight();
    } else if (TiltState != 0) {
        FramePos = std::min(5.5, FramePos + 0.3 * speedScale * 0.5);
    }
    PrevLeft = Controls.Left;
    PrevRight = Controls.Right;
}

void TPlayer::ComputeOutline() {
    const double phi = CornerAngle;
    const double angles[4] = {Heading - phi, Heading + phi, Heading + 128 - phi, Heading + 128 + phi};
    const double* factor = Ship(ShipNumber).CornerFactor;
    for (int k = 0; k < 4; ++k) {
        const double a = angles[k] * HeadingStep;
        Corners[k] = {ShipCentreX + TableSin(a) * CornerRadius * factor[k],
                      ShipCentreY - TableCos(a) * CornerRadius * factor[k]};
    }
}

bool TPlayer::RoadTest() const {
    const TRaceState& state = FRace.State;
    const double bx = Round(FRace.Scroll().X), by = Round(FRace.Scroll().Y);
    for (const TVec& corner : Corners) {
        const double wx = corner.X + TileSize * state.ViewCol - bx;
        const double wy = corner.Y + TileSize * state.ViewRow - by;
        const int col = static_cast<int>(Trunc(wx)) / TileSize, row = static_cast<int>(Trunc(wy)) / TileSize;
        if (col == 0 || row == 0 || state.Track.Cell(row, col) <= 0) return false;
    }
    return true;
}

void TPlayer::ApplyControls() {
    IRaceHost& host = FRace.Host();
    const double speedScale = host.SpeedScale();
    if (!Controls.Horn) {
        HornOn = false;
        host.StopSound(8);
    } else if (!HornOn) {
        HornOn = true;
        host.PlaySound(8);
    }
    if (!Controls.Brake) {
        const double turn = Sign(Velocity) * TurnNow() * speedScale;
        if (Controls.Left) HeadingTarget -= turn;
        if (Controls.Right) HeadingTarget += turn;
        HeadingTarget = std::clamp(HeadingTarget, -128.0, 128.0);
    }
    Decel = Controls.SlowDown ? BrakeNow() : 0;
    if (!Controls.Accelerate && !Controls.SlowDown) Decel = CoastNow();
    if (Controls.Brake) {
        if (Speed > 0) Decel = 0.6;
        if (Speed < 0) Decel = -0.6;
    }
    if (Controls.Accelerate && !Controls.SlowDown) {
        if (TopSpeed() * 160 >= Speed)
            Speed += AccelNow() * speedScale;
        else
            Decel = CoastNow();
    }
    if (!OnRoad && Speed > 80) Decel = 0.5;
}

void TPlayer::DrivingStep() {
    IRaceHost& host = FRace.Host();
    OnRoad = RoadTest();
    EngineSounds();
    if (FireMs > 0) FireMs -= host.FrameMs();
    if (Controls.Fire && FireMs <= 0) {
        Fire();
        FireMs = 1000;
    }
    Speed -= Decel * host.SpeedScale();
    if (Speed > 0 && Speed < 0.1) Speed = 0;
    if (Speed < -8) Speed = -8;
    if (Controls.Brake && Speed > -1 && Speed < 1) Speed = 0;
    Velocity = TopSpeed() * Speed / 8;
    if (Nitro && Controls.Nitro) Groups[GroupNitro] = true;
    if (FRace.State.ViewRow == 1490 && Speed < 0) {
        Speed = 0;
        Velocity = 0;
    }
}

void TPlayer::EngineSounds() {
    IRaceHost& host = FRace.Host();
    if (Controls.Nitro && Nitro) {
        if (!Groups[GroupNitro]) PlayEngineSound(22);
        return;
    }
    host.StopSound(22);
    Groups[GroupNitro] = false;
    if (!OnRoad) {
        if (!Groups[GroupIdle]) PlayEngineSound(4);
        return;
    }
    const double v = Speed;
    if (Controls.Accelerate && !Controls.Brake && !Controls.SlowDown) {
        const int band = EngineBand(v, TopSpeed());
        if (band >= 9 && band <= 12 && !Groups[GroupAccel]) PlayEngineSound(band);
        if (band == 13 && !Groups[GroupTop]) PlayEngineSound(13);
    }
    if ((!Controls.Accelerate && !Controls.Brake) || (Controls.Accelerate && Controls.SlowDown)) {
        if (v > 40) {
            if (!Groups[GroupCoast]) PlayEngineSound(6);
        } else if (!Groups[GroupIdle]) {
            PlayEngineSound(4);
        }
    }
    if (Controls.Brake) {
        if (v != 0 && !Groups[GroupBrake]) PlayEngineSound(7);
        if (Groups[GroupBrake] && v == 0) PlayEngineSound(4);
    }
}

void TPlayer::UpdatePlace() {
    TRaceState& state = FRace.State;
    double values[RivalSlots];
    int racers = 0;
    for (int i = 1; i <= RivalSlots; ++i) {
        const TRivalSlot* rival = FRace.Rivals() ? &FRace.Rivals()->Slot(i) : nullptr;
        if (rival && rival->Active) {
            values[i - 1] = rival->CenterY;
            ++racers;
        } else {
            values[i - 1] = MapRows * TileSize;
        }
    }
    std::sort(values, values + RivalSlots);
    const double p = FRace.PlayerWorldY();
    state.AheadY = state.BehindY = p;
    if (p < values[0]) {
        state.Place = 1;
        state.BehindY = values[0];
    } else {
        for (int k = 1; k <= racers - 1; ++k) {
            if (values[k - 1] < p && p < values[k]) {
                state.Place = static_cast<uint8_t>(k + 1);
                state.BehindY = values[k];
                state.AheadY = values[k - 1];
                break;
            }
        }
        if (racers >= 1 && p > values[racers - 1]) {
            state.Place = static_cast<uint8_t>(racers + 1);
            state.AheadY = values[racers - 1];
        }
    }
    state.Racers = static_cast<uint8_t>(racers + 1);
}

}  // namespace quillon
