// Collection 3 (Res3.dxg), the radar: road slices (0..9), the rival dot (10), the
// window's masks and player band (11..13), bend warnings (14, 15) and rival markers (16, 17).
#include <cmath>

#include "art/Collections.h"
#include "art/MenuArtKit.h"

namespace quillon::assetgen {

namespace {

using namespace menuart;

// The radar glows mint on the panel's dark teal screen; its frame is the panel's steel.
constexpr TColor kRadarWall{0.45, 1.0, 0.66};
constexpr TColor kRadarRoad{0.04, 0.20, 0.17};
constexpr TColor kRadarMark{0.20, 0.55, 0.45};
constexpr TColor kSteelTop{0.16, 0.18, 0.26};
constexpr TColor kSteelBottom{0.09, 0.10, 0.15};
constexpr TColor kBezel{0.353, 0.388, 0.502};
constexpr TColor kRival{1.0, 0.30, 0.18};
constexpr TColor kWarn{1.0, 0.78, 0.10};

constexpr int kRowHeight = 18;    // one radar row per map row
constexpr double kRoadWidth = 35;  // 372 px of road at 7 radar px per 72

// One map row of road. The left wall runs along the anchor line, from aTop at the
// top to aBottom at the bottom; the radar places each row so that these lines join.
TDIBImage DrawSlice(double aTop, double aBottom, bool line) {
    const int w = static_cast<int>(std::ceil(std::max(aTop, aBottom) + kRoadWidth + 3));
    TCairoCanvas canvas(w, kRowHeight);
    cairo_t* cr = canvas.Cr;
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    // Road surface between the walls.
    cairo_move_to(cr, aTop, 0);
    cairo_line_to(cr, aTop + kRoadWidth, 0);
    cairo_line_to(cr, aBottom + kRoadWidth, kRowHeight);
    cairo_line_to(cr, aBottom, kRowHeight);
    cairo_close_path(cr);
    SetColor(cr, kRadarRoad);
    cairo_fill(cr);
    if (line) {
        // The start and finish line: a chequered band across the road.
        for (int k = 0; k < 12; ++k)
            for (int r = 0; r < 2; ++r) {
                bool light = (k + r) % 2 == 0;
                SetColor(cr, light ? kWhite : TColor{0.10, 0.30, 0.10});
                cairo_rectangle(cr, aTop + 1 + k * 3, 6 + r * 3, 3, 3);
                cairo_fill(cr);
            }
    } else {
        // Centre-line dash: passing dashes show the speed.
        const double mid = (aTop + aBottom) / 2 + kRoadWidth / 2;
        SetColor(cr, kRadarMark);
        cairo_rectangle(cr, std::floor(mid - 0.5), 5, 1, 8);
        cairo_fill(cr);
    }
    // The two walls, two pixels wide.
    for (double off : {-2.0, kRoadWidth}) {
        cairo_move_to(cr, aTop + off, 0);
        cairo_line_to(cr, aTop + off + 2, 0);
        cairo_line_to(cr, aBottom + off + 2, kRowHeight);
        cairo_line_to(cr, aBottom + off, kRowHeight);
        cairo_close_path(cr);
        SetColor(cr, kRadarWall);
        cairo_fill(cr);
    }
    return CanvasToPicture(canvas, kKeyRGB);
}

// The companion piece one column right of a slice: the slice already shows the whole row.
TDIBImage Blank(int w, int h) {
    TDIBImage image;
    image.Width = w;
    image.Height = h;
    image.Pixels.assign(static_cast<size_t>(w) * h, kKeyRGB);
    return image;
}

TDIBImage DrawRivalDot() {
    // The mark sits right of the picture's left edge so that it lands on the road's middle.
    TCairoCanvas canvas(34, 10);
    cairo_t* cr = canvas.Cr;
    const double cx = 29, cy = 5;
    cairo_move_to(cr, cx, cy - 5);
    cairo_line_to(cr, cx + 4, cy);
    cairo_line_to(cr, cx, cy + 5);
    cairo_line_to(cr, cx - 4, cy);
    cairo_close_path(cr);
    SetColor(cr, kRival);
    cairo_fill(cr);
    cairo_rectangle(cr, cx - 1, cy - 2, 2, 4);
    SetColor(cr, TColor{1.0, 0.85, 0.7});
    cairo_fill(cr);
    return CanvasToPicture(canvas, kKeyRGB);
}

// Frame plates of the radar window, in the instrument panel's steel with its bezel on
// the window's side: they hide the slices scrolling in and out at the top and bottom.
TDIBImage DrawMask(int w, int h, bool top) {
    TCairoCanvas canvas(w, h);
    cairo_t* cr = canvas.Cr;
    if (top)
        ChamferPath(cr, 0, 0, w, h, 0, 0, 0, 10);
    else
        ChamferPath(cr, 0, 0, w, h, 8, 0, 0, 0);
    SetVerticalGradient(cr, 0, h, top ? kSteelBottom : kSteelTop, top ? kSteelTop : kSteelBottom);
    cairo_fill(cr);
    // Brushed lines as on the panel.
    for (int y = 1; y < h; y += 2) {
        cairo_set_source_rgba(cr, 1, 1, 1, 0.025);
        cairo_rectangle(cr, top ? 0 : 8, y, w, 1);
        cairo_fill(cr);
    }
    // The bezel: a steel rim and a dark inner line toward the screen.
    const double rim = top ? h - 3 : 0;
    if (top) {
        cairo_move_to(cr, 0, h - 10);
        cairo_line_to(cr, 10, h);
        cairo_line_to(cr, w, h);
        cairo_line_to(cr, w, h - 3);
        cairo_line_to(cr, 11, h - 3);
        cairo_line_to(cr, 2, h - 12);
        cairo_line_to(cr, 0, h - 12);
    } else {
        cairo_move_to(cr, 0, 8);
        cairo_line_to(cr, 8, 0);
        cairo_line_to(cr, w, 0);
        cairo_line_to(cr, w, 3);
        cairo_line_to(cr, 9, 3);
        cairo_line_to(cr, 2, 10);
        cairo_line_to(cr, 0, 10);
    }
    cairo_close_path(cr);
    SetColor(cr, kBezel);
    cairo_fill(cr);
    SetColor(cr, kRadarWall, 0.9);
    cairo_rectangle(cr, w - 46, rim + (top ? 0 : 1), 30, 2);
    cairo_fill(cr);
    // Rivets as on the panel's edge strip.
    for (double x : {top ? 22.0 : 20.0, static_cast<double>(w) - 8}) {
        cairo_arc(cr, x, top ? (h - 3) / 2.0 : (h + 3) / 2.0, 2.2, 0, 2 * M_PI);
        SetColor(cr, TColor{0.416, 0.451, 0.565});
        cairo_fill(cr);
    }
    return CanvasToPicture(canvas, kKeyRGB);
}

TDIBImage DrawPlayerBand() {
    // At (638, 112): inward ticks at both sides of the radar and the player's own mark on
    // the road's middle (x 741 on the screen), left clear elsewhere for the bend warnings.
    TCairoCanvas canvas(162, 24);
    cairo_t* cr = canvas.Cr;
    const double y = 11;
    SetColor(cr, kRadarWall);
    cairo_move_to(cr, 0, y - 5);
    cairo_line_to(cr, 7, y);
    cairo_line_to(cr, 0, y + 5);
    cairo_close_path(cr);
    cairo_move_to(cr, 162, y - 5);
    cairo_line_to(cr, 155, y);
    cairo_line_to(cr, 162, y + 5);
    cairo_close_path(cr);
    cairo_fill(cr);
    // The player: a small bright ship shape, nose up.
    const double px = 741 - 638;
    cairo_move_to(cr, px, y - 7);
    cairo_line_to(cr, px + 5, y + 5);
    cairo_line_to(cr, px, y + 3);
    cairo_line_to(cr, px - 5, y + 5);
    cairo_close_path(cr);
    SetColor(cr, kWhite);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    SetColor(cr, kRadarWall);
    cairo_stroke(cr);
    return CanvasToPicture(canvas, kKeyRGB);
}

TDIBImage DrawBendWarning(int w, bool left) {
    // A sign of a bending arrow, set on the outer side of the radar road.
    TCairoCanvas canvas(w, 24);
    cairo_t* cr = canvas.Cr;
    const double cx = left ? 20 : w - 20, dir = left ? -1 : 1;
    ChamferPath(cr, cx - 16, 1, 32, 22, 4, 4, 4, 4);
    SetColor(cr, TColor{0.16, 0.10, 0.0});
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 2);
    SetColor(cr, kWarn);
    cairo_stroke(cr);
    // The arrow climbs, then turns toward the bend.
    cairo_move_to(cr, cx - dir * 6, 20);
    cairo_line_to(cr, cx - dir * 6, 12);
    cairo_curve_to(cr, cx - dir * 6, 8, cx - dir * 3, 7, cx + dir * 2, 7);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    cairo_move_to(cr, cx + dir * 9, 7);
    cairo_line_to(cr, cx + dir * 2, 2.5);
    cairo_line_to(cr, cx + dir * 2, 11.5);
    cairo_close_path(cr);
    cairo_fill(cr);
    return CanvasToPicture(canvas, kKeyRGB);
}

TDIBImage DrawRivalMarker(bool ahead) {
    TCairoCanvas canvas(11, 14);
    cairo_t* cr = canvas.Cr;
    const double tip = ahead ? 0.5 : 13.5, base = ahead ? 8 : 6;
    cairo_move_to(cr, 5.5, tip);
    cairo_line_to(cr, 10.5, base);
    cairo_line_to(cr, 0.5, base);
    cairo_close_path(cr);
    cairo_rectangle(cr, 3.5, ahead ? 8 : 1, 4, 5);
    SetColor(cr, kRival);
    cairo_fill(cr);
    return CanvasToPicture(canvas, kKeyRGB);
}

}  // namespace

