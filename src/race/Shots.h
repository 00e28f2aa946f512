// The shot table: ten slots for everything that flies and is not a ship (the player's
// and the rivals' shots, mega-shots and the falling asteroids), and the rules that
// spawn, move, test, burst, cull and draw them. They run inside the player's move and
// draw, so they see one consistent frame.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace quillon {

class TRace;
class TDirectDrawSurface;

inline constexpr int ShotSlots = 10;

// Kinds 1, 2, 3, 7, 8 are the ships' guns.
enum TShotKind : uint8_t { ShotMega = 4, ShotSmallAsteroid = 5, ShotLargeAsteroid = 6 };
enum TShotOwner : uint8_t { ShotByAsteroid = 0, ShotByPlayer = 1, ShotByRival = 2 };
enum TShotState : uint8_t { ShotFlying = 0, ShotOnPlayer = 1, ShotOnRival = 2, ShotAsteroidBurst = 3 };

struct TShot {
    bool Used = false;
    uint8_t Kind = 0;
    uint8_t Owner = 0;
    double X = 0, Y = 0;  // world position
    double Speed = 0;
    double Frame = 0;
    int Heading = 0;      // 256 steps a turn, 0 = up
    uint8_t State = ShotFlying;
    uint8_t Target = 0;   // the rival a burst follows
    double OffsetX = 0, OffsetY = 0;
};

struct TShotTable {
    std::array<TShot, ShotSlots + 1> Slots{};  // 1..10
    int AsteroidTimer = 500;

    TShot& operator[](int slot) { return Slots[static_cast<size_t>(slot)]; }
    const TShot& operator[](int slot) const { return Slots[static_cast<size_t>(slot)]; }
    void Clear();
    int Used() const;
};

// The lowest free slot takes the shot; with all ten in use it is not made.
void SpawnShot(TRace& race, uint8_t kind, uint8_t owner, int heading, int speed, double x, double y);
void FreeShot(TRace& race, int slot);
void ShotHit(TRace& race, int slot, int rival);
// The player's gun (or the mega-shot) from the middle of the ship's nose.
void PlayerFires(TRace& race);
// Every 500 ms one chance in ten of an asteroid falling from above the view.
void SpawnAsteroid(TRace& race);
void MoveShots(TRace& race);
void CullShots(TRace& race);
// Drawn onto the surface the player's draw paints on.
void DrawShots(TRace& race, TDirectDrawSurface& surface);

}  // namespace quillon
