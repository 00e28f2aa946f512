// Panels of collection 1: the options and help side panel (51), the ship-selection
// panel with its rating rows (52), the high-score table (53) and the dialog panel (33).
#include <cmath>

#include "art/LabelLog.h"
#include "art/MenuArt.h"

namespace quillon::assetgen::menuart {

namespace {

// A tinted glass panel with a lit frame and corner brackets; the backdrop shows faintly through.
void GlassPanel(cairo_t* cr, double x, double y, double w, double h, double cut, double bodyAlpha) {
    ChamferPath(cr, x, y, w, h, 0, cut, 0, cut * 0.6);
    cairo_pattern_t* body = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgba(body, 0, 0.045, 0.080, 0.180, bodyAlpha);
    cairo_pattern_add_color_stop_rgba(body, 0.5, 0.020, 0.040, 0.100, bodyAlpha);
    cairo_pattern_add_color_stop_rgba(body, 1, 0.015, 0.028, 0.070, bodyAlpha);
    cairo_set_source(cr, body);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(body);
    cairo_set_line_width(cr, 1.5);
    SetColor(cr, kFrame, 0.85);
    cairo_stroke(cr);

    // Faint scan lines.
    cairo_save(cr);
    ChamferPath(cr, x, y, w, h, 0, cut, 0, cut * 0.6);
    cairo_clip(cr);
    for (double sy = y + 2; sy < y + h; sy += 4) {
        cairo_set_source_rgba(cr, 0.4, 0.6, 1.0, 0.025);
        cairo_rectangle(cr, x, sy, w, 1);
        cairo_fill(cr);
    }
    // A soft light along the top edge.
    cairo_pattern_t* top = cairo_pattern_create_linear(0, y, 0, y + 40);
    cairo_pattern_add_color_stop_rgba(top, 0, kFrame.R, kFrame.G, kFrame.B, 0.22);
    cairo_pattern_add_color_stop_rgba(top, 1, kFrame.R, kFrame.G, kFrame.B, 0);
    cairo_set_source(cr, top);
    cairo_rectangle(cr, x, y, w, 40);
    cairo_fill(cr);
    cairo_pattern_destroy(top);
    cairo_restore(cr);

    // Corner brackets, bright.
    cairo_set_line_width(cr, 3);
    SetColor(cr, kCyan, 0.95);
    const double a = 22;
    cairo_move_to(cr, x + 1.5, y + a);
    cairo_line_to(cr, x + 1.5, y + 1.5);
    cairo_line_to(cr, x + a, y + 1.5);
    cairo_move_to(cr, x + w - cut - a, y + 1.5);
    cairo_line_to(cr, x + w - cut, y + 1.5);
    cairo_line_to(cr, x + w - 1.5, y + cut);
    cairo_line_to(cr, x + w - 1.5, y + cut + a);
    cairo_move_to(cr, x + w - 1.5, y + h - a);
    cairo_line_to(cr, x + w - 1.5, y + h - 1.5);
    cairo_line_to(cr, x + w - a, y + h - 1.5);
    cairo_stroke(cr);
}

void Rule(cairo_t* cr, double x0, double x1, double y, double alpha) {
    cairo_pattern_t* p = cairo_pattern_create_linear(x0, 0, x1, 0);
    cairo_pattern_add_color_stop_rgba(p, 0, kFrame.R, kFrame.G, kFrame.B, 0);
    cairo_pattern_add_color_stop_rgba(p, 0.2, kFrame.R, kFrame.G, kFrame.B, alpha);
    cairo_pattern_add_color_stop_rgba(p, 0.8, kFrame.R, kFrame.G, kFrame.B, alpha);
    cairo_pattern_add_color_stop_rgba(p, 1, kFrame.R, kFrame.G, kFrame.B, 0);
    cairo_set_source(cr, p);
    cairo_rectangle(cr, x0, y, x1 - x0, 1);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

}  // namespace

TDIBImage DrawSidePanel(const TDIBImage& background) {
    // At (0, 195); the options rows and the help texts lie on it.
    TCairoCanvas canvas(438, 402);
    cairo_t* cr = canvas.Cr;
    GlassPanel(cr, 1, 1, 436, 398, 30, 0.9);
    // The help heading and the first options row share the top band: a rule beneath it.
    Rule(cr, 8, 410, 242 - 195, 0.55);
    return CanvasOverBackdrop(canvas, background, 0, 195);
}

TDIBImage DrawShipPanel(const TDIBImage& background, const TArtWords& words) {
    // At (0, 195): the hangar view behind the ship picture, and the four rating rows.
    TCairoCanvas canvas(438, 402);
    cairo_t* cr = canvas.Cr;
    GlassPanel(cr, 1, 1, 436, 398, 30, 0.9);
    const double oy = 195;

    // The hangar view: a lit floor grid in perspective under the ship picture (88..377 x 238..391).
    cairo_save(cr);
    const double vx = 88, vy = 238 - oy, vw = 289, vh = 150;
    cairo_rectangle(cr, vx, vy, vw, vh);
    cairo_clip(cr);
    cairo_pattern_t* glow = cairo_pattern_create_radial(vx + vw / 2, vy + vh * 0.62, 8, vx + vw / 2, vy + vh * 0.62, 150);
    cairo_pattern_add_color_stop_rgba(glow, 0, 0.2, 0.5, 1.0, 0.30);
    cairo_pattern_add_color_stop_rgba(glow, 1, 0.1, 0.2, 0.6, 0);
    cairo_set_source(cr, glow);
    cairo_paint(cr);
    cairo_pattern_destroy(glow);
    const double horizon = vy + 40, cx = vx + vw / 2;
    cairo_set_line_width(cr, 1);
    for (int i = -9; i <= 9; ++i) {
        cairo_set_source_rgba(cr, kFrame.R, kFrame.G, kFrame.B, 0.28 - std::abs(i) * 0.02);
        cairo_move_to(cr, cx + i * 6, horizon);
        cairo_line_to(cr, cx + i * 46, vy + vh);
        cairo_stroke(cr);
    }
    for (int k = 1; k <= 7; ++k) {
        double t = std::pow(k / 7.0, 1.8);
        double ly = horizon + (vy + vh - horizon) * t;
        cairo_set_source_rgba(cr, kFrame.R, kFrame.G, kFrame.B, 0.08 + 0.2 * t);
        cairo_move_to(cr, vx, ly + 0.5);
        cairo_line_to(cr, vx + vw, ly + 0.5);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
    // Viewport corners.
    cairo_set_line_width(cr, 2);
    SetColor(cr, kFrame, 0.9);
    const double a = 14;
    double corners[4][2] = {{vx, vy}, {vx + vw, vy}, {vx, vy + vh}, {vx + vw, vy + vh}};
    for (auto& p : corners) {
        double sx = p[0] == vx ? 1 : -1, sy = p[1] == vy ? 1 : -1;
        cairo_move_to(cr, p[0], p[1] + sy * a);
        cairo_line_to(cr, p[0], p[1]);
        cairo_line_to(cr, p[0] + sx * a, p[1]);
    }
    cairo_stroke(cr);

    // Rating rows: a label and eight empty cells where the lit bars (item 54) go.
    // Each label ends 10 px before its row's first cell.
    const int rowY[4] = {391, 412, 434, 456};
    for (int r = 0; r < 4; ++r) {
        double y = rowY[r] - oy;
        const char* label = words.Ratings[r];
        TTextSize ts = MeasureLabel(cr, label, 13, true, 1);
        const TLabelBox box(cr, 12, y, 242, y + 17);  // the row, left of its cells
        PaintLabel(cr, label, 238 - ts.Width / 2, y + 8, 13, true, kSteel, TColor{0.55, 0.65, 0.82}, 0, 1);
        for (int k = 0; k < 8; ++k) {
            double x = 248 + 23 * k;
            ChamferPath(cr, x + 0.5, y + 0.5, 20, 16, 0, 4, 0, 4);
            cairo_set_source_rgba(cr, 0.02, 0.04, 0.10, 0.9);
            cairo_fill_preserve(cr);
            cairo_set_line_width(cr, 1);
            SetColor(cr, kFrameDim, 0.9);
            cairo_stroke(cr);
        }
    }
    Rule(cr, 20, 420, 384 - oy, 0.45);
    return CanvasOverBackdrop(canvas, background, 0, 195);
}

TDIBImage DrawScorePanel(const TDIBImage& background) {
    // At (13, 189), above the two score buttons at y 475: heads on y 204, rows every 26 px.
    const int ox = 13, oy = 189, w = 425, h = 285;
    TCairoCanvas canvas(w, h);
    cairo_t* cr = canvas.Cr;
    GlassPanel(cr, 1, 1, w - 2, h - 2, 24, 0.94);
    // Head band.
    cairo_save(cr);
    ChamferPath(cr, 1, 1, w - 2, h - 2, 0, 24, 0, 24 * 0.6);
    cairo_clip(cr);
    SetVerticalGradient(cr, 3, 30, TColor{0.12, 0.28, 0.58}, TColor{0.05, 0.12, 0.30}, 0.9);
    cairo_rectangle(cr, 3, 3, w - 6, 215 - oy);
    cairo_fill(cr);
    SetColor(cr, kCyan, 0.8);
    cairo_rectangle(cr, 3, 217 - oy, w - 6, 1.5);
    cairo_fill(cr);
    // Row stripes.
    for (int n = 1; n <= 10; ++n) {
        double cy = 204 + 26 * n - oy;
        if (n % 2 == 0) {
            cairo_set_source_rgba(cr, 0.25, 0.45, 0.9, 0.10);
            cairo_rectangle(cr, 3, cy - 12, w - 6, 24);
            cairo_fill(cr);
        }
        // Place badges, gold, silver and bronze for the first three.
        if (n <= 3) {
            TColor medal = n == 1 ? TColor{1.0, 0.78, 0.25} : (n == 2 ? TColor{0.78, 0.84, 0.92} : TColor{0.85, 0.52, 0.28});
            double bx = 70 - ox;
            cairo_new_path(cr);
            for (int k = 0; k < 6; ++k) {
                double ang = M_PI / 6 + k * M_PI / 3;
                cairo_line_to(cr, bx + 13 * std::cos(ang), cy + 12 * std::sin(ang));
            }
            cairo_close_path(cr);
            SetColor(cr, TColor{medal.R * 0.35, medal.G * 0.35, medal.B * 0.35});
            cairo_fill_preserve(cr);
            cairo_set_line_width(cr, 1.5);
            SetColor(cr, medal);
            cairo_stroke(cr);
        }
    }
    // Column dividers between place, name and score.
    for (double x : {147.5, 303.5}) {
        cairo_pattern_t* p = cairo_pattern_create_linear(0, 4, 0, h - 4);
        cairo_pattern_add_color_stop_rgba(p, 0, kFrame.R, kFrame.G, kFrame.B, 0.7);
        cairo_pattern_add_color_stop_rgba(p, 1, kFrame.R, kFrame.G, kFrame.B, 0.1);
        cairo_set_source(cr, p);
        cairo_rectangle(cr, x - ox, 4, 1, h - 8);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    }
    cairo_restore(cr);
    return CanvasOverBackdrop(canvas, background, ox, oy);
}

TDIBImage DrawDialogPanel() {
    // Over any screen, so its edge is hard: an opaque plate with a double frame.
    const int w = 322, h = 146;
    TCairoCanvas canvas(w, h);
    cairo_t* cr = canvas.Cr;
    const double c = 16;
    ChamferPath(cr, 0.5, 0.5, w - 1, h - 1, c, 4, c, 4);
    SetColor(cr, kInk);
    cairo_fill(cr);
    ChamferPath(cr, 2, 2, w - 4, h - 4, c - 1, 3, c - 1, 3);
    SetVerticalGradient(cr, 2, h - 2, TColor{0.075, 0.125, 0.255}, TColor{0.020, 0.035, 0.085});
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 2);
    SetColor(cr, kFrame);
    cairo_stroke(cr);
    // Inner hairline and a sheen on the upper part.
    ChamferPath(cr, 6.5, 6.5, w - 13, h - 13, c - 4, 1, c - 4, 1);
    cairo_set_line_width(cr, 1);
    SetColor(cr, kFrameDim, 0.8);
    cairo_stroke(cr);
    cairo_save(cr);
    ChamferPath(cr, 7, 7, w - 14, h - 14, c - 4, 1, c - 4, 1);
    cairo_clip(cr);
    cairo_pattern_t* sheen = cairo_pattern_create_linear(0, 7, 0, 60);
    cairo_pattern_add_color_stop_rgba(sheen, 0, 0.5, 0.7, 1.0, 0.10);
    cairo_pattern_add_color_stop_rgba(sheen, 1, 0.5, 0.7, 1.0, 0);
    cairo_set_source(cr, sheen);
    cairo_paint(cr);
    cairo_pattern_destroy(sheen);
    cairo_restore(cr);
    // Lit bars on the top and bottom edges.
    SetColor(cr, kCyan);
    cairo_rectangle(cr, w / 2.0 - 40, 0, 80, 3);
    cairo_rectangle(cr, w / 2.0 - 24, h - 3, 48, 3);
    cairo_fill(cr);
    SetColor(cr, kFrame);
    for (int i = 0; i < 3; ++i) {
        cairo_rectangle(cr, w / 2.0 - 56 - i * 8, 0, 5, 3);
        cairo_rectangle(cr, w / 2.0 + 51 + i * 8, 0, 5, 3);
    }
    cairo_fill(cr);
    TDIBImage picture = CanvasToPicture(canvas, kKeyRGB);
    return picture;
}

}  // namespace quillon::assetgen::menuart
