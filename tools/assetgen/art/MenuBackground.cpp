// The menu backdrop (collection 1, item 1): deep space with nebulae, stars, a ringed
// planet, the game's name, and the console rail behind the menu column.
#include <cmath>

#include "art/LabelLog.h"
#include "art/MenuArt.h"
#include "art/RaceArt.h"
#include "art/RaceKit.h"

namespace quillon::assetgen::menuart {

namespace {

void Nebula(cairo_t* cr, assetgen::TArtRandom& rnd, double cx, double cy, double spreadX, double spreadY, TColor a, TColor b,
            int blobs) {
    for (int i = 0; i < blobs; ++i) {
        double x = cx + rnd.Range(-spreadX, spreadX), y = cy + rnd.Range(-spreadY, spreadY);
        double r = rnd.Range(40, 170);
        double mix = rnd.Range(0, 1);
        TColor c{a.R + (b.R - a.R) * mix, a.G + (b.G - a.G) * mix, a.B + (b.B - a.B) * mix};
        cairo_pattern_t* p = cairo_pattern_create_radial(x, y, 0, x, y, r);
        double alpha = rnd.Range(0.05, 0.13);
        cairo_pattern_add_color_stop_rgba(p, 0, c.R, c.G, c.B, alpha);
        cairo_pattern_add_color_stop_rgba(p, 0.55, c.R, c.G, c.B, alpha * 0.45);
        cairo_pattern_add_color_stop_rgba(p, 1, c.R, c.G, c.B, 0);
        cairo_set_source(cr, p);
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    }
}

void Stars(cairo_t* cr, assetgen::TArtRandom& rnd) {
    for (int i = 0; i < 1100; ++i) {
        double x = std::floor(rnd.Range(0, 800)), y = std::floor(rnd.Range(0, 600));
        double v = std::pow(rnd.Range(0, 1), 2.6);
        double tint = rnd.Range(0, 1);
        TColor c = tint < 0.6 ? TColor{0.85, 0.9, 1.0} : (tint < 0.85 ? TColor{0.6, 0.75, 1.0} : TColor{1.0, 0.9, 0.75});
        SetColor(cr, c, 0.18 + 0.82 * v);
        cairo_rectangle(cr, x, y, 1, 1);
        cairo_fill(cr);
    }
    for (int i = 0; i < 46; ++i) {
        double x = rnd.Range(0, 800), y = rnd.Range(0, 600);
        double r = rnd.Range(0.8, 1.7);
        cairo_pattern_t* p = cairo_pattern_create_radial(x, y, 0, x, y, r * 4);
        cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 0.95);
        cairo_pattern_add_color_stop_rgba(p, 0.25, 0.75, 0.88, 1, 0.5);
        cairo_pattern_add_color_stop_rgba(p, 1, 0.4, 0.6, 1, 0);
        cairo_set_source(cr, p);
        cairo_arc(cr, x, y, r * 4, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
        if (i % 5 == 0) {  // a few bright stars with spikes
            double len = rnd.Range(7, 14);
            cairo_set_line_width(cr, 1);
            for (int k = 0; k < 2; ++k) {
                cairo_pattern_t* s = k == 0 ? cairo_pattern_create_linear(x - len, y, x + len, y)
                                            : cairo_pattern_create_linear(x, y - len, x, y + len);
                cairo_pattern_add_color_stop_rgba(s, 0, 0.7, 0.85, 1, 0);
                cairo_pattern_add_color_stop_rgba(s, 0.5, 0.9, 0.95, 1, 0.8);
                cairo_pattern_add_color_stop_rgba(s, 1, 0.7, 0.85, 1, 0);
                cairo_set_source(cr, s);
                if (k == 0) {
                    cairo_move_to(cr, x - len, y + 0.5);
                    cairo_line_to(cr, x + len, y + 0.5);
                } else {
                    cairo_move_to(cr, x + 0.5, y - len);
                    cairo_line_to(cr, x + 0.5, y + len);
                }
                cairo_stroke(cr);
                cairo_pattern_destroy(s);
            }
        }
    }
}

void Planet(cairo_t* cr, assetgen::TArtRandom& rnd) {
    const double cx = 150, cy = 760, r = 360;
    // Atmosphere halo.
    cairo_pattern_t* halo = cairo_pattern_create_radial(cx, cy, r - 10, cx, cy, r + 46);
    cairo_pattern_add_color_stop_rgba(halo, 0, 0.25, 0.7, 1.0, 0.45);
    cairo_pattern_add_color_stop_rgba(halo, 0.3, 0.15, 0.45, 0.95, 0.18);
    cairo_pattern_add_color_stop_rgba(halo, 1, 0.1, 0.2, 0.6, 0);
    cairo_set_source(cr, halo);
    cairo_arc(cr, cx, cy, r + 46, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);

    cairo_save(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_clip(cr);
    cairo_pattern_t* body = cairo_pattern_create_radial(cx + 150, cy - 300, 20, cx, cy, r * 1.2);
    cairo_pattern_add_color_stop_rgb(body, 0, 0.22, 0.42, 0.62);
    cairo_pattern_add_color_stop_rgb(body, 0.35, 0.07, 0.16, 0.32);
    cairo_pattern_add_color_stop_rgb(body, 0.75, 0.025, 0.05, 0.12);
    cairo_pattern_add_color_stop_rgb(body, 1, 0.02, 0.03, 0.07);
    cairo_set_source(cr, body);
    cairo_paint(cr);
    cairo_pattern_destroy(body);
    // Cloud bands, tilted.
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, -0.28);
    for (int i = 0; i < 26; ++i) {
        double y = rnd.Range(-r, r * 0.2);
        double h = rnd.Range(3, 16);
        bool light = rnd.Range(0, 1) < 0.5;
        if (light)
            cairo_set_source_rgba(cr, 0.55, 0.8, 1.0, rnd.Range(0.03, 0.09));
        else
            cairo_set_source_rgba(cr, 0.0, 0.02, 0.06, rnd.Range(0.08, 0.2));
        cairo_rectangle(cr, -r - 20, y, 2 * r + 40, h);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    // Terminator shade on the far side.
    cairo_save(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_clip(cr);
    cairo_pattern_t* shade = cairo_pattern_create_linear(cx + 120, cy - 330, cx - 260, cy - 60);
    cairo_pattern_add_color_stop_rgba(shade, 0, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(shade, 1, 0.0, 0.0, 0.02, 0.75);
    cairo_set_source(cr, shade);
    cairo_paint(cr);
    cairo_pattern_destroy(shade);
    cairo_restore(cr);
    // Lit rim.
    cairo_set_line_width(cr, 2.2);
    cairo_pattern_t* rim = cairo_pattern_create_linear(cx + 200, cy - 340, cx - 240, cy - 140);
    cairo_pattern_add_color_stop_rgba(rim, 0, 0.7, 0.95, 1.0, 0.95);
    cairo_pattern_add_color_stop_rgba(rim, 1, 0.3, 0.6, 1.0, 0.0);
    cairo_set_source(cr, rim);
    cairo_arc(cr, cx, cy, r - 1, M_PI * 1.05, M_PI * 1.95);
    cairo_stroke(cr);
    cairo_pattern_destroy(rim);

    // A ring, seen almost edge-on, passing in front of the planet.
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, -0.28);
    cairo_scale(cr, 1.0, 0.16);
    for (int i = 0; i < 5; ++i) {
        double rr = r * (1.22 + 0.055 * i);
        cairo_set_line_width(cr, 9 - i);
        cairo_set_source_rgba(cr, 0.6, 0.78, 1.0, 0.10 + 0.04 * (i % 2));
        cairo_arc(cr, 0, 0, rr, M_PI * 1.0, M_PI * 2.0);
        cairo_stroke(cr);
    }
    cairo_restore(cr);

    // A small moon.
    const double mx = 395, my = 318, mr = 15;
    cairo_pattern_t* moon = cairo_pattern_create_radial(mx + 5, my - 6, 1, mx, my, mr);
    cairo_pattern_add_color_stop_rgb(moon, 0, 0.62, 0.66, 0.75);
    cairo_pattern_add_color_stop_rgb(moon, 0.6, 0.25, 0.28, 0.38);
    cairo_pattern_add_color_stop_rgb(moon, 1, 0.06, 0.07, 0.12);
    cairo_set_source(cr, moon);
    cairo_arc(cr, mx, my, mr, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(moon);
}

void ConsoleRail(cairo_t* cr) {
    // The menu column: a darkened glass strip with a lit edge.
    cairo_pattern_t* strip = cairo_pattern_create_linear(436, 0, 800, 0);
    cairo_pattern_add_color_stop_rgba(strip, 0, 0.02, 0.04, 0.10, 0.0);
    cairo_pattern_add_color_stop_rgba(strip, 0.06, 0.02, 0.04, 0.10, 0.55);
    cairo_pattern_add_color_stop_rgba(strip, 1, 0.01, 0.02, 0.06, 0.35);
    cairo_set_source(cr, strip);
    cairo_rectangle(cr, 436, 0, 364, 600);
    cairo_fill(cr);

    cairo_pattern_t* edge = cairo_pattern_create_linear(0, 0, 0, 600);
    cairo_pattern_add_color_stop_rgba(edge, 0, kFrame.R, kFrame.G, kFrame.B, 0.0);
    cairo_pattern_add_color_stop_rgba(edge, 0.25, kFrame.R, kFrame.G, kFrame.B, 0.7);
    cairo_pattern_add_color_stop_rgba(edge, 0.8, kFrame.R, kFrame.G, kFrame.B, 0.5);
    cairo_pattern_add_color_stop_rgba(edge, 1, kFrame.R, kFrame.G, kFrame.B, 0.0);
    cairo_set_source(cr, edge);
    cairo_set_line_width(cr, 1);
    cairo_move_to(cr, 444.5, 0);
    cairo_line_to(cr, 444.5, 600);
    cairo_stroke(cr);
    // Tick marks along the rail, one beside each menu slot.
    const int slotY[] = {132, 208, 283, 357, 427, 504};
    for (int y : slotY) {
        SetColor(cr, kCyan, 0.75);
        cairo_rectangle(cr, 441, y + 22, 7, 18);
        cairo_fill(cr);
        SetColor(cr, kFrame, 0.5);
        cairo_rectangle(cr, 443, y + 6, 3, 8);
        cairo_rectangle(cr, 443, y + 48, 3, 8);
        cairo_fill(cr);
    }
    // The title band's lines.
    for (double y : {40.5, 125.5}) {
        cairo_pattern_t* line = cairo_pattern_create_linear(330, 0, 800, 0);
        cairo_pattern_add_color_stop_rgba(line, 0, kFrame.R, kFrame.G, kFrame.B, 0);
        cairo_pattern_add_color_stop_rgba(line, 0.4, kFrame.R, kFrame.G, kFrame.B, 0.55);
        cairo_pattern_add_color_stop_rgba(line, 1, kCyan.R, kCyan.G, kCyan.B, 0.7);
        cairo_set_source(cr, line);
        cairo_move_to(cr, 330, y);
        cairo_line_to(cr, 800, y);
        cairo_stroke(cr);
        cairo_pattern_destroy(line);
    }
    SetColor(cr, kCyan, 0.8);
    cairo_rectangle(cr, 760, 38, 40, 3);
    cairo_rectangle(cr, 760, 124, 40, 3);
    cairo_fill(cr);
    cairo_pattern_destroy(edge);
    cairo_pattern_destroy(strip);
}

void GameName(cairo_t* cr, const TArtWords& words) {
    // The name and its line stay inside the part the score page cuts out as its title.
    const TLabelBox box(cr, 8, 26, 364, 148);
    // An orbit sweeping round the name, with a comet at its head.
    cairo_save(cr);
    cairo_translate(cr, 178, 80);
    cairo_rotate(cr, -0.10);
    cairo_scale(cr, 1.0, 0.24);
    cairo_arc(cr, 0, 0, 168, M_PI * 0.02, M_PI * 1.05);
    cairo_restore(cr);
    cairo_pattern_t* orbit = cairo_pattern_create_linear(20, 0, 340, 0);
    cairo_pattern_add_color_stop_rgba(orbit, 0, kFrame.R, kFrame.G, kFrame.B, 0.0);
    cairo_pattern_add_color_stop_rgba(orbit, 1, kCyan.R, kCyan.G, kCyan.B, 0.9);
    cairo_set_source(cr, orbit);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    cairo_pattern_destroy(orbit);
    const double a = M_PI * 0.02, ex = 168 * std::cos(a), ey = 168 * 0.24 * std::sin(a);
    const double headX = 178 + ex * std::cos(-0.10) - ey * std::sin(-0.10);
    const double headY = 80 + ex * std::sin(-0.10) + ey * std::cos(-0.10);
    cairo_pattern_t* comet = cairo_pattern_create_radial(headX, headY, 0, headX, headY, 12);
    cairo_pattern_add_color_stop_rgba(comet, 0, 1, 1, 1, 1);
    cairo_pattern_add_color_stop_rgba(comet, 0.25, kCyan.R, kCyan.G, kCyan.B, 0.8);
    cairo_pattern_add_color_stop_rgba(comet, 1, kFrame.R, kFrame.G, kFrame.B, 0);
    cairo_set_source(cr, comet);
    cairo_arc(cr, headX, headY, 12, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(comet);
    // The name set large with a cold light, and a line of small type beneath it.
    PaintGlowLabel(cr, words.GameName, 178, 76, FitLabelSize(cr, words.GameName, 290, 60, true, 5), true, kWhite,
                   TColor{0.45, 0.7, 1.0}, kFrame, 0.55, 5);
    cairo_pattern_t* line = cairo_pattern_create_linear(28, 0, 330, 0);
    cairo_pattern_add_color_stop_rgba(line, 0, kCyan.R, kCyan.G, kCyan.B, 0);
    cairo_pattern_add_color_stop_rgba(line, 0.5, kCyan.R, kCyan.G, kCyan.B, 0.9);
    cairo_pattern_add_color_stop_rgba(line, 1, kCyan.R, kCyan.G, kCyan.B, 0);
    cairo_set_source(cr, line);
    cairo_rectangle(cr, 28, 116, 302, 1.5);
    cairo_fill(cr);
    cairo_pattern_destroy(line);
    PaintLabel(cr, words.Tagline, 178, 132, FitLabelSize(cr, words.Tagline, 330, 15, true, 5), true, kSteel, kFrame, 0, 5);
}

// A racer in flight: the race's own ship model, turned to its heading, with an engine trail.
void Racer(cairo_t* cr, int ship, double w, double h, double cx, double cy, double heading, double scale,
           TColor trail) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, heading);
    cairo_scale(cr, scale, scale);
    // Trail behind the engines, fading with distance.
    cairo_pattern_t* t = cairo_pattern_create_linear(0, h * 0.45, 0, h * 0.45 + 260);
    cairo_pattern_add_color_stop_rgba(t, 0, trail.R, trail.G, trail.B, 0.55);
    cairo_pattern_add_color_stop_rgba(t, 1, trail.R, trail.G, trail.B, 0);
    cairo_set_source(cr, t);
    cairo_move_to(cr, -w * 0.22, h * 0.42);
    cairo_line_to(cr, w * 0.22, h * 0.42);
    cairo_line_to(cr, w * 0.05, h * 0.45 + 260);
    cairo_line_to(cr, -w * 0.05, h * 0.45 + 260);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_pattern_destroy(t);
    cairo_pattern_t* core = cairo_pattern_create_radial(0, h * 0.48, 0, 0, h * 0.48, w * 0.3);
    cairo_pattern_add_color_stop_rgba(core, 0, 1, 1, 1, 0.9);
    cairo_pattern_add_color_stop_rgba(core, 1, trail.R, trail.G, trail.B, 0);
    cairo_set_source(cr, core);
    cairo_arc(cr, 0, h * 0.48, w * 0.3, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(core);
    cairo_translate(cr, -w / 2, -h / 2);
    DrawShipModel(cr, ship);
    cairo_restore(cr);
}

void Vignette(cairo_t* cr) {
    cairo_pattern_t* v = cairo_pattern_create_radial(400, 300, 250, 400, 300, 560);
    cairo_pattern_add_color_stop_rgba(v, 0, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(v, 1, 0, 0, 0.01, 0.55);
    cairo_set_source(cr, v);
    cairo_paint(cr);
    cairo_pattern_destroy(v);
}

}  // namespace

std::unique_ptr<TCairoCanvas> DrawMenuScenery() {
    auto canvas = std::make_unique<TCairoCanvas>(800, 600);
    cairo_t* cr = canvas->Cr;
    assetgen::TArtRandom rnd(0x51A7u);
    cairo_pattern_t* base = cairo_pattern_create_linear(0, 0, 300, 600);
    cairo_pattern_add_color_stop_rgb(base, 0, 0.012, 0.020, 0.055);
    cairo_pattern_add_color_stop_rgb(base, 1, 0.020, 0.035, 0.090);
    cairo_set_source(cr, base);
    cairo_paint(cr);
    cairo_pattern_destroy(base);

    Nebula(cr, rnd, 600, 170, 220, 120, TColor{0.30, 0.10, 0.55}, TColor{0.05, 0.25, 0.60}, 60);
    Nebula(cr, rnd, 300, 300, 160, 90, TColor{0.02, 0.30, 0.45}, TColor{0.18, 0.08, 0.40}, 40);
    Nebula(cr, rnd, 700, 480, 120, 120, TColor{0.05, 0.15, 0.45}, TColor{0.25, 0.05, 0.35}, 30);
    Stars(cr, rnd);
    Planet(cr, rnd);
    Vignette(cr);
    Racer(cr, 4, 76, 70, 118, 300, 0.62, 0.75, TColor{1.0, 0.7, 0.3});
    Racer(cr, 1, 64, 73, 262, 232, 0.70, 1.35, TColor{0.4, 0.8, 1.0});
    ConsoleRail(cr);
    return canvas;
}

TDIBImage NameOverScenery(const TCairoCanvas& scenery, const TArtWords& words) {
    TCairoCanvas canvas(scenery.Width, scenery.Height);
    cairo_t* cr = canvas.Cr;
    cairo_surface_flush(scenery.Surface);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, scenery.Surface, 0, 0);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    GameName(cr, words);
    TDIBImage picture = CanvasOverBackground(canvas, 0x000000);
    KeepOffKey(picture);
    return picture;
}

TDIBImage DrawMenuBackground(const TArtWords& words) { return NameOverScenery(*DrawMenuScenery(), words); }

}  // namespace quillon::assetgen::menuart
