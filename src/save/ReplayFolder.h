// The Replays folder beside the saves: file names that sort by time and show the level and
// the score, atomic writes, and the rotation that keeps the newest replays and those of the
// games in the local table.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "save/HighScores.h"
#include "save/ReplayFile.h"

namespace quillon {

inline constexpr const char* kReplayExtension = ".qrp";
inline constexpr size_t kNewestReplaysKept = 50;

// "20261210-204106-123_level03_score0012345.qrp"; a game that entered the table gets
// "_table" before the extension. The second and later names of one millisecond carry their
// number after the score, so the table mark stays last: "…_score0012345-2_table.qrp".
std::string ReplayFileName(std::chrono::system_clock::time_point when, const TReplaySummary& summary, int copy = 1);

// Writes the replay under a fresh name in `folder` (created when missing), whole or not at
// all, then prunes the folder. Returns the file written; raises ESaveFileError when it fails.
std::filesystem::path StoreReplay(const std::filesystem::path& folder, const TReplay& replay,
                                  std::chrono::system_clock::time_point when, const THighScoreTable& table);

// Removes every replay but the newest `keep` and those whose game still stands in the table.
// Files that vanish or cannot be read meanwhile are passed over.
void PruneReplays(const std::filesystem::path& folder, const THighScoreTable& table,
                  size_t keep = kNewestReplaysKept);

// The replay files of the folder, oldest first.
std::vector<std::filesystem::path> ListReplays(const std::filesystem::path& folder);

}  // namespace quillon
