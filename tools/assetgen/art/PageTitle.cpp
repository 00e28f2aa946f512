// The web page's title art, from the menu backdrop.
#include "art/PageTitle.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "art/ArtWords.h"
#include "art/MenuArt.h"
#include "art/MenuArtKit.h"

namespace quillon::assetgen {
namespace {

// The part of the 800 x 600 backdrop that holds the name, its orbit and the line beneath.
constexpr int kLeft = 0, kTop = 22, kWidth = 372, kHeight = 130;
// How far in from the edges the picture fades from the page's ground.
constexpr double kFade = 18;

uint32_t Mix(uint32_t from, uint32_t to, double t) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const double a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
        out |= static_cast<uint32_t>(std::lround(a + (b - a) * t)) << shift;
    }
    return out;
}

uint32_t Rgb(menuart::TColor c) {
    return static_cast<uint32_t>(std::lround(c.R * 255)) << 16 | static_cast<uint32_t>(std::lround(c.G * 255)) << 8 |
           static_cast<uint32_t>(std::lround(c.B * 255));
}

}  // namespace

TDIBImage DrawPageTitle(TLanguage language) {
    TDIBImage title =
        menuart::Crop(menuart::DrawMenuBackground(ArtWords(language)), kLeft, kTop, kWidth, kHeight);
    const uint32_t ground = Rgb(menuart::kInk);
    for (int y = 0; y < title.Height; ++y) {
        for (int x = 0; x < title.Width; ++x) {
            const double edge = std::min({x + 0.5, title.Width - x - 0.5, y + 0.5, title.Height - y - 0.5});
            if (edge >= kFade) continue;
            uint32_t& pixel = title.Pixels[static_cast<size_t>(y) * title.Width + x];
            pixel = Mix(ground, pixel, edge / kFade);
        }
    }
    return title;
}

bool WritePageTitle(const std::string& path, TLanguage language) {
    const TDIBImage title = DrawPageTitle(language);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, title.Width, title.Height);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < title.Height; ++y) {
        auto* line = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < title.Width; ++x) line[x] = title.At(x, y);
    }
    cairo_surface_mark_dirty(surface);
    const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}

}  // namespace quillon::assetgen
