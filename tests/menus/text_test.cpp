// Text drawing with a stand-in rasteriser: centring, measuring, the font state
// a caller may change, coverage blending without a background, the glyph cache.
#include <gtest/gtest.h>

#include <map>

#include "engine/Surface.h"
#include "engine/TextCanvas.h"
#include "menus/Text.h"

namespace quillon {
namespace {

// Every character is 7 pixels wide with a 5 x 10 ink block one pixel in and
// three down; 'h' is half covered. Lines are the em height plus 5.
class FakeFonts : public IFontRasterizer {
public:
    int LineHeight(const TFontRequest& font) override { return font.PixelHeight + 5; }
    TGlyphBitmap RenderGlyph(const TFontRequest& font, char32_t ch) override {
        ++Rendered[{font.PixelHeight, ch}];
        TGlyphBitmap g;
        g.Advance = 7;
        g.Left = 1;
        g.Top = 3;
        g.Width = 5;
        g.Height = 10;
        g.Coverage.assign(50, ch == U'h' ? 128 : 255);
        return g;
    }
    bool HasGlyph(const TFontRequest&, char32_t) override { return true; }
    std::string FamilyOf(const TFontRequest& font) override { return font.Face; }
    int Count(int pixelHeight, char32_t ch) { return Rendered[{pixelHeight, ch}]; }
    std::map<std::pair<int, char32_t>, int> Rendered;
};

class TextFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Surface.Fill(Background);
        Canvas.SetSurface(&Surface);
    }
    // First and last column holding the font colour on row y.
    std::pair<int, int> InkColumns(int y, uint16_t colour) const {
        int first = -1, last = -1;
        for (int x = 0; x < Surface.Width(); ++x)
            if (Surface.Pixel(x, y) == colour) {
                if (first < 0) first = x;
                last = x;
            }
        return {first, last};
    }

    const uint16_t Background = PackRGB565(10, 20, 30);
    FakeFonts Fonts;
    TDirectDrawSurface Surface{800, 600};
    TTextCanvas Canvas{Fonts};
    TGameText Text{Canvas};
};

TEST_F(TextFixture, EmptyTextIsZeroWideAndDrawsNothing) {
    Text.SelectFont(10);
    EXPECT_EQ(Text.GetTextWidth(""), 0);
    Text.DrawText("", 402, 300, true, true);
    for (uint16_t p : Surface.Pixels()) ASSERT_EQ(p, Background);
}

TEST_F(TextFixture, CentringSubtractsHalfTheExtentCutTowardZero) {
    struct Case {
        const char* text;
        int x, y;
        bool cx, cy;
        int left, top;  // top-left corner the text must get
    };
    // Style 1 is 22 pt: 29 px em, 34 px line. "abc" is 21 px wide.
    const Case cases[] = {
        {"abc", 400, 281, true, true, 389, 264},  // 400 - 10.5 -> 389, 281 - 17 -> 264
        {"ab", 400, 281, true, false, 393, 281},
        {"abc", 5, 10, true, true, -5, -7},       // -5.5 -> -5, -7 -> -7: toward zero
        {"abc", 332, 281, false, false, 332, 281},  // left-aligned starts exactly at x
    };
    const uint16_t blue = PackRGB565(50, 126, 240);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.text << " at " << c.x << "," << c.y);
        Surface.Fill(Background);
        Text.SelectFont(1);
        Text.DrawText(c.text, c.x, c.y, c.cx, c.cy);
        int firstInkRow = c.top + 3;
        auto [first, last] = InkColumns(std::max(firstInkRow, 0), blue);
        int width = 7 * static_cast<int>(std::string(c.text).size());
        EXPECT_EQ(first, std::max(c.left + 1, 0));
        EXPECT_EQ(last, c.left + width - 2);
        if (firstInkRow > 0) {
            EXPECT_NE(Surface.Pixel(first, firstInkRow - 1), blue);
        }
    }
}

TEST_F(TextFixture, CallerMayChangeOnlyTheSizeUntilTheNextSelect) {
    Text.SelectFont(9);  // 16 pt
    EXPECT_EQ(Text.GetTextHeight("x"), 21 + 5);
    Canvas.Font.Size = 14;
    EXPECT_EQ(Text.GetTextHeight("x"), 19 + 5);
    EXPECT_EQ(Canvas.Font.Name, "NewZelek");
    EXPECT_EQ(Canvas.Font.Blue, 240);
    EXPECT_EQ(Text.GetFontTextWidth("abcd", 9), 28);
    EXPECT_EQ(Canvas.Font.Size, 16);
    EXPECT_EQ(Text.GetTextHeight("x"), 21 + 5);
}

TEST_F(TextFixture, StylesCarryFaceSizeWeightAndColour) {
    Text.SelectFont(4);
    EXPECT_EQ(Canvas.CurrentRequest(), (TFontRequest{"NewZelek", 37, true}));
    Text.SelectFont(15);
    EXPECT_EQ(Canvas.CurrentRequest(), (TFontRequest{"BancoDi", 104, false}));
    Text.SelectFont(24);
    EXPECT_EQ(Canvas.CurrentRequest(), (TFontRequest{"Crystal", 13, false}));
    EXPECT_EQ(Canvas.Font.Red, 96);
    EXPECT_EQ(Canvas.Font.Green, 255);
    EXPECT_EQ(Canvas.Font.Blue, 0);
}

TEST_F(TextFixture, CoverageBlendsIntoTheSurfaceWithoutABox) {
    Surface.Fill(0);
    Text.SelectFont(2);  // white
    Text.DrawText("h", 100, 100, false, false);
    uint8_t r, g, b;
    UnpackRGB565(Surface.Pixel(101, 103), r, g, b);  // half-covered ink
    EXPECT_NEAR(r, 128, 8);
    EXPECT_NEAR(g, 128, 8);
    EXPECT_EQ(Surface.Pixel(100, 103), 0);  // beside the ink: untouched
    EXPECT_EQ(Surface.Pixel(101, 102), 0);
}

TEST_F(TextFixture, GlyphsAreRasterisedOncePerFontSizeAndCharacter) {
    Text.SelectFont(12);
    for (int i = 0; i < 5; ++i) Text.DrawText("aba", 10, 10, true, false);
    Canvas.Font.Size = 20;
    Text.DrawText("a", 10, 10, false, false);
    EXPECT_EQ(Fonts.Count(19, U'a'), 1);
    EXPECT_EQ(Fonts.Count(19, U'b'), 1);
    EXPECT_EQ(Fonts.Count(27, U'a'), 1);
}

TEST_F(TextFixture, Windows1251BytesReachTheRasteriserAsUnicode) {
    Text.SelectFont(5);
    Text.DrawText("\xB8\xC0\xFF", 0, 0, false, false);  // ё А я
    EXPECT_EQ(Fonts.Count(40, U'\u0451'), 1);
    EXPECT_EQ(Fonts.Count(40, U'\u0410'), 1);
    EXPECT_EQ(Fonts.Count(40, U'\u044F'), 1);
}

}  // namespace
}  // namespace quillon
