// The bonuses lying on the road: spinning coins for points, glowing orbs with an
// emblem for the power-ups. Four animation patterns, the fifth repeats the first.
#include <cmath>
#include <string>

#include "art/RaceArt.h"
#include "art/RaceKit.h"

namespace quillon::assetgen {

namespace {

constexpr int BonusSize = 34;
constexpr double C = BonusSize / 2.0;

struct TBonusLook {
    const char* Name;
    uint32_t Dark, Base, Light;
    const char* Label;  // coins only
};

const TBonusLook& Look(int kind) {
    static const TBonusLook looks[8] = {
        {"Bonus10", 0x6A3A16, 0xC77A3A, 0xF4C08A, "10"},
        {"Bonus50", 0x3A4A66, 0x9AB2D6, 0xEEF4FF, "50"},
        {"Bonus100", 0x7A5606, 0xE8B820, 0xFFF2A8, "100"},
        {"BonusLife", 0x0E5A2A, 0x2FC060, 0xB8FFD0, nullptr},
        {"BonusShield", 0x103A8A, 0x3A8CFF, 0xCDE6FF, nullptr},
        {"BonusNitro", 0x7A2A06, 0xFF7A1E, 0xFFE0A0, nullptr},
        {"BonusMegaShot", 0x7A1046, 0xFF3F9A, 0xFFD0EA, nullptr},
        {"BonusEnergy", 0x4A5A06, 0xC8E02A, 0xF6FFC0, nullptr},
    };
    return looks[kind - 1];
}

void Circle(cairo_t* cr, double x, double y, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
}

// A coin seen edge-on by `squeeze` (1 = face on), with its value stamped on it.
void DrawCoin(cairo_t* cr, const TBonusLook& look, double squeeze, int frame) {
    cairo_save(cr);
    cairo_translate(cr, C, C);
    cairo_scale(cr, squeeze, 1.0);
    // Rim, then face with a light sweep that moves round with the spin.
    Circle(cr, 0, 0, 15.5);
    SetColor(cr, Hex(look.Dark));
    cairo_fill(cr);
    Circle(cr, 0, 0, 13.5);
    cairo_pattern_t* g = cairo_pattern_create_linear(-14, -14 + frame * 5, 14, 14 - frame * 5);
    TRGB b = Hex(look.Base), l = Hex(look.Light), d = Hex(look.Dark);
    cairo_pattern_add_color_stop_rgb(g, 0, l.R, l.G, l.B);
    cairo_pattern_add_color_stop_rgb(g, 0.45, b.R, b.G, b.B);
    cairo_pattern_add_color_stop_rgb(g, 1, d.R * 1.3, d.G * 1.3, d.B * 1.3);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    Circle(cr, 0, 0, 11);
    SetColor(cr, Hex(look.Dark), 0.9);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    if (squeeze > 0.5) {
        std::string font = std::string("Play Bold ") + (std::string(look.Label).size() > 2 ? "8.5" : "10.5");
        DrawLabel(cr, look.Label, font, 0.6, 0.6, Hex(look.Dark));
        DrawLabel(cr, look.Label, font, 0, 0, Hex(0xFFFFFF));
    }
    cairo_restore(cr);
}

void Emblem(cairo_t* cr, int kind) {
    switch (kind) {
        case 4:  // extra life: a heart
            cairo_move_to(cr, 0, 7);
            cairo_curve_to(cr, -11, -1, -6, -10, 0, -4);
            cairo_curve_to(cr, 6, -10, 11, -1, 0, 7);
            break;
        case 5:  // invulnerability: a shield
            cairo_move_to(cr, 0, -8);
            cairo_curve_to(cr, 3, -6, 6, -6, 7, -6);
            cairo_curve_to(cr, 7, 2, 4, 6, 0, 9);
            cairo_curve_to(cr, -4, 6, -7, 2, -7, -6);
            cairo_curve_to(cr, -6, -6, -3, -6, 0, -8);
            break;
        case 6:  // nitro: a double chevron pointing ahead
            for (double y : {-1.0, 6.0}) {
                cairo_move_to(cr, -7, y);
                cairo_line_to(cr, 0, y - 7);
                cairo_line_to(cr, 7, y);
                cairo_line_to(cr, 7, y + 3.5);
                cairo_line_to(cr, 0, y - 3.5);
                cairo_line_to(cr, -7, y + 3.5);
                cairo_close_path(cr);
            }
            break;
        case 7:  // mega-shot: a four-pointed star
            cairo_move_to(cr, 0, -9);
            cairo_line_to(cr, 2.5, -2.5);
            cairo_line_to(cr, 9, 0);
            cairo_line_to(cr, 2.5, 2.5);
            cairo_line_to(cr, 0, 9);
            cairo_line_to(cr, -2.5, 2.5);
            cairo_line_to(cr, -9, 0);
            cairo_line_to(cr, -2.5, -2.5);
            cairo_close_path(cr);
            break;
        default:  // energy: a lightning bolt
            cairo_move_to(cr, 2, -9);
            cairo_line_to(cr, -5, 1);
            cairo_line_to(cr, -0.5, 1);
            cairo_line_to(cr, -2, 9);
            cairo_line_to(cr, 5, -1.5);
            cairo_line_to(cr, 0.5, -1.5);
            cairo_close_path(cr);
            break;
    }
}

// An orb with a pulsing halo, an orbiting spark and the emblem of its power.
void DrawOrb(cairo_t* cr, int kind, const TBonusLook& look, int frame) {
    const double pulse = std::sin(frame * M_PI / 2);  // 0, 1, 0, -1
    const double halo = 15.5 + pulse * 0.8;
    Circle(cr, C, C, halo);
    SetColor(cr, Hex(look.Dark));
    cairo_fill(cr);
    Circle(cr, C, C, halo - 1.5);
    SetColor(cr, Mix(Hex(look.Base), Hex(look.Light), 0.3 + 0.2 * pulse));
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
    Circle(cr, C, C, 12);
    cairo_pattern_t* g = cairo_pattern_create_radial(C - 4, C - 5, 1, C, C, 13);
    TRGB b = Hex(look.Base), l = Hex(look.Light), d = Hex(look.Dark);
    cairo_pattern_add_color_stop_rgb(g, 0, l.R, l.G, l.B);
    cairo_pattern_add_color_stop_rgb(g, 0.5, b.R, b.G, b.B);
    cairo_pattern_add_color_stop_rgb(g, 1, d.R, d.G, d.B);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_save(cr);
    cairo_translate(cr, C + 0.8, C + 0.8);
    Emblem(cr, kind);
    SetColor(cr, Hex(look.Dark));
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_translate(cr, C, C);
    Emblem(cr, kind);
    SetColor(cr, Hex(0xFFFFFF));
    cairo_fill(cr);
    cairo_restore(cr);
    // The spark circles the halo a quarter turn per pattern.
    double a = -M_PI / 2 + frame * M_PI / 2 + M_PI / 4;
    Circle(cr, C + std::cos(a) * 14, C + std::sin(a) * 14, 2.6);
    SetColor(cr, Hex(0xFFFFFF));
    cairo_fill(cr);
    Circle(cr, C + std::cos(a - 0.45) * 14, C + std::sin(a - 0.45) * 14, 1.5);
    SetColor(cr, Hex(look.Light));
    cairo_fill(cr);
}

}  // namespace

TPictureItemData BuildBonus(int kind) {
    const TBonusLook& look = Look(kind);
    return MakeFramedItem(look.Name, BonusSize, BonusSize, 5, [&](cairo_t* cr, int k) {
        const int frame = k % 4;  // pattern 4 repeats pattern 0
        if (look.Label) {
            static const double squeeze[4] = {1.0, 0.72, 0.34, 0.72};
            DrawCoin(cr, look, squeeze[frame], frame);
        } else {
            DrawOrb(cr, kind, look, frame);
        }
    });
}

}  // namespace quillon::assetgen
