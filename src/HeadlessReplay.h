// A replay played headless, as fast as it can, on a fresh form: the race the command line's
// headless replay run checks, kept apart from the files and the window so that other drivers
// (the fuzz targets) play exactly the same way.
#pragma once

#include <filesystem>

#include "app/ReplayPlayer.h"
#include "platform/HeadlessScript.h"
#include "save/ReplayFile.h"

namespace quillon {

struct THeadlessReplayRun {
    TReplayOutcome Outcome;
    bool OutputsWritten = true;  // false when a screenshot or dump of the script could not be written
};

// The game works in the current folder (its data); the save folder holds the race's table.
THeadlessReplayRun PlayReplayHeadless(const TReplay& replay, const std::filesystem::path& saveFolder,
                                      THeadlessScript script);

}  // namespace quillon
