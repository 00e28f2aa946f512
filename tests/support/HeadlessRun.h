// Runs the real game binary with the headless driver for scenario tests.
#pragma once

#include <string>

namespace quillon::testing {

struct THeadlessResult {
    int ExitStatus = -1;
    std::string Stderr;
};

// A fresh temporary folder per test; removed by the caller's choice (kept on failure helps).
std::string MakeTempDir(const std::string& tag);

// Writes script into dir/script.txt and runs quillon --headless with it and the extra
// arguments (e.g. "--frames 30 --fps 85"); the working directory is dir.
THeadlessResult RunHeadless(const std::string& dir, const std::string& script, const std::string& arguments);

// The game folder of the build (generated data beside the executable).
std::string BuildDir();

}  // namespace quillon::testing
