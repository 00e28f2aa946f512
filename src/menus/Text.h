// TGameText: the game's text drawing on the back surface's canvas: the 24 font
// styles, placing text by a point with optional centring, and measuring.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/TextCanvas.h"

namespace quillon {

struct TFontStyle {
    const char* Face;
    int Size;  // points
    bool Bold;
    uint8_t Red, Green, Blue;
};

constexpr int FontStyleCount = 24;
// Styles 1..24 at indexes 0..23.
extern const TFontStyle FontStyles[FontStyleCount];

class TGameText {
public:
    explicit TGameText(TTextCanvas& canvas) : FCanvas(canvas) {}

    // Face, size, weight and colour of the style; the canvas keeps them until
    // the next SelectFont (a caller may change only Canvas().Font.Size between).
    void SelectFont(int style);
    // Texts are Windows-1251. Centring moves the point left by half the width and
    // up by half the height, halves computed in floating point and cut toward zero.
    void DrawText(std::string_view text, int32_t x, int32_t y, bool centreX, bool centreY);
    int GetTextWidth(std::string_view text);
    int GetTextHeight(std::string_view text);
    // SelectFont(style), then GetTextWidth; the style stays selected.
    int GetFontTextWidth(std::string_view text, int style);

    TTextCanvas& Canvas() { return FCanvas; }

private:
    TTextCanvas& FCanvas;
};

}  // namespace quillon
