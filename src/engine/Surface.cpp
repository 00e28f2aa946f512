// TDirectDrawSurface: sizing and colour fills.
#include "engine/Surface.h"

#include <algorithm>

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

void TDirectDrawSurface::Fill(uint16_t colour) {
    std::fill(FPixels.begin(), FPixels.end(), colour);
}

void TDirectDrawSurface::FillRect(const TRect& rect, uint16_t colour) {
    TRect r = Intersect(rect, ClientRect());
    for (int y = r.Top; y < r.Bottom; ++y) std::fill(Row(y) + r.Left, Row(y) + r.Right, colour);
}

}  // namespace quillon
