// Options pieces of collection 1: the invisible hot-zone look (0), the screen-mode,
// music and sound indicators (14..19), the two value fields (20, 21) and the text cursor (22).
#include <cmath>

#include "art/LabelLog.h"
#include "art/MenuArt.h"

namespace quillon::assetgen::menuart {

namespace {

enum class TGlyph { Window, FullScreen, Lamp };

// An indicator: a dark inset capsule with a lamp or a screen glyph and a word.
TDIBImage DrawIndicator(int w, const std::string& word, TGlyph glyph, bool on, const TDIBImage& backdrop, int atX,
                        int atY) {
    const int h = 32;
    TCairoCanvas canvas(w, h);
    cairo_t* cr = canvas.Cr;
    RoundedPath(cr, 1.5, 3.5, w - 3, h - 7, 6);
    SetVerticalGradient(cr, 3, h - 3, TColor{0.01, 0.02, 0.05}, TColor{0.04, 0.07, 0.15}, 0.95);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.5);
    SetColor(cr, on ? kFrame : kFrameDim);
    cairo_stroke(cr);

    const double gx = 18, gy = h / 2.0;
    if (glyph == TGlyph::Lamp) {
        cairo_arc(cr, gx, gy, 6, 0, 2 * M_PI);
        if (on) GlowStroke(cr, kGreen, 6, 0.5, 4);
        cairo_pattern_t* lamp = cairo_pattern_create_radial(gx - 2, gy - 2, 0.5, gx, gy, 6);
        if (on) {
            cairo_pattern_add_color_stop_rgb(lamp, 0, 0.9, 1.0, 0.8);
            cairo_pattern_add_color_stop_rgb(lamp, 1, 0.2, 0.7, 0.0);
        } else {
            cairo_pattern_add_color_stop_rgb(lamp, 0, 0.55, 0.15, 0.12);
            cairo_pattern_add_color_stop_rgb(lamp, 1, 0.22, 0.04, 0.04);
        }
        cairo_set_source(cr, lamp);
        cairo_fill(cr);
        cairo_pattern_destroy(lamp);
    } else {
        // A little screen: a framed window, or one filled edge to edge.
        const double sw = 20, sh = 14, sx = gx - sw / 2 + 2, sy = gy - sh / 2;
        cairo_rectangle(cr, sx, sy, sw, sh);
        cairo_set_line_width(cr, 1.5);
        SetColor(cr, kCyan);
        cairo_stroke(cr);
        if (glyph == TGlyph::Window) {
            SetColor(cr, kCyan, 0.9);
            cairo_rectangle(cr, sx, sy, sw, 3);
            cairo_fill(cr);
            SetColor(cr, kFrame, 0.5);
            cairo_rectangle(cr, sx + 3, sy + 5, sw - 6, sh - 7);
            cairo_fill(cr);
        } else {
            SetVerticalGradient(cr, sy, sy + sh, kCyan, kFrame, 0.9);
            cairo_rectangle(cr, sx + 1.5, sy + 1.5, sw - 3, sh - 3);
            cairo_fill(cr);
        }
    }
    const double textLeft = 36;
    const double size = FitLabelSize(cr, word, w - textLeft - 8, 16, true, 1);
    const TTextSize ts = MeasureLabel(cr, word, size, true, 1);
    TColor top = on || glyph != TGlyph::Lamp ? kWhite : TColor{0.62, 0.66, 0.74};
    TColor bottom = on || glyph != TGlyph::Lamp ? kSteel : TColor{0.42, 0.46, 0.55};
    const TLabelBox box(cr, textLeft - 2, 5, w - 6, h - 5);  // inside the capsule, right of the glyph
    PaintLabel(cr, word, textLeft + ts.Width / 2, h / 2.0, size, true, top, bottom, 0, 1);
    return CanvasOverBackdrop(canvas, backdrop, atX, atY);
}

// A value field: an inset slot with bracketed ends, behind a centred text.
TDIBImage DrawField(int w, int h, const TDIBImage& backdrop, int atX, int atY) {
    TCairoCanvas canvas(w, h);
    cairo_t* cr = canvas.Cr;
    ChamferPath(cr, 1.5, 1.5, w - 3, h - 3, 8, 8, 8, 8);
    SetVerticalGradient(cr, 0, h, TColor{0.005, 0.012, 0.035}, TColor{0.03, 0.06, 0.13}, 0.96);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.5);
    SetColor(cr, kFrameDim);
    cairo_stroke(cr);
    // Inner shadow along the top.
    cairo_pattern_t* shade = cairo_pattern_create_linear(0, 2, 0, 10);
    cairo_pattern_add_color_stop_rgba(shade, 0, 0, 0, 0, 0.6);
    cairo_pattern_add_color_stop_rgba(shade, 1, 0, 0, 0, 0);
    cairo_set_source(cr, shade);
    cairo_rectangle(cr, 8, 3, w - 16, 8);
    cairo_fill(cr);
    cairo_pattern_destroy(shade);
    // Bright end brackets.
    cairo_set_line_width(cr, 2.5);
    SetColor(cr, kCyan, 0.95);
    cairo_move_to(cr, 14, 1.5);
    cairo_line_to(cr, 8, 1.5);
    cairo_line_to(cr, 1.5, 8);
    cairo_line_to(cr, 1.5, h - 8);
    cairo_line_to(cr, 8, h - 1.5);
    cairo_line_to(cr, 14, h - 1.5);
    cairo_move_to(cr, w - 14, 1.5);
    cairo_line_to(cr, w - 8, 1.5);
    cairo_line_to(cr, w - 1.5, 8);
    cairo_line_to(cr, w - 1.5, h - 8);
    cairo_line_to(cr, w - 8, h - 1.5);
    cairo_line_to(cr, w - 14, h - 1.5);
    cairo_stroke(cr);
    // Bottom light bar under the text.
    cairo_pattern_t* bar = cairo_pattern_create_linear(20, 0, w - 20, 0);
    cairo_pattern_add_color_stop_rgba(bar, 0, kFrame.R, kFrame.G, kFrame.B, 0);
    cairo_pattern_add_color_stop_rgba(bar, 0.5, kFrame.R, kFrame.G, kFrame.B, 0.7);
    cairo_pattern_add_color_stop_rgba(bar, 1, kFrame.R, kFrame.G, kFrame.B, 0);
    cairo_set_source(cr, bar);
    cairo_rectangle(cr, 20, h - 6, w - 40, 1);
    cairo_fill(cr);
    cairo_pattern_destroy(bar);
    return CanvasOverBackdrop(canvas, backdrop, atX, atY);
}

