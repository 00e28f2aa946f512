// The software drawing behind image collection items: colour-keyed copy, scaled
// alpha blend and rotated copy, all on RGB565 surfaces and clipped to both sides.
#include "engine/Blit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>

#include "engine/Rounding.h"

namespace quillon {
namespace {

// Sixteen pixels at a time through the compiler's vector types, without branches:
// reading and rewriting the destination costs less than mispredicted jumps at sprite
// outlines. On x86-64 an AVX2 version is chosen at load time where the processor has it.
typedef uint16_t TPixels16 __attribute__((vector_size(32)));

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
void CopyRowKeyed(uint16_t* d, const uint16_t* s, int n, uint16_t key) {
    int i = 0;
    const TPixels16 keys = TPixels16{} + key;
    for (; i + 16 <= n; i += 16) {
        TPixels16 sv, dv;
        std::memcpy(&sv, s + i, sizeof sv);
        std::memcpy(&dv, d + i, sizeof dv);
        const TPixels16 isKey = static_cast<TPixels16>(sv == keys);
        const TPixels16 out = (dv & isKey) | (sv & ~isKey);
        std::memcpy(d + i, &out, sizeof out);
    }
    for (; i < n; ++i)
        if (s[i] != key) d[i] = s[i];
}

// A plain row copy. Rows of two surfaces never overlap, so they take memcpy, the cheaper call
// (the sanitizer build's memmove copies a byte at a time); a surface drawn onto itself keeps
// memmove.
void CopyRow(uint16_t* d, const uint16_t* s, int n, bool sameSurface) {
    if (sameSurface)
        std::memmove(d, s, n * sizeof(uint16_t));
    else
        std::memcpy(d, s, n * sizeof(uint16_t));
}

uint16_t Blend(uint16_t s, uint16_t d, int alpha) {
    const int inv = 255 - alpha;
    const int r = (((s >> 11) & 0x1F) * alpha + ((d >> 11) & 0x1F) * inv) / 255;
    const int g = (((s >> 5) & 0x3F) * alpha + ((d >> 5) & 0x3F) * inv) / 255;
    const int b = ((s & 0x1F) * alpha + (d & 0x1F) * inv) / 255;
    return static_cast<uint16_t>((r << 11) | (g << 5) | b);
}

// One destination row of a scaled blend: source pixel (fx >> 16) for each pixel,
// fx advancing by step.
template <bool Keyed, bool Opaque>
void ScaleRow(uint16_t* d, const uint16_t* sp, int n, int64_t fx, int64_t step, uint16_t key, int alpha) {
    for (int i = 0; i < n; ++i, fx += step) {
        const uint16_t v = sp[fx >> 16];
        if (Keyed && v == key) continue;
        d[i] = Opaque ? v : Blend(v, d[i], alpha);
    }
}

// cos(2 * pi * i / 256) in 16.16 fixed point; sin(i) is entry (i + 192) mod 256.
const std::array<int64_t, 256>& FixedCosTable() {
    static const std::array<int64_t, 256> table = [] {
        std::array<int64_t, 256> t{};
        for (int i = 0; i < 256; ++i) t[i] = Round(std::cos(2 * std::numbers::pi * i / 256) * 65536);
        return t;
    }();
    return table;
}

// Rotated drawing refuses sizes and centres no sprite comes near; within these limits
// all of its fixed-point arithmetic fits 64 bits.
constexpr int kMaxRotatedSide = 1 << 15;
constexpr double kMaxCentre = 16;

}  // namespace

uint16_t ColorToRGB565(uint32_t colorBGR) {
    return PackRGB565(static_cast<uint8_t>(colorBGR), static_cast<uint8_t>(colorBGR >> 8),
                      static_cast<uint8_t>(colorBGR >> 16));
}

void BlitColorKeyed(TDirectDrawSurface& dest, int x, int y, const TDirectDrawSurface& src,
                    const TRect& srcRect, bool transparent, uint16_t key) {
    const TRect s = Intersect(srcRect, src.ClientRect());
    if (s.IsEmpty()) return;
    // Where the visible part of srcRect lands, in 64 bits so far-off positions cannot overflow.
    const int64_t dx = int64_t{x} + s.Left - srcRect.Left;
    const int64_t dy = int64_t{y} + s.Top - srcRect.Top;
    const int64_t left = std::max<int64_t>(dx, 0), right = std::min<int64_t>(dx + s.Width(), dest.Width());
    const int64_t top = std::max<int64_t>(dy, 0), bottom = std::min<int64_t>(dy + s.Height(), dest.Height());
    if (left >= right || top >= bottom) return;
    const int n = static_cast<int>(right - left);
    const int sx = static_cast<int>(s.Left + (left - dx));
    int sy = static_cast<int>(s.Top + (top - dy));
    for (int64_t ty = top; ty < bottom; ++ty, ++sy) {
        uint16_t* d = dest.Row(static_cast<int>(ty)) + left;
        const uint16_t* sp = src.Row(sy) + sx;
        if (transparent)
            CopyRowKeyed(d, sp, n, key);
        else
            CopyRow(d, sp, n, &dest == &src);
    }
}

void BlitBlended(TDirectDrawSurface& dest, const TRect& destRect, const TDirectDrawSurface& src,
                 const TRect& srcRect, bool transparent, uint16_t key, int alpha) {
    if (alpha <= 0) return;
    const int64_t dw = int64_t{destRect.Right} - destRect.Left, dh = int64_t{destRect.Bottom} - destRect.Top;
    if (dw <= 0 || dh <= 0) return;
    // A source rectangle reaching outside its surface is cut to it first.
    const TRect s = Intersect(srcRect, src.ClientRect());
    if (s.IsEmpty()) return;
    const int64_t stepX = (int64_t{s.Width()} << 16) / dw, stepY = (int64_t{s.Height()} << 16) / dh;
    const int64_t left = std::max<int64_t>(destRect.Left, 0), right = std::min<int64_t>(destRect.Right, dest.Width());
    const int64_t top = std::max<int64_t>(destRect.Top, 0), bottom = std::min<int64_t>(destRect.Bottom, dest.Height());
    if (left >= right || top >= bottom) return;
    // i * step < source size * 65536 for every i below the destination size, so the
    // sampled positions stay inside s.
    using TRowFn = void (*)(uint16_t*, const uint16_t*, int, int64_t, int64_t, uint16_t, int);
    static constexpr TRowFn kRows[2][2] = {{ScaleRow<false, false>, ScaleRow<false, true>},
                                           {ScaleRow<true, false>, ScaleRow<true, true>}};
    const bool opaque = alpha >= 255;
    const TRowFn row = kRows[transparent][opaque];
    const int n = static_cast<int>(right - left);
    const int64_t fx = (left - destRect.Left) * stepX;
    for (int64_t ty = top; ty < bottom; ++ty) {
        const uint16_t* sp = src.Row(static_cast<int>(s.Top + (((ty - destRect.Top) * stepY) >> 16))) + s.Left;
        uint16_t* d = dest.Row(static_cast<int>(ty)) + left;
        if (opaque && stepX == 65536) {
            // Same width: the plain copy, key or no key.
            if (transparent)
                CopyRowKeyed(d, sp + (fx >> 16), n, key);
            else
                CopyRow(d, sp + (fx >> 16), n, &dest == &src);
        } else {
            row(d, sp, n, fx, stepX, key, alpha);
        }
    }
}

void BlitRotated(TDirectDrawSurface& dest, int x, int y, int width, int height,
                 const TDirectDrawSurface& src, const TRect& srcRect, double centerX, double centerY,
                 int angle, bool transparent, uint16_t key) {
    if (width <= 0 || height <= 0 || width > kMaxRotatedSide || height > kMaxRotatedSide) return;
    if (!(std::fabs(centerX) <= kMaxCentre) || !(std::fabs(centerY) <= kMaxCentre)) return;
    const TRect s = Intersect(srcRect, src.ClientRect());
    if (s.IsEmpty() || s.Width() > kMaxRotatedSide || s.Height() > kMaxRotatedSide) return;

    const int a = Wrap(angle, 256);
    const int64_t c = FixedCosTable()[a], sn = FixedCosTable()[(a + 192) % 256];

    // Bounding box of the turned rectangle: corners relative to the centre turned by
    // (u, v) -> (u cos - v sin, u sin + v cos), clockwise on screen as y grows down.
    const double cx = centerX * width, cy = centerY * height;
    const double cf = c / 65536.0, sf = sn / 65536.0;
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (int i = 0; i < 4; ++i) {
        const double u = (i & 1 ? width : 0) - cx, v = (i & 2 ? height : 0) - cy;
        const double rx = u * cf - v * sf, ry = u * sf + v * cf;
        if (i == 0 || rx < minX) minX = rx;
        if (i == 0 || rx > maxX) maxX = rx;
        if (i == 0 || ry < minY) minY = ry;
        if (i == 0 || ry > maxY) maxY = ry;
    }
    const int64_t left = std::max<int64_t>(int64_t(std::floor(x + minX)) - 1, 0);
    const int64_t right = std::min<int64_t>(int64_t(std::ceil(x + maxX)) + 1, dest.Width());
    const int64_t top = std::max<int64_t>(int64_t(std::floor(y + minY)) - 1, 0);
    const int64_t bottom = std::min<int64_t>(int64_t(std::ceil(y + maxY)) + 1, dest.Height());
    if (left >= right || top >= bottom) return;

    // Inverse mapping from a destination pixel centre, offset (dx, dy) from (x, y), to
    // the source in 16.16: the turned-back offset scaled to source pixels, plus the centre.
    const double kx = double(s.Width()) / width, ky = double(s.Height()) / height;
    const int64_t axx = std::llround(c * kx), axy = std::llround(sn * kx);
    const int64_t ayx = std::llround(-sn * ky), ayy = std::llround(c * ky);
    const int64_t ox = std::llround(centerX * s.Width() * 65536), oy = std::llround(centerY * s.Height() * 65536);
    const uint64_t limitX = uint64_t(s.Width()) << 16, limitY = uint64_t(s.Height()) << 16;

    const int64_t dx0 = ((left - x) << 16) + 32768;
    const int64_t count = right - left;
    const uint16_t* base = src.Row(s.Top) + s.Left;
    const int64_t pitch = src.Width();
    for (int64_t ty = top; ty < bottom; ++ty) {
        const int64_t dy = ((ty - y) << 16) + 32768;
        const int64_t fx0 = ((dx0 * axx + dy * axy) >> 16) + ox;
        const int64_t fy0 = ((dx0 * ayx + dy * ayy) >> 16) + oy;
        // The row crosses the source in one stretch; find it roughly, a pixel wider on
        // each side, and leave the exact test to the loop.
        double from = 0, to = double(count);
        auto narrow = [&](int64_t f0, int64_t step, uint64_t limit) {
            if (step == 0) {
                if (uint64_t(f0) >= limit) to = -1;
                return;
            }
            const double a = double(-f0) / double(step), b = (double(limit) - double(f0)) / double(step);
            from = std::max(from, std::min(a, b) - 1);
            to = std::min(to, std::max(a, b) + 1);
        };
        narrow(fx0, axx, limitX);
        narrow(fy0, ayx, limitY);
        if (to <= from) continue;
        const int64_t first = int64_t(from), last = std::min<int64_t>(int64_t(std::ceil(to)), count);
        int64_t fx = fx0 + first * axx, fy = fy0 + first * ayx;
        uint16_t* d = dest.Row(static_cast<int>(ty)) + left;
        for (int64_t i = first; i < last; ++i, fx += axx, fy += ayx) {
            if (uint64_t(fx) >= limitX || uint64_t(fy) >= limitY) continue;
            const uint16_t v = base[(fy >> 16) * pitch + (fx >> 16)];
            if (transparent && v == key) continue;
            d[i] = v;
        }
    }
}

}  // namespace quillon
