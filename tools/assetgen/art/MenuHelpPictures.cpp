// Help-screen pictures of collection 1: the emblem of the about page (50) and the
// legend of page 2 (55..62), which shows the race's own bonus and asteroid pictures.
#include <algorithm>
#include <cmath>

#include "art/MenuArt.h"
#include "art/RaceArt.h"

namespace quillon::assetgen::menuart {

namespace {

TDIBImage DrawEmblem(const TDIBImage& backdrop) {
    const int s = 96;
    TCairoCanvas canvas(s, s);
    cairo_t* cr = canvas.Cr;
    const double c = s / 2.0;
    auto hexagon = [&](double r) {
        cairo_new_path(cr);
        for (int k = 0; k < 6; ++k) {
            double ang = -M_PI / 2 + k * M_PI / 3;
            cairo_line_to(cr, c + r * std::cos(ang), c + r * std::sin(ang));
        }
        cairo_close_path(cr);
    };
    hexagon(44);
    GlowStroke(cr, kFrame, 4, 0.6, 4);
    SetVerticalGradient(cr, 4, s - 4, TColor{0.08, 0.16, 0.36}, TColor{0.01, 0.03, 0.09});
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 2.5);
    SetColor(cr, kCyan);
    cairo_stroke(cr);
    hexagon(38);
    cairo_set_line_width(cr, 1);
    SetColor(cr, kFrame, 0.8);
    cairo_stroke(cr);

    // An orbit crossing behind and in front of a ship climbing through it.
    cairo_save(cr);
    cairo_translate(cr, c, c + 4);
    cairo_rotate(cr, -0.35);
    cairo_scale(cr, 1.0, 0.34);
    cairo_arc(cr, 0, 0, 34, M_PI, 2 * M_PI);
    cairo_restore(cr);
    cairo_set_line_width(cr, 2);
    SetColor(cr, kFrame, 0.9);
    cairo_stroke(cr);

    cairo_save(cr);
    cairo_translate(cr, c, c);
    cairo_move_to(cr, 0, -30);
    cairo_line_to(cr, 6, -12);
    cairo_line_to(cr, 22, 14);
    cairo_line_to(cr, 20, 20);
    cairo_line_to(cr, 6, 14);
    cairo_line_to(cr, 4, 22);
    cairo_line_to(cr, -4, 22);
    cairo_line_to(cr, -6, 14);
    cairo_line_to(cr, -20, 20);
    cairo_line_to(cr, -22, 14);
    cairo_line_to(cr, -6, -12);
    cairo_close_path(cr);
    GlowStroke(cr, kCyan, 3, 0.45, 3);
    cairo_pattern_t* hull = cairo_pattern_create_linear(-14, 0, 14, 0);
    cairo_pattern_add_color_stop_rgb(hull, 0, 0.45, 0.55, 0.72);
    cairo_pattern_add_color_stop_rgb(hull, 0.5, 0.95, 0.98, 1.0);
    cairo_pattern_add_color_stop_rgb(hull, 1, 0.40, 0.48, 0.64);
    cairo_set_source(cr, hull);
    cairo_fill(cr);
    cairo_pattern_destroy(hull);
    cairo_move_to(cr, 0, -18);
    cairo_line_to(cr, 3, -6);
    cairo_line_to(cr, -3, -6);
    cairo_close_path(cr);
    SetColor(cr, kFrame);
    cairo_fill(cr);
    // Engine light.
    cairo_pattern_t* flame = cairo_pattern_create_radial(0, 24, 0.5, 0, 26, 9);
    cairo_pattern_add_color_stop_rgba(flame, 0, 1, 1, 1, 1);
    cairo_pattern_add_color_stop_rgba(flame, 0.4, kCyan.R, kCyan.G, kCyan.B, 0.8);
    cairo_pattern_add_color_stop_rgba(flame, 1, kFrame.R, kFrame.G, kFrame.B, 0);
    cairo_set_source(cr, flame);
    cairo_arc(cr, 0, 26, 9, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(flame);
    cairo_restore(cr);

    // The front half of the orbit.
    cairo_save(cr);
    cairo_translate(cr, c, c + 4);
    cairo_rotate(cr, -0.35);
    cairo_scale(cr, 1.0, 0.34);
    cairo_arc(cr, 0, 0, 34, 0, M_PI);
    cairo_restore(cr);
    cairo_set_line_width(cr, 2.5);
    SetColor(cr, kCyan);
    cairo_stroke(cr);
    return CanvasOverBackdrop(canvas, backdrop, 50, 320);
}

uint32_t KeyOf(const TPictureItemData& item) {
    // The item stores its key as 0x00BBGGRR; pictures hold 0x00RRGGBB.
    uint32_t k = item.TransparentColor;
    return (k & 0xFF) << 16 | (k & 0xFF00) | (k >> 16 & 0xFF);
}

// Pattern 0 of a race item, set on the panel and scaled down if it is larger than the room.
TDIBImage LegendPicture(const TPictureItemData& source, int maxW, int maxH, const TDIBImage& backdrop, int atX,
                        int atY, bool centred) {
    const int pw = source.PatternWidth > 0 ? source.PatternWidth : source.Picture.Width;
    const int ph = source.PatternHeight > 0 ? source.PatternHeight : source.Picture.Height;
    TDIBImage pattern = Crop(source.Picture, 0, 0, pw, ph);
    const double scale = std::min({1.0, static_cast<double>(maxW) / pw, static_cast<double>(maxH) / ph});
    const int w = std::max(1, static_cast<int>(std::lround(pw * scale)));
    const int h = std::max(1, static_cast<int>(std::lround(ph * scale)));
    if (centred) {
        atX -= w / 2;
        atY -= h / 2;
    }
    TCairoCanvas canvas(w, h);
    PaintPicture(canvas.Cr, pattern, KeyOf(source), 0, 0, scale);
    return CanvasOverBackdrop(canvas, backdrop, atX, atY, 128);
}

}  // namespace

void AddHelpPictures(TItems& items, const TMenuScenes& scenes) {
    items[50] = KeyedItem("HelpEmblem", DrawEmblem(scenes.SidePanel));

    // The race's own pictures: pattern 0 of a bonus (kinds 1..8) or of an asteroid.
    struct TLegend {
        int Item;
        TPictureItemData Source;
        int X, Y, MaxW, MaxH;
        bool Centred;
    };
    // Positions are where the help screen puts them; the room is what their labels leave.
    const TLegend legend[] = {
        {55, BuildBonus(3), 17, 259, 46, 36, false},       {56, BuildBonus(8), 17, 308, 46, 38, false},
        {57, BuildBonus(4), 13, 353, 50, 46, false},       {58, BuildBonus(5), 12, 402, 50, 48, false},
        {59, BuildBonus(6), 253, 255, 54, 44, false},      {60, BuildBonus(7), 253, 305, 54, 44, false},
        {61, BuildAsteroid(false), 275, 375, 68, 48, true}, {62, BuildAsteroid(true), 275, 425, 68, 48, true},
    };
    for (const TLegend& l : legend)
        items[l.Item] = KeyedItem("Legend" + std::to_string(l.Item),
                                  LegendPicture(l.Source, l.MaxW, l.MaxH, scenes.SidePanel, l.X, l.Y, l.Centred));
}

}  // namespace quillon::assetgen::menuart
