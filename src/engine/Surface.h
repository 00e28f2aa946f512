// TDirectDrawSurface: a 16-bit RGB565 picture in memory. The back surface every
// frame is composed on is one of these, and so is every restored image pattern.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/Geometry.h"

namespace quillon {

// Packs 8-bit channels into RGB565 by dropping the low bits.
inline uint16_t PackRGB565(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

// Widens RGB565 to 8-bit channels by bit replication (0x1F -> 0xFF, 0 -> 0).
inline void UnpackRGB565(uint16_t pixel, uint8_t& r, uint8_t& g, uint8_t& b) {
    uint8_t r5 = (pixel >> 11) & 0x1F, g6 = (pixel >> 5) & 0x3F, b5 = pixel & 0x1F;
    r = static_cast<uint8_t>((r5 << 3) | (r5 >> 2));
    g = static_cast<uint8_t>((g6 << 2) | (g6 >> 4));
    b = static_cast<uint8_t>((b5 << 3) | (b5 >> 2));
}

class TDirectDrawSurface {
public:
    TDirectDrawSurface() = default;
    TDirectDrawSurface(int width, int height) { SetSize(width, height); }

    void SetSize(int width, int height);  // contents become 0 (black)
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    TRect ClientRect() const { return TRect{0, 0, FWidth, FHeight}; }

    void Fill(uint16_t colour);
    void FillRect(const TRect& rect, uint16_t colour);  // clipped to the surface

    uint16_t* Row(int y) { return FPixels.data() + static_cast<size_t>(y) * FWidth; }
    const uint16_t* Row(int y) const { return FPixels.data() + static_cast<size_t>(y) * FWidth; }
    uint16_t Pixel(int x, int y) const { return Row(y)[x]; }
    void SetPixel(int x, int y, uint16_t colour) { Row(y)[x] = colour; }
    const std::vector<uint16_t>& Pixels() const { return FPixels; }

private:
    int FWidth = 0;
    int FHeight = 0;
    std::vector<uint16_t> FPixels;
};

}  // namespace quillon
