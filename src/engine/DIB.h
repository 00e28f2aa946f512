// Decoding of device-independent bitmaps (the pictures inside image collection
// files) into 8-bit-per-channel images, and encoding for the data writers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/EngineError.h"

namespace quillon {

// A decoded picture, top row first; each pixel is 0x00RRGGBB.
struct TDIBImage {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;

    uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

class EDIBError : public EEngineError {
public:
    EDIBError() : EEngineError("DIB is invalid") {}
};

// The "TDIB" payload: a bitmap without its 14-byte file header.
TDIBImage DecodeDIB(const uint8_t* data, size_t size);
// The "TBitmap" payload: a complete bitmap file starting "BM".
TDIBImage DecodeBitmapFile(const uint8_t* data, size_t size);
// A "TDIB" payload for a picture (40-byte header, 24 bits, bottom-up, uncompressed).
std::vector<uint8_t> EncodeDIB(const TDIBImage& image);

}  // namespace quillon