TDIBImage DrawCursor() {
    // Stands beside text of the dialog blue; brighter than the text so it is found at once.
    TCairoCanvas canvas(4, 24);
    cairo_t* cr = canvas.Cr;
    SetColor(cr, kFrame);
    cairo_rectangle(cr, 0, 1, 4, 22);
    cairo_fill(cr);
    SetColor(cr, kCyan);
    cairo_rectangle(cr, 1, 2, 2, 20);
    cairo_fill(cr);
    return CanvasToPicture(canvas, kKeyRGB);
}

}  // namespace

void AddOptionsPieces(TItems& items, const TMenuScenes& scenes) {
    items[0] = PlaceholderItem("HotZone");
    const TDIBImage& panel = scenes.SidePanel;
    const TArtWords& words = *scenes.Words;
    items[14] = KeyedItem("ModeWindow", DrawIndicator(188, words.Window, TGlyph::Window, true, panel, 127, 205));
    items[15] = KeyedItem("ModeFullScreen", DrawIndicator(188, words.FullScreen, TGlyph::FullScreen, true, panel, 127, 205));
    items[16] = KeyedItem("MusicOn", DrawIndicator(104, words.On, TGlyph::Lamp, true, panel, 202, 251));
    items[17] = KeyedItem("MusicOff", DrawIndicator(104, words.Off, TGlyph::Lamp, false, panel, 202, 251));
    items[18] = KeyedItem("SoundOn", DrawIndicator(104, words.On, TGlyph::Lamp, true, panel, 202, 294));
    items[19] = KeyedItem("SoundOff", DrawIndicator(104, words.Off, TGlyph::Lamp, false, panel, 202, 294));
    items[20] = KeyedItem("CountryField", DrawField(366, 44, panel, 32, 372));
    items[21] = KeyedItem("BossKeyField", DrawField(298, 46, panel, 66, 462));
    items[22] = KeyedItem("TextCursor", DrawCursor());
}

}  // namespace quillon::assetgen::menuart
