// TInGameFolder: a benchmark that loads the game's data works in the game folder as the
// game finds it (the build's data beside the benchmark's executable), whatever folder it
// was started from, and goes back when it is done.
#pragma once

#include <filesystem>
#include <system_error>

#include "app/GameFolder.h"

namespace quillon {

class TInGameFolder {
public:
    TInGameFolder() : FBefore(std::filesystem::current_path()) {
        std::error_code ignored;
        std::filesystem::current_path(FindGameFolder(ThisRun("", "")).Folder, ignored);
    }
    ~TInGameFolder() {
        std::error_code ignored;
        std::filesystem::current_path(FBefore, ignored);
    }
    TInGameFolder(const TInGameFolder&) = delete;
    TInGameFolder& operator=(const TInGameFolder&) = delete;

private:
    std::filesystem::path FBefore;
};

}  // namespace quillon
