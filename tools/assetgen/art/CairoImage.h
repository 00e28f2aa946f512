// Bridges cairo drawing and the collection writer: a cairo image surface of a given
// size, and its conversion to a decoded picture with the key colour under clear pixels.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>

#include "engine/DIB.h"

namespace quillon::assetgen {

struct TCairoCanvas {
    TCairoCanvas(int width, int height);
    ~TCairoCanvas();
    TCairoCanvas(const TCairoCanvas&) = delete;
    TCairoCanvas& operator=(const TCairoCanvas&) = delete;

    cairo_surface_t* Surface = nullptr;
    cairo_t* Cr = nullptr;
    int Width = 0;
    int Height = 0;
};

// Builds a picture from the canvas pixel by pixel: pixel(argb, x, y) gives 0x00RRGGBB
// for cairo's premultiplied ARGB value at (x, y).
template <typename PixelFn>
TDIBImage MapCanvas(const TCairoCanvas& canvas, PixelFn pixel) {
    cairo_surface_flush(canvas.Surface);
    const unsigned char* data = cairo_image_surface_get_data(canvas.Surface);
    int stride = cairo_image_surface_get_stride(canvas.Surface);
    TDIBImage image;
    image.Width = canvas.Width;
    image.Height = canvas.Height;
    image.Pixels.resize(static_cast<size_t>(canvas.Width) * canvas.Height);
    for (int y = 0; y < canvas.Height; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < canvas.Width; ++x)
            image.Pixels[static_cast<size_t>(y) * canvas.Width + x] = pixel(row[x], x, y);
    }
    return image;
}

// rgb, or the colour one 16-bit step away when rgb would turn into the key colour.
uint32_t AwayFromKey(uint32_t rgb, uint32_t keyRGB);

// Flattens the canvas: pixels with alpha >= alphaThreshold become opaque (their colour
// un-premultiplied), the rest become keyColor (0x00RRGGBB). Opaque pixels that would
// turn into the key in 16 bits are nudged off it.
TDIBImage CanvasToPicture(const TCairoCanvas& canvas, uint32_t keyColorRGB, int alphaThreshold = 128);

// The same, composited over an opaque background colour instead (for pictures without a key).
TDIBImage CanvasOverBackground(const TCairoCanvas& canvas, uint32_t backgroundRGB);

}  // namespace quillon::assetgen
