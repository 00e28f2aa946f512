// The five ships (straight and banking pictures) and their exhaust flames. A ship is a
// set of flat parts at different heights; banking turns them about the long axis and
// lights them from above, so the lowered wing darkens and the canopy slides over.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "art/RaceArt.h"
#include "art/RaceKit.h"

namespace quillon::assetgen {

namespace {

enum class TPartKind { Plate, Canopy, Glow };

struct TPart {
    TPartKind Kind = TPartKind::Plate;
    std::vector<std::pair<double, double>> Points;  // right half (x >= 0) when Mirror
    double Z = 0;       // height above the wing plane
    uint32_t Colour = 0;
    double Slope = 0;   // sideways tilt of the surface: 0 flat, 1 steep, outward
    bool Mirror = true;
    double Rx = 0, Ry = 0;  // canopy and glow radii
};

struct TShipModel {
    int Width, Height;
    std::vector<TPart> Parts;
};

TPart Plate(std::vector<std::pair<double, double>> pts, double z, uint32_t colour, double slope, bool mirror = true) {
    TPart p;
    p.Points = std::move(pts);
    p.Z = z;
    p.Colour = colour;
    p.Slope = slope;
    p.Mirror = mirror;
    return p;
}

TPart Canopy(double y, double rx, double ry, double z, uint32_t colour) {
    TPart p;
    p.Kind = TPartKind::Canopy;
    p.Points = {{0, y}};
    p.Rx = rx;
    p.Ry = ry;
    p.Z = z;
    p.Colour = colour;
    p.Mirror = false;
    return p;
}

TPart Glow(double x, double y, double r, uint32_t colour) {
    TPart p;
    p.Kind = TPartKind::Glow;
    p.Points = {{x, y}};
    p.Rx = r;
    p.Z = 3;
    p.Colour = colour;
    p.Mirror = x != 0;
    return p;
}

TShipModel ShipModel(int ship) {
    switch (ship) {
        case 1:  // arrow fighter: white hull, red swept wings, twin engines
            return {64, 73, {
                Plate({{7, -4}, {30, 16}, {31, 25}, {22, 25}, {8, 19}}, 2, 0xD8392C, 0.15),
                Plate({{16, 8}, {28, 19}, {28, 22}, {15, 12}}, 2.3, 0xF2F2F6, 0.15),
                Plate({{5, -20}, {15, -11}, {15, -7}, {6, -11}}, 3, 0xC4302A, 0.2),
                Plate({{8, 9}, {15, 9}, {16, 33}, {8, 33}}, 4, 0x4C5364, 0.6),
                Plate({{0, -35}, {5, -26}, {8, -8}, {9, 14}, {7, 31}, {0, 31}}, 6, 0xE6EAF2, 0.5),
                Plate({{0, 12}, {4, 12}, {4, 28}, {0, 28}}, 6.5, 0xC4302A, 0.3),
                Plate({{1.2, -29}, {2.6, -24}, {3.4, -2}, {1.8, -2}}, 6.6, 0xFFFFFF, 0.5),
                Glow(11.5, 34, 3.2, 0x58D8FF),
                Canopy(-13, 4, 8.5, 8, 0x2E7BD6),
            }};
        case 2:  // needle interceptor: silver body, blue forward-swept wings
            return {64, 73, {
                Plate({{6, 2}, {27, -3}, {31, 1}, {30, 8}, {7, 22}}, 2, 0x2A5FD4, 0.15),
                Plate({{26, -14}, {30, -14}, {30, 7}, {26, 7}}, 3, 0x3A404E, 0.4),
                Plate({{6, 24}, {17, 30}, {17, 35}, {6, 32}}, 2, 0x2A5FD4, 0.15),
                Plate({{0, -36}, {4, -24}, {6, 0}, {7, 22}, {5, 34}, {0, 34}}, 6, 0xC8D2E2, 0.5),
                Plate({{1.5, -22}, {3.5, -22}, {4.5, 12}, {2.5, 12}}, 6.5, 0x36C8F0, 0.3),
                Plate({{0.8, -31}, {2, -25}, {2.6, -2}, {1.2, -2}}, 6.6, 0xFFFFFF, 0.5),
                Glow(0, 35, 4.2, 0x7AE2FF),
                Canopy(-11, 3.5, 9, 8, 0x1F3F8F),
            }};
        case 3:  // heavy gunship: olive armour, broad wings with gun pods
            return {70, 67, {
                Plate({{9, -6}, {29, -2}, {33, 6}, {33, 18}, {10, 21}}, 2, 0x3E6A2A, 0.1),
                Plate({{12, 0}, {22, 2}, {22, 12}, {12, 14}}, 2.4, 0x8CBF58, 0.1),
                Plate({{24, -15}, {30, -15}, {31, 23}, {23, 23}}, 4, 0x8A9099, 0.6),
                Plate({{26, -22}, {28, -22}, {28, -15}, {26, -15}}, 4, 0x4A4F58, 0.3),
                Plate({{0, -32}, {7, -26}, {10, -10}, {11, 16}, {9, 30}, {0, 30}}, 6, 0x5F8E3B, 0.5),
                Plate({{0, -4}, {6, -4}, {7, 8}, {0, 8}}, 6.5, 0x2F4A1F, 0.3),
                Plate({{2, -26}, {4.5, -22}, {5.5, -8}, {3, -8}}, 6.6, 0xB8E890, 0.5),
                Glow(27, 24, 3, 0xB6FF7A),
                Glow(5, 31, 3, 0x9CFF6A),
                Canopy(-16, 5, 7, 8, 0xD99A2B),
            }};
        case 4:  // wide delta: orange wings round a dark armoured body
            return {76, 70, {
                Plate({{0, -34}, {8, -18}, {37, 22}, {36, 28}, {0, 28}}, 2, 0xE27A20, 0.12),
                Plate({{20, 8}, {35, 22}, {34, 25}, {18, 12}}, 2.4, 0x2B2D36, 0.12),
                Plate({{9, 16}, {17, 16}, {17, 33}, {9, 33}}, 4, 0x6A7080, 0.6),
                Plate({{0, -30}, {6, -16}, {9, 10}, {8, 30}, {0, 30}}, 5, 0x464B5A, 0.5),
                Plate({{0, 14}, {3, 14}, {3, 27}, {0, 27}}, 5.5, 0xE27A20, 0.3),
                Plate({{3, -17}, {8, 8}, {10, 8}, {5, -17}}, 2.6, 0xFFB060, 0.12),
                Glow(13, 34, 3.4, 0xFFC46A),
                Canopy(-11, 4.5, 8, 8, 0x3FB5E8),
            }};
        default:  // twin hulls: violet hulls joined by a golden bridge
            return {73, 68, {
                Plate({{22, 3}, {35, 17}, {35, 26}, {22, 24}}, 2, 0x4E2585, 0.15),
                Plate({{0, -20}, {6, -12}, {12, -4}, {12, 14}, {6, 22}, {0, 22}}, 4, 0xD8A232, 0.4),
                Plate({{16, -33}, {21, -24}, {23, 0}, {22, 30}, {13, 30}, {11, 0}, {12, -24}}, 5, 0x7B40C4, 0.5),
                Plate({{15.5, -20}, {18, -20}, {19, 12}, {16.5, 12}}, 5.5, 0xE8C050, 0.3),
                Plate({{17, -29}, {19, -24}, {20.5, -4}, {18.5, -4}}, 5.7, 0xC8A0FF, 0.5),
                Glow(17.5, 31, 4, 0xD9A0FF),
                Canopy(0, 5, 7, 7, 0x42E0C8),
            }};
    }
}

// Banks the model by `roll` radians (positive = left wing down) and draws it centred.
void DrawShip(cairo_t* cr, const TShipModel& m, double roll) {
    cairo_translate(cr, m.Width / 2.0, m.Height / 2.0);
    const double c = std::cos(roll), s = std::sin(roll);
    const double lightX = -0.35, lightZ = 0.94;
    auto project = [&](double x, double z) { return x * c - z * s; };

    struct TDrawn {
        const TPart* Part;
        int Side;  // -1 mirrored copy, +1 as given
        double Depth;
    };
    std::vector<TDrawn> order;
    for (const TPart& p : m.Parts) {
        order.push_back({&p, +1, 0});
        if (p.Mirror) order.push_back({&p, -1, 0});
    }
    for (TDrawn& d : order) {
        double x = d.Part->Points[0].first * d.Side;
        d.Depth = d.Part->Z * c + x * s * 0.05;  // lower wing drawn first
    }
    std::stable_sort(order.begin(), order.end(), [](const TDrawn& a, const TDrawn& b) { return a.Depth < b.Depth; });

    for (const TDrawn& d : order) {
        const TPart& p = *d.Part;
        const TRGB base = Hex(p.Colour);
        if (p.Kind == TPartKind::Glow) {
            double gx = project(p.Points[0].first * d.Side, p.Z), gy = p.Points[0].second;
            cairo_pattern_t* g = cairo_pattern_create_radial(gx, gy, 0, gx, gy, p.Rx);
            cairo_pattern_add_color_stop_rgb(g, 0, 1, 1, 1);
            cairo_pattern_add_color_stop_rgb(g, 0.45, base.R, base.G, base.B);
            cairo_pattern_add_color_stop_rgba(g, 1, base.R, base.G, base.B, 0.55);
            cairo_set_source(cr, g);
            cairo_arc(cr, gx, gy, p.Rx, 0, 2 * M_PI);
            cairo_fill(cr);
            cairo_pattern_destroy(g);
            continue;
        }
        if (p.Kind == TPartKind::Canopy) {
            double cx = project(0, p.Z), cy = p.Points[0].second;
            double rx = p.Rx * (0.8 + 0.2 * c);
            cairo_save(cr);
            cairo_translate(cr, cx, cy);
            cairo_scale(cr, rx, p.Ry);
            cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
            cairo_restore(cr);
            cairo_pattern_t* g = cairo_pattern_create_radial(cx - rx * 0.4 - s * 2, cy - p.Ry * 0.45, 0.5, cx, cy, p.Ry * 1.1);
            const TRGB glass = base;
            cairo_pattern_add_color_stop_rgb(g, 0, 0.95, 0.98, 1.0);
            cairo_pattern_add_color_stop_rgb(g, 0.25, glass.R, glass.G, glass.B);
            TRGB deep = Scale(glass, 0.35);
            cairo_pattern_add_color_stop_rgb(g, 1, deep.R, deep.G, deep.B);
            cairo_set_source(cr, g);
            cairo_fill_preserve(cr);
            cairo_pattern_destroy(g);
            SetColor(cr, Hex(0x1A1C24));
            cairo_set_line_width(cr, 1.0);
            cairo_stroke(cr);
            continue;
        }
        // A plate: outward-tilted surfaces catch more light on the raised side.
        double nx = p.Slope * d.Side, nz = 1.0;
        double len = std::sqrt(nx * nx + nz * nz);
        nx /= len;
        nz /= len;
        double rnx = nx * c - nz * s, rnz = nx * s + nz * c;
        double lit = 0.5 + 0.62 * std::max(0.0, rnx * lightX + rnz * lightZ);
        double minY = 1e9, maxY = -1e9;
        bool first = true;
        for (const auto& [px, py] : p.Points) {
            double x = project(px * d.Side, p.Z);
            if (first) cairo_move_to(cr, x, py); else cairo_line_to(cr, x, py);
            first = false;
            minY = std::min(minY, py);
            maxY = std::max(maxY, py);
        }
        cairo_close_path(cr);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, minY, 0, maxY);
        TRGB top = Scale(base, lit * 1.18), bottom = Scale(base, lit * 0.78);
        cairo_pattern_add_color_stop_rgb(g, 0, top.R, top.G, top.B);
        cairo_pattern_add_color_stop_rgb(g, 1, bottom.R, bottom.G, bottom.B);
        cairo_set_source(cr, g);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(g);
        SetColor(cr, Scale(base, 0.3));
        cairo_set_line_width(cr, 0.9);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
    }
}

const char* ShipName(int ship) {
    static const char* names[5] = {"Ship1", "Ship2", "Ship3", "Ship4", "Ship5"};
    return names[ship - 1];
}

}  // namespace

