// The local high-score table: its entries, the default table, sorting, the qualifying test,
// the check string stored with the options, and the typing rules for names.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace quillon {

struct THighScore {
    std::string Name;  // Windows-1251
    std::int32_t Score = 0;
    bool operator==(const THighScore&) const = default;
};

// Entries [0]..[9] are the table, best first; [10] receives a new score before sorting and is
// never shown, saved or checked.
inline constexpr std::size_t kHighScoreSlots = 11;
inline constexpr std::size_t kHighScoreEntries = 10;
using THighScoreTable = std::array<THighScore, kHighScoreSlots>;

inline constexpr std::size_t kPlayerNameLimit = 12;
inline constexpr std::size_t kCountryLimit = 16;

// The default table: "Ваня" with 10000 down to 1000. The spare slot is left as it is.
void ResetHighScores(THighScoreTable& table);
// The default of one entry (counted from 0).
void ResetHighScoreEntry(THighScoreTable& table, std::size_t entry);

// Bubble sort of all eleven slots, best first; equal scores never swap, so a new score equal to
// an old one ends below it.
void SortHighScores(THighScoreTable& table);
// True when `score` is strictly greater than the score of at least one of the ten entries.
bool QualifiesForHighScores(const THighScoreTable& table, std::int32_t score);
// Puts name and score into the spare slot and sorts: the lowest of the eleven drops out.
void InsertHighScore(THighScoreTable& table, const std::string& name, std::int32_t score);

// The check string over the ten entries: as long as the longest name, every name and every
// score's decimal text folded in character by character.
std::string ComputeHighScoreChecksum(const THighScoreTable& table);

// Digits, Latin letters, codes 192..255 (Cyrillic in Windows-1251) and the space.
bool IsNameChar(char c);
// Appends c when the text is shorter than `limit`; false when it was not appended. The caller
// filters with IsNameChar and applies the width limit of its font.
bool AppendNameChar(std::string& text, char c, std::size_t limit);
// Backspace: removes the last character; an empty text stays empty.
void DeleteLastNameChar(std::string& text);

}  // namespace quillon
