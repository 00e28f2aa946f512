// Menu buttons of collection 1: the six main-menu tabs in both looks (2..13), the
// dialog's yes and no (34, 35), and the buttons of the menu screens (37..43).
#include <cmath>

#include "art/LabelLog.h"
#include "art/MenuArt.h"

namespace quillon::assetgen::menuart {

TDIBImage DrawPlate(int w, int h, const std::string& label, bool hot, const TPlateStyle& style,
                    const TDIBImage& backdrop, int atX, int atY) {
    TCairoCanvas canvas(w, h);
    cairo_t* cr = canvas.Cr;
    const double m = hot ? 3.5 : 2.5;  // room for the light around a highlighted plate
    const double x0 = m, y0 = m, pw = w - 2 * m, ph = h - 2 * m;
    const double c = style.Chamfer;

    // Outer light.
    ChamferPath(cr, x0, y0, pw, ph, c, 0, c, 0);
    if (hot) GlowStroke(cr, kCyan, m + 1, 0.55, 5);
    cairo_new_path(cr);

    // Body.
    ChamferPath(cr, x0, y0, pw, ph, c, 0, c, 0);
    if (hot)
        SetVerticalGradient(cr, y0, y0 + ph, TColor{0.14, 0.32, 0.62}, TColor{0.035, 0.09, 0.24});
    else
        SetVerticalGradient(cr, y0, y0 + ph, TColor{0.085, 0.14, 0.28}, TColor{0.02, 0.035, 0.09});
    cairo_fill_preserve(cr);
    // Frame.
    cairo_set_line_width(cr, 2);
    SetColor(cr, hot ? kCyan : kFrame, hot ? 1.0 : 0.9);
    cairo_stroke(cr);

    // Glass sheen on the upper half and a bright inner top edge.
    cairo_save(cr);
    ChamferPath(cr, x0 + 2, y0 + 2, pw - 4, ph - 4, c - 1, 0, c - 1, 0);
    cairo_clip(cr);
    cairo_pattern_t* sheen = cairo_pattern_create_linear(0, y0, 0, y0 + ph * 0.5);
    cairo_pattern_add_color_stop_rgba(sheen, 0, 1, 1, 1, hot ? 0.20 : 0.10);
    cairo_pattern_add_color_stop_rgba(sheen, 1, 1, 1, 1, 0);
    cairo_set_source(cr, sheen);
    cairo_rectangle(cr, x0, y0, pw, ph * 0.5);
    cairo_fill(cr);
    cairo_pattern_destroy(sheen);
    // Fine scan lines.
    for (double y = y0 + 3; y < y0 + ph; y += 3) {
        cairo_set_source_rgba(cr, 0, 0, 0, 0.12);
        cairo_rectangle(cr, x0, y, pw, 1);
        cairo_fill(cr);
    }
    // Slanted stripes at the right end.
    SetColor(cr, hot ? kCyan : kFrameDim, hot ? 0.55 : 0.6);
    for (int i = 0; i < 3; ++i) {
        double sx = x0 + pw - 12 - c * 0.4 - i * 9;
        cairo_move_to(cr, sx, y0 + ph - 5);
        cairo_line_to(cr, sx + 4, y0 + ph - 5);
        cairo_line_to(cr, sx + 10, y0 + ph * 0.55);
        cairo_line_to(cr, sx + 6, y0 + ph * 0.55);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
    cairo_restore(cr);

    double textLeft = x0 + c + 6;
    if (style.LabelLeft) {
        // The tab marker: a lit bar inside the cut corner.
        TColor marker = hot ? kAmber : kFrame;
        cairo_move_to(cr, x0 + 8, y0 + c + 4);
        cairo_line_to(cr, x0 + 14, y0 + c - 2);
        cairo_line_to(cr, x0 + 14, y0 + ph - 8);
        cairo_line_to(cr, x0 + 8, y0 + ph - 8);
        cairo_close_path(cr);
        if (hot) GlowStroke(cr, kAmber, 4, 0.5, 4);
        SetColor(cr, marker, hot ? 1.0 : 0.85);
        cairo_fill(cr);
        textLeft = x0 + 30;
    }

    const double size = style.LabelSize > 0 ? style.LabelSize : std::round(ph * 0.42);
    const double spacing = size >= 20 ? 2 : 1;
    // Centred labels keep clear of the stripes at the right end.
    const double regionLeft = x0 + c * 0.6, regionRight = x0 + pw - c * 0.4 - 34;
    double labelSize = FitLabelSize(cr, label, style.LabelLeft ? pw - 30 - 50 : regionRight - regionLeft - 4, size,
                                    true, spacing);
    TTextSize ts = MeasureLabel(cr, label, labelSize, true, spacing);
    double cx = style.LabelLeft ? textLeft + ts.Width / 2 : (regionLeft + regionRight) / 2;
    double cy = y0 + ph / 2;
    // The words keep inside the frame and clear of the stripes at the right end.
    const TLabelBox box(cr, style.LabelLeft ? textLeft : regionLeft, y0 + 3, x0 + pw - c * 0.4 - 30, y0 + ph - 3);
    if (hot)
        PaintGlowLabel(cr, label, cx, cy, labelSize, true, kWhite, TColor{0.70, 0.92, 1.0},
                       style.Accent ? kAmber : kCyan, 0.55, spacing);
    else
        PaintLabel(cr, label, cx, cy, labelSize, true, TColor{0.86, 0.91, 0.98}, TColor{0.50, 0.62, 0.80}, 1.5,
                   spacing);
    return CanvasOverBackdrop(canvas, backdrop, atX, atY);
}

namespace {

// An arrow button for stepping through the ships: a tall plate with a chevron.
TDIBImage DrawArrowPlate(int w, int h, bool left, bool hot, const TDIBImage& backdrop, int atX, int atY) {
    TCairoCanvas canvas(w, h);
    cairo_t* cr = canvas.Cr;
    const double m = 3.5, x0 = m, y0 = m, pw = w - 2 * m, ph = h - 2 * m, c = 14;
    if (left)
        ChamferPath(cr, x0, y0, pw, ph, c, 0, 0, c);
    else
        ChamferPath(cr, x0, y0, pw, ph, 0, c, c, 0);
    if (hot) GlowStroke(cr, kCyan, m + 1, 0.55, 5);
    if (hot)
        SetVerticalGradient(cr, y0, y0 + ph, TColor{0.12, 0.28, 0.58}, TColor{0.03, 0.08, 0.22});
    else
        SetVerticalGradient(cr, y0, y0 + ph, TColor{0.07, 0.12, 0.25}, TColor{0.02, 0.035, 0.09});
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 2);
    SetColor(cr, hot ? kCyan : kFrame);
    cairo_stroke(cr);

    // Three chevrons, the outermost brightest.
    const double cx = x0 + pw / 2, cy = y0 + ph / 2;
    for (int i = 0; i < 3; ++i) {
        double dir = left ? -1 : 1;
        double tipX = cx + dir * (12 - i * 10);
        double arm = 16 - i * 2.5;
        cairo_move_to(cr, tipX - dir * arm * 0.8, cy - arm);
        cairo_line_to(cr, tipX, cy);
        cairo_line_to(cr, tipX - dir * arm * 0.8, cy + arm);
        cairo_set_line_width(cr, 5 - i);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        if (hot && i == 0) GlowStroke(cr, kCyan, 6, 0.6, 4);
        SetColor(cr, hot ? kWhite : kSteel, 1.0 - i * 0.3);
        cairo_stroke(cr);
    }
    return CanvasOverBackdrop(canvas, backdrop, atX, atY);
}

// A two-look button item: pattern 0 highlighted, pattern 1 normal.
TPictureItemData HotNormalItem(const std::string& name, int w, int h, const std::string& label,
                               const TPlateStyle& style, const TDIBImage& backdrop, int atX, int atY) {
    return PatternItem(name, {DrawPlate(w, h, label, true, style, backdrop, atX, atY),
                              DrawPlate(w, h, label, false, style, backdrop, atX, atY)});
}

}  // namespace

void AddMainButtons(TItems& items, const TMenuScenes& scenes) {
    const TArtWords& words = *scenes.Words;
    const int tabY[6] = {132, 208, 283, 357, 427, 504};
    TPlateStyle style;
    style.Chamfer = 16;
    style.LabelSize = 25;
    style.LabelLeft = true;
    for (int i = 0; i < 6; ++i) {
        items[2 + i] = KeyedItem("MenuButton" + std::to_string(i + 1),
                                 DrawPlate(340, 64, words.MenuTabs[i], false, style, scenes.Background, 452, tabY[i]));
        items[8 + i] = KeyedItem("MenuButtonHot" + std::to_string(i + 1),
                                 DrawPlate(340, 64, words.MenuTabs[i], true, style, scenes.Background, 452, tabY[i]));
    }
}

void AddScreenButtons(TItems& items, const TMenuScenes& scenes) {
    const TArtWords& words = *scenes.Words;
    TPlateStyle small;
    small.Chamfer = 10;
    small.LabelSize = 20;
    // Yes and no inside the dialog panel, symmetric about the screen's centre line.
    items[34] = HotNormalItem("DialogYes", 124, 40, words.Yes, small, scenes.Dialog, 275 - 239, 314 - 227);
    items[35] = HotNormalItem("DialogNo", 124, 40, words.No, small, scenes.Dialog, 401 - 239, 314 - 227);

    // Ship selection: previous, next, start.
    items[37] = PatternItem("ShipPrevious", {DrawArrowPlate(56, 150, true, true, scenes.ShipPanel, 14, 227),
                                             DrawArrowPlate(56, 150, true, false, scenes.ShipPanel, 14, 227)});
    items[38] = PatternItem("ShipNext", {DrawArrowPlate(56, 150, false, true, scenes.ShipPanel, 377, 226),
                                         DrawArrowPlate(56, 150, false, false, scenes.ShipPanel, 377, 226)});
    TPlateStyle start;
    start.Chamfer = 16;
    start.LabelSize = 30;
    start.Accent = true;
    items[39] = HotNormalItem("ShipStart", 244, 68, words.Start, start, scenes.ShipPanel, 104, 485 - 12);

    // High scores: clear the table, the world table. They lie on the backdrop, under the table panel.
    TPlateStyle wide;
    wide.Chamfer = 12;
    wide.LabelSize = 17;
    items[40] = HotNormalItem("ScoresClear", 190, 50, words.ClearScores, wide, scenes.Background, 38, 475);
    items[41] = HotNormalItem("ScoresWorld", 210, 50, words.WorldTable, wide, scenes.Background, 235, 475);

    // Help: previous and next page, on the side panel.
    items[42] = HotNormalItem("HelpPrevious", 180, 50, words.HelpBack, wide, scenes.SidePanel, 37, 464);
    items[43] = HotNormalItem("HelpNext", 180, 50, words.HelpNext, wide, scenes.SidePanel, 234, 463);
}

}  // namespace quillon::assetgen::menuart
