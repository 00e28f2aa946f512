// The options file and the high-score file: their exact text (Windows-1251, CR LF), reading them
// with the game's rules, and loading them from disk.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "save/SavedState.h"

namespace quillon {

inline constexpr const char* kOptionsFileName = "options";
inline constexpr const char* kHighScoreFileName = "hs";

// A save file longer than this is not one of ours: only its start is read, and it counts as damaged.
inline constexpr std::size_t kMaxSaveFileSize = 1024 * 1024;

// The lines of the options file (1..7) or the entries of the high-score file (1..10) whose number
// could not be read ("Invalid numeric input"), in order. Each keeps the value it had, and reading
// goes on at the next line or entry.
using TBadItems = std::vector<int>;

// Seven lines: FullScreen, MusicOn, SoundOn ("1"/"0"), Country, the boss modifier ("0" none,
// "1" Alt, "2" Ctrl, "3" Shift), the boss key ("0" none, "1".."12" for F1..F12) and the check
// string computed from the table as it is now.
std::string FormatOptionsFile(const TSavedState& state);
// Reads the seven lines into state. Out-of-range modifier and key numbers leave the value as it
// was; missing lines read as 0 or empty text.
TBadItems ReadOptionsFile(std::string_view text, TSavedState& state);
// The default of one options line (1..6); line 7 (the check string) keeps its value.
void ResetOptionsLine(TSavedState& state, int line);

// Twenty lines: name and score of each of the ten entries.
std::string FormatHighScoreFile(const THighScoreTable& table);
TBadItems ReadHighScoreFile(std::string_view text, THighScoreTable& table);

// True when the name is not empty and names a regular file that can be opened for reading.
bool IsFileReadable(const std::filesystem::path& file);

// The start of a regular file, at most `limit` bytes; Whole is false when the file is longer.
struct TFileStart {
    std::string Text;
    bool Whole = true;
};
// Opens the file without blocking and reads only a regular file; a failure raises ESaveFileError.
TFileStart ReadFileStart(const std::filesystem::path& file, std::size_t limit);
// The whole file; a failure raises ESaveFileError.
std::string ReadWholeFile(const std::filesystem::path& file);

}  // namespace quillon
