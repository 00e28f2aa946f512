// A screenshot of the headless driver read back as 8-bit RGB pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon::testing {

struct TRgb {
    uint8_t R = 0, G = 0, B = 0;
    bool operator==(const TRgb&) const = default;
};

struct TPngImage {
    int Width = 0, Height = 0;
    std::vector<TRgb> Pixels;  // row by row
    const TRgb& At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

// Empty (0 x 0) when the file is missing or not a PNG.
TPngImage ReadPng(const std::string& path);

}  // namespace quillon::testing
