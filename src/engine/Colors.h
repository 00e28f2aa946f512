// Colours as stored in collection files (0x00BBGGRR, or 0xFF000000 + n for system
// colour n), their identifiers ("clBlack", "clBtnFace", ...) and their resolution
// through the game's fixed grey-desktop colour scheme.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillon {

constexpr uint32_t clNone = 0x1FFFFFFF;
constexpr uint32_t clDefault = 0x20000000;
constexpr uint32_t clSystemColor = 0xFF000000;

std::optional<uint32_t> IdentToColor(std::string_view ident);
// The identifier of a colour with a name, or an empty view.
std::string_view ColorToIdent(uint32_t color);
// A stored colour as plain 0x00BBGGRR: system colours through the scheme, other
// values cut to their low 24 bits.
uint32_t ColorToRGB(uint32_t color);

}  // namespace quillon
