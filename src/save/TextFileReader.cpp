// Line and integer reading for the save files.
#include "save/TextFileReader.h"

namespace quillon {

namespace {

constexpr std::size_t kMaxNumberToken = 32;

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool ParseDecimal(std::string_view token, std::int32_t& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) {
        negative = token[i] == '-';
        ++i;
    }
    if (i == token.size()) return false;
    std::int64_t magnitude = 0;
    for (; i < token.size(); ++i) {
        if (token[i] < '0' || token[i] > '9') return false;
        magnitude = magnitude * 10 + (token[i] - '0');
        if (magnitude > std::int64_t{INT32_MAX} + 1) return false;
    }
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT32_MAX) return false;
    value = static_cast<std::int32_t>(signedValue);
    return true;
}

}  // namespace

std::string TTextFileReader::ReadLine() {
    const std::size_t start = Pos;
    while (Pos < Text.size() && Text[Pos] != '\r' && Text[Pos] != '\n') ++Pos;
    std::string line(Text.substr(start, Pos - start));
    SkipLine();
    return line;
}

bool TTextFileReader::ReadInteger(std::int32_t& value) {
    while (Pos < Text.size() && IsBlank(Text[Pos])) ++Pos;
    if (Pos == Text.size()) {
        value = 0;
        return true;
    }
    const std::size_t start = Pos;
    while (Pos < Text.size() && !IsBlank(Text[Pos]) && Pos - start < kMaxNumberToken) ++Pos;
    return ParseDecimal(Text.substr(start, Pos - start), value);
}

void TTextFileReader::SkipLine() {
    while (Pos < Text.size() && Text[Pos] != '\r' && Text[Pos] != '\n') ++Pos;
    if (Pos == Text.size()) return;
    if (Text[Pos++] == '\r' && Pos < Text.size() && Text[Pos] == '\n') ++Pos;
}

}  // namespace quillon
