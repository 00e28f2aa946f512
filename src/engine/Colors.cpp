// Colour identifiers and the fixed system colour scheme.
#include "engine/Colors.h"

#include <array>

namespace quillon {
namespace {

struct TColorIdent {
    uint32_t Value;
    std::string_view Name;
};

constexpr uint32_t Sys(uint32_t n) { return clSystemColor + n; }

constexpr std::array<TColorIdent, 52> kColorIdents = {{
    {0x000000, "clBlack"},        {0x000080, "clMaroon"},      {0x008000, "clGreen"},
    {0x008080, "clOlive"},        {0x800000, "clNavy"},        {0x800080, "clPurple"},
    {0x808000, "clTeal"},         {0x808080, "clGray"},        {0xC0C0C0, "clSilver"},
    {0x0000FF, "clRed"},          {0x00FF00, "clLime"},        {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"},         {0xFF00FF, "clFuchsia"},     {0xFFFF00, "clAqua"},
    {0xFFFFFF, "clWhite"},        {0xC0DCC0, "clMoneyGreen"},  {0xF0CAA6, "clSkyBlue"},
    {0xF0FBFF, "clCream"},        {0xA4A0A0, "clMedGray"},     {clNone, "clNone"},
    {clDefault, "clDefault"},
    {Sys(0), "clScrollBar"},      {Sys(1), "clBackground"},    {Sys(2), "clActiveCaption"},
    {Sys(3), "clInactiveCaption"}, {Sys(4), "clMenu"},         {Sys(5), "clWindow"},
    {Sys(6), "clWindowFrame"},    {Sys(7), "clMenuText"},      {Sys(8), "clWindowText"},
    {Sys(9), "clCaptionText"},    {Sys(10), "clActiveBorder"}, {Sys(11), "clInactiveBorder"},
    {Sys(12), "clAppWorkSpace"},  {Sys(13), "clHighlight"},    {Sys(14), "clHighlightText"},
    {Sys(15), "clBtnFace"},       {Sys(16), "clBtnShadow"},    {Sys(17), "clGrayText"},
    {Sys(18), "clBtnText"},       {Sys(19), "clInactiveCaptionText"}, {Sys(20), "clBtnHighlight"},
    {Sys(21), "cl3DDkShadow"},    {Sys(22), "cl3DLight"},      {Sys(23), "clInfoText"},
    {Sys(24), "clInfoBk"},        {Sys(26), "clHotLight"},     {Sys(27), "clGradientActiveCaption"},
    {Sys(28), "clGradientInactiveCaption"}, {Sys(29), "clMenuHighlight"}, {Sys(30), "clMenuBar"},
}};

// The classic grey desktop, indexed by system colour number (25 has no colour).
constexpr std::array<uint32_t, 31> kSystemScheme = {
    0xC0C0C0,  // scroll bar
    0x808000,  // desktop
    0x800000,  // active caption
    0x808080,  // inactive caption
    0xC0C0C0,  // menu
    0xFFFFFF,  // window
    0x000000,  // window frame
    0x000000,  // menu text
    0x000000,  // window text
    0xFFFFFF,  // caption text
    0xC0C0C0,  // active border
    0xC0C0C0,  // inactive border
    0x808080,  // application workspace
    0x800000,  // highlight
    0xFFFFFF,  // highlight text
    0xC0C0C0,  // button face
    0x808080,  // button shadow
    0x808080,  // grey text
    0x000000,  // button text
    0xC0C0C0,  // inactive caption text
    0xFFFFFF,  // button highlight
    0x000000,  // 3-D dark shadow
    0xDFDFDF,  // 3-D light
    0x000000,  // tooltip text
    0xE1FFFF,  // tooltip background
    0x000000,  // unused
    0xFF0000,  // hot-tracked item
    0xD08410,  // active caption gradient
    0xB5B5B5,  // inactive caption gradient
    0x800000,  // highlighted menu item
    0xC0C0C0,  // flat menu bar
};

}  // namespace

std::optional<uint32_t> IdentToColor(std::string_view ident) {
    for (const TColorIdent& c : kColorIdents) {
        if (c.Name.size() != ident.size()) continue;
        bool same = true;
        for (size_t i = 0; i < ident.size() && same; ++i) {
            char a = c.Name[i], b = ident[i];
            if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
            if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
            same = a == b;
        }
        if (same) return c.Value;
    }
    return std::nullopt;
}

std::string_view ColorToIdent(uint32_t color) {
    for (const TColorIdent& c : kColorIdents)
        if (c.Value == color) return c.Name;
    return {};
}

uint32_t ColorToRGB(uint32_t color) {
    if ((color & 0xFF000000) == clSystemColor) {
        uint32_t n = color & 0xFF;
        return n < kSystemScheme.size() ? kSystemScheme[n] : 0;
    }
    return color & 0x00FFFFFF;
}

}  // namespace quillon
