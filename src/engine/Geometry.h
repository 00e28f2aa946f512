// Rectangles and points in surface pixels (origin top left, y down).
#pragma once

namespace quillon {

struct TPoint {
    int X = 0;
    int Y = 0;
};

// Half-open rectangle: Left <= x < Right, Top <= y < Bottom.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool operator==(const TRect&) const = default;
};

inline TRect Bounds(int left, int top, int width, int height) {
    return TRect{left, top, left + width, top + height};
}

// True when the two rectangles share at least one pixel; touching edges do not count.
inline bool OverlapsStrictly(const TRect& a, const TRect& b) {
    return a.Left < b.Right && a.Right > b.Left && a.Top < b.Bottom && a.Bottom > b.Top;
}

inline TRect Intersect(const TRect& a, const TRect& b) {
    TRect r{a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
            a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
    if (r.IsEmpty()) return TRect{};
    return r;
}

}  // namespace quillon
