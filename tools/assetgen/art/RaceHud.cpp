// The race instrument panel at the right of the screen, its energy gauge segments,
// speedometer digits and speed unit label. Positions are the panel's own (screen x - 575).
#include <cmath>
#include <string>

#include "art/LabelLog.h"
#include "art/RaceArt.h"
#include "art/RaceKit.h"

namespace quillon::assetgen {

namespace {

constexpr int PanelX = 575;
constexpr int PanelW = 225, PanelH = 600;
const uint32_t HudGreen = 0x60FF00;  // the colour of the panel's number fonts

// The energy ribbon: segment i has its picture's top-left at GaugeAt[i]; it rises to
// the right, its top edge meeting the next segment's top-left height.
struct TGaugePoint {
    int X, Y;
};
constexpr TGaugePoint GaugeAt[4] = {{606 - PanelX, 546}, {640 - PanelX, 511}, {693 - PanelX, 482}, {743 - PanelX, 461}};
constexpr int GaugeEndX = PanelW - 2;
constexpr int GaugeRise[4] = {26, 35, 29, 21};  // left-edge drop below the picture top

int SegmentWidth(int i) { return (i < 3 ? GaugeAt[i + 1].X : GaugeEndX + 2) - GaugeAt[i].X - 2; }
double Thickness(double panelX) { return 12.0 + (panelX - GaugeAt[0].X) / (GaugeEndX - GaugeAt[0].X) * 16.0; }

// The segment's outline in its own picture's coordinates, grown by `grow` pixels.
void SegmentPath(cairo_t* cr, int i, double grow) {
    const double w = SegmentWidth(i), rise = GaugeRise[i];
    const double tl = Thickness(GaugeAt[i].X), tr = Thickness(GaugeAt[i].X + w);
    cairo_move_to(cr, -grow, rise - grow);
    cairo_line_to(cr, w + grow, -grow);
    cairo_line_to(cr, w + grow, tr + grow);
    cairo_line_to(cr, -grow, rise + tl + grow);
    cairo_close_path(cr);
}

const uint32_t SegmentColours[4] = {0xFF3B2E, 0xFF9A1E, 0xF2E230, 0x60FF3A};

void Box(cairo_t* cr, double x0, double y0, double x1, double y1, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x1 - r, y0 + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x1 - r, y1 - r, r, 0, M_PI / 2);
    cairo_arc(cr, x0 + r, y1 - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x0 + r, y0 + r, r, M_PI, 1.5 * M_PI);
    cairo_close_path(cr);
}

// A recessed display window with a steel bezel.
void Display(cairo_t* cr, double x0, double y0, double x1, double y1) {
    Box(cr, x0 - 3, y0 - 3, x1 + 3, y1 + 3, 6);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y0 - 3, 0, y1 + 3);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.2, 0.22, 0.3);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.55, 0.6, 0.7);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    Box(cr, x0, y0, x1, y1, 4);
    SetColor(cr, Hex(0x030A06));
    cairo_fill(cr);
    Box(cr, x0 + 1, y0 + 1, x1 - 1, y1 - 1, 3.5);
    SetColor(cr, Hex(0x1D4A22), 0.8);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

// A label centred on (cx, cy) whose ink keeps inside `room` across, clear of the windows
// and numbers around it, and `tall` down.
void SmallLabel(cairo_t* cr, const std::string& text, double cx, double cy, double room, double tall = 18,
                double angle = 0) {
    const TLabelBox box(cr, cx - room / 2, cy - tall / 2, cx + room / 2, cy + tall / 2);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angle);
    DrawLabel(cr, text, "Play Bold 8.5", 0, 0, Hex(0x9FB4D8));
    cairo_restore(cr);
}

