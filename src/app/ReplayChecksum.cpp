// The race checksum: FNV-1a over the rule state, field by field in a fixed order.
#include "app/ReplayChecksum.h"

#include <bit>
#include <type_traits>

#include "app/MainForm.h"
#include "engine/Fnv1a.h"
#include "race/Bonuses.h"
#include "race/Player.h"
#include "race/Rivals.h"
#include "race/ScrollBackground.h"
#include "save/ReplayFile.h"

namespace quillon {

namespace {

class THasher {
public:
    template <typename T>
    void Add(T value) {
        uint64_t bits = 0;
        if constexpr (std::is_floating_point_v<T>)
            bits = std::bit_cast<uint64_t>(static_cast<double>(value));
        else
            bits = static_cast<uint64_t>(value);
        char bytes[8];
        for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>(bits >> (8 * i));
        FHash = Fnv1a(std::string_view(bytes, 8), FHash);
    }
    uint64_t Hash() const { return FHash; }

private:
    uint64_t FHash = 0xCBF29CE484222325ull;
};

void AddPlayer(THasher& h, const TPlayer& p) {
    for (double v : {p.Speed, p.Velocity, p.HeadingTarget, p.ShipCentreX, p.ShipCentreY, p.Decel, p.BlinkPhase,
                     p.TiltStartHeading})
        h.Add(v);
    for (int v : {p.Heading, p.Energy, p.InvulnerableMs, p.NitroMs, p.DeathMs, p.BumpMs, p.FireMs, p.TiltState})
        h.Add(v);
    for (bool v : {p.Invulnerable, p.Nitro, p.MegaShot, p.TimeOut, p.EndLatch, p.Respawned, p.Dead, p.Bumped,
                   p.OnRoad, p.Finished, p.CoastLatch})
        h.Add(v);
}

void AddRivals(THasher& h, const TCar& rivals) {
    for (int i = 1; i <= RivalSlots; ++i) {
        const TRivalSlot& r = rivals.Slot(i);
        for (double v : {r.PosX, r.PosY, r.Heading, r.Power, r.Velocity, r.LaneOffset})
            h.Add(v);
        for (int v : {static_cast<int>(r.ShipType), r.LaneShift, r.LaneTimer, r.SpeedTimer, r.SpeedDelta,
                      r.AvoidTimer, static_cast<int>(r.HitCount), r.RespawnTimer, r.ShotTimer})
            h.Add(v);
        for (bool v : {r.Active, r.OnScreen, r.Destroyed, r.Avoiding, r.Turning})
            h.Add(v);
    }
}

}  // namespace

uint64_t RaceChecksum(const TMForm& form) {
    THasher h;
    h.Add(form.CurrentScreen);
    h.Add(form.ActiveDialog);
    h.Add(form.HotItem);
    h.Add(form.RandomState());
    const TRace& race = form.Race;
    const TRaceState& s = race.State;
    for (int v : {s.Level, s.Score, s.Lives, s.TimeLeft, s.TrackLength, s.BonusCount, static_cast<int>(s.Place),
                  static_cast<int>(s.Racers), s.ViewCol, s.ViewRow, s.ThirdFrameCounter, s.ResultTime,
                  s.PlaceBonus, s.TimeBonus, s.ResultLines, s.ResultLineTimer, s.ResultHold})
        h.Add(v);
    for (double v : {s.AheadY, s.BehindY, s.PlayerDX, s.PlayerDY, race.Scroll().X, race.Scroll().Y})
        h.Add(v);
    if (race.Player()) AddPlayer(h, *race.Player());
    if (race.Rivals()) AddRivals(h, *race.Rivals());
    for (int slot = 1; slot <= ShotSlots; ++slot) {
        const TShot& shot = race.Shots[slot];
        h.Add(shot.Used);
        if (!shot.Used) continue;
        for (int v : {static_cast<int>(shot.Kind), static_cast<int>(shot.Owner), shot.Heading,
                      static_cast<int>(shot.State), static_cast<int>(shot.Target)})
            h.Add(v);
        for (double v : {shot.X, shot.Y, shot.Speed})
            h.Add(v);
    }
    if (const TBonus* bonuses = race.Bonuses()) {
        for (int i = 1; i <= s.BonusCount && i <= BonusSlots; ++i) {
            const TBonusSlot& bonus = bonuses->Slot(i);
            h.Add(bonus.Present);
            if (!bonus.Present) continue;
            h.Add(bonus.Col);
            h.Add(bonus.Row);
            h.Add(static_cast<int>(bonus.Kind));
        }
    }
    return h.Hash();
}

}  // namespace quillon
