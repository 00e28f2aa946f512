// TDirectDrawSurface: sizing and colour fills.
#include "engine/Surface.h"

#include <algorithm>
#include <cstring>

namespace quillon {

void TDirectDrawSurface::SetSize(int width, int height) {
    if (width <= 0 || height <= 0) {
        width = 0;
        height = 0;
    }
    FWidth = width;
    FHeight = height;
    FPixels.assign(static_cast<size_t>(width) * height, 0);
}

// Every frame starts with a black fill: a colour of two equal bytes goes through memset,
// which is several times faster than filling 16-bit pixels one by one.
void TDirectDrawSurface::Fill(uint16_t colour) {
    if ((colour & 0xFF) == (colour >> 8))
        std::memset(FPixels.data(), colour & 0xFF, FPixels.size() * sizeof(uint16_t));
    else
        std::fill(FPixels.begin(), FPixels.end(), colour);
}

void TDirectDrawSurface::FillRect(const TRect& rect, uint16_t colour) {
    TRect r = Intersect(rect, ClientRect());
    for (int y = r.Top; y < r.Bottom; ++y) std::fill(Row(y) + r.Left, Row(y) + r.Right, colour);
}

}  // namespace quillon