// Seven-segment digit in a 10 x 15 cell, slanted forward.
void SevenSegment(cairo_t* cr, int digit, const TRGB& on) {
    static const char* masks[10] = {"abcdef", "bc", "abged", "abgcd", "fgbc", "afgcd", "afgedc", "abc", "abcdefg", "abcdfg"};
    const std::string mask = masks[digit];
    cairo_save(cr);
    cairo_matrix_t skew;
    cairo_matrix_init(&skew, 1, 0, -0.18, 1, 2.6, 0);
    cairo_transform(cr, &skew);
    struct TSeg { char Name; double X0, Y0, X1, Y1; };
    const TSeg segs[7] = {{'a', 2, 1.2, 7.5, 1.2}, {'b', 8.2, 2, 8.2, 6.8}, {'c', 8.2, 8.2, 8.2, 13},
                          {'d', 2, 13.8, 7.5, 13.8}, {'e', 1.3, 8.2, 1.3, 13}, {'f', 1.3, 2, 1.3, 6.8},
                          {'g', 2, 7.5, 7.5, 7.5}};
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (const TSeg& s : segs) {
        if (mask.find(s.Name) == std::string::npos) continue;
        cairo_move_to(cr, s.X0, s.Y0);
        cairo_line_to(cr, s.X1, s.Y1);
        SetColor(cr, on);
        cairo_set_line_width(cr, 2.0);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

}  // namespace

TPictureItemData BuildHudPanel(const TArtWords& words) {
    TCairoCanvas canvas(PanelW, PanelH);
    cairo_t* cr = canvas.Cr;
    // Brushed dark steel with a lit edge facing the track.
    cairo_pattern_t* bg = cairo_pattern_create_linear(0, 0, PanelW, 0);
    cairo_pattern_add_color_stop_rgb(bg, 0, 0.16, 0.18, 0.26);
    cairo_pattern_add_color_stop_rgb(bg, 1, 0.08, 0.09, 0.14);
    cairo_set_source(cr, bg);
    cairo_paint(cr);
    cairo_pattern_destroy(bg);
    TArtRandom rnd(0x4D5Au);
    for (int y = 0; y < PanelH; y += 2) {
        SetColor(cr, Hex(0xFFFFFF), 0.015 + rnd.Unit() * 0.02);
        cairo_rectangle(cr, 0, y, PanelW, 1);
        cairo_fill(cr);
    }
    cairo_rectangle(cr, 0, 0, 7, PanelH);
    SetColor(cr, Hex(0x2A3046));
    cairo_fill(cr);
    cairo_rectangle(cr, 2, 0, 2, PanelH);
    SetColor(cr, Hex(0x40E6FF));
    cairo_fill(cr);
    cairo_rectangle(cr, 7, 0, 1, PanelH);
    SetColor(cr, Hex(0x0A0C14));
    cairo_fill(cr);
    // Rivets down the edge strip.
    for (int y = 262; y < PanelH; y += 48) {
        cairo_arc(cr, 15, y, 2.2, 0, 2 * M_PI);
        SetColor(cr, Hex(0x6A7390));
        cairo_fill(cr);
    }

    // The radar screen (the road pieces scroll over it down to y 230, where the radar's
    // own bottom mask ends) and its bezel.
    Box(cr, 20, -10, PanelW + 10, 230, 10);
    SetColor(cr, Hex(0x5A6380));
    cairo_fill(cr);
    Box(cr, 23, -10, PanelW + 10, 227, 8);
    cairo_pattern_t* scr = cairo_pattern_create_radial(150, 120, 10, 150, 120, 160);
    cairo_pattern_add_color_stop_rgb(scr, 0, 0.03, 0.12, 0.12);
    cairo_pattern_add_color_stop_rgb(scr, 1, 0.01, 0.04, 0.05);
    cairo_set_source(cr, scr);
    cairo_fill(cr);
    cairo_pattern_destroy(scr);
    cairo_save(cr);
    Box(cr, 23, -10, PanelW + 10, 227, 8);
    cairo_clip(cr);
    SetColor(cr, Hex(0x1A5A50), 0.45);
    cairo_set_line_width(cr, 1);
    for (int x = 26; x < PanelW; x += 14) {
        cairo_move_to(cr, x + 0.5, 0);
        cairo_line_to(cr, x + 0.5, 227);
    }
    for (int y = 14; y < 227; y += 18) {
        cairo_move_to(cr, 23, y + 0.5);
        cairo_line_to(cr, PanelW, y + 0.5);
    }
    cairo_stroke(cr);
    cairo_restore(cr);
    SmallLabel(cr, words.HudPlace, 58, 198, 72);  // the place number is written from x 100

    // Clock and score windows, centred where their numbers are written.
    Display(cr, 96, 233, 202, 252);
    SmallLabel(cr, words.HudTime, 56, 242, 76);  // left of the clock window
    SmallLabel(cr, words.HudScore, 143, 290, 150);  // over the score window
    Display(cr, 62, 303, 222, 333);

    // A grille between the numbers and the gauges.
    for (int i = 0; i < 6; ++i) {
        Box(cr, 30 + i * 30, 352, 52 + i * 30, 382, 3);
        SetColor(cr, Hex(0x0C0E16));
        cairo_fill(cr);
        for (int k = 0; k < 5; ++k) {
            cairo_rectangle(cr, 33 + i * 30, 356 + k * 5, 16, 2);
            SetColor(cr, Hex(0x262C40));
            cairo_fill(cr);
        }
    }

    // The speedometer plate, slanted along its rising digits.
    const double slope = -16.0 / 33.0;
    auto plateY = [&](double x) { return 439 + (x - 70) * slope; };
    cairo_move_to(cr, 60, plateY(60) - 5);
    cairo_line_to(cr, 120, plateY(120) - 5);
    cairo_line_to(cr, 120, plateY(120) + 20);
    cairo_line_to(cr, 60, plateY(60) + 20);
    cairo_close_path(cr);
    SetColor(cr, Hex(0x030A06));
    cairo_fill_preserve(cr);
    SetColor(cr, Hex(0x7A86A8));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    for (int d = 0; d < 4; ++d) {  // unlit segments behind the live digits
        const int xs[4] = {70, 81, 92, 103}, ys[4] = {439, 433, 428, 423};
        cairo_save(cr);
        cairo_translate(cr, xs[d], ys[d]);
        SevenSegment(cr, 8, Hex(0x0F2A10));
        cairo_restore(cr);
    }
    SmallLabel(cr, words.HudSpeed, 78, 414, 76, 36, std::atan(slope));  // over the plate

    // Energy ribbon: dark slots for the four segments.
    for (int i = 0; i < 4; ++i) {
        cairo_save(cr);
        cairo_translate(cr, GaugeAt[i].X, GaugeAt[i].Y);
        SegmentPath(cr, i, 1.5);
        SetColor(cr, Hex(0x3A4260));
        cairo_fill(cr);
        SegmentPath(cr, i, 0);
        SetColor(cr, Hex(0x080A12));
        cairo_fill(cr);
        cairo_restore(cr);
    }
    SmallLabel(cr, words.HudEnergy, 105, 572, 120);  // left of the lives window

    // Lives window at the bottom right.
    Display(cr, 186, 560, 219, 590);
    SmallLabel(cr, words.HudLives, 196, 547, 50);  // over the lives window

    TPictureItemData item;
    item.Name = "Panel";
    item.Picture = CanvasOverBackground(canvas, 0x101420);
    item.Transparent = false;
    return item;
}

TPictureItemData BuildEnergySegment(int segment) {
    const int i = segment - 1;
    const int w = SegmentWidth(i);
    const int h = static_cast<int>(std::ceil(GaugeRise[i] + Thickness(GaugeAt[i].X)));
    return MakeSpriteItem("Energy" + std::to_string(segment), w, h, [&](cairo_t* cr) {
        const TRGB c = Hex(SegmentColours[i]);
        SegmentPath(cr, i, 0);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h);
        TRGB top = Mix(c, Hex(0xFFFFFF), 0.55), bottom = Scale(c, 0.6);
        cairo_pattern_add_color_stop_rgb(g, 0, top.R, top.G, top.B);
        cairo_pattern_add_color_stop_rgb(g, 0.5, c.R, c.G, c.B);
        cairo_pattern_add_color_stop_rgb(g, 1, bottom.R, bottom.G, bottom.B);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        // A glossy streak along the top edge.
        const double rise = GaugeRise[i];
        cairo_move_to(cr, 2, rise + 1.5);
        cairo_line_to(cr, w - 2, 1.5 + 2.0 * (1 - (w - 4.0) / w));
        SetColor(cr, Mix(c, Hex(0xFFFFFF), 0.8));
        cairo_set_line_width(cr, 1.6);
        cairo_stroke(cr);
    });
}

TPictureItemData BuildSpeedDigit(int digit) {
    return MakeSpriteItem("Digit" + std::to_string(digit), 10, 15, [&](cairo_t* cr) { SevenSegment(cr, digit, Hex(HudGreen)); });
}

TPictureItemData BuildSpeedLabel(const TArtWords& words) {
    return MakeSpriteItem("SpeedUnit", 34, 20, [&](cairo_t* cr) {
        cairo_translate(cr, 17, 10);
        cairo_rotate(cr, std::atan(-16.0 / 33.0));
        DrawLabel(cr, words.SpeedUnit, "Play Bold 8", 0, 0, Hex(HudGreen));
    });
}

}  // namespace quillon::assetgen
