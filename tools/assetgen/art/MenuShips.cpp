// Ship-selection art of collection 1: the five ships large in the hangar view
// (28..32) and the lit rating-bar cell (54).
#include <cmath>
#include <string>
#include <vector>

#include "art/MenuArt.h"

namespace quillon::assetgen::menuart {

namespace {

constexpr TColor kPool{0.35, 0.65, 1.0};

struct TPt {
    double X, Y;  // in the ship's own box, 0..1 across its width and height; X from the centre line
};

struct TShipLook {
    double Width, Height;          // the race picture's size: the large view keeps its proportions
    std::vector<TPt> Hull;         // right half, nose first, back to the centre line
    std::vector<TPt> Wing;         // right wing, drawn under the hull
    TColor Accent;
    double CockpitY, CockpitLen;   // cockpit centre and length, fractions of the height
    std::vector<double> Engines;   // engine centres across, fractions of the width from the centre line
    double EngineY;                // the rear edge
};

// The five ships: 1 interceptor, 2 dart, 3 manta, 4 twin-boom hauler, 5 ring-wing.
std::vector<TShipLook> Looks() {
    return {
        {64, 73, {{0, 0}, {0.08, 0.18}, {0.13, 0.45}, {0.15, 0.80}, {0.10, 0.96}, {0, 0.96}},
         {{0.10, 0.38}, {0.48, 0.72}, {0.48, 0.86}, {0.12, 0.82}}, TColor{0.25, 0.65, 1.0}, 0.30, 0.22, {0.06}, 0.97},
        {64, 73, {{0, 0}, {0.05, 0.12}, {0.09, 0.50}, {0.14, 0.90}, {0.08, 1.0}, {0, 1.0}},
         {{0.08, 0.55}, {0.46, 0.80}, {0.42, 0.92}, {0.10, 0.86}}, TColor{1.0, 0.38, 0.18}, 0.33, 0.20, {0.0}, 0.98},
        {70, 67, {{0, 0.02}, {0.10, 0.14}, {0.20, 0.50}, {0.22, 0.86}, {0.12, 0.96}, {0, 0.96}},
         {{0.15, 0.30}, {0.49, 0.78}, {0.44, 0.92}, {0.18, 0.88}}, TColor{0.30, 1.0, 0.45}, 0.34, 0.20, {0.10}, 0.96},
        {76, 70, {{0, 0.04}, {0.09, 0.12}, {0.12, 0.40}, {0.12, 0.78}, {0.08, 0.88}, {0, 0.88}},
         {{0.10, 0.40}, {0.49, 0.52}, {0.49, 0.98}, {0.32, 0.98}, {0.28, 0.70}, {0.10, 0.74}}, TColor{1.0, 0.80, 0.20},
         0.28, 0.22, {0.40}, 0.99},
        {73, 68, {{0, 0.0}, {0.10, 0.15}, {0.16, 0.45}, {0.14, 0.78}, {0.07, 0.94}, {0, 0.94}},
         {{0.14, 0.36}, {0.40, 0.42}, {0.49, 0.62}, {0.44, 0.88}, {0.30, 0.82}, {0.14, 0.72}}, TColor{0.78, 0.45, 1.0},
         0.32, 0.22, {0.05, -0.05}, 0.95},
    };
}

void Mirrored(cairo_t* cr, const std::vector<TPt>& half, double w, double h) {
    cairo_new_path(cr);
    for (const TPt& p : half) cairo_line_to(cr, p.X * w, p.Y * h);
    for (auto it = half.rbegin(); it != half.rend(); ++it) cairo_line_to(cr, -it->X * w, it->Y * h);
    cairo_close_path(cr);
}

void Polygon(cairo_t* cr, const std::vector<TPt>& pts, double w, double h, double side) {
    cairo_new_path(cr);
    for (const TPt& p : pts) cairo_line_to(cr, side * p.X * w, p.Y * h);
    cairo_close_path(cr);
}

// Draws a ship nose up, its box centred on x 0 from y 0 to h.
void DrawShip(cairo_t* cr, const TShipLook& s, double w, double h) {
    // Engine flames under everything.
    for (double e : s.Engines)
        for (double side : {-1.0, 1.0}) {
            if (e == 0 && side > 0) continue;
            double ex = side * e * w, ey = s.EngineY * h;
            cairo_pattern_t* flame = cairo_pattern_create_radial(ex, ey, 1, ex, ey + h * 0.06, h * 0.16);
            cairo_pattern_add_color_stop_rgba(flame, 0, 1, 1, 1, 1);
            cairo_pattern_add_color_stop_rgba(flame, 0.3, 0.45, 0.85, 1.0, 0.85);
            cairo_pattern_add_color_stop_rgba(flame, 1, 0.1, 0.3, 1.0, 0);
            cairo_set_source(cr, flame);
            cairo_save(cr);
            cairo_translate(cr, ex, ey);
            cairo_scale(cr, 0.45, 1.0);
            cairo_arc(cr, 0, h * 0.06, h * 0.16, 0, 2 * M_PI);
            cairo_restore(cr);
            cairo_fill(cr);
            cairo_pattern_destroy(flame);
        }
    // Wings.
    for (double side : {-1.0, 1.0}) {
        Polygon(cr, s.Wing, w, h, side);
        // Wings in dark metal washed with the ship's colour, lit from the nose.
        cairo_pattern_t* g = cairo_pattern_create_linear(0, h * 0.3, side * w * 0.5, h * 0.9);
        cairo_pattern_add_color_stop_rgb(g, 0, 0.30 + s.Accent.R * 0.25, 0.34 + s.Accent.G * 0.25,
                                         0.42 + s.Accent.B * 0.25);
        cairo_pattern_add_color_stop_rgb(g, 1, 0.08 + s.Accent.R * 0.12, 0.09 + s.Accent.G * 0.12,
                                         0.13 + s.Accent.B * 0.12);
        cairo_set_source(cr, g);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(g);
        cairo_set_line_width(cr, w * 0.012);
        cairo_set_source_rgb(cr, 0.05, 0.06, 0.10);
        cairo_stroke(cr);
        // Accent stripe along the wing's leading edge.
        const TPt& a = s.Wing[0];
        const TPt& b = s.Wing[1];
        cairo_move_to(cr, side * (a.X + 0.04) * w, (a.Y + 0.06) * h);
        cairo_line_to(cr, side * (b.X - 0.04) * w, (b.Y + 0.04) * h);
        cairo_set_line_width(cr, w * 0.035);
        SetColor(cr, s.Accent);
        cairo_stroke(cr);
        // Wing-tip light.
        cairo_arc(cr, side * (b.X - 0.02) * w, (b.Y + 0.05) * h, w * 0.015, 0, 2 * M_PI);
        SetColor(cr, side < 0 ? kRed : kGreen);
        cairo_fill(cr);
    }
    // Engine nozzles.
    for (double e : s.Engines)
        for (double side : {-1.0, 1.0}) {
            if (e == 0 && side > 0) continue;
            cairo_rectangle(cr, side * e * w - w * 0.05, s.EngineY * h - h * 0.08, w * 0.10, h * 0.08);
            cairo_set_source_rgb(cr, 0.12, 0.13, 0.17);
            cairo_fill(cr);
        }
    // Hull with a rounded metal shading across.
    Mirrored(cr, s.Hull, w, h);
    cairo_pattern_t* hull = cairo_pattern_create_linear(-w * 0.2, 0, w * 0.2, 0);
    cairo_pattern_add_color_stop_rgb(hull, 0, 0.30, 0.34, 0.42);
    cairo_pattern_add_color_stop_rgb(hull, 0.45, 0.86, 0.90, 0.96);
    cairo_pattern_add_color_stop_rgb(hull, 1, 0.36, 0.40, 0.50);
    cairo_set_source(cr, hull);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(hull);
    cairo_set_line_width(cr, w * 0.014);
    cairo_set_source_rgb(cr, 0.05, 0.06, 0.10);
    cairo_stroke(cr);
    // Nose cap and a chevron in the ship's colour.
    cairo_save(cr);
    Mirrored(cr, s.Hull, w, h);
    cairo_clip(cr);
    cairo_rectangle(cr, -w, 0, 2 * w, h * 0.07);
    SetColor(cr, s.Accent);
    cairo_fill(cr);
    cairo_move_to(cr, -w * 0.2, h * 0.62);
    cairo_line_to(cr, 0, h * 0.54);
    cairo_line_to(cr, w * 0.2, h * 0.62);
    cairo_line_to(cr, w * 0.2, h * 0.66);
    cairo_line_to(cr, 0, h * 0.58);
    cairo_line_to(cr, -w * 0.2, h * 0.66);
    cairo_close_path(cr);
    SetColor(cr, s.Accent, 0.85);
    cairo_fill(cr);
    // Shadow where the hull meets the wings.
    cairo_pattern_t* side = cairo_pattern_create_linear(-w * 0.2, 0, w * 0.2, 0);
    cairo_pattern_add_color_stop_rgba(side, 0, 0, 0, 0.05, 0.45);
    cairo_pattern_add_color_stop_rgba(side, 0.3, 0, 0, 0.05, 0);
    cairo_pattern_add_color_stop_rgba(side, 0.7, 0, 0, 0.05, 0);
    cairo_pattern_add_color_stop_rgba(side, 1, 0, 0, 0.05, 0.45);
    cairo_set_source(cr, side);
    cairo_paint(cr);
    cairo_pattern_destroy(side);
    cairo_restore(cr);
    // Spine stripe in the ship's colour.
    cairo_rectangle(cr, -w * 0.018, h * (s.CockpitY + s.CockpitLen * 0.6), w * 0.036, h * 0.32);
    SetColor(cr, s.Accent, 0.9);
    cairo_fill(cr);
    // Panel lines.
    cairo_set_line_width(cr, w * 0.008);
    cairo_set_source_rgba(cr, 0.1, 0.12, 0.2, 0.6);
    for (double y : {0.55, 0.70}) {
        cairo_move_to(cr, -w * 0.10, h * y);
        cairo_line_to(cr, w * 0.10, h * y);
    }
    cairo_stroke(cr);
    // Cockpit canopy.
    cairo_save(cr);
    cairo_translate(cr, 0, s.CockpitY * h);
    cairo_scale(cr, w * 0.055, s.CockpitLen * h * 0.5);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_pattern_t* glass = cairo_pattern_create_linear(0, (s.CockpitY - s.CockpitLen / 2) * h, 0,
                                                         (s.CockpitY + s.CockpitLen / 2) * h);
    cairo_pattern_add_color_stop_rgb(glass, 0, 0.75, 0.97, 1.0);
    cairo_pattern_add_color_stop_rgb(glass, 0.5, 0.15, 0.55, 0.85);
    cairo_pattern_add_color_stop_rgb(glass, 1, 0.03, 0.12, 0.30);
    cairo_set_source(cr, glass);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(glass);
    cairo_set_line_width(cr, w * 0.010);
    cairo_set_source_rgb(cr, 0.05, 0.06, 0.10);
    cairo_stroke(cr);
}

const char* const kNumerals[5] = {"I", "II", "III", "IV", "V"};

TDIBImage DrawShipPicture(int index, const TShipLook& look, const TDIBImage& backdrop) {
    const int w = 289, h = 150;
    TCairoCanvas canvas(w, h);
    cairo_t* cr = canvas.Cr;
    const double scale = std::min(136.0 / look.Height, 150.0 / look.Width);
    const double sw = look.Width * scale, sh = look.Height * scale;
    // A pool of light under the ship on the hangar floor.
    cairo_save(cr);
    cairo_translate(cr, w / 2.0, h - 16);
    cairo_scale(cr, 1.0, 0.22);
    cairo_pattern_t* pool = cairo_pattern_create_radial(0, 0, 4, 0, 0, 100);
    cairo_pattern_add_color_stop_rgba(pool, 0, kPool.R, kPool.G, kPool.B, 0.55);
    cairo_pattern_add_color_stop_rgba(pool, 1, 0.1, 0.3, 0.8, 0);
    cairo_set_source(cr, pool);
    cairo_arc(cr, 0, 0, 100, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(pool);
    cairo_restore(cr);
    // The ship, with a faint light in its own colour around it.
    cairo_save(cr);
    cairo_translate(cr, w / 2.0, (h - sh) / 2.0 - 2);
    Mirrored(cr, look.Hull, sw, sh);
    GlowStroke(cr, look.Accent, 9, 0.25, 5);
    cairo_new_path(cr);
    DrawShip(cr, look, sw, sh);
    cairo_restore(cr);
    // Class badge in the corner.
    const double bx = 26, by = 24;
    cairo_new_path(cr);
    for (int k = 0; k < 6; ++k) {
        double ang = k * M_PI / 3;
        cairo_line_to(cr, bx + 18 * std::cos(ang), by + 18 * std::sin(ang));
    }
    cairo_close_path(cr);
    SetColor(cr, kInk, 0.9);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 2);
    SetColor(cr, look.Accent);
    cairo_stroke(cr);
    PaintLabel(cr, kNumerals[index], bx, by, 16, true, kWhite, look.Accent, 0, 0);
    return CanvasOverBackdrop(canvas, backdrop, 88, 238);
}

TDIBImage DrawRatingCell(const TDIBImage& backdrop) {
    // Lights one of the panel's empty cells at (248, 391) exactly.
    TCairoCanvas canvas(21, 17);
    cairo_t* cr = canvas.Cr;
    ChamferPath(cr, 0.5, 0.5, 20, 16, 0, 4, 0, 4);
    SetVerticalGradient(cr, 0, 17, TColor{0.75, 1.0, 0.55}, TColor{0.20, 0.70, 0.05});
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    SetColor(cr, TColor{0.10, 0.35, 0.05});
    cairo_stroke(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.45);
    cairo_rectangle(cr, 2, 2, 14, 3);
    cairo_fill(cr);
    return CanvasOverBackdrop(canvas, backdrop, 248, 391, 128);
}

}  // namespace

void AddShipPictures(TItems& items, const TMenuScenes& scenes) {
    std::vector<TShipLook> looks = Looks();
    for (int i = 0; i < 5; ++i)
        items[28 + i] = KeyedItem("ShipView" + std::to_string(i + 1), DrawShipPicture(i, looks[i], scenes.ShipPanel));
    items[54] = KeyedItem("RatingBar", DrawRatingCell(scenes.ShipPanel));
}

}  // namespace quillon::assetgen::menuart
