// RGB565 packing and the surface's fills.
#include <gtest/gtest.h>

#include "engine/Rounding.h"
#include "engine/Surface.h"

namespace quillon {
namespace {

TEST(Rgb565, WidensByBitReplication) {
    uint8_t r, g, b;
    UnpackRGB565(0xFFFF, r, g, b);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g, 255);
    EXPECT_EQ(b, 255);
    UnpackRGB565(PackRGB565(0x84, 0x82, 0x08), r, g, b);
    EXPECT_EQ(r, 0x84);
    EXPECT_EQ(g, 0x82);
    EXPECT_EQ(b, 0x08);
}

TEST(Surface, FillRectIsClippedToTheSurface) {
    TDirectDrawSurface s(4, 3);
    s.FillRect(TRect{-2, 1, 2, 9}, 7);
    EXPECT_EQ(s.Pixel(0, 0), 0);
    EXPECT_EQ(s.Pixel(1, 1), 7);
    EXPECT_EQ(s.Pixel(1, 2), 7);
    EXPECT_EQ(s.Pixel(2, 2), 0);
}

TEST(Rounding, HalvesGoToEven) {
    struct Case { double in; int64_t out; } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.51, 3}};
    for (const Case& c : cases) EXPECT_EQ(Round(c.in), c.out) << c.in;
    EXPECT_EQ(Wrap(-1, 5), 4);
    EXPECT_EQ(Wrap(-10, 5), 0);
}

}  // namespace
}  // namespace quillon
