// Runs the real game binary with the headless driver for scenario tests.
#pragma once

#include <string>
#include <vector>

namespace quillon::testing {

// Frames of the level banner, at 85 frames a second, before a race moves.
inline constexpr int kLevelBannerFrames = 182;

struct THeadlessResult {
    int ExitStatus = -1;
    std::string Stdout;
    std::string Stderr;
};

// A fresh temporary folder per test; removed by the caller's choice (kept on failure helps).
std::string MakeTempDir(const std::string& tag);

// Makes dir a game folder of its own: the build's data, and a save folder of its own.
void MakeGameFolder(const std::string& dir);

// Makes dir a game folder (MakeGameFolder), writes script into dir/script.txt and runs quillon --headless with it and the extra
// arguments (e.g. "--frames 30 --fps 85"); dir is the working directory and the game folder (--root).
// Standard output and error are kept in dir/stdout.txt and dir/stderr.txt and returned.
THeadlessResult RunHeadless(const std::string& dir, const std::string& script, const std::string& arguments);

// Starts the headless game in dir with the script and a long frame budget, waits until the
// script has written dir/running.json, then stops it with SIGTERM; returns its wait status.
// Standard error goes to dir/stderr.txt.
int RunUntilTerminated(const std::string& dir, const std::string& script, const std::vector<std::string>& extra = {});

// The game folder of the build (generated data beside the executable).
std::string BuildDir();

}  // namespace quillon::testing
