// TCar: the rival slots. Each follows the road toward a point a few rows ahead on its
// lane, drifts its lane and throttle at random, swerves around the player and the other
// rivals by four probe points, fires at a player just ahead, brakes on straights when
// fast, and after four hits explodes and comes back on the road's right lane.
#include "race/Rivals.h"

#include <algorithm>
#include <cmath>

#include "engine/Rounding.h"
#include "engine/SpriteEngine.h"
#include "engine/TrigFunctions.h"
#include "race/Player.h"
#include "race/Race.h"
#include "race/RaceTables.h"
#include "race/RivalTables.h"
#include "race/ShipPhysics.h"
#include "race/Shots.h"

namespace quillon {

namespace {
int TypeOf(const TRivalSlot& rival) { return rival.ShipType >= 1 && rival.ShipType <= 5 ? rival.ShipType : 1; }

// The point `distance` pixels from the ship's centre in the direction `angle` (heading steps).
TVec PointAt(const TRivalSlot& rival, double angle, double distance) {
    return {rival.CenterX + TableSin(angle * HeadingStep) * distance, rival.CenterY - TableCos(angle * HeadingStep) * distance};
}
}  // namespace

TCar::TCar(TRace& race) : TMyImageSprite(2), FRace(race) {
    SelectImage(0);
    SetZ(9);
    ResetRivals();
}

void TCar::ResetRivals() {
    IRaceHost& host = FRace.Host();
    const TRaceState& state = FRace.State;
    for (TRivalSlot& slot : FSlots) {
        slot = TRivalSlot{};
        slot.FlamePhase = host.Random(20) / 20.0;
        slot.LaneTimer = slot.SpeedTimer = 5000;
    }
    for (int i = 1; i <= RivalSlots; ++i) {
        if (!RivalRaces(i, state.Level)) continue;
        TRivalSlot& rival = Slot(i);
        rival.Active = true;
        rival.ShipType = static_cast<uint8_t>(host.Random(5) + 1);
        rival.ShipItem = Ship(rival.ShipType).Image;
        rival.OnScreen = true;
        rival.PosX = TileSize * state.ViewCol + RivalStarts[i].X;
        rival.PosY = TileSize * state.ViewRow + RivalStarts[i].Y;
        rival.LaneOffset = RivalStarts[i].LaneOffset;
    }
    // One move places centres, hulls and probes before the first frame is drawn.
    Starting = true;
    MoveSelf(1);
    Starting = false;
}

void TCar::HitRival(int slot) {
    TRivalSlot& rival = Slot(slot);
    ++rival.HitCount;
    if (rival.HitCount > 3) ExplodeRival(slot);
}

void TCar::ExplodeRival(int slot) {
    TRivalSlot& rival = Slot(slot);
    rival.Destroyed = true;
    rival.ShipItem = Ship(TypeOf(rival)).ExplosionImage;
    rival.Frame = 0;
    rival.RespawnTimer = 1000;
    FRace.Host().PlaySound(20);
}

// Back three cells left of the road's right edge, normally a row below the wreck,
// pointing along the edge; still standing.
void TCar::RespawnRival(int slot) {
    TRivalSlot& rival = Slot(slot);
    rival.Destroyed = false;
    rival.HitCount = 0;
    rival.ShipItem = Ship(TypeOf(rival)).Image;
    rival.Frame = 0;
    const TTrackMap& track = FRace.State.Track;
    const int r0 = static_cast<int>(Trunc(rival.CenterY / TileSize));
    for (int r = r0 - 1; r <= r0 + 1; ++r) {
        for (int c = MapCols - 1; c >= 1; --c) {
            const int code = track.Cell(r, c);
            if (!IsRightEdge(code)) continue;
            rival.PosY = TileSize * r;
            rival.PosX = TileSize * (c - 3);
            rival.Heading = code == 3 ? 0 : (code == 15 || code == 17) ? 18.89 : -18.89;
            break;
        }
    }
}

void TCar::MoveSelf(int moveCount) {
    TMyImageSprite::MoveSelf(moveCount);
    for (int i = 1; i <= RivalSlots; ++i)
        if (Slot(i).Active) StepRival(i);
}

void AdvanceFlame(TRivalSlot& rival, double ss) {
    rival.FlamePhase += 0.15 * ss;
    if (rival.FlamePhase > 2) rival.FlamePhase = 0;
    rival.FlameBlink = Round(4 * rival.FlamePhase) % 2 == 0;
}

bool BurnWreck(TRivalSlot& rival, double ss, int frameMs) {
    rival.Frame += 0.25 * ss;
    rival.Drag = 0.8;
    if (rival.Power > 0) return false;
    rival.Drag = rival.Power = rival.Velocity = 0;
    if (rival.RespawnTimer <= 0) return true;
    rival.RespawnTimer -= frameMs;
    return false;
}

bool RivalOnScreen(const TRivalSlot& rival, const TRaceState& state, TVec scroll) {
    const auto [bx, by] = scroll;
    return rival.PosX >= TileSize * state.ViewCol - bx && rival.PosX <= TileSize * (state.ViewCol + 13) - bx &&
           rival.PosY >= TileSize * (state.ViewRow - 2) - by && rival.PosY <= TileSize * (state.ViewRow + 12) - by;
}

void MoveRival(TRivalSlot& rival, int type, double ss) {
    rival.PosX += TableSin(rival.Heading * HeadingStep) * rival.Velocity * 0.5 * ss;
    rival.PosY -= TableCos(rival.Heading * HeadingStep) * rival.Velocity * 0.5 * ss;
    rival.CenterX = rival.PosX + ShipWidth[type] / 2.0;
    rival.CenterY = rival.PosY + ShipHeight[type] / 2.0;
}

void PlaceHull(TRivalSlot& rival, int type, int playerShip) {
    const double radius = HullRadius[type] * HullScale[playerShip >= 1 && playerShip <= 5 ? playerShip : 1];
    const double o = HullAngle[type];
    rival.Hull = {PointAt(rival, rival.Heading - o, radius), PointAt(rival, rival.Heading + o, radius),
                  PointAt(rival, rival.Heading - o + 128, radius), PointAt(rival, rival.Heading + o + 128, radius)};
    rival.ProbeFL = PointAt(rival, rival.Heading - 2, 75);
    rival.ProbeFR = PointAt(rival, rival.Heading + 2, 75);
    rival.ProbeL = PointAt(rival, rival.Heading - 44, 46);
    rival.ProbeR = PointAt(rival, rival.Heading + 44, 46);
}

void DriftLaneAndSpeed(TRivalSlot& rival, int frameMs, IRaceHost& host) {
    if (rival.LaneTimer > 0) {
        rival.LaneTimer -= frameMs;
    } else {
        rival.LaneTimer = 4000 + 300 * host.Random(10);
        if (!rival.Avoiding) {
            rival.LaneOffset += host.Random(60) - 30;
            rival.LaneShift = host.Random(3);
        }
    }
    if (rival.SpeedTimer > 0) {
        rival.SpeedTimer -= frameMs;
    } else {
        rival.SpeedTimer = 4000 + 300 * host.Random(10);
        if (!rival.Avoiding) {
            rival.Power -= std::abs(rival.SpeedDelta);
            rival.SpeedDelta = host.Random(10) - 5;
            rival.Power += rival.SpeedDelta;
        }
    }
}

void KeepAvoiding(TRivalSlot& rival, bool blocked, int frameMs) {
    if (blocked) {
        rival.Avoiding = true;
        rival.AvoidTimer = 200;
    } else {
        if (rival.AvoidTimer > 0) rival.AvoidTimer -= frameMs;
        if (rival.AvoidTimer <= 0) rival.Avoiding = false;
    }
    if (rival.LaneOffset > 50) rival.LaneOffset = 60;
    if (rival.LaneOffset < -40) rival.LaneOffset = -30;
}

TRivalAim AimAlongLane(TRivalSlot& rival, const TTrackMap& track) {
    const int r0 = static_cast<int>(Round(rival.CenterY)) / TileSize;
    const int k = r0 - 4 - rival.LaneShift;
    const double dx = track.RoadLeft(k) + rival.LaneOffset - rival.CenterX;
    const double dy = rival.CenterY - TileSize * k;
    const double target = dy != 0 ? TableArcTan(dx / dy) / 6.283186 * 256 : 0;
    const TRivalAim aim{rival.Avoiding ? 0 : target - rival.Heading, track.RowKind(k)};
    if (aim.KindAhead != TSegmentKind::Straight && aim.KindAhead != TSegmentKind::Straighten) rival.LaneShift = 0;
    return aim;
}

void TurnTowardLane(TRivalSlot& rival, double error, const TShipModel& ship, double ss) {
    const double power = rival.Power;
    const double turn = power > 0 ? std::min(0.8, 1000 / (power * std::sqrt(power * (4 - ship.HandlingRating / 10.0))))
                                  : std::min(0.8, -power / 5);
    if (rival.Velocity <= 0) return;
    if (error > 2 || error < -2) {
        if (!rival.Turning) {
            rival.TurnStartHeading = rival.Heading;
            rival.Turning = true;
        }
        rival.RollHold = 10;
        rival.Heading += (error > 2 ? 1 : -1) * turn * 2 * ss;
    } else {
        rival.Turning = false;
    }
}

void RollRival(TRivalSlot& rival, const TShipModel& ship, double ss) {
    if (rival.Turning) {
        if (rival.Heading > rival.TurnStartHeading) rival.Roll += 0.6 * ss;
        if (rival.Heading < rival.TurnStartHeading) rival.Roll -= 0.6 * ss;
        rival.Roll = std::clamp(rival.Roll, -6.5, 6.5);
    } else if (rival.RollHold > 0) {
        rival.RollHold -= 1;
    } else if (rival.Roll > 0) {
        rival.Roll = std::max(0.0, rival.Roll - 0.3 * ss);
    } else if (rival.Roll < 0) {
        rival.Roll = std::min(0.0, rival.Roll + 0.3 * ss);
    }
    if (rival.Roll > 1) {
        rival.RollDir = 1;
        rival.ShipItem = ship.TiltRightImage;
    } else if (rival.Roll < -1) {
        rival.RollDir = -1;
        rival.ShipItem = ship.TiltLeftImage;
    } else {
        rival.RollDir = 0;
        rival.ShipItem = ship.Image;
    }
    rival.Frame = rival.RollDir != 0 ? 6.5 - std::fabs(rival.Roll) : 0;
}

void ThrottleRival(TRivalSlot& rival, const TShipModel& ship, TSegmentKind kindAhead, double ss, bool starting) {
    const double top = TopSpeedFactor(ship.SpeedRating);
    if (kindAhead == TSegmentKind::Straight || kindAhead == TSegmentKind::ShiftLeft ||
        kindAhead == TSegmentKind::ShiftRight || rival.Power <= 130) {
        if (top * 160 >= rival.Power)
            rival.Power += AccelStep(rival.Power, ship.AccelRating, false) * ss;
        else
            rival.Drag = CoastStep(rival.Power, ship.AccelRating, false);
        if (!starting) rival.Thrusting = true;
    } else {
        rival.Thrusting = false;
    }
    const bool straightAhead = kindAhead == TSegmentKind::LongStraight || kindAhead == TSegmentKind::Straighten;
    rival.Drag = straightAhead && rival.Power > 130 ? BrakeStep(ship.BrakeRating) : 0;
}

void KeepOnCourse(TRivalSlot& rival, const TShipModel& ship, const TTrackMap& track, int trackLength, double ss) {
    const TSegmentKind kindHere = track.RowKind(static_cast<int>(Round(rival.CenterY)) / TileSize);
    const double centre = kindHere == TSegmentKind::ShiftLeft ? -18.89 : kindHere == TSegmentKind::ShiftRight ? 18.89 : 0;
    rival.Heading = std::clamp(rival.Heading, centre - 16, centre + 16);
    rival.Power -= rival.Drag * ss;
    rival.Velocity = TopSpeedFactor(ship.SpeedRating) * rival.Power / 8;
    if (rival.CenterY < TileSize * (1450.0 - trackLength)) rival.Power = rival.Velocity = 0;
}

void TCar::StepRival(int i) {
    TRivalSlot& rival = Slot(i);
    IRaceHost& host = FRace.Host();
    const TRaceState& state = FRace.State;
    const double ss = host.SpeedScale();
    const int frameMs = host.FrameMs();
    const int type = TypeOf(rival);
    const TShipModel& ship = Ship(type);

    AdvanceFlame(rival, ss);
    if (rival.Destroyed && BurnWreck(rival, ss, frameMs)) RespawnRival(i);
    const bool live = !rival.Destroyed;
    rival.OnScreen = RivalOnScreen(rival, state, FRace.Scroll());
    MoveRival(rival, type, ss);
    PlaceHull(rival, type, FRace.Player() ? FRace.Player()->ShipNumber : FRace.SelectedShip);
    DriftLaneAndSpeed(rival, frameMs, host);
    bool ahead = false, left = false, right = false;
    if (live) Probe(i, ahead, left, right);
    KeepAvoiding(rival, ahead || left || right, frameMs);
    const TRivalAim aim = AimAlongLane(rival, state.Track);
    if (live) {
        TurnTowardLane(rival, aim.Error, ship, ss);
        RollRival(rival, ship, ss);
        Fire(i);
        ThrottleRival(rival, ship, aim.KindAhead, ss, Starting);
    }
    KeepOnCourse(rival, ship, state.Track, state.TrackLength, ss);
}

// The four probes against the player's hull (on the screen) and the other rivals' hulls.
void TCar::Probe(int i, bool& ahead, bool& left, bool& right) {
    TRivalSlot& rival = Slot(i);
    const TRaceState& state = FRace.State;
    const double ss = FRace.Host().SpeedScale();
    // Plain names, not a structured binding: the lambdas below capture them.
    const TVec scroll = FRace.Scroll();
    const double bx = scroll.X, by = scroll.Y;
    auto toScreen = [&](const TVec& p) {
        return TVec{p.X - TileSize * state.ViewCol + bx, p.Y - TileSize * state.ViewRow + by};
    };
    double t = 1, s = 6;
    if (const TPlayer* player = FRace.Player()) {
        const TQuad& hull = player->Corners;
        if (rival.Velocity > player->Velocity)
            ahead = PointInQuad(toScreen(rival.ProbeFL), hull) || PointInQuad(toScreen(rival.ProbeFR), hull);
        left = PointInQuad(toScreen(rival.ProbeL), hull);
        if (!left) right = PointInQuad(toScreen(rival.ProbeR), hull);
        if (ahead) {
            t = 3;
            s = 8;
        }
    }
    for (int j = 1; j <= RivalSlots; ++j) {
        const TRivalSlot& other = Slot(j);
        if (j == i || !other.Active || std::fabs(other.CenterY - rival.CenterY) >= 200) continue;
        if (PointInQuad(rival.ProbeFL, other.Hull)) ahead = true;
        if (PointInQuad(rival.ProbeFR, other.Hull)) {
            ahead = true;
            continue;
        }
        if (PointInQuad(rival.ProbeL, other.Hull))
            left = true;
        else if (PointInQuad(rival.ProbeR, other.Hull))
            right = true;
    }
    if (ahead) {
        if (rival.LaneOffset > 0) {
            rival.Heading -= t * ss;
            rival.LaneOffset -= s;
        } else {
            rival.Heading += t * ss;
            rival.LaneOffset += s;
        }
    } else if (left) {
        rival.Heading += 2 * ss;
        rival.LaneOffset += 6;
    }
    if (right) {
        rival.Heading -= 2 * ss;
        rival.LaneOffset -= 6;
    }
}

// A rival fires when the player is at most 20 pixels behind it or up to 500 ahead, and
// its nose points within 16 steps of its aim.
void TCar::Fire(int i) {
    TRivalSlot& rival = Slot(i);
    IRaceHost& host = FRace.Host();
    const TRaceState& state = FRace.State;
    const auto [bx, by] = FRace.Scroll();
    const double sx = rival.CenterX - TileSize * state.ViewCol + bx;
    const double sy = rival.CenterY - TileSize * state.ViewRow + by;
    const double px = TPlayer::ScreenX, py = TPlayer::ScreenY;
    if (!(sy - py > -20 && sy - py < 500)) return;
    if (rival.ShotTimer > 0) {
        rival.ShotTimer -= host.FrameMs();
        return;
    }
    const double slope = px != sx ? TableArcTan((sy - py) / (px - sx)) : 0;
    const double aim = (slope + 1.5707965) / 3.141593 * 128;
    if (std::fabs(aim - rival.Heading) >= 16) return;
    rival.ShotTimer = 1000;
    host.PlaySound(23);
    if (Starting) return;
    const double x = Round((rival.Hull[0].X + rival.Hull[1].X) / 2), y = Round((rival.Hull[0].Y + rival.Hull[1].Y) / 2);
    SpawnShot(FRace, static_cast<uint8_t>(Ship(TypeOf(rival)).ShotKind), ShotByRival, static_cast<int>(Round(rival.Heading)),
              static_cast<int>(Round(rival.Velocity)), x, y);
}

// Flames first, so the ships cover them; then the wrecks; then the ships.
void TCar::DrawRivals() {
    TSpriteEngine* engine = Engine();
    TPictureCollection* list = SpriteWorld.List(2);
    if (!engine || !engine->Surface() || !list) return;
    TDirectDrawSurface& surface = *engine->Surface();
    const TRaceState& state = FRace.State;
    // Plain names, not a structured binding: the lambdas below capture them.
    const TVec scroll = FRace.Scroll();
    const double bx = scroll.X, by = scroll.Y;
    auto sx = [&](double x) { return static_cast<int>(Round(x - TileSize * state.ViewCol + bx)); };
    auto sy = [&](double y) { return static_cast<int>(Round(y - TileSize * state.ViewRow + by)); };
    for (const TRivalSlot& r : FSlots) {
        if (!r.Active || !r.OnScreen || r.Destroyed || !r.Thrusting) continue;
        const int heading = static_cast<int>(Trunc(r.Heading));
        const int angle = heading != 0 ? heading : r.FlameBlink ? 1 : -2;
        list->Items(3).DrawRotated(surface, sx(r.CenterX), sy(r.CenterY), 18, 34, static_cast<int>(Trunc(r.FlamePhase)),
                                   0.5, -34.0 / Ship(TypeOf(r)).FlameOffset, angle);
    }
    for (const TRivalSlot& r : FSlots)
        if (r.Active && r.OnScreen && r.Destroyed)
            list->Items(r.ShipItem).Draw(surface, sx(r.PosX), sy(r.PosY), static_cast<int>(Trunc(r.Frame)));
    for (const TRivalSlot& r : FSlots) {
        if (!r.Active || !r.OnScreen || r.Destroyed) continue;
        const int type = TypeOf(r);
        list->Items(r.ShipItem).DrawRotated(surface, sx(r.CenterX), sy(r.CenterY), ShipWidth[type], ShipHeight[type],
                                            static_cast<int>(Trunc(r.Frame)), 0.5, 0.5,
                                            static_cast<int>(Trunc(r.Heading)));
    }
}

}  // namespace quillon
