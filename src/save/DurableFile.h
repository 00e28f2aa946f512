// File operations for saving that survive a crash: whole files flushed to disk, renames made
// durable by flushing their folder, and the single-file atomic replace built from them.
// Every failure raises ESaveFileError with the game's text for it.
#pragma once

#include <filesystem>
#include <string_view>

namespace quillon {

// Creates or truncates the file, writes all bytes and flushes them to disk.
void WriteFileSynced(const std::filesystem::path& file, std::string_view bytes);
// Renames `from` over `to` (atomic within one folder).
void RenameFile(const std::filesystem::path& from, const std::filesystem::path& to);
// Removes the file; false when there was none.
bool RemoveFileIfPresent(const std::filesystem::path& file);
// Flushes the folder itself, so that files created, renamed or removed in it stay so.
void SyncDirectory(const std::filesystem::path& folder);
// Creates the folder and its parents when missing.
void EnsureDirectory(const std::filesystem::path& folder);
// Writes a temporary file beside `file`, flushes it and renames it over `file`: readers see the
// old content or the new, never a part.
void WriteFileAtomic(const std::filesystem::path& file, std::string_view bytes);

}  // namespace quillon
