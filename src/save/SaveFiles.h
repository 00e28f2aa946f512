// The options file and the high-score file: their exact text (Windows-1251, CR LF), reading them
// with the game's rules, and loading them from disk.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "save/SavedState.h"

namespace quillon {

inline constexpr const char* kOptionsFileName = "options";
inline constexpr const char* kHighScoreFileName = "hs";

// Where reading stopped at a value that is not a number: the line of the options file (1..7) or
// the entry of the high-score file (1..10), and the error text ("Invalid numeric input").
// Everything read before it has been stored; everything from it on is untouched.
struct TReadStop {
    int Item = 0;
    std::string Message;
};

// Seven lines: FullScreen, MusicOn, SoundOn ("1"/"0"), Country, the boss modifier ("0" none,
// "1" Alt, "2" Ctrl, "3" Shift), the boss key ("0" none, "1".."12" for F1..F12) and the check
// string computed from the table as it is now.
std::string FormatOptionsFile(const TSavedState& state);
// Reads the seven lines into state. Out-of-range modifier and key numbers leave the value as it
// was; missing lines read as 0 or empty text.
std::optional<TReadStop> ReadOptionsFile(std::string_view text, TSavedState& state);
// The defaults of the options lines from `line` (1..7) on; line 7 (the check string) keeps its value.
void ResetOptionsFromLine(TSavedState& state, int line);

// Twenty lines: name and score of each of the ten entries.
std::string FormatHighScoreFile(const THighScoreTable& table);
std::optional<TReadStop> ReadHighScoreFile(std::string_view text, THighScoreTable& table);

// True when the name is not empty and names a regular file that can be opened for reading.
bool IsFileReadable(const std::filesystem::path& file);
// The whole file; a failure raises ESaveFileError.
std::string ReadWholeFile(const std::filesystem::path& file);

// Reads the file when it is readable, otherwise puts the defaults in place (ResetOptions,
// ResetHighScores). A read failure raises ESaveFileError.
std::optional<TReadStop> LoadOptions(TSavedState& state, const std::filesystem::path& file);
std::optional<TReadStop> LoadHighScores(THighScoreTable& table, const std::filesystem::path& file);

}  // namespace quillon
