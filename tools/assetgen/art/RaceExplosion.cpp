// The explosion of a ship, 17 frames of 64 x 64: a white flash, a fireball that boils out
// to the edges of the frame, hull debris flung out with burning trails, and a long fade
// through smoke and embers.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "art/FireStyles.h"
#include "art/RaceArt.h"
#include "art/RaceKit.h"

namespace quillon::assetgen {

namespace {

void Disc(cairo_t* cr, double x, double y, double r, const TRGB& c) {
    if (r <= 0) return;
    SetColor(cr, c);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    cairo_fill(cr);
}

struct TPuff {
    double Angle, Dist, Size, Delay;
};

struct TChunk {
    double Angle, Speed, Spin, Size, Life;
    double Corner[4];  // radius of each corner, so every chunk has its own shape
};

struct TSpark {
    double Angle, Speed, Life;
};

struct TEmber {
    double Angle, Dist, Life;  // Life: how far into the fade it still glows
};

class TBlast {
public:
    TBlast(double size, const TFireStyle& style, uint32_t seed, int puffs) : C(size / 2), R(size / 2 - 1), St(style) {
        TArtRandom rnd(seed);
        for (int i = 0; i < puffs; ++i)
            Puffs.push_back({rnd.Range(0, 2 * M_PI), rnd.Range(0.05, 0.62), rnd.Range(0.26, 0.44), rnd.Range(0, 0.25)});
        for (int i = 0; i < 24; ++i)
            Smoke.push_back({rnd.Range(0, 2 * M_PI), rnd.Range(0.1, 0.6), rnd.Range(0.22, 0.36), rnd.Range(0.3, 0.5)});
        for (int i = 0; i < 9; ++i) {
            TChunk c{rnd.Range(0, 2 * M_PI), rnd.Range(0.55, 1.0), rnd.Range(-9, 9), rnd.Range(2.4, 4.2),
                     rnd.Range(0.75, 1.05), {}};
            for (double& r : c.Corner) r = rnd.Range(0.6, 1.0);
            Chunks.push_back(c);
        }
        for (int i = 0; i < 22; ++i) Sparks.push_back({rnd.Range(0, 2 * M_PI), rnd.Range(0.5, 1.0), rnd.Range(0.35, 0.8)});
        for (int i = 0; i < 14; ++i) Embers.push_back({rnd.Range(0, 2 * M_PI), rnd.Range(0.1, 0.75), rnd.Range(0.2, 1.2)});
    }

    void Draw(cairo_t* cr, double t) const {
        DrawSmoke(cr, t);
        DrawFlash(cr, t);
        DrawFire(cr, t);
        DrawCore(cr, t);
        DrawShockRing(cr, t);
        DrawChunks(cr, t);
        DrawSparks(cr, t);
        DrawEmbers(cr, t);
    }

private:
    TRGB Heat(double age) const {  // a flame's colour as it cools
        if (age < 0.12) return Mix(Hex(St.Core), Hex(St.Hot), age / 0.12);
        if (age < 0.4) return Mix(Hex(St.Hot), Hex(St.Mid), (age - 0.12) / 0.28);
        if (age < 0.65) return Mix(Hex(St.Mid), Hex(St.Edge), (age - 0.4) / 0.25);
        return Mix(Hex(St.Edge), Hex(St.Smoke), std::min(1.0, (age - 0.65) / 0.2));
    }

    // Keeps a disc inside the frame.
    double Fit(double x, double y, double r) const { return std::min(r, std::min({x, y, 2 * C - x, 2 * C - y}) - 0.5); }

    // Smoke rises behind the fire from the middle of the blast on and thins out to the end.
    void DrawSmoke(cairo_t* cr, double t) const {
        for (const TPuff& p : Smoke) {
            const double age = (t - p.Delay) / (1 - p.Delay);
            if (age <= 0) continue;
            const double d = R * p.Dist * (0.8 + 0.5 * age);
            const double x = C + std::cos(p.Angle) * d, y = C + std::sin(p.Angle) * d - age * R * 0.18;
            const double r = Fit(x, y, R * p.Size * (1.0 - 0.55 * age * age));
            const TRGB shade = Mix(Scale(Hex(St.Smoke), 1.7), Scale(Hex(St.Smoke), 0.9), age);
            Disc(cr, x, y, r, shade);
            Disc(cr, x - r * 0.25, y - r * 0.25, r * 0.5, Scale(shade, 1.25));
        }
    }

    // The first frames: a blinding disc that almost fills the frame, then sinks into the fire.
    void DrawFlash(cairo_t* cr, double t) const {
        if (t >= 0.3) return;
        const double r = R * (t < 0.07 ? 0.7 + t / 0.07 * 0.25 : 0.95 * (0.3 - t) / 0.23);
        Disc(cr, C, C, r, Hex(St.Hot));
        Disc(cr, C, C, r * 0.78, Mix(Hex(St.Hot), Hex(St.Core), 0.6));
        Disc(cr, C, C, r * 0.55, Hex(St.Core));
    }

    // Puffs that swell and cool from white through the style's colours; outer rims first,
    // then bodies, then hot hearts, so the fireball reads as one boiling mass.
    void DrawFire(cairo_t* cr, double t) const {
        for (int layer = 0; layer < 3; ++layer) {
            for (const TPuff& p : Puffs) {
                const double age = std::clamp((t - p.Delay) / (0.85 - p.Delay), 0.0, 1.0);
                if (age <= 0 || age >= 1) continue;
                const double grow = 1 - (1 - age) * (1 - age);
                const double d = R * p.Dist * (0.35 + 0.85 * grow);
                double r = R * p.Size * (0.5 + 0.8 * grow);
                if (age > 0.7) r *= 1 - (age - 0.7) / 0.3 * 0.8;
                const double x = C + std::cos(p.Angle) * d, y = C + std::sin(p.Angle) * d - age * R * 0.1;
                r = Fit(x, y, r);
                if (r <= 0.5) continue;
                const TRGB body = Heat(age);
                if (layer == 0) Disc(cr, x, y, r, age < 0.65 ? Hex(St.Edge) : Scale(Hex(St.Smoke), 0.8));
                if (layer == 1) Disc(cr, x, y, r * 0.82, body);
                if (layer == 2 && age < 0.55) Disc(cr, x - r * 0.18, y - r * 0.2, r * 0.45, Mix(Hex(St.Core), body, age * 1.4));
            }
        }
    }

