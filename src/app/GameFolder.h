// Finding the game folder and the save folder of a run: --root, else the working
// directory when it holds Data/Res, else the executable's folder when it does (the build
// tree), else the installed data beside the executable, whose saves live in the player's
// data folder ($XDG_DATA_HOME/quillon/Save).
#pragma once

#include <filesystem>
#include <string>

namespace quillon {

// What the search looks at; ThisRun fills it from the process.
struct TFolderSearch {
    std::string Root;                     // --root, empty when not given
    std::filesystem::path Current;        // the working directory
    std::filesystem::path Executable;     // the running program
    std::filesystem::path InstalledData;  // the installed data, relative to the executable's folder
    std::string XdgDataHome;              // $XDG_DATA_HOME
    std::string Home;                     // $HOME, else the account's home folder
};

struct TGameFolder {
    std::filesystem::path Folder;      // data, links and the exit launcher; the run works here
    std::filesystem::path SaveFolder;  // the options and the high-score table
    bool Installed = false;
};

TFolderSearch ThisRun(const std::string& root, const std::string& executablePath);
TGameFolder FindGameFolder(const TFolderSearch& search);

}  // namespace quillon
