// Cairo canvases and their flattening into pictures for the collection writer.
#include "art/CairoImage.h"

#include "engine/Surface.h"

namespace quillon::assetgen {

TCairoCanvas::TCairoCanvas(int width, int height) : Width(width), Height(height) {
    Surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    Cr = cairo_create(Surface);
}

TCairoCanvas::~TCairoCanvas() {
    cairo_destroy(Cr);
    cairo_surface_destroy(Surface);
}

namespace {

uint16_t To565(uint32_t rgb) {
    return PackRGB565(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb));
}

}  // namespace

uint32_t AwayFromKey(uint32_t rgb, uint32_t keyRGB) {
    return To565(rgb) == To565(keyRGB) ? rgb ^ 0x080808 : rgb;
}

TDIBImage CanvasToPicture(const TCairoCanvas& canvas, uint32_t keyColorRGB, int alphaThreshold) {
    return MapCanvas(canvas, [&](uint32_t argb, int, int) -> uint32_t {
        uint32_t a = argb >> 24;
        if (static_cast<int>(a) < alphaThreshold || a == 0) return keyColorRGB;
        // Cairo stores premultiplied colour; undo it for the opaque pixel.
        uint32_t r = ((argb >> 16) & 0xFF) * 255 / a, g = ((argb >> 8) & 0xFF) * 255 / a, b = (argb & 0xFF) * 255 / a;
        uint32_t rgb = (r > 255 ? 255 : r) << 16 | (g > 255 ? 255 : g) << 8 | (b > 255 ? 255 : b);
        return AwayFromKey(rgb, keyColorRGB);
    });
}

TDIBImage CanvasOverBackground(const TCairoCanvas& canvas, uint32_t backgroundRGB) {
    return MapCanvas(canvas, [&](uint32_t argb, int, int) -> uint32_t {
        uint32_t a = argb >> 24;
        auto channel = [&](int shift) {
            uint32_t src = (argb >> shift) & 0xFF;  // premultiplied
            uint32_t bg = (backgroundRGB >> shift) & 0xFF;
            return src + bg * (255 - a) / 255;
        };
        return channel(16) << 16 | channel(8) << 8 | channel(0);
    });
}

}  // namespace quillon::assetgen
