// Shots, asteroids, hit sparks and the star field behind the road.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "art/FireStyles.h"
#include "art/RaceArt.h"
#include "art/RaceKit.h"

namespace quillon::assetgen {

namespace {

// A glowing bolt pointing up, filling w x h.
void DrawBolt(cairo_t* cr, double w, double h, uint32_t outer, uint32_t inner) {
    auto capsule = [&](double rx, double top, double bottom) {
        double cx = w / 2;
        cairo_new_path(cr);
        cairo_arc(cr, cx, top + rx, rx, M_PI, 2 * M_PI);
        cairo_line_to(cr, cx + rx * 0.55, bottom);
        cairo_line_to(cr, cx - rx * 0.55, bottom);
        cairo_close_path(cr);
    };
    SetColor(cr, Hex(outer));
    capsule(w / 2 - 0.3, 0.3, h - 0.3);
    cairo_fill(cr);
    SetColor(cr, Mix(Hex(outer), Hex(inner), 0.5));
    capsule(w / 2 * 0.68, h * 0.06, h * 0.82);
    cairo_fill(cr);
    SetColor(cr, Hex(inner));
    capsule(w / 2 * 0.34, h * 0.1, h * 0.6);
    cairo_fill(cr);
}

void Disc(cairo_t* cr, double x, double y, double r, const TRGB& c) {
    SetColor(cr, c);
    cairo_arc(cr, x, y, std::max(0.0, r), 0, 2 * M_PI);
    cairo_fill(cr);
}

struct TRock {
    std::vector<double> Radius;                // 24 outline radii, 1 = the ellipse
    struct TCrater { double Angle, Dist, Size; };
    std::vector<TCrater> Craters;
};

TRock MakeRock(uint32_t seed) {
    TArtRandom rnd(seed);
    TRock rock;
    for (int i = 0; i < 24; ++i) rock.Radius.push_back(rnd.Range(0.66, 1.0));
    std::vector<double> r = rock.Radius;  // soften: average with the neighbours
    for (int k = 0; k < 24; ++k) r[k] = (rock.Radius[(k + 23) % 24] + 2 * rock.Radius[k] + rock.Radius[(k + 1) % 24]) / 4;
    rock.Radius = r;
    for (int i = 0; i < 6; ++i) rock.Craters.push_back({rnd.Range(0, 2 * M_PI), rnd.Range(0.1, 0.62), rnd.Range(0.1, 0.22)});
    return rock;
}

// A rock turned by `spin` inside a w x h box, lit from the upper left.
void DrawRock(cairo_t* cr, const TRock& rock, double w, double h, double spin, const TRGB& colour) {
    const double cx = w / 2, cy = h / 2, ax = w / 2 - 0.6, ay = h / 2 - 0.6;
    auto point = [&](double angle, double r, double& x, double& y) {
        x = cx + std::cos(angle) * r * ax;
        y = cy + std::sin(angle) * r * ay;
    };
    cairo_new_path(cr);
    for (int k = 0; k <= 24; ++k) {
        double x, y;
        point(k * 2 * M_PI / 24 + spin, rock.Radius[k % 24], x, y);
        if (k == 0) cairo_move_to(cr, x, y); else cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_radial(cx - ax * 0.35, cy - ay * 0.4, 1, cx, cy, std::max(ax, ay) * 1.05);
    TRGB lit = Scale(colour, 1.45), shade = Scale(colour, 0.42);
    cairo_pattern_add_color_stop_rgb(g, 0, lit.R, lit.G, lit.B);
    cairo_pattern_add_color_stop_rgb(g, 0.55, colour.R, colour.G, colour.B);
    cairo_pattern_add_color_stop_rgb(g, 1, shade.R, shade.G, shade.B);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    // Rim light on the sunlit upper left, a dark outline elsewhere.
    cairo_save(cr);
    cairo_clip_preserve(cr);
    SetColor(cr, Scale(colour, 0.25));
    cairo_set_line_width(cr, 2.0);
    cairo_stroke_preserve(cr);
    cairo_translate(cr, 1.6, 1.6);
    cairo_pattern_t* rim = cairo_pattern_create_linear(cx - ax, cy - ay, cx, cy);
    TRGB bright = Scale(colour, 1.8);
    cairo_pattern_add_color_stop_rgba(rim, 0, bright.R, bright.G, bright.B, 1);
    cairo_pattern_add_color_stop_rgba(rim, 1, bright.R, bright.G, bright.B, 0);
    cairo_set_source(cr, rim);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    cairo_pattern_destroy(rim);
    cairo_restore(cr);
    cairo_new_path(cr);
    // Grit: small light and dark specks that turn with the rock.
    TArtRandom grit(static_cast<uint32_t>(rock.Craters.size() * 7919));
    for (int i = 0; i < 26; ++i) {
        double a = grit.Range(0, 2 * M_PI), d = std::sqrt(grit.Unit()) * 0.8, x, y;
        point(a + spin, d, x, y);
        Disc(cr, x, y, 0.7, Scale(colour, grit.Unit() < 0.5 ? 0.6 : 1.35));
    }
    for (const TRock::TCrater& c : rock.Craters) {
        double x, y;
        point(c.Angle + spin, c.Dist, x, y);
        double r = c.Size * std::min(ax, ay) * 1.3;
        // Seen from the side a crater flattens: squash it toward the rim.
        double flat = 1.0 - c.Dist * 0.6;
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, c.Angle + spin);
        cairo_scale(cr, flat, 1.0);
        cairo_arc(cr, 0, 0, r, 0, 2 * M_PI);
        cairo_restore(cr);
        SetColor(cr, Scale(colour, 0.55));
        cairo_fill(cr);
        cairo_save(cr);
        cairo_translate(cr, x + r * 0.2, y + r * 0.2);
        cairo_rotate(cr, c.Angle + spin);
        cairo_scale(cr, flat, 1.0);
        cairo_arc(cr, 0, 0, r * 0.7, 0.6 * M_PI, 1.9 * M_PI);
        cairo_restore(cr);
        SetColor(cr, Scale(colour, 1.25));
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
    }
}

}  // namespace

TPictureItemData BuildShot(int item) {
    if (item == 32)
        return MakeSpriteItem("ShotHeavy", 20, 45, [](cairo_t* cr) { DrawBolt(cr, 20, 45, 0x4CE03A, 0xF4FFE6); });
    if (item == 29)
        return MakeSpriteItem("ShotNeedle", 10, 25, [](cairo_t* cr) { DrawBolt(cr, 10, 25, 0x2FA6FF, 0xEAF8FF); });
    return MakeSpriteItem("ShotLaser", 10, 25, [](cairo_t* cr) { DrawBolt(cr, 10, 25, 0xFF3A2A, 0xFFF0C8); });
}

TPictureItemData BuildMegaShot() {
    return MakeSpriteItem("MegaShot", 32, 32, [](cairo_t* cr) {
        // A star of energy: eight rays round a white-hot ball.
        for (int ray = 0; ray < 8; ++ray) {
            double a = ray * M_PI / 4, len = ray % 2 ? 11.0 : 15.5;
            cairo_move_to(cr, 16 + std::cos(a) * len, 16 + std::sin(a) * len);
            cairo_line_to(cr, 16 + std::cos(a + 0.35) * 6, 16 + std::sin(a + 0.35) * 6);
            cairo_line_to(cr, 16 + std::cos(a - 0.35) * 6, 16 + std::sin(a - 0.35) * 6);
            cairo_close_path(cr);
        }
        SetColor(cr, Hex(0xFF4FA8));
        cairo_fill(cr);
        Disc(cr, 16, 16, 8.5, Hex(0xFF8AD0));
        Disc(cr, 16, 16, 6, Hex(0xFFD8F0));
        Disc(cr, 15, 15, 3, Hex(0xFFFFFF));
    });
}

TPictureItemData BuildAsteroid(bool large) {
    const int w = large ? 74 : 36, h = large ? 52 : 31;
    const TRock rock = MakeRock(large ? 0xA57E501u : 0x5A11u);
    const TRGB colour = large ? Hex(0x7A6656) : Hex(0x6C6A72);
    return MakeFramedItem(large ? "AsteroidLarge" : "AsteroidSmall", w, h, 8, [&](cairo_t* cr, int k) {
        DrawRock(cr, rock, w, h, k * 2 * M_PI / 8 * (large ? -1 : 1), colour);
    });
}

TPictureItemData BuildSparks(int style) {
    const TFireStyle& st = FireStyle(style == 0 ? 0 : style == 1 ? 1 : 2);
    return MakeFramedItem("Sparks" + std::to_string(style + 1), 32, 32, 17, [&](cairo_t* cr, int k) {
        double t = k / 16.0;
        TArtRandom rnd(0x5A4Au + style * 977u);
        if (t < 0.5) {
            double r = 9 * (1 - t * 2) + 1;
            Disc(cr, 16, 16, r, Hex(st.Hot));
            Disc(cr, 16, 16, r * 0.55, Hex(st.Core));
        }
        for (int i = 0; i < 10; ++i) {
            double a = rnd.Range(0, 2 * M_PI), v = rnd.Range(0.6, 1.0);
            double d0 = 15 * v * std::sqrt(t) , d1 = std::max(0.0, d0 - 5 * (1 - t));
            if (t > v || d0 > 15) continue;
            SetColor(cr, Mix(Hex(st.Core), Hex(st.Mid), t));
            cairo_set_line_width(cr, 1.5);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_move_to(cr, 16 + std::cos(a) * d1, 16 + std::sin(a) * d1);
            cairo_line_to(cr, 16 + std::cos(a) * d0 + 0.01, 16 + std::sin(a) * d0);
            cairo_stroke(cr);
        }
    });
}

TPictureItemData BuildStarField() {
    constexpr int W = 800, H = 600;
    TCairoCanvas canvas(W, H);
    cairo_t* cr = canvas.Cr;
    SetColor(cr, Hex(0x04050C));
    cairo_paint(cr);
    // Nebula clouds from smooth periodic waves, so the picture wraps without a seam.
    cairo_surface_flush(canvas.Surface);
    unsigned char* data = cairo_image_surface_get_data(canvas.Surface);
    const int stride = cairo_image_surface_get_stride(canvas.Surface);
    TArtRandom waves(0x6E6231u);
    struct TWave { int Fx, Fy; double Phase, Amp; };
    std::vector<TWave> list;
    for (int i = 0; i < 16; ++i)
        list.push_back({static_cast<int>(waves.Next() % (2 + i / 3)) + 1, static_cast<int>(waves.Next() % 5) - 2,
                        waves.Range(0, 6.28), waves.Range(0.6, 1.0) / (1 + i * 0.3)});
    for (int y = 0; y < H; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < W; ++x) {
            double u = 2 * M_PI * x / W, v = 2 * M_PI * y / H;
            double a = 0, b = 0;
            for (size_t i = 0; i < list.size(); ++i) {
                double s = std::sin(list[i].Fx * u + list[i].Fy * v + list[i].Phase) * list[i].Amp;
                (i % 2 ? a : b) += s;
            }
            double violet = std::clamp(a * 0.42 + 0.05, 0.0, 1.0), teal = std::clamp(b * 0.42 - 0.05, 0.0, 1.0);
            violet *= violet;
            teal *= teal;
            double r = 4 + 62 * violet + 4 * teal, g = 5 + 10 * violet + 42 * teal, bl = 13 + 82 * violet + 58 * teal;
            row[x] = 0xFF000000u | static_cast<uint32_t>(std::min(255.0, r)) << 16 |
                     static_cast<uint32_t>(std::min(255.0, g)) << 8 | static_cast<uint32_t>(std::min(255.0, bl));
        }
    }
    cairo_surface_mark_dirty(canvas.Surface);
    // Stars: mostly faint points, some bright with a cross glint; each drawn again across
    // the edges it touches so the tiling shows no cut.
    TArtRandom rnd(0x57A125u);
    for (int i = 0; i < 900; ++i) {
        double x = rnd.Range(0, W), y = rnd.Range(0, H), m = rnd.Unit();
        double r = m > 0.985 ? 1.7 : m > 0.9 ? 1.1 : 0.6;
        double tint = rnd.Unit();
        TRGB c = tint < 0.2 ? Hex(0xFFD8B0) : tint < 0.45 ? Hex(0xB8D4FF) : Hex(0xF4F6FF);
        c = Scale(c, 0.45 + 0.55 * m);
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                double sx = x + dx * W, sy = y + dy * H;
                if (sx < -8 || sx > W + 8 || sy < -8 || sy > H + 8) continue;
                Disc(cr, sx, sy, r, c);
                if (m > 0.985) {
                    SetColor(cr, c, 0.7);
                    cairo_set_line_width(cr, 0.8);
                    cairo_move_to(cr, sx - 5, sy);
                    cairo_line_to(cr, sx + 5, sy);
                    cairo_move_to(cr, sx, sy - 5);
                    cairo_line_to(cr, sx, sy + 5);
                    cairo_stroke(cr);
                }
            }
        }
    }
    TPictureItemData item;
    item.Name = "Stars";
    item.Picture = CanvasOverBackground(canvas, 0x04050C);
    item.Transparent = false;
    return item;
}

}  // namespace quillon::assetgen
