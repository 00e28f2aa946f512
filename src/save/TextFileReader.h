// Reads the save files' text the way the game always has: whole lines for texts, integers
// after blanks and line ends, the rest of a line skipped after a value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

class TTextFileReader {
public:
    explicit TTextFileReader(std::string_view text) : Text(text) {}

    // The rest of the current line (empty at the end of the text); moves past its line end.
    std::string ReadLine();
    // Skips blanks and line ends (every character up to code 32), then reads a decimal integer
    // from a token of at most 32 characters. The end of the text reads as 0. False when the
    // token is not a number; the reading position is then behind the token.
    bool ReadInteger(std::int32_t& value);
    // Moves past the end of the current line. CR LF, LF and a lone CR all end a line.
    void SkipLine();

private:
    std::string_view Text;
    std::size_t Pos = 0;
};

}  // namespace quillon