    // A white-hot heart that stays bright while the fire spreads round it.
    void DrawCore(cairo_t* cr, double t) const {
        if (t >= 0.5) return;
        const double k = 1 - t / 0.5;
        Disc(cr, C, C, R * 0.45 * std::sqrt(k), Mix(Hex(St.Mid), Hex(St.Hot), k));
        Disc(cr, C, C, R * 0.32 * std::sqrt(k), Mix(Hex(St.Hot), Hex(St.Core), k));
        Disc(cr, C, C, R * 0.2 * k, Hex(St.Core));
    }

    void DrawShockRing(cairo_t* cr, double t) const {
        if (t <= 0.05 || t >= 0.4) return;
        const double rr = std::min(R * (0.4 + t * 1.6), R - 1.5);
        SetColor(cr, Mix(Hex(St.Core), Hex(St.Mid), t * 2.5));
        cairo_set_line_width(cr, std::max(1.0, 3.0 * (1 - t / 0.4)));
        cairo_arc(cr, C, C, rr, 0, 2 * M_PI);
        cairo_stroke(cr);
    }

    // Pieces of the hull fly out tumbling, glowing at first and dragging fire behind them,
    // then cool to dark metal near the edge of the frame.
    void DrawChunks(cairo_t* cr, double t) const {
        for (const TChunk& c : Chunks) {
            if (t < 0.12 || t > c.Life) continue;  // first hidden in the flash
            const double travel = R * c.Speed * (0.15 + 0.85 * (1 - (1 - t) * (1 - t)));
            const double d = std::min(travel, R - c.Size - 1.0);
            const double x = C + std::cos(c.Angle) * d, y = C + std::sin(c.Angle) * d;
            if (t > 0.08 && t < 0.7) {
                const double tail = std::max(0.0, d - R * 0.3 * (1 - t));
                SetColor(cr, Heat(0.2 + t * 0.6));
                cairo_set_line_width(cr, c.Size * 1.2);
                cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
                cairo_move_to(cr, C + std::cos(c.Angle) * tail, C + std::sin(c.Angle) * tail);
                cairo_line_to(cr, x, y);
                cairo_stroke(cr);
            }
            cairo_save(cr);
            cairo_translate(cr, x, y);
            cairo_rotate(cr, c.Spin * t);
            for (int k = 0; k < 4; ++k) {
                const double a = k * M_PI / 2 + 0.3 * k;
                cairo_line_to(cr, std::cos(a) * c.Size * c.Corner[k], std::sin(a) * c.Size * c.Corner[k]);
            }
            cairo_close_path(cr);
            cairo_restore(cr);
            const TRGB metal = Hex(0x9AA0AA);
            SetColor(cr, t < 0.3 ? Mix(Hex(St.Hot), metal, t / 0.3) : Mix(metal, Hex(0x3A3C44), (t - 0.3) / 0.7));
            cairo_fill_preserve(cr);
            SetColor(cr, Scale(Hex(St.Edge), 0.8));
            cairo_set_line_width(cr, 0.8);
            cairo_stroke(cr);
        }
    }

    void DrawSparks(cairo_t* cr, double t) const {
        for (const TSpark& s : Sparks) {
            if (t > s.Life) continue;
            const double d0 = R * s.Speed * (0.25 + 0.75 * t / s.Life), d1 = std::max(0.0, d0 - R * 0.12);
            if (d0 > R - 1) continue;
            SetColor(cr, Mix(Hex(St.Core), Hex(St.Mid), t / s.Life));
            cairo_set_line_width(cr, 1.3);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_move_to(cr, C + std::cos(s.Angle) * d1, C + std::sin(s.Angle) * d1);
            cairo_line_to(cr, C + std::cos(s.Angle) * d0, C + std::sin(s.Angle) * d0);
            cairo_stroke(cr);
        }
    }

    // Embers glow in the smoke to the last frame, fewer and dimmer as it clears.
    void DrawEmbers(cairo_t* cr, double t) const {
        if (t < 0.55) return;
        const double fade = (t - 0.55) / 0.45;
        for (const TEmber& e : Embers) {
            if (e.Life < fade) continue;  // they die out one by one
            const double d = R * e.Dist * (1.0 + 0.2 * fade);
            const double x = C + std::cos(e.Angle) * d, y = C + std::sin(e.Angle) * d - fade * R * 0.15;
            Disc(cr, x, y, 1.4, Mix(Hex(St.Hot), Hex(St.Edge), fade));
        }
    }

    double C, R;
    const TFireStyle& St;
    std::vector<TPuff> Puffs, Smoke;
    std::vector<TChunk> Chunks;
    std::vector<TSpark> Sparks;
    std::vector<TEmber> Embers;
};

}  // namespace

TPictureItemData BuildExplosion(int style) {
    const TBlast blast(64, FireStyle(style), 0xB1A57u + style * 7919u, 18 + style * 2);
    return MakeFramedItem("Explosion" + std::to_string(style + 1), 64, 64, 17,
                          [&](cairo_t* cr, int k) { blast.Draw(cr, k / 16.0); });
}

}  // namespace quillon::assetgen
