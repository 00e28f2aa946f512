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

template <typename PixelFn>
TDIBImage Flatten(const TCairoCanvas& canvas, PixelFn pixel) {
    cairo_surface_flush(canvas.Surface);
    const unsigned char* data = cairo_image_surface_get_data(canvas.Surface);
    int stride = cairo_image_surface_get_stride(canvas.Surface);
    TDIBImage image;
    image.Width = canvas.Width;
    image.Height = canvas.Height;
    image.Pixels.resize(static_cast<size_t>(canvas.Width) * canvas.Height);
    for (int y = 0; y < canvas.Height; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < canvas.Width; ++x) image.Pixels[static_cast<size_t>(y) * canvas.Width + x] = pixel(row[x]);
    }
    return image;
}

}  // namespace

TDIBImage CanvasToPicture(const TCairoCanvas& canvas, uint32_t keyColorRGB, int alphaThreshold) {
    const uint16_t key565 = To565(keyColorRGB);
    return Flatten(canvas, [&](uint32_t argb) -> uint32_t {
        uint32_t a = argb >> 24;
        if (static_cast<int>(a) < alphaThreshold || a == 0) return keyColorRGB;
        // Cairo stores premultiplied colour; undo it for the opaque pixel.
        uint32_t r = ((argb >> 16) & 0xFF) * 255 / a, g = ((argb >> 8) & 0xFF) * 255 / a, b = (argb & 0xFF) * 255 / a;
        uint32_t rgb = (r > 255 ? 255 : r) << 16 | (g > 255 ? 255 : g) << 8 | (b > 255 ? 255 : b);
        if (To565(rgb) == key565) rgb ^= 0x080808;  // one 16-bit step away from the key
        return rgb;
    });
}

TDIBImage CanvasOverBackground(const TCairoCanvas& canvas, uint32_t backgroundRGB) {
    return Flatten(canvas, [&](uint32_t argb) -> uint32_t {
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
