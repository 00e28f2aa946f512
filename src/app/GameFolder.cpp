// The game folder rules.
#include "app/GameFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>
#include <vector>

#include "save/SavePair.h"

#ifndef QUILLON_INSTALLED_DATA
#define QUILLON_INSTALLED_DATA "../share/quillon"
#endif
#ifndef QUILLON_INSTALLED_LOCALE
#define QUILLON_INSTALLED_LOCALE "../share/locale"
#endif

namespace quillon {

namespace fs = std::filesystem;

namespace {

bool HoldsData(const fs::path& folder) {
    std::error_code error;
    return !folder.empty() && fs::is_directory(folder / "Data" / "Res", error);
}

TGameFolder InFolder(const fs::path& folder) { return TGameFolder{folder, SaveDirectory(folder), false, {}}; }

// The XDG rule: a relative $XDG_DATA_HOME is ignored.
fs::path PlayerDataFolder(const TFolderSearch& search) {
    if (!search.XdgDataHome.empty() && fs::path(search.XdgDataHome).is_absolute()) return search.XdgDataHome;
    if (!search.Home.empty()) return fs::path(search.Home) / ".local" / "share";
    return {};
}

std::string AccountHome() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !found->pw_dir) return {};
    return found->pw_dir;
}

}  // namespace

TFolderSearch ThisRun(const std::string& root, const std::string& executablePath) {
    TFolderSearch search;
    search.Root = root;
    std::error_code error;
    search.Executable = fs::canonical("/proc/self/exe", error);
    if (error) search.Executable = fs::absolute(executablePath, error);
    search.InstalledData = QUILLON_INSTALLED_DATA;
    search.InstalledLocale = QUILLON_INSTALLED_LOCALE;
    if (const char* xdg = std::getenv("XDG_DATA_HOME")) search.XdgDataHome = xdg;
    if (const char* home = std::getenv("HOME")) search.Home = home;
    if (search.Home.empty()) search.Home = AccountHome();
    return search;
}

namespace {

TGameFolder FindDataFolder(const TFolderSearch& search) {
    std::error_code error;
    if (!search.Root.empty()) return InFolder(fs::absolute(search.Root, error));
    const fs::path beside = search.Executable.parent_path();
    if (HoldsData(beside)) return InFolder(beside);
    const fs::path installed = (beside / search.InstalledData).lexically_normal();
    const fs::path playerData = PlayerDataFolder(search);
    if (HoldsData(installed) && !playerData.empty())
        return TGameFolder{installed, playerData / "quillon" / "Save", true, {}};
    // No data anywhere: start-up reports the missing files from the executable's folder.
    return InFolder(beside);
}

}  // namespace

// The working directory plays no part: whatever folder the player starts the game in,
// it reads, saves and opens only the files of its own build tree or install.
TGameFolder FindGameFolder(const TFolderSearch& search) {
    TGameFolder found = FindDataFolder(search);
    std::error_code error;
    const fs::path beside = search.Executable.parent_path();
    found.Catalogs = fs::is_directory(beside / "locale", error) ? beside / "locale"
                                                                 : (beside / search.InstalledLocale).lexically_normal();
    return found;
}

}  // namespace quillon
