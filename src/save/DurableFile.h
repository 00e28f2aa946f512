// File operations for saving that survive a crash: whole files flushed to disk, renames made
// durable by flushing their folder, and the single-file atomic replace built from them.
// Every failure raises ESaveFileError with the game's text for it.
#pragma once

#include <filesystem>
#include <string_view>

namespace quillon {

// Creates or truncates the file, writes all bytes and flushes them to disk. Never blocks on a pipe.
void WriteFileSynced(const std::filesystem::path& file, std::string_view bytes);
// Removes whatever has the name and writes a new regular file in its place, flushed to disk.
void WriteNewFileSynced(const std::filesystem::path& file, std::string_view bytes);
// Puts a copy of the file (a second link to it where the file system allows) under the name
// `copy`, replacing what was there; nothing when the file is missing.
void KeepCopy(const std::filesystem::path& file, const std::filesystem::path& copy);
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
