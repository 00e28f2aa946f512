// Fuzz target for the bitmap decoder: any bytes as a TDIB payload and as a bitmap file.
// A clean failure is one of the engine's exceptions; anything else is a finding.
// Built with -DQUILLON_DIB_MAX_PIXELS=1048576 to keep huge declared sizes cheap.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/DIB.h"

namespace {

void Check(const quillon::TDIBImage& image) {
    if (image.Width <= 0 || image.Height <= 0 ||
        image.Pixels.size() != static_cast<size_t>(image.Width) * image.Height)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        Check(quillon::DecodeDIB(data, size));
    } catch (const quillon::EEngineError&) {
    }
    try {
        Check(quillon::DecodeBitmapFile(data, size));
    } catch (const quillon::EEngineError&) {
    }
    return 0;
}
