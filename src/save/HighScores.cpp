// The high-score table's rules and its check string.
#include "save/HighScores.h"

#include <algorithm>
#include <utility>

namespace quillon {

namespace {

// "Ваня" in Windows-1251.
const std::string kDefaultName = "\xC2\xE0\xED\xFF";

char Fold(char a, char b) {
    const unsigned sum = static_cast<unsigned char>(a) + static_cast<unsigned char>(b);
    return static_cast<char>(sum % 224 + 32);
}

void FoldInto(std::string& check, const std::string& text) {
    const std::size_t n = std::min(check.size(), text.size());
    for (std::size_t p = 0; p < n; ++p) check[p] = Fold(check[p], text[p]);
}

}  // namespace

void ResetHighScores(THighScoreTable& table) {
    for (std::size_t i = 0; i < kHighScoreEntries; ++i) ResetHighScoreEntry(table, i);
}

void ResetHighScoreEntry(THighScoreTable& table, std::size_t entry) {
    table[entry].Name = kDefaultName;
    table[entry].Score = static_cast<std::int32_t>(10000 - 1000 * entry);
}

void SortHighScores(THighScoreTable& table) {
    for (std::size_t pass = 1; pass < kHighScoreSlots; ++pass)
        for (std::size_t a = 0; a + pass < kHighScoreSlots; ++a)
            if (table[a].Score < table[a + 1].Score) std::swap(table[a], table[a + 1]);
}

bool QualifiesForHighScores(const THighScoreTable& table, std::int32_t score) {
    for (std::size_t i = 0; i < kHighScoreEntries; ++i)
        if (table[i].Score < score) return true;
    return false;
}

void InsertHighScore(THighScoreTable& table, const std::string& name, std::int32_t score) {
    table[kHighScoreSlots - 1] = THighScore{name, score};
    SortHighScores(table);
}

std::string ComputeHighScoreChecksum(const THighScoreTable& table) {
    std::size_t longest = 0;
    for (std::size_t i = 0; i < kHighScoreEntries; ++i) longest = std::max(longest, table[i].Name.size());
    std::string check(longest, ' ');
    for (std::size_t i = 0; i < kHighScoreEntries; ++i) {
        FoldInto(check, table[i].Name);
        FoldInto(check, std::to_string(table[i].Score));
    }
    return check;
}

bool IsNameChar(char c) {
    const unsigned code = static_cast<unsigned char>(c);
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || code >= 192 ||
           c == ' ';
}

bool AppendNameChar(std::string& text, char c, std::size_t limit) {
    if (text.size() >= limit) return false;
    text.push_back(c);
    return true;
}

void DeleteLastNameChar(std::string& text) {
    if (!text.empty()) text.pop_back();
}

}  // namespace quillon