std::vector<TPictureItemData> BuildCollection3() {
    // The anchor of each slice (see DrawSlice) as the radar's placement arithmetic puts it:
    // straight and line pieces stand upright at x 4; the shifting rows lean half a column per row.
    std::vector<TPictureItemData> items;
    items.push_back(KeyedItem("RadarRightShiftA", DrawSlice(9, 5.5, false)));    // code 1
    items.push_back(KeyedItem("RadarRightShiftA2", Blank(7, kRowHeight)));       // code 2
    items.push_back(KeyedItem("RadarRightShiftB", DrawSlice(12, 8.5, false)));   // code 3
    items.push_back(KeyedItem("RadarRightShiftB2", Blank(7, kRowHeight)));       // code 4
    items.push_back(KeyedItem("RadarStraight", DrawSlice(4, 4, false)));         // code 6
    items.push_back(KeyedItem("RadarLine", DrawSlice(4, 4, true)));              // code 7
    items.push_back(KeyedItem("RadarLeftShiftA2", Blank(7, kRowHeight)));        // code 10
    items.push_back(KeyedItem("RadarLeftShiftA", DrawSlice(7, 10.5, false)));    // code 20
    items.push_back(KeyedItem("RadarLeftShiftB2", Blank(7, kRowHeight)));        // code 30
    items.push_back(KeyedItem("RadarLeftShiftB", DrawSlice(3, 6.5, false)));     // code 40
    items.push_back(KeyedItem("RadarRival", DrawRivalDot()));
    items.push_back(KeyedItem("RadarPlayerBand", DrawPlayerBand()));
    items.push_back(KeyedItem("RadarTopMask", DrawMask(202, 34, true)));
    items.push_back(KeyedItem("RadarBottomMask", DrawMask(162, 22, false)));
    items.push_back(KeyedItem("RadarBendLeft", DrawBendWarning(46, true)));
    items.push_back(KeyedItem("RadarBendRight", DrawBendWarning(50, false)));
    items.push_back(KeyedItem("RadarAhead", DrawRivalMarker(true)));
    items.push_back(KeyedItem("RadarBehind", DrawRivalMarker(false)));
    return items;
}

}  // namespace quillon::assetgen
