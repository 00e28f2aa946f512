// The shot table's rules.
#include "race/Shots.h"

#include "engine/Rounding.h"
#include "engine/SpriteEngine.h"
#include "engine/TrigFunctions.h"
#include "menus/MyImageSprite.h"
#include "race/Player.h"
#include "race/Race.h"
#include "race/RaceTables.h"
#include "race/Rivals.h"

namespace quillon {

namespace {
bool IsAsteroid(uint8_t kind) { return kind == ShotSmallAsteroid || kind == ShotLargeAsteroid; }

struct TView {
    double Left, Top;  // the world point at the screen's top-left corner
};
TView ViewOf(const TRace& race) {
    const auto [bx, by] = race.Scroll();
    return {TileSize * race.State.ViewCol - bx, TileSize * race.State.ViewRow - by};
}
}  // namespace

void TShotTable::Clear() {
    for (TShot& shot : Slots) shot = TShot{};
    AsteroidTimer = 500;
}

int TShotTable::Used() const {
    int used = 0;
    for (int slot = 1; slot <= ShotSlots; ++slot) used += Slots[static_cast<size_t>(slot)].Used;
    return used;
}

void SpawnShot(TRace& race, uint8_t kind, uint8_t owner, int heading, int speed, double x, double y) {
    for (int slot = 1; slot <= ShotSlots; ++slot) {
        TShot& shot = race.Shots[slot];
        if (shot.Used) continue;
        shot = TShot{};
        shot.Used = true;
        shot.Kind = kind;
        shot.Owner = owner;
        shot.X = x;
        shot.Y = y;
        shot.Speed = speed + 10;
        shot.Heading = heading;
        return;
    }
}

void FreeShot(TRace& race, int slot) { race.Shots[slot] = TShot{}; }

void ShotHit(TRace& race, int slot, int rival) {
    TShot& shot = race.Shots[slot];
    switch (shot.Owner) {
        case ShotByAsteroid: shot.State = ShotAsteroidBurst; break;
        case ShotByPlayer: {
            if (!race.Rivals() || rival < 1 || rival > RivalSlots) break;
            const TRivalSlot& target = race.Rivals()->Slot(rival);
            shot.State = ShotOnRival;
            shot.X += (target.CenterX - shot.X) / 2;
            shot.Y += (target.CenterY - shot.Y) / 2;
            shot.OffsetX = shot.X - target.PosX;
            shot.OffsetY = shot.Y - target.PosY;
            shot.Target = static_cast<uint8_t>(rival);
            break;
        }
        default: {
            const TView view = ViewOf(race);
            shot.State = ShotOnPlayer;
            shot.OffsetX = shot.X - (view.Left + TPlayer::ScreenX);
            shot.OffsetY = shot.Y - (view.Top + TPlayer::ScreenY);
            shot.Target = 0;
            break;
        }
    }
}

void PlayerFires(TRace& race) {
    TPlayer& player = *race.Player();
    uint8_t kind;
    if (player.MegaShot) {
        player.MegaShot = false;
        kind = ShotMega;
        race.Host().PlaySound(25);
    } else {
        kind = static_cast<uint8_t>(Ship(player.ShipNumber).ShotKind);
        race.Host().PlaySound(23);
    }
    const TView view = ViewOf(race);
    const double x = (player.Corners[0].X + player.Corners[1].X) / 2 + view.Left;
    const double y = (player.Corners[0].Y + player.Corners[1].Y) / 2 + view.Top;
    SpawnShot(race, kind, ShotByPlayer, player.Heading, static_cast<int>(Round(player.Velocity)), x, y);
}

void SpawnAsteroid(TRace& race) {
    TShotTable& shots = race.Shots;
    IRaceHost& host = race.Host();
    if (shots.AsteroidTimer > 0) {
        shots.AsteroidTimer -= host.FrameMs();
        return;
    }
    shots.AsteroidTimer = 500;
    if (host.Random(10) != 5) return;
    const int b = host.Random(400) + 200;
    const int heading = b > 400 ? 128 + host.Random(32) : 128 - host.Random(32);
    const uint8_t kind = static_cast<uint8_t>(ShotSmallAsteroid + host.Random(2));
    const double velocity = race.Player() ? race.Player()->Velocity : 0;
    SpawnShot(race, kind, ShotByAsteroid, heading, static_cast<int>(1 - Round(velocity)),
              b + TileSize * race.State.ViewCol, TileSize * race.State.ViewRow - 50);
}

namespace {

// An asteroid falls through the ship, rivals and other shots, tested every third frame.
void AsteroidHits(TRace& race, int slot) {
    TShot& shot = race.Shots[slot];
    TPlayer& player = *race.Player();
    const TView view = ViewOf(race);
    const double screenY = shot.Y - view.Top;
    if (!player.Dead && !player.Finished && !player.Invulnerable && std::abs(screenY - player.ShipCentreY) <= 200 &&
        QuadOverlap(SquareAround(shot.X - view.Left, screenY, 40), player.Corners))
        player.Damage(player.Energy);
    if (TCar* rivals = race.Rivals()) {
        for (int j = 1; j <= RivalSlots; ++j) {
            const TRivalSlot& rival = rivals->Slot(j);
            if (!rival.Active || rival.Destroyed || std::abs(rival.PosY - shot.Y) > 200) continue;
            if (!QuadOverlap(SquareAround(shot.X, shot.Y, 40), rival.Hull)) continue;
            rivals->HitRival(j);
            ShotHit(race, slot, 0);
            race.Host().PlaySound(26);
        }
    }
    for (int j = 1; j <= ShotSlots; ++j) {
        TShot& other = race.Shots[j];
        if (j == slot || !other.Used || IsAsteroid(other.Kind) || std::abs(other.Y - shot.Y) > 200) continue;
        if (!QuadOverlap(SquareAround(shot.X, shot.Y, 60), SquareAround(other.X, other.Y, 16))) continue;
        const bool byPlayer = other.Owner == ShotByPlayer;
        FreeShot(race, j);
        ShotHit(race, slot, 0);
        if (byPlayer) player.AddScore(50);
        race.Host().PlaySound(26);
    }
}

void RivalShotHits(TRace& race, int slot) {
    TShot& shot = race.Shots[slot];
    TPlayer& player = *race.Player();
    const TView view = ViewOf(race);
    const double screenY = shot.Y - view.Top;
    if (player.Dead || player.Finished || player.Invulnerable || std::abs(screenY - player.ShipCentreY) > 200) return;
    if (!QuadOverlap(SquareAround(shot.X - view.Left, screenY, 10), player.Corners)) return;
    player.Damage(1);
    if (player.Dead) {
        FreeShot(race, slot);
    } else {
        ShotHit(race, slot, 0);
        race.Host().PlaySound(26);
    }
}

void PlayerShotHits(TRace& race, int slot) {
    TCar* rivals = race.Rivals();
    if (!rivals) return;
    TPlayer& player = *race.Player();
    // A hit does not end the test: the bursting shot can still strike a later rival whose
    // hull covers it. Only a shot that is gone stops it.
    for (int j = 1; j <= RivalSlots; ++j) {
        TShot& shot = race.Shots[slot];
        if (!shot.Used) return;
        const TRivalSlot& rival = rivals->Slot(j);
        if (!rival.Active || rival.Destroyed || std::abs(rival.CenterY - shot.Y) > 200) continue;
        if (!QuadOverlap(SquareAround(shot.X, shot.Y, 10), rival.Hull)) continue;
        if (shot.Kind == ShotMega) {
            rivals->ExplodeRival(j);
            FreeShot(race, slot);
            player.AddScore(100);
            continue;
        }
        rivals->HitRival(j);
        if (rival.Destroyed) {
            FreeShot(race, slot);
            player.AddScore(100);
        } else {
            ShotHit(race, slot, j);
            race.Host().PlaySound(26);
        }
    }
}

}  // namespace

void MoveShots(TRace& race) {
    const double ss = race.Host().SpeedScale();
    for (int slot = 1; slot <= ShotSlots; ++slot) {
        TShot& shot = race.Shots[slot];
        if (!shot.Used) continue;
        if (shot.State == ShotFlying || shot.State == ShotAsteroidBurst) {
            shot.X += ss * TableSin(shot.Heading * HeadingStep) * shot.Speed * 0.5;
            shot.Y -= TableCos(shot.Heading * HeadingStep) * shot.Speed * ss * 0.5;
            if (IsAsteroid(shot.Kind)) {
                shot.Frame += ss * 0.2 * 0.5;
                if (shot.State == ShotAsteroidBurst) {
                    shot.Frame += ss * 0.5 * 0.5;
                    if (shot.Frame >= 17) shot.Frame = 17;
                } else if (shot.Frame >= 8) {
                    shot.Frame = 0;
                }
            }
            if (!race.State.ThirdFrame || shot.State != ShotFlying) continue;
            if (shot.Owner == ShotByAsteroid)
                AsteroidHits(race, slot);
            else if (shot.Owner == ShotByRival)
                RivalShotHits(race, slot);
            else
                PlayerShotHits(race, slot);
        } else if (shot.State == ShotOnRival) {
            if (race.Rivals() && shot.Target >= 1 && shot.Target <= RivalSlots) {
                const TRivalSlot& rival = race.Rivals()->Slot(shot.Target);
                shot.X = rival.PosX + shot.OffsetX;
                shot.Y = rival.PosY + shot.OffsetY;
            }
            shot.Frame += ss * 0.25;
        } else {
            const TView view = ViewOf(race);
            shot.X = view.Left + TPlayer::ScreenX + shot.OffsetX;
            shot.Y = view.Top + TPlayer::ScreenY + shot.OffsetY;
            shot.Frame += ss * 0.25;
        }
    }
}

void CullShots(TRace& race) {
    const TView view = ViewOf(race);
    for (int slot = 1; slot <= ShotSlots; ++slot) {
        const TShot& shot = race.Shots[slot];
        if (!shot.Used) continue;
        const double sx = shot.X - view.Left, sy = shot.Y - view.Top;
        if (sx > 1000 || sx < -200 || sy < -200 || sy > 800 || shot.Frame > 16) FreeShot(race, slot);
    }
}

void DrawShots(TRace& race, TDirectDrawSurface& surface) {
    TPictureCollection* list = SpriteWorld.List(2);
    if (!list) return;
    const TView view = ViewOf(race);
    for (int slot = 1; slot <= ShotSlots; ++slot) {
        const TShot& shot = race.Shots[slot];
        if (!shot.Used) continue;
        int image, width, height;
        switch (shot.Kind) {
            case 1: case 7: image = 26; width = 10; height = 25; break;
            case 2: case 8: image = 29; width = 10; height = 25; break;
            case 3: image = 32; width = 20; height = 45; break;
            case ShotMega: image = 35; width = height = 32; break;
            case ShotSmallAsteroid: image = 12; width = 36; height = 31; break;
            default: image = 23; width = 74; height = 52; break;
        }
        if (shot.State == ShotOnPlayer || shot.State == ShotOnRival) {
            int ship = race.Player() ? race.Player()->ShipNumber : 1;
            if (shot.State == ShotOnRival && race.Rivals() && shot.Target >= 1 && shot.Target <= RivalSlots)
                ship = race.Rivals()->Slot(shot.Target).ShipType;
            image = Ship(ship).SparkImage;
            width = height = 32;
        } else if (shot.State == ShotAsteroidBurst) {
            image = 63;
            width = height = 64;
        }
        const int x = static_cast<int>(Round(shot.X - view.Left)), y = static_cast<int>(Round(shot.Y - view.Top));
        const int pattern = static_cast<int>(Trunc(shot.Frame));
        const bool rotated = !IsAsteroid(shot.Kind) && shot.Kind != ShotMega;
        TPictureCollectionItem& item = list->Items(image);
        if (rotated)
            item.DrawRotated(surface, x, y, width, height, pattern, 0.5, 0.5, shot.Heading);
        else
            item.Draw(surface, x - width / 2, y - height / 2, pattern);
    }
}

}  // namespace quillon
