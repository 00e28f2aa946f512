// Reading ".url" link files and building the game's web addresses.
#include "save/LinkFile.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "engine/PrintableText.h"
#include "save/SaveError.h"
#include "save/SaveFiles.h"

namespace quillon {

namespace {

constexpr std::size_t kMaxLinkFileSize = 64 * 1024;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && EqualsIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

bool IsWebUrl(std::string_view text) {
    std::string_view rest;
    if (StartsWithIgnoringCase(text, "http://"))
        rest = text.substr(7);
    else if (StartsWithIgnoringCase(text, "https://"))
        rest = text.substr(8);
    else
        return false;
    if (rest.empty() || rest.front() == '/' || rest.front() == '?' || rest.front() == '#') return false;
    for (char c : text)
        if (static_cast<unsigned char>(c) <= ' ' || c == '\x7F') return false;
    return true;
}

std::optional<std::string> ParseInternetShortcut(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    bool inShortcut = false;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

        if (line.starts_with('[')) {
            inShortcut = line.ends_with(']') && EqualsIgnoringCase(Trim(line.substr(1, line.size() - 2)),
                                                                  "InternetShortcut");
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inShortcut || equals == std::string_view::npos) continue;
        if (!EqualsIgnoringCase(Trim(line.substr(0, equals)), "URL")) continue;
        const std::string_view url = Trim(line.substr(equals + 1));
        if (IsWebUrl(url)) return std::string(url);
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::string> ReadLinkFile(const std::filesystem::path& file) {
    if (!EndsWithIgnoringCase(file.filename().string(), ".url") || !IsFileReadable(file)) return std::nullopt;
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec || size > kMaxLinkFileSize) return std::nullopt;
    try {
        return ParseInternetShortcut(ReadWholeFile(file));
    } catch (const ESaveFileError&) {
        return std::nullopt;
    }
}

std::optional<std::string> ResolveLinkTarget(std::string_view target, const std::filesystem::path& gameFolder) {
    if (IsWebUrl(target)) return std::string(target);
    if (target.empty()) return std::nullopt;
    return ReadLinkFile(gameFolder / std::filesystem::path(target));
}

std::string_view BuiltInScoreServer() { return QUILLON_SCORE_SERVER; }

TScoreServerChoice ChooseScoreServer(std::string_view builtIn, std::optional<std::string_view> setting,
                                     std::optional<std::string_view> environment) {
    std::string_view chosen = builtIn;
    if (setting && !setting->empty()) chosen = *setting;
    if (environment && !environment->empty()) chosen = *environment;
    TScoreServerChoice choice;
    if (chosen.empty()) return choice;  // a build without a world table
    if (!IsWebUrl(chosen)) {
        choice.Rejected = std::string(chosen);
        return choice;
    }
    while (chosen.ends_with('/')) chosen.remove_suffix(1);
    choice.Address = std::string(chosen);
    return choice;
}

namespace {
std::mutex scoreServerSettingMutex;
std::string scoreServerSetting;
}  // namespace

void SetScoreServerSetting(std::string setting) {
    std::lock_guard lock(scoreServerSettingMutex);
    scoreServerSetting = std::move(setting);
}

std::optional<std::string> ScoreServerAddress() {
    std::string setting;
    {
        std::lock_guard lock(scoreServerSettingMutex);
        setting = scoreServerSetting;
    }
    const char* variable = std::getenv(kScoreServerVariable);
    TScoreServerChoice choice = ChooseScoreServer(
        BuiltInScoreServer(), setting, variable ? std::optional<std::string_view>(variable) : std::nullopt);
    if (!choice.Rejected.empty()) {
        // Once a run for each value, however often the game asks.
        static std::mutex reportedMutex;
        static std::string reported;
        std::lock_guard lock(reportedMutex);
        if (reported != choice.Rejected) {
            reported = choice.Rejected;
            std::fprintf(stderr,
                         "quillon: the score server address \"%s\" is not an http or https address: no score is sent "
                         "and the world table is not opened\n",
                         PrintableText(choice.Rejected).c_str());
        }
    }
    return choice.Address;
}

std::optional<std::string> WorldTableUrl() {
    const std::optional<std::string> server = ScoreServerAddress();
    if (!server) return std::nullopt;
    return WorldTableUrl(*server);
}

std::string WorldTableUrl(std::string_view server) {
    while (server.ends_with('/')) server.remove_suffix(1);
    return std::string(server) + "/cgi/version.pl?prg=Quillon&show&type=0";
}

}  // namespace quillon
