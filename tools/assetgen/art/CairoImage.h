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

// Flattens the canvas: pixels with alpha >= alphaThreshold become opaque (their colour
// un-premultiplied), the rest become keyColor (0x00RRGGBB). Opaque pixels that would
// turn into the key in 16 bits are nudged off it.
TDIBImage CanvasToPicture(const TCairoCanvas& canvas, uint32_t keyColorRGB, int alphaThreshold = 128);

// The same, composited over an opaque background colour instead (for pictures without a key).
TDIBImage CanvasOverBackground(const TCairoCanvas& canvas, uint32_t backgroundRGB);

}  // namespace quillon::assetgen
