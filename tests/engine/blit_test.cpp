// The three drawing operations of image collection items: colour-keyed copy, scaled
// blend and rotated copy, with their clipping, keys, scaling and turn directions.
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "engine/Blit.h"

namespace quillon {
namespace {

constexpr uint16_t kKey = 0xF81F;       // magenta: the sprite's transparent colour
constexpr uint16_t kBackground = 0x0421;

// A w x h picture whose pixel (x, y) is 1 + x + 16 * y, with the key at the listed places.
TDirectDrawSurface Sprite(int w, int h, std::vector<std::pair<int, int>> keyed = {}) {
    TDirectDrawSurface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s.SetPixel(x, y, uint16_t(1 + x + 16 * y));
    for (auto [x, y] : keyed) s.SetPixel(x, y, kKey);
    return s;
}

TDirectDrawSurface Background(int w, int h) {
    TDirectDrawSurface s(w, h);
    s.Fill(kBackground);
    return s;
}

// Pixel-by-pixel oracle for the keyed copy.
TDirectDrawSurface SlowKeyedCopy(TDirectDrawSurface dest, int x, int y, const TDirectDrawSurface& src,
                                 const TRect& r, bool transparent) {
    for (int sy = r.Top; sy < r.Bottom; ++sy)
        for (int sx = r.Left; sx < r.Right; ++sx) {
            const int64_t dx = int64_t{x} + sx - r.Left, dy = int64_t{y} + sy - r.Top;
            if (sx < 0 || sy < 0 || sx >= src.Width() || sy >= src.Height()) continue;
            if (dx < 0 || dy < 0 || dx >= dest.Width() || dy >= dest.Height()) continue;
            if (transparent && src.Pixel(sx, sy) == kKey) continue;
            dest.SetPixel(int(dx), int(dy), src.Pixel(sx, sy));
        }
    return dest;
}

::testing::AssertionResult SameSurface(const TDirectDrawSurface& got, const TDirectDrawSurface& want) {
    for (int y = 0; y < want.Height(); ++y)
        for (int x = 0; x < want.Width(); ++x)
            if (got.Pixel(x, y) != want.Pixel(x, y))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << got.Pixel(x, y)
                                                     << ", expected " << want.Pixel(x, y);
    return ::testing::AssertionSuccess();
}

TEST(ColorToRGB565, MatchesPicturePixelsOfThatColour) {
    EXPECT_EQ(ColorToRGB565(0x0000FF), 0xF800);  // 0x00BBGGRR: red
    EXPECT_EQ(ColorToRGB565(0xFF0000), 0x001F);  // blue
    EXPECT_EQ(ColorToRGB565(0xFF00FF), kKey);    // fuchsia
    EXPECT_EQ(ColorToRGB565(0x123456), PackRGB565(0x56, 0x34, 0x12));
}

TEST(BlitColorKeyed, ClippedAtEveryEdge) {
    // 19 pixels wide so that rows use both the eight-pixel steps and the tail.
    const TDirectDrawSurface sprite = Sprite(19, 5, {{0, 0}, {9, 2}, {18, 4}, {7, 1}});
    struct Case {
        const char* name;
        int x, y;
        TRect srcRect;
    } cases[] = {
        {"inside", 3, 4, sprite.ClientRect()},
        {"off the left", -5, 2, sprite.ClientRect()},
        {"off the top", 2, -3, sprite.ClientRect()},
        {"off the right", 20, 1, sprite.ClientRect()},
        {"off the bottom", 0, 13, sprite.ClientRect()},
        {"off all four", -4, -2, sprite.ClientRect()},
        {"entirely outside", 40, 0, sprite.ClientRect()},
        {"far away", INT32_MIN, INT32_MAX, sprite.ClientRect()},
        {"part of the sprite", 1, 1, TRect{2, 1, 15, 4}},
        {"source rectangle beyond the sprite", 1, 1, TRect{-3, -2, 25, 9}},
    };
    for (const Case& c : cases) {
        for (bool transparent : {true, false}) {
            TDirectDrawSurface dest = Background(30, 16);
            const TDirectDrawSurface want = SlowKeyedCopy(dest, c.x, c.y, sprite, c.srcRect, transparent);
            BlitColorKeyed(dest, c.x, c.y, sprite, c.srcRect, transparent, kKey);
            EXPECT_TRUE(SameSurface(dest, want)) << c.name << (transparent ? ", keyed" : ", opaque");
        }
    }
}

TEST(BlitColorKeyed, KeySkippedOnlyWhenTransparent) {
    const TDirectDrawSurface sprite = Sprite(2, 1, {{1, 0}});
    TDirectDrawSurface dest = Background(2, 1);
    BlitColorKeyed(dest, 0, 0, sprite, sprite.ClientRect(), true, kKey);
    EXPECT_EQ(dest.Pixel(0, 0), 1);
    EXPECT_EQ(dest.Pixel(1, 0), kBackground);
    BlitColorKeyed(dest, 0, 0, sprite, sprite.ClientRect(), false, kKey);
    EXPECT_EQ(dest.Pixel(1, 0), kKey);
}

// A surface drawn onto itself a pixel to the left or right: each row's source and target
// overlap, and the row lands whole, as a copy taken before the drawing would have drawn it.
TEST(BlitColorKeyed, ASurfaceDrawnOntoItselfShiftsWhole) {
    for (const int shift : {1, -1}) {
        const TDirectDrawSurface picture = Sprite(300, 2);
        const TDirectDrawSurface want = SlowKeyedCopy(picture, shift, 0, picture, picture.ClientRect(), false);
        TDirectDrawSurface copied = picture;
        BlitColorKeyed(copied, shift, 0, copied, copied.ClientRect(), false, kKey);
        EXPECT_TRUE(SameSurface(copied, want)) << "keyed copy, shift " << shift;
        TDirectDrawSurface blended = picture;
        BlitBlended(blended, TRect{shift, 0, 300 + shift, 2}, blended, blended.ClientRect(), false, kKey, 255);
        EXPECT_TRUE(SameSurface(blended, want)) << "full-alpha blend, shift " << shift;
    }
}

TEST(BlitBlended, AlphaZeroAndEmptyRectanglesDrawNothing) {
    const TDirectDrawSurface sprite = Sprite(4, 4);
    const TDirectDrawSurface untouched = Background(8, 8);
    struct Case {
        const char* name;
        TRect destRect, srcRect;
        int alpha;
    } cases[] = {
        {"alpha 0", TRect{0, 0, 4, 4}, sprite.ClientRect(), 0},
        {"negative alpha", TRect{0, 0, 4, 4}, sprite.ClientRect(), -5},
        {"empty destination", TRect{2, 2, 2, 6}, sprite.ClientRect(), 255},
        {"inverted destination", TRect{4, 4, 0, 0}, sprite.ClientRect(), 255},
        {"empty source", TRect{0, 0, 4, 4}, TRect{1, 1, 1, 3}, 255},
        {"source outside the sprite", TRect{0, 0, 4, 4}, TRect{10, 10, 12, 12}, 255},
        {"destination off the surface", TRect{-9, 0, -1, 4}, sprite.ClientRect(), 255},
    };
    for (const Case& c : cases) {
        TDirectDrawSurface dest = untouched;
        BlitBlended(dest, c.destRect, sprite, c.srcRect, true, kKey, c.alpha);
        EXPECT_TRUE(SameSurface(dest, untouched)) << c.name;
    }
}

TEST(BlitBlended, FullAlphaIsTheKeyedCopy) {
    const TDirectDrawSurface sprite = Sprite(5, 3, {{1, 1}, {4, 0}});
    for (bool transparent : {true, false}) {
        TDirectDrawSurface want = Background(8, 8), dest = Background(8, 8);
        BlitColorKeyed(want, -1, 6, sprite, sprite.ClientRect(), transparent, kKey);
        BlitBlended(dest, TRect{-1, 6, 4, 9}, sprite, sprite.ClientRect(), transparent, kKey, 300);
        EXPECT_TRUE(SameSurface(dest, want));
    }
}

TEST(BlitBlended, HalfAlphaMixesEachChannel) {
    TDirectDrawSurface white(1, 1), dest(2, 1);
    white.Fill(0xFFFF);
    dest.SetPixel(0, 0, 0x0000);
    dest.SetPixel(1, 0, 0xFFFF);
    BlitBlended(dest, TRect{0, 0, 1, 1}, white, white.ClientRect(), false, kKey, 128);
    // 31 * 128 / 255 = 15 for red and blue, 63 * 128 / 255 = 31 for green.
    EXPECT_EQ(dest.Pixel(0, 0), (15 << 11) | (31 << 5) | 15);

    TDirectDrawSurface red(1, 1);
    red.Fill(0xF800);
    BlitBlended(dest, TRect{1, 0, 2, 1}, red, red.ClientRect(), false, kKey, 128);
    // Red stays 31; green 63 * 127 / 255 = 31; blue 31 * 127 / 255 = 15.
    EXPECT_EQ(dest.Pixel(1, 0), (31 << 11) | (31 << 5) | 15);
}

TEST(BlitBlended, ScalesByNearestNeighbour) {
    const TDirectDrawSurface sprite = Sprite(4, 4);
    struct Case {
        const char* name;
        TRect srcRect, destRect;
        std::vector<std::vector<uint16_t>> expected;  // the destination rectangle, rows from the top
    } cases[] = {
        {"twice as large", TRect{0, 0, 2, 2}, TRect{0, 0, 4, 4},
         {{1, 1, 2, 2}, {1, 1, 2, 2}, {17, 17, 18, 18}, {17, 17, 18, 18}}},
        {"half as large", TRect{0, 0, 4, 4}, TRect{0, 0, 2, 2}, {{1, 3}, {33, 35}}},
        {"stretched across", TRect{1, 2, 3, 3}, TRect{0, 0, 4, 1}, {{34, 34, 35, 35}}},
    };
    for (const Case& c : cases) {
        TDirectDrawSurface dest = Background(4, 4);
        BlitBlended(dest, c.destRect, sprite, c.srcRect, false, kKey, 255);
        for (int y = 0; y < c.destRect.Height(); ++y)
            for (int x = 0; x < c.destRect.Width(); ++x)
                EXPECT_EQ(dest.Pixel(x, y), c.expected[y][x]) << c.name << " at " << x << ", " << y;
    }
}

TEST(BlitBlended, ClippingKeepsTheScaling) {
    // Drawn half off the top-left corner, the visible part equals the same part of the
    // picture drawn whole on a larger surface.
    const TDirectDrawSurface sprite = Sprite(6, 5, {{2, 2}});
    for (int alpha : {255, 100}) {
        TDirectDrawSurface big = Background(40, 40), small = Background(12, 12);
        BlitBlended(big, TRect{10, 10, 29, 23}, sprite, sprite.ClientRect(), true, kKey, alpha);
        BlitBlended(small, TRect{-10, -10, 9, 3}, sprite, sprite.ClientRect(), true, kKey, alpha);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x) ASSERT_EQ(small.Pixel(x, y), big.Pixel(x + 20, y + 20)) << x << ", " << y;
    }
}

// ---- Rotation -------------------------------------------------------------------------

// The destination as text around (x, y): sprite pixels as their value, the rest '.'.
std::vector<std::vector<int>> Grab(const TDirectDrawSurface& s, const TRect& r) {
    std::vector<std::vector<int>> rows;
    for (int y = r.Top; y < r.Bottom; ++y) {
        rows.emplace_back();
        for (int x = r.Left; x < r.Right; ++x) rows.back().push_back(s.Pixel(x, y) == kBackground ? 0 : s.Pixel(x, y));
    }
    return rows;
}

TEST(BlitRotated, TurnsClockwiseInSteps) {
    // 4 x 2 sprite: top row 1 2 3 4, bottom row 17 18 19 20; centre in the middle at (10, 10).
    const TDirectDrawSurface sprite = Sprite(4, 2);
    using Grid = std::vector<std::vector<int>>;
    const Grid upright = {{1, 2, 3, 4}, {17, 18, 19, 20}};
    const Grid quarter = {{17, 1}, {18, 2}, {19, 3}, {20, 4}};  // clockwise: the left column goes on top
    const Grid half = {{20, 19, 18, 17}, {4, 3, 2, 1}};
    const Grid threeQuarters = {{4, 20}, {3, 19}, {2, 18}, {1, 17}};
    struct Case {
        int angle;
        TRect box;  // where the turned sprite lies
        Grid expected;
    } cases[] = {
        {0, TRect{8, 9, 12, 11}, upright},           {256, TRect{8, 9, 12, 11}, upright},
        {-256, TRect{8, 9, 12, 11}, upright},        {64, TRect{9, 8, 11, 12}, quarter},
        {64 + 512, TRect{9, 8, 11, 12}, quarter},    {128, TRect{8, 9, 12, 11}, half},
        {192, TRect{9, 8, 11, 12}, threeQuarters},   {-64, TRect{9, 8, 11, 12}, threeQuarters},
    };
    for (const Case& c : cases) {
        TDirectDrawSurface dest = Background(20, 20);
        BlitRotated(dest, 10, 10, 4, 2, sprite, sprite.ClientRect(), 0.5, 0.5, c.angle, true, kKey);
        EXPECT_EQ(Grab(dest, c.box), c.expected) << "angle " << c.angle;
        // Nothing outside the box.
        TDirectDrawSurface outside = dest;
        outside.FillRect(c.box, kBackground);
        EXPECT_TRUE(SameSurface(outside, Background(20, 20))) << "angle " << c.angle;
    }
}

TEST(BlitRotated, CentreFractionsPlaceThePivot) {
    const TDirectDrawSurface sprite = Sprite(4, 2);
    struct Case {
        const char* name;
        double cx, cy;
        int angle;
        TRect box;
    } cases[] = {
        {"top-left pivot", 0, 0, 0, TRect{10, 10, 14, 12}},
        {"bottom-right pivot", 1, 1, 0, TRect{6, 8, 10, 10}},
        {"top-left pivot, quarter turn", 0, 0, 64, TRect{8, 10, 10, 14}},
        {"right-middle pivot, half turn", 1, 0.5, 128, TRect{10, 9, 14, 11}},
    };
    for (const Case& c : cases) {
        TDirectDrawSurface dest = Background(20, 20), want = Background(20, 20);
        BlitRotated(dest, 10, 10, 4, 2, sprite, sprite.ClientRect(), c.cx, c.cy, c.angle, true, kKey);
        // The same turn about the middle, moved to where the box is.
        const int midX = (c.box.Left + c.box.Right) / 2, midY = (c.box.Top + c.box.Bottom) / 2;
        BlitRotated(want, midX, midY, 4, 2, sprite, sprite.ClientRect(), 0.5, 0.5, c.angle, true, kKey);
        EXPECT_TRUE(SameSurface(dest, want)) << c.name;
        EXPECT_NE(dest.Pixel(c.box.Left, c.box.Top), kBackground) << c.name;
    }
}

TEST(BlitRotated, ScalesKeysAndIgnoresDegenerateSizes) {
    const TDirectDrawSurface sprite = Sprite(2, 2, {{1, 1}});
    TDirectDrawSurface dest = Background(10, 10);
    BlitRotated(dest, 4, 4, 4, 4, sprite, sprite.ClientRect(), 0.5, 0.5, 0, true, kKey);
    EXPECT_EQ(Grab(dest, TRect{2, 2, 6, 6}),
              (std::vector<std::vector<int>>{{1, 1, 2, 2}, {1, 1, 2, 2}, {17, 17, 0, 0}, {17, 17, 0, 0}}));

    const TDirectDrawSurface untouched = Background(10, 10);
    for (auto [w, h] : {std::pair{0, 4}, {4, 0}, {-4, 4}, {1 << 20, 4}}) {
        TDirectDrawSurface d = untouched;
        BlitRotated(d, 4, 4, w, h, sprite, sprite.ClientRect(), 0.5, 0.5, 0, true, kKey);
        EXPECT_TRUE(SameSurface(d, untouched)) << w << " x " << h;
    }
    TDirectDrawSurface d = untouched;
    BlitRotated(d, 4, 4, 4, 4, sprite, TRect{1, 1, 1, 2}, 0.5, 0.5, 0, true, kKey);
    BlitRotated(d, 4, 4, 4, 4, sprite, sprite.ClientRect(), std::nan(""), 0.5, 0, true, kKey);
    EXPECT_TRUE(SameSurface(d, untouched));
}

TEST(BlitRotated, ClippedAtEveryEdge) {
    // Any turn drawn across an edge shows the same pixels as on a larger surface.
    const TDirectDrawSurface sprite = Sprite(9, 6, {{4, 3}});
    for (int angle : {0, 23, 64, 100, 160, 211}) {
        for (auto [x, y] : {std::pair{1, 7}, {7, 1}, {14, 8}, {8, 15}, {0, 0}, {15, 15}}) {
            TDirectDrawSurface big = Background(56, 56), small = Background(16, 16);
            BlitRotated(big, x + 20, y + 20, 12, 10, sprite, sprite.ClientRect(), 0.4, 0.6, angle, true, kKey);
            BlitRotated(small, x, y, 12, 10, sprite, sprite.ClientRect(), 0.4, 0.6, angle, true, kKey);
            for (int yy = 0; yy < 16; ++yy)
                for (int xx = 0; xx < 16; ++xx)
                    ASSERT_EQ(small.Pixel(xx, yy), big.Pixel(xx + 20, yy + 20))
                        << "angle " << angle << " at " << x << ", " << y;
        }
    }
}

TEST(BlitRotated, FarOffPositionsDrawNothing) {
    const TDirectDrawSurface sprite = Sprite(4, 4);
    const TDirectDrawSurface untouched = Background(10, 10);
    TDirectDrawSurface d = untouched;
    BlitRotated(d, INT32_MIN, INT32_MAX, 4, 4, sprite, sprite.ClientRect(), 0.5, 0.5, 37, true, kKey);
    BlitRotated(d, INT32_MAX, 5, 1 << 15, 1 << 15, sprite, sprite.ClientRect(), 16, -16, 99, true, kKey);
    EXPECT_TRUE(SameSurface(d, untouched));
}

// Random placements, sizes, source rectangles, pivots and angles, edge values mixed
// in: run under the sanitizers, any access outside a surface is caught here.
TEST(Blit, RandomCallsStayInsideTheSurfaces) {
    std::mt19937 random(20261210);
    const int edgeValues[] = {0, 1, -1, 7, -7, 31, 64, 1 << 15, -(1 << 15), INT32_MAX, INT32_MIN};
    auto value = [&](int lo, int hi) {
        if (random() % 8 == 0) return edgeValues[random() % std::size(edgeValues)];
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    const TDirectDrawSurface sprite = Sprite(13, 9, {{3, 3}, {4, 4}});
    TDirectDrawSurface dest = Background(37, 23);
    for (int i = 0; i < 20000; ++i) {
        const TRect srcRect{value(-5, 15), value(-5, 12), value(-5, 20), value(-5, 15)};
        const bool transparent = random() % 2 == 0;
        switch (i % 3) {
            case 0:
                BlitColorKeyed(dest, value(-20, 50), value(-20, 40), sprite, srcRect, transparent, kKey);
                break;
            case 1:
                BlitBlended(dest, TRect{value(-40, 50), value(-40, 40), value(-40, 80), value(-40, 60)}, sprite,
                            srcRect, transparent, kKey, value(-10, 300));
                break;
            case 2:
                BlitRotated(dest, value(-30, 60), value(-30, 50), value(0, 80), value(0, 80), sprite, srcRect,
                            value(-40, 40) / 20.0, value(-40, 40) / 20.0, value(-600, 600), transparent, kKey);
                break;
        }
    }
    SUCCEED();
}

}  // namespace
}  // namespace quillon