TPictureItemData BuildShip(int ship) {
    const TShipModel m = ShipModel(ship);
    return MakeSpriteItem(ShipName(ship), m.Width, m.Height, [&](cairo_t* cr) { DrawShip(cr, m, 0); });
}

void DrawShipModel(cairo_t* cr, int ship) {
    cairo_save(cr);
    DrawShip(cr, ShipModel(ship), 0);
    cairo_restore(cr);
}

TPictureItemData BuildShipTilt(int ship, int side) {
    const TShipModel m = ShipModel(ship);
    std::string name = std::string(ShipName(ship)) + (side < 0 ? "Left" : "Right");
    return MakeFramedItem(name, m.Width, m.Height, 6, [&](cairo_t* cr, int k) {
        double bank = (6 - k) / 6.0 * 42.0 * M_PI / 180.0;  // pattern 0 = full bank
        DrawShip(cr, m, side < 0 ? bank : -bank);
    });
}

TPictureItemData BuildFlame(bool nitro) {
    return MakeFramedItem(nitro ? "FlameNitro" : "Flame", 18, 34, 3, [&](cairo_t* cr, int k) {
        const int phase = k % 2;  // pattern 2 repeats pattern 0
        const double length = nitro ? (phase ? 33.5 : 31.0) : (phase ? 27.0 : 31.0);
        const double width = nitro ? 8.6 : 7.2;
        auto tongue = [&](double w, double l, double sway) {
            cairo_move_to(cr, 9 - w, 0);
            cairo_curve_to(cr, 9 - w, l * 0.45, 9 + sway - w * 0.3, l * 0.8, 9 + sway, l);
            cairo_curve_to(cr, 9 + sway + w * 0.3, l * 0.8, 9 + w, l * 0.45, 9 + w, 0);
            cairo_close_path(cr);
        };
        const uint32_t outer = nitro ? 0xE8401C : 0x2F62FF, mid = nitro ? 0xFFB02A : 0x4FD2FF,
                       core = nitro ? 0xFFF6C8 : 0xE8FBFF;
        double sway = phase ? -1.0 : 1.0;
        SetColor(cr, Hex(outer));
        tongue(width, length, sway);
        cairo_fill(cr);
        SetColor(cr, Hex(mid));
        tongue(width * 0.62, length * 0.72, sway * 0.6);
        cairo_fill(cr);
        SetColor(cr, Hex(core));
        tongue(width * 0.3, length * 0.42, sway * 0.3);
        cairo_fill(cr);
    });
}

}  // namespace quillon::assetgen
