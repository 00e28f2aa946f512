// Screen titles of collection 1 (24..27): large lit lettering set flush with the
// screen's right edge, over the title band of the backdrop.
#include <cmath>

#include "art/LabelLog.h"
#include "art/MenuArt.h"

namespace quillon::assetgen::menuart {

namespace {

// Every title ends at the screen's right edge, so its picture spans from x to 800.
TDIBImage DrawTitle(const std::string& text, int x, const TDIBImage& backdrop) {
    const int w = 800 - x, h = 72, y = 47;
    const double spacing = 3;
    TCairoCanvas canvas(w, h);
    cairo_t* cr = canvas.Cr;
    // One size for every title unless the narrowest slot needs less; room is left for the light.
    const double size = FitLabelSize(cr, text, w - 26 - 34, 40, true, spacing);
    TTextSize ts = MeasureLabel(cr, text, size, true, spacing);
    const double right = w - 26;
    const double cx = right - ts.Width / 2, cy = 34;

    // An underline that fades in from the left and ends in a bright bar.
    const double lineY = 60.5, lineLeft = std::max(4.0, right - ts.Width - 40);
    cairo_pattern_t* line = cairo_pattern_create_linear(lineLeft, 0, w, 0);
    cairo_pattern_add_color_stop_rgba(line, 0, kFrame.R, kFrame.G, kFrame.B, 0);
    cairo_pattern_add_color_stop_rgba(line, 0.35, kFrame.R, kFrame.G, kFrame.B, 0.9);
    cairo_pattern_add_color_stop_rgba(line, 1, kCyan.R, kCyan.G, kCyan.B, 1);
    cairo_set_source(cr, line);
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, lineLeft, lineY);
    cairo_line_to(cr, w, lineY);
    cairo_stroke(cr);
    cairo_pattern_destroy(line);
    // Small segment marks under the line's right end.
    for (int i = 0; i < 4; ++i) {
        SetColor(cr, kCyan, 0.9 - i * 0.2);
        cairo_move_to(cr, right - i * 14, lineY + 3);
        cairo_line_to(cr, right - i * 14 - 8, lineY + 3);
        cairo_line_to(cr, right - i * 14 - 11, lineY + 7);
        cairo_line_to(cr, right - i * 14 - 3, lineY + 7);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
    // A bracket at the left of the lettering.
    const double bx = right - ts.Width - 18;
    cairo_move_to(cr, bx + 8, 14);
    cairo_line_to(cr, bx, 14);
    cairo_line_to(cr, bx, 54);
    cairo_line_to(cr, bx + 8, 54);
    cairo_set_line_width(cr, 2);
    GlowStroke(cr, kFrame, 4, 0.4, 3);
    SetColor(cr, kCyan, 0.9);
    cairo_stroke(cr);

    // Inside the bracket, above the underline.
    const TLabelBox box(cr, bx + 2, 4, w - 22, lineY - 2);
    PaintGlowLabel(cr, text, cx, cy, size, true, kWhite, TColor{0.50, 0.76, 1.0}, kFrame, 0.6, spacing);
    return CanvasOverBackdrop(canvas, backdrop, x, y);
}

}  // namespace

void AddTitles(TItems& items, const TMenuScenes& scenes) {
    const TArtWords& words = *scenes.Words;
    items[24] = KeyedItem("TitleHelp", DrawTitle(words.Titles[0], 503, scenes.Background));
    items[25] = KeyedItem("TitleShips", DrawTitle(words.Titles[1], 356, scenes.Background));
    items[26] = KeyedItem("TitleOptions", DrawTitle(words.Titles[2], 556, scenes.Background));
    items[27] = KeyedItem("TitleScores", DrawTitle(words.Titles[3], 472, scenes.Background));
}

}  // namespace quillon::assetgen::menuart
