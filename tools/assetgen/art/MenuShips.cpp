// Ship-selection art of collection 1: the five ships large in the hangar view
// (28..32) and the lit rating-bar cell (54).
#include <cmath>
#include <string>

#include "art/MenuArt.h"
#include "art/RaceArt.h"

namespace quillon::assetgen::menuart {

namespace {

constexpr TColor kPool{0.35, 0.65, 1.0};

const char* const kNumerals[5] = {"I", "II", "III", "IV", "V"};

// The race pictures' sizes, and each ship's own colour for its light and badge.
struct TShipView {
    double Width, Height;
    TColor Accent;
};
constexpr TShipView kShips[5] = {
    {64, 73, {0.85, 0.22, 0.17}}, {64, 73, {0.21, 0.78, 0.94}}, {70, 67, {0.55, 0.75, 0.35}},
    {76, 70, {0.89, 0.48, 0.13}}, {73, 68, {0.69, 0.44, 0.94}},
};

// The ships are drawn by the race art's own model, larger, so both screens show the same craft.
TDIBImage DrawShipPicture(int index, const TDIBImage& backdrop) {
    const int w = 289, h = 150;
    const TShipView& view = kShips[index];
    const double scale = 1.85;
    const double sw = view.Width * scale, sh = view.Height * scale;
    const double left = (w - sw) / 2.0, top = (h - sh) / 2.0 - 3;

    // The ship alone first, to cast its light.
    TCairoCanvas ship(w, h);
    cairo_translate(ship.Cr, left, top);
    cairo_scale(ship.Cr, scale, scale);
    DrawShipModel(ship.Cr, index + 1);
    cairo_surface_flush(ship.Surface);

    TCairoCanvas canvas(w, h);
    cairo_t* cr = canvas.Cr;
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
    // A soft light in the ship's colour round its outline.
    for (int ring = 3; ring >= 1; --ring)
        for (int k = 0; k < 12; ++k) {
            double a = k * M_PI / 6, r = ring * 2.5;
            SetColor(cr, view.Accent, 0.05);
            cairo_mask_surface(cr, ship.Surface, r * std::cos(a), r * std::sin(a));
        }
    cairo_set_source_surface(cr, ship.Surface, 0, 0);
    cairo_paint(cr);
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
    SetColor(cr, view.Accent);
    cairo_stroke(cr);
    PaintLabel(cr, kNumerals[index], bx, by, 16, true, kWhite, view.Accent, 0, 0);
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
    for (int i = 0; i < 5; ++i)
        items[28 + i] = KeyedItem("ShipView" + std::to_string(i + 1), DrawShipPicture(i, scenes.ShipPanel));
    items[54] = KeyedItem("RatingBar", DrawRatingCell(scenes.ShipPanel));
}

}  // namespace quillon::assetgen::menuart
