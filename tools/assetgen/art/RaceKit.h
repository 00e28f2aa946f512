// Small drawing kit shared by the race pictures: a seeded random source, colours,
// pango labels and the packing of drawn frames into collection items.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <string>

#include "art/CairoImage.h"
#include "engine/CollectionFiles.h"

namespace quillon::assetgen {

// Sprites of the race use magenta as their key colour: nothing we draw is magenta.
constexpr uint32_t RaceKeyRGB = 0xFF00FF;

// A small deterministic generator (xorshift), so every run draws the same pictures.
class TArtRandom {
public:
    explicit TArtRandom(uint32_t seed) : State(seed ? seed : 0x9E3779B9u) {}
    uint32_t Next() {
        State ^= State << 13;
        State ^= State >> 17;
        State ^= State << 5;
        return State;
    }
    double Unit() { return (Next() >> 8) / 16777216.0; }                // 0 <= r < 1
    double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }

private:
    uint32_t State;
};

struct TRGB {
    double R, G, B;
};
TRGB Mix(const TRGB& a, const TRGB& b, double t);
TRGB Scale(const TRGB& c, double k);
inline TRGB Hex(uint32_t rgb) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
}
void SetColor(cairo_t* cr, const TRGB& c, double alpha = 1.0);

// Paints a Russian (UTF-8) label with its layout centred on (cx, cy).
void DrawLabel(cairo_t* cr, const std::string& utf8, const std::string& font, double cx, double cy,
               const TRGB& color, double alpha = 1.0);

// Draws `count` frames side by side, each `w` x `h`, with draw(cr, frame) in frame-local
// coordinates, and returns the keyed item cut into those patterns.
TPictureItemData MakeFramedItem(const std::string& name, int w, int h, int count,
                                const std::function<void(cairo_t*, int)>& draw);
// One keyed picture of one pattern.
TPictureItemData MakeSpriteItem(const std::string& name, int w, int h, const std::function<void(cairo_t*)>& draw);
// A 1 x 1 fully keyed picture for an index the game never draws.
TPictureItemData MakePlaceholder(const std::string& name);

}  // namespace quillon::assetgen
