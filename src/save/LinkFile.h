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

// The score server of the game: the build's (CMake option QUILLON_SCORE_SERVER), replaced by
// the player's setting, replaced in turn by the environment variable QUILLON_SCORE_SERVER.
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

// The address built into the game ("" when it was built without a world table).
std::string_view BuiltInScoreServer();

// Which score server the game talks to. The environment's value wins over the setting's, which
// wins over the build's; an empty value counts as not given. The value chosen must be an http
// or https address (IsWebUrl): anything else gives no address and names the rejected value in
// `Rejected`, and no other value takes its place.
struct TScoreServerChoice {
    std::optional<std::string> Address;  // without a trailing "/"
    std::string Rejected;
};
TScoreServerChoice ChooseScoreServer(std::string_view builtIn, std::optional<std::string_view> setting,
                                     std::optional<std::string_view> environment);

// The player's setting for this run (the settings file's ScoreServer; empty: none), given once
// at start before any score is sent.
void SetScoreServerSetting(std::string setting);
// The score server of this run: ChooseScoreServer over the built-in address, the player's
// setting and the environment. A rejected value is reported once on standard error; nothing
// then is sent and the world table is not opened.
std::optional<std::string> ScoreServerAddress();
// The world table page: path "/cgi/version.pl", query "prg=Quillon&show&type=0".
std::string WorldTableUrl(std::string_view server);
// The world table page of this run's score server, or nothing without one.
std::optional<std::string> WorldTableUrl();

}  // namespace quillon
