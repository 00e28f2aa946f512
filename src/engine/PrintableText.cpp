// Escaping of control characters and broken UTF-8 in texts shown to the player.
#include "engine/PrintableText.h"

#include <cstdint>

namespace quillon {

namespace {

void AppendEscaped(std::string& out, unsigned char byte) {
    static const char kHex[] = "0123456789ABCDEF";
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

// The length of the valid UTF-8 sequence at the start of `text` and its code point; 0 when the
// first byte does not start one (stray continuation bytes, overlong forms, surrogates, > U+10FFFF).
std::size_t Utf8Sequence(std::string_view text, char32_t& codePoint) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, codePoint = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, codePoint = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, codePoint = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
    return length;
}

bool IsControl(char32_t codePoint) { return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F); }

}  // namespace

std::string PrintableText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        char32_t codePoint = 0;
        const std::size_t length = Utf8Sequence(text, codePoint);
        if (length == 0 || IsControl(codePoint)) {
            // A control character is escaped byte by byte, as is a byte that starts no character.
            const std::size_t bytes = length == 0 ? 1 : length;
            for (std::size_t i = 0; i < bytes; ++i) AppendEscaped(out, static_cast<unsigned char>(text[i]));
            text.remove_prefix(bytes);
        } else {
            out.append(text.substr(0, length));
            text.remove_prefix(length);
        }
    }
    return out;
}

}  // namespace quillon
