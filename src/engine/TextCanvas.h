// TTextCanvas: the back surface's text canvas. It keeps the font state as last
// set (face, size in points, bold, colour), measures Windows-1251 text and draws
// it anti-aliased, with no background box, into the RGB565 surface. Glyphs are
// rasterised once per font, size and character and then reused.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/FontPort.h"
#include "engine/Surface.h"

namespace quillon {

class TDXDraw;

struct TCanvasFont {
    std::string Name = "NewZelek";
    int Size = 10;  // points
    bool Bold = false;
    uint8_t Red = 0, Green = 0, Blue = 0;
};

class TTextCanvas {
public:
    static constexpr int PixelsPerInch = 96;

    explicit TTextCanvas(IFontRasterizer& fonts) : FFonts(fonts) {}

    // Draws on the display's back surface and takes the display's canvas on
    // every use (the frame tick gives it back before presenting).
    void SetDisplay(TDXDraw* display) { FDisplay = display; }
    // Draws on a plain surface instead (tests, tools).
    void SetSurface(TDirectDrawSurface* surface) { FSurface = surface; }

    TCanvasFont Font;

    // Top-left corner of the text at (x, y); text in Windows-1251.
    void TextOut(int x, int y, std::string_view text);
    int TextWidth(std::string_view text);
    int TextHeight(std::string_view text);

    // The em height in pixels a size in points asks for: Round(size * 96 / 72).
    static int PixelHeightOf(int points);
    TFontRequest CurrentRequest() const;

private:
    struct TCachedFont {
        TFontRequest Request;
        int LineHeight = 0;
        std::array<std::unique_ptr<TGlyphBitmap>, 256> Glyphs;
    };
    TCachedFont& CurrentFont();
    const TGlyphBitmap& GlyphOf(TCachedFont& font, uint8_t byte);
    TDirectDrawSurface* Target();
    void Blend(TDirectDrawSurface& surface, const TGlyphBitmap& glyph, int x, int y, uint16_t colour);

    IFontRasterizer& FFonts;
    TDXDraw* FDisplay = nullptr;
    TDirectDrawSurface* FSurface = nullptr;
    std::vector<std::unique_ptr<TCachedFont>> FCache;
    TCachedFont* FLast = nullptr;
};

// The Unicode code point of a Windows-1251 byte.
char32_t CodePointOfCp1251(uint8_t byte);

}  // namespace quillon
