// TPlayer's dashboard, the picture half of the heads-up display: the panel, the radar
// of the road ahead with the rivals' dots, the markers and the bend warnings, the
// speedometer and the energy gauge. The texts go over it afterwards (the form's DrawHud).
#include <cmath>
#include <cstring>

#include "engine/Rounding.h"
#include "engine/SpriteEngine.h"
#include "race/Player.h"
#include "race/Race.h"
#include "race/Rivals.h"
#include "race/ShipPhysics.h"

namespace quillon {

namespace {
constexpr struct { int X, Y; } EnergyPlaces[4] = {{606, 546}, {640, 511}, {693, 482}, {743, 461}};
constexpr struct { int X, Y; } DigitPlaces[4] = {{645, 439}, {656, 433}, {667, 428}, {678, 423}};

// The radar image (third collection) of a piece code; -1 draws nothing.
int RadarImage(int code) {
    switch (code) {
        case 1: return 0;
        case 2: return 1;
        case 3: return 2;
        case 4: return 3;
        case 6: return 4;
        case 7: return 5;
        case 10: return 6;
        case 20: return 7;
        case 30: return 8;
        case 40: return 9;
        default: return -1;
    }
}
}  // namespace

void TPlayer::DrawDashboard() {
    TSpriteEngine* engine = Engine();
    TPictureCollection* list = SpriteWorld.List(2);
    if (!engine || !engine->Surface() || !list) return;
    TDirectDrawSurface& surface = *engine->Surface();
    list->Items(2).Draw(surface, 575, 0, 0);
    DrawRadar();
    const int s = SpeedometerReading(Speed);
    const int digits[4] = {s / 1000 % 10, s / 100 % 10, s / 10 % 10, s % 10};
    for (int i = 0; i < 4; ++i) list->Items(47 + digits[i]).Draw(surface, DigitPlaces[i].X, DigitPlaces[i].Y, 0);
    list->Items(57).Draw(surface, 695, 404, 0);
    for (int i = 0; i < Energy && i < 4; ++i) list->Items(43 + i).Draw(surface, EnergyPlaces[i].X, EnergyPlaces[i].Y, 0);
}

void TPlayer::DrawRadar() {
    TSpriteEngine* engine = Engine();
    TPictureCollection* radar = SpriteWorld.List(3);
    TRaceState& state = FRace.State;
    std::memset(RadarGrid, 0, sizeof RadarGrid);

    // Each row's piece comes from the tile left of its first road tile.
    const int b = state.Track.RoadLeft(state.ViewRow) / TileSize - 8;
    for (int i = 1; i <= 12 && state.ViewRow + i <= MapRows; ++i) {
        const int row = state.ViewRow + i;
        for (int j = 1; j <= 16; ++j) {
            const int c = b + j;
            const int t = state.Track.Cell(row, c);
            if (t == 19) {
                RadarGrid[j][i] = 7;
                break;
            }
            if (t != 1) continue;
            switch (state.Track.Cell(row, c - 1)) {
                case 2: RadarGrid[j][i] = 6; break;
                case 5:
                    if (j > 1) RadarGrid[j - 1][i] = 20;
                    RadarGrid[j][i] = 10;
                    break;
                case 6:
                    RadarGrid[j][i] = 40;
                    if (j < 16) RadarGrid[j + 1][i] = 30;
                    break;
                case 12:
                    if (j >= 2) RadarGrid[j - 1][i] = 1;
                    RadarGrid[j][i] = 2;
                    break;
                case 14:
                    if (j > 1) RadarGrid[j - 1][i] = 3;
                    RadarGrid[j][i] = 4;
                    break;
                default: break;
            }
            break;
        }
    }

    const double by = FRace.Scroll().Y;
    // The radar scrolls with the road: a quarter-size tile is 18 pixels.
    const double scroll = by / TileSize * 18;
    int first = 1;
    while (first <= 16 && RadarGrid[first][6] == 0) ++first;
    const int anchor = first <= 16 ? RadarGrid[first][6] : 0;
    double g = anchor == 1 ? 9 : anchor == 3 ? 12 : (anchor == 6 || anchor == 7) ? 4 : anchor == 20 ? 7 : anchor == 40 ? 3 : 0;
    const double q = scroll * 0.192;
    if (anchor == 1 || anchor == 3) g += q;
    if (anchor == 20 || anchor == 40) g -= q;
    const double o = 715 - (7 * (first - 1) + 638 + g) + 9;

    const bool canDraw = engine && engine->Surface() && radar;
    if (canDraw) {
        TDirectDrawSurface& surface = *engine->Surface();
        for (int i = 1; i <= 11; ++i)
            for (int j = 1; j <= 16; ++j) {
                const int image = RadarImage(RadarGrid[j][i]);
                if (image < 0) continue;
                radar->Items(image).Draw(surface, static_cast<int>(Round(o)) + 7 * j + 631,
                                         static_cast<int>(Round(scroll)) + 18 * i + 14, 0);
            }
        if (const TCar* rivals = FRace.Rivals()) {
            for (int k = 1; k <= RivalSlots; ++k) {
                const TRivalSlot& rival = rivals->Slot(k);
                if (!rival.Active || !rival.OnScreen) continue;
                const double d = (rival.PosY - TileSize * state.ViewRow) / TileSize * 18;
                const int place = static_cast<int>(Round(d - 14 + 32));
                const int r = place / 18;
                if (r < 1 || r > 12) continue;
                int l = 1;
                while (l <= 16 && RadarGrid[l][r] == 0) ++l;
                if (l > 16) continue;
                const int code = RadarGrid[l][r];
                double p = code == 1 ? 9 : code == 3 ? 14 : code == 20 ? 4 : code == 40 ? -1 : 0;
                const double w = (place % 18) * 0.192;
                if (code == 1 || code == 3) p -= w;
                if (code == 20 || code == 40) p += w;
                const int y = static_cast<int>(Round(scroll)) + 32 + static_cast<int>(Round(d - 14));
                if (y >= 0 && y <= 210)
                    radar->Items(10).Draw(surface, static_cast<int>(Round(p + 7 * l + 638 + o - 16)), y, 0);
            }
        }
    }

    const double p = FRace.PlayerWorldY();
    state.BehindMarker = std::fabs(p - state.BehindY) > 360 && state.Place < state.Racers;
    state.AheadMarker = std::fabs(p - state.AheadY) > 360 && state.Place > 1;
    if (!canDraw) return;
    TDirectDrawSurface& surface = *engine->Surface();
    if (state.BehindMarker) radar->Items(17).Draw(surface, 720, 174, 0);
    if (state.AheadMarker) radar->Items(16).Draw(surface, 720, 40, 0);
    const TSegmentKind bend = state.Track.RowKind(state.ViewRow - 10);
    if (bend == TSegmentKind::ShiftLeft) radar->Items(14).Draw(surface, 667, 115, 0);
    if (bend == TSegmentKind::ShiftRight) radar->Items(15).Draw(surface, 745, 115, 0);
    radar->Items(12).Draw(surface, 598, 0, 0);
    radar->Items(13).Draw(surface, 638, 208, 0);
    radar->Items(11).Draw(surface, 638, 112, 0);
}

}  // namespace quillon
