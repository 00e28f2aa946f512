// The page's language from its parameter or the browser's header.
#include "server/PageLanguage.h"

#include <algorithm>

namespace quillon::server {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

// A q-value in thousandths: "0", "0.5", "1", "1.000"; -1 when it is not one.
int Weight(std::string_view text) {
    if (text.empty() || (text[0] != '0' && text[0] != '1')) return -1;
    const bool one = text[0] == '1';
    if (text.size() == 1) return one ? 1000 : 0;
    if (text[1] != '.' || text.size() > 5) return -1;
    int thousandths = 0, scale = 100;
    for (char c : text.substr(2)) {
        if (c < '0' || c > '9' || (one && c != '0')) return -1;
        thousandths += (c - '0') * scale;
        scale /= 10;
    }
    return one ? 1000 : thousandths;
}

// The primary part of a language range ("ru" of "ru-RU"), or "*".
std::string_view Primary(std::string_view range) { return range.substr(0, range.find('-')); }

struct TWeights {
    int Russian = -1;  // -1: not named
    int English = -1;
    int Any = -1;      // the wildcard
};

// One entry, "range" or "range;q=value" (other parameters are not HTTP's and spoil it).
void Weigh(std::string_view entry, TWeights& weights) {
    const std::size_t semicolon = entry.find(';');
    const std::string_view range = Trim(entry.substr(0, semicolon));
    int weight = 1000;
    if (semicolon != std::string_view::npos) {
        const std::string_view parameter = Trim(entry.substr(semicolon + 1));
        if (parameter.size() < 2 || Lower(parameter[0]) != 'q' || parameter[1] != '=') return;
        weight = Weight(Trim(parameter.substr(2)));
        if (weight < 0) return;
    }
    if (range.empty() || range.size() > 35) return;
    const std::string_view primary = Primary(range);
    // Every range of a language ("ru", "ru-RU", "ru-UA") counts for it, with the highest weight given.
    if (SameLetters(primary, "ru")) {
        weights.Russian = std::max(weights.Russian, weight);
    } else if (SameLetters(primary, "en")) {
        weights.English = std::max(weights.English, weight);
    } else if (range == "*") {
        weights.Any = std::max(weights.Any, weight);
    }
}

}  // namespace

std::string_view LanguageCode(TPageLanguage language) { return language == TPageLanguage::Russian ? "ru" : "en"; }

std::optional<TPageLanguage> LanguageOfCode(std::string_view code) {
    if (code == "ru") return TPageLanguage::Russian;
    if (code == "en") return TPageLanguage::English;
    return std::nullopt;
}

TPageLanguage PreferredLanguage(std::string_view acceptLanguage) {
    TWeights weights;
    while (!acceptLanguage.empty()) {
        const std::size_t comma = acceptLanguage.find(',');
        Weigh(acceptLanguage.substr(0, comma), weights);
        if (comma == std::string_view::npos) break;
        acceptLanguage.remove_prefix(comma + 1);
    }
    // A language not named takes the wildcard's weight, or none at all.
    const int russian = weights.Russian >= 0 ? weights.Russian : std::max(weights.Any, 0);
    const int english = weights.English >= 0 ? weights.English : std::max(weights.Any, 0);
    return russian > english ? TPageLanguage::Russian : TPageLanguage::English;
}

}  // namespace quillon::server
