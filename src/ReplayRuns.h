// The replay runs of the program: a recorded race watched in the window, or checked headless.
#pragma once

#include <filesystem>

#include "app/CommandLine.h"
#include "app/GameFolder.h"
#include "app/Settings.h"
#include "platform/HeadlessScript.h"

namespace quillon {

// The file --replay names (made absolute before the run enters the game folder), or the newest
// of the Replays folder for --replay-last; empty when there is none (reported).
std::filesystem::path ReplayToPlay(const TCommandLine& line, const TGameFolder& folder,
                                   const std::filesystem::path& given);

// A replay named by an http or https address, downloaded into a private temporary folder that
// goes with the object. Fetch returns the file, or empty after printing why it cannot.
class TDownloadedReplay {
public:
    TDownloadedReplay() = default;
    ~TDownloadedReplay();
    TDownloadedReplay(const TDownloadedReplay&) = delete;
    TDownloadedReplay& operator=(const TDownloadedReplay&) = delete;
    std::filesystem::path Fetch(const std::string& url);

private:
    std::filesystem::path FFolder;
};

// Plays as fast as it can; prints the JSON line. Exit status 0 reproduced, 3 diverged, 2 unreadable.
int RunReplayHeadless(const std::filesystem::path& file, const TGameFolder& folder, THeadlessScript script);
// Plays in the window at the recorded pace with sound and music; Escape ends it, P pauses. The
// settings shape the window, the volumes and the keys that end and pause it, never the race.
int RunReplayWindow(const std::filesystem::path& file, const TCommandLine& line, const TGameFolder& folder,
                    const TSettings& settings);

}  // namespace quillon
