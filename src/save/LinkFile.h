// Web links of the game: ".url" link files (the Internet Shortcut text with "[InternetShortcut]"
// and "URL="), the score server's address and the world-table page.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

inline constexpr const char* kMoreGamesLink = "moregames.url";
inline constexpr const char* kPlayLink = "play.url";
inline constexpr const char* kExitLauncher = "fscommand/wgame.exe";

// The score server of the game; the environment variable QUILLON_SCORE_SERVER (an http or https
// address such as "http://127.0.0.1:8080") takes its place.
inline constexpr const char* kDefaultScoreServer = "http://scores.quillon.example";
inline constexpr const char* kScoreServerVariable = "QUILLON_SCORE_SERVER";

// True for an "http://" or "https://" address (either case) with a host and no blanks or
// control characters: the only kind of target the game hands to the desktop.
bool IsWebUrl(std::string_view text);

// The URL of the "[InternetShortcut]" section's "URL=" entry when it is a web URL; nothing for
// anything else. Sections and keys match in either case; a UTF-8 byte-order mark is skipped.
std::optional<std::string> ParseInternetShortcut(std::string_view text);
// The web URL of a ".url" file; nothing when the file is missing, unreadable, too large or holds
// no web URL.
std::optional<std::string> ReadLinkFile(const std::filesystem::path& file);
// What opening `target` means: a web URL stays as it is, a ".url" file name (relative to the game
// folder) gives its URL, anything else gives nothing.
std::optional<std::string> ResolveLinkTarget(std::string_view target, const std::filesystem::path& gameFolder);

// The score server's base address without a trailing "/".
std::string ScoreServerAddress();
// The world table page: path "/cgi/version.pl", query "prg=Quillon&show&type=0".
std::string WorldTableUrl(std::string_view server);
inline std::string WorldTableUrl() { return WorldTableUrl(ScoreServerAddress()); }

}  // namespace quillon
