// Conversion between the game's 8-bit Windows-1251 strings and UTF-8 (and UTF-16
// code units, as stored by wide strings in collection files).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillon {

std::string Cp1251ToUtf8(std::string_view text);
// Characters that Windows-1251 cannot hold, and malformed UTF-8, become '?'.
std::string Utf8ToCp1251(std::string_view text);
std::string Utf16ToCp1251(std::u16string_view text);

// One Unicode code point as a Windows-1251 byte, '?' when it has none.
char CodePointToCp1251(char32_t codePoint);

// UTF-8 text cut into its characters, one string each (typed text arrives this way).
std::vector<std::string> SplitUtf8Characters(std::string_view text);

}  // namespace quillon
