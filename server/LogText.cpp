// Escaping request text for the log.
#include "server/LogText.h"

#include <cstdint>

namespace quillon::server {
namespace {

// Characters that print nothing but can hide or reorder what a reader sees.
bool IsInvisible(std::uint32_t code) {
    return (code >= 0x80 && code <= 0x9f) || (code >= 0x200b && code <= 0x200f) || code == 0x2028 ||
           code == 0x2029 || (code >= 0x202a && code <= 0x202e) || (code >= 0x2060 && code <= 0x2069) ||
           code == 0xfeff;
}

// The length of the valid UTF-8 sequence of a printable character at `text[at]`, or 0.
std::size_t PrintableSequence(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byte(at);
    if (lead > 0x20 && lead < 0x7f) return lead == '\\' ? 0 : 1;
    std::size_t length;
    std::uint32_t code, least;
    if (lead >= 0xc2 && lead <= 0xdf) length = 2, code = lead & 0x1f, least = 0x80;
    else if (lead >= 0xe0 && lead <= 0xef) length = 3, code = lead & 0x0f, least = 0x800;
    else if (lead >= 0xf0 && lead <= 0xf4) length = 4, code = lead & 0x07, least = 0x10000;
    else return 0;
    if (at + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xc0) != 0x80) return 0;
        code = code << 6 | (byte(at + i) & 0x3f);
    }
    if (code < least || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff) || IsInvisible(code)) return 0;
    return length;
}

}  // namespace

std::string LogField(std::string_view text, std::size_t maxBytes) {
    const std::string_view shown = text.substr(0, maxBytes);
    std::string out;
    for (std::size_t at = 0; at < shown.size();) {
        if (const std::size_t length = PrintableSequence(shown, at)) {
            out.append(shown.substr(at, length));
            at += length;
            continue;
        }
        static constexpr char kHex[] = "0123456789abcdef";
        const auto code = static_cast<unsigned char>(shown[at++]);
        out += "\\x";
        out += kHex[code >> 4];
        out += kHex[code & 15];
    }
    if (text.size() > maxBytes) out += "...";
    return out.empty() ? "-" : out;
}

}  // namespace quillon::server
