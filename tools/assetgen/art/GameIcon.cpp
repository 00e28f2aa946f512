// The game's icon: a rounded night-blue tile, a few stars, the glowing road edges and
// ship 1 nose up with its engines lit. Drawn in a 256-unit box and scaled, so every size
// is the same picture; small sizes keep the ship large and drop the stars.
#include "art/GameIcon.h"

#include <cairo.h>

#include <cmath>

#include "art/CairoImage.h"
#include "art/MenuArtKit.h"
#include "art/RaceArt.h"
#include "art/RaceKit.h"

namespace quillon::assetgen {

namespace {

constexpr double Box = 256.0;

void DrawTile(cairo_t* cr) {
    menuart::RoundedPath(cr, 8, 8, Box - 16, Box - 16, 44);
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 8, 0, Box - 8);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.02, 0.03, 0.12);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.08, 0.12, 0.32);
    cairo_set_source(cr, sky);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(sky);
    cairo_set_source_rgba(cr, 0.45, 0.75, 1.0, 0.9);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
}

void DrawStars(cairo_t* cr) {
    TArtRandom random(1997);
    for (int i = 0; i < 26; ++i) {
        double x = random.Range(28, Box - 28), y = random.Range(28, Box - 28);
        double r = random.Range(1.2, 3.0);
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 0.85, 0.9, 1.0, random.Range(0.5, 1.0));
        cairo_fill(cr);
    }
}

// The road's two edges narrowing towards the top, as the race shows them.
void DrawRoad(cairo_t* cr) {
    for (int side : {-1, 1}) {
        cairo_move_to(cr, Box / 2 + side * 104, Box - 20);
        cairo_line_to(cr, Box / 2 + side * 40, 20);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_source_rgba(cr, 0.2, 0.9, 1.0, 0.25);
        cairo_set_line_width(cr, 16);
        cairo_stroke_preserve(cr);
        cairo_set_source_rgba(cr, 0.55, 0.95, 1.0, 0.9);
        cairo_set_line_width(cr, 5);
        cairo_stroke(cr);
    }
}

void DrawFlames(cairo_t* cr) {
    for (double x : {-11.5, 11.5}) {
        cairo_pattern_t* flame = cairo_pattern_create_radial(x, 34, 0, x, 34, 14);
        cairo_pattern_add_color_stop_rgba(flame, 0, 1.0, 1.0, 1.0, 1.0);
        cairo_pattern_add_color_stop_rgba(flame, 0.4, 0.35, 0.85, 1.0, 0.9);
        cairo_pattern_add_color_stop_rgba(flame, 1, 0.1, 0.3, 1.0, 0.0);
        cairo_set_source(cr, flame);
        cairo_save(cr);
        cairo_translate(cr, x, 34);
        cairo_scale(cr, 0.6, 1.4);
        cairo_arc(cr, 0, 6, 12, 0, 2 * M_PI);
        cairo_restore(cr);
        cairo_fill(cr);
        cairo_pattern_destroy(flame);
    }
}

}  // namespace

const std::vector<int>& GameIconSizes() {
    static const std::vector<int> sizes = {16, 22, 24, 32, 48, 64, 128, 256};
    return sizes;
}

bool WriteGameIcon(const std::string& path, int size) {
    TCairoCanvas canvas(size, size);
    cairo_t* cr = canvas.Cr;
    cairo_scale(cr, size / Box, size / Box);
    DrawTile(cr);
    if (size >= 32) DrawStars(cr);
    DrawRoad(cr);
    // Ship 1 is drawn in a 64 x 73 box centred on its model origin at (32, 36.5).
    const double shipScale = size >= 32 ? 2.7 : 3.1;
    cairo_save(cr);
    cairo_translate(cr, Box / 2, Box / 2 + 4);
    cairo_scale(cr, shipScale, shipScale);
    cairo_translate(cr, -32, -36.5);
    cairo_save(cr);
    cairo_translate(cr, 32, 36.5);
    DrawFlames(cr);
    cairo_restore(cr);
    DrawShipModel(cr, 1);
    cairo_restore(cr);
    cairo_surface_flush(canvas.Surface);
    return cairo_surface_write_to_png(canvas.Surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace quillon::assetgen
