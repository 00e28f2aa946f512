// Finding the game folder and the save folder of a run: --root, else the executable's
// folder when it holds Data/Res (the build tree), else the installed data beside the
// executable, whose saves live in the player's data folder ($XDG_DATA_HOME/quillon/Save).
// The working directory is never looked at. Link files and the exit launcher are found
// in the game folder only (for an installed game: beside its installed data, not in the
// save folder, which any program of the player's may write).
#pragma once

#include <filesystem>
#include <string>

namespace quillon {

// What the search looks at; ThisRun fills it from the process.
struct TFolderSearch {
    std::string Root;                     // --root, empty when not given
    std::filesystem::path Executable;     // the running program
    std::filesystem::path InstalledData;  // the installed data, relative to the executable's folder
    std::filesystem::path InstalledLocale;  // the installed message catalogs, relative to the same
    std::string XdgDataHome;              // $XDG_DATA_HOME
    std::string Home;                     // $HOME, else the account's home folder
};

struct TGameFolder {
    std::filesystem::path Folder;      // data, links and the exit launcher; the run works here
    std::filesystem::path SaveFolder;  // the options and the high-score table
    bool Installed = false;
    // The message catalogs' folder (<code>/LC_MESSAGES/quillon.mo): the build tree's locale folder
    // beside the executable, else the installed one; --root plays no part, as the catalogs
    // belong to the program, not to a game folder.
    std::filesystem::path Catalogs;
};

TFolderSearch ThisRun(const std::string& root, const std::string& executablePath);
TGameFolder FindGameFolder(const TFolderSearch& search);

}  // namespace quillon
