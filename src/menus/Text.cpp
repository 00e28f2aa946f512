// TGameText: the font-style table and the placing rules of DrawText.
#include "menus/Text.h"

#include "engine/Rounding.h"

namespace quillon {

const TFontStyle FontStyles[FontStyleCount] = {
    {"NewZelek", 22, false, 50, 126, 240},   // 1
    {"NewZelek", 14, false, 255, 255, 255},  // 2
    {"NewZelek", 16, false, 50, 126, 240},   // 3
    {"NewZelek", 28, true, 0, 0, 0},         // 4
    {"NewZelek", 30, false, 50, 126, 240},   // 5
    {"Crystal", 14, false, 96, 255, 0},      // 6
    {"Crystal", 22, false, 96, 255, 0},      // 7
    {"BancoDi", 16, false, 255, 255, 255},   // 8
    {"NewZelek", 16, false, 50, 126, 240},   // 9
    {"NewZelek", 18, false, 50, 126, 240},   // 10
    {"NewZelek", 16, false, 50, 126, 240},   // 11
    {"NewZelek", 14, false, 255, 255, 255},  // 12
    {"NewZelek", 18, false, 50, 126, 240},   // 13
    {"BancoDi", 24, false, 255, 222, 0},     // 14
    {"BancoDi", 78, false, 255, 242, 168},   // 15
    {"NewZelek", 14, false, 192, 192, 192},  // 16
    {"NewZelek", 14, false, 255, 255, 255},  // 17
    {"Crystal", 18, false, 96, 255, 0},      // 18
    {"NewZelek", 20, false, 255, 255, 255},  // 19
    {"NewZelek", 10, false, 255, 255, 255},  // 20
    {"NewZelek", 12, false, 255, 255, 255},  // 21
    {"Courier", 14, false, 0, 255, 0},       // 22
    {"NewZelek", 16, false, 255, 255, 255},  // 23
    {"Crystal", 10, false, 96, 255, 0},      // 24
};

void TGameText::SelectFont(int style) {
    if (style < 1 || style > FontStyleCount) return;
    const TFontStyle& s = FontStyles[style - 1];
    TCanvasFont& font = FCanvas.Font;
    font.Name = s.Face;
    font.Size = s.Size;
    font.Bold = s.Bold;
    font.Red = s.Red;
    font.Green = s.Green;
    font.Blue = s.Blue;
}

void TGameText::DrawText(std::string_view text, int32_t x, int32_t y, bool centreX, bool centreY) {
    if (centreX) x = static_cast<int32_t>(Trunc(x - GetTextWidth(text) / 2.0));
    if (centreY) y = static_cast<int32_t>(Trunc(y - GetTextHeight(text) / 2.0));
    FCanvas.TextOut(x, y, text);
}

int TGameText::GetTextWidth(std::string_view text) { return FCanvas.TextWidth(text); }

int TGameText::GetTextHeight(std::string_view text) { return FCanvas.TextHeight(text); }

int TGameText::GetFontTextWidth(std::string_view text, int style) {
    SelectFont(style);
    return GetTextWidth(text);
}

}  // namespace quillon
