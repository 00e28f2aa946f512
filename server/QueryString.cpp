// Splitting a request target into path and query parameters.
#include "server/QueryString.h"

namespace quillon::server {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string PercentDecode(std::string_view text, bool plusIsSpace) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += plusIsSpace && text[i] == '+' ? ' ' : text[i];
        }
    }
    return out;
}

TTarget::TTarget(std::string_view target) {
    target = target.substr(0, target.find('#'));
    const std::size_t question = target.find('?');
    FPath = PercentDecode(target.substr(0, question), false);
    if (question == std::string_view::npos) return;
    std::string_view query = target.substr(question + 1);
    while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        if (pair.empty()) continue;
        const std::size_t equals = pair.find('=');
        FParams.emplace_back(PercentDecode(pair.substr(0, equals), true),
                             equals == std::string_view::npos ? std::string() : PercentDecode(pair.substr(equals + 1), true));
    }
}

std::size_t TTarget::Count(std::string_view key) const {
    std::size_t count = 0;
    for (const auto& [name, value] : FParams) count += name == key;
    return count;
}

bool TTarget::Single(std::string_view key, std::string& value) const {
    value.clear();
    if (Count(key) > 1) return false;
    for (const auto& [name, text] : FParams)
        if (name == key) value = text;
    return true;
}

}  // namespace quillon::server
