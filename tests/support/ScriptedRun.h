// A scripted headless run in a game folder of its own: commands by frame, state dumps
// read back by frame number, and the main menu's button positions.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "save/ReplayFolder.h"
#include "support/HeadlessRun.h"
#include "support/Json.h"

namespace quillon::testing {

// The intro lasts about 71 frames; from here on the main menu reacts.
constexpr int Ready = 80;

// A point inside main-menu button 1..6.
inline std::string Tab(int slot) {
    const int y[7] = {0, 132, 208, 283, 357, 427, 504};
    return std::to_string(470) + " " + std::to_string(y[slot] + 20);
}

class TScriptedRun : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = MakeTempDir("scripted");
        MakeGameFolder(Dir);
    }
    void TearDown() override {
        if (!HasFailure()) std::filesystem::remove_all(Dir);
    }

    void At(int frame, const std::string& command) { Script << frame << " " << command << "\n"; }
    // A state dump after the frame, read back after the run by its frame number.
    void Dump(int frame) { At(frame, "state s" + std::to_string(frame) + ".json"); }
    // Runs the script written so far, then starts a new one for the next run in the same folder.
    // A seed makes a run with chance in it (asteroids, rivals) repeat exactly.
    // Extra arguments follow the others (e.g. "--settings quillon.ini").
    THeadlessResult Run(int frames, int seed = 0, const std::string& extra = "") {
        const std::string seeded = seed ? " --seed " + std::to_string(seed) : "";
        THeadlessResult result = RunHeadless(
            Dir, Script.str(), "--frames " + std::to_string(frames) + " --fps 85" + seeded + (extra.empty() ? "" : " " + extra));
        Script.str("");
        EXPECT_EQ(result.ExitStatus, 0) << result.Stderr;
        return result;
    }
    // The game folder's Replays, where every race leaves its recording.
    std::filesystem::path Replays() const { return std::filesystem::path(Dir) / "Data" / "Save" / "Replays"; }
    // The one replay the runs so far left.
    std::filesystem::path OnlyReplay() const {
        const std::vector<std::filesystem::path> files = ListReplays(Replays());
        EXPECT_EQ(files.size(), 1u);
        return files.empty() ? std::filesystem::path() : files.back();
    }
    TJson State(int frame) { return ReadJsonFile(Dir + "/s" + std::to_string(frame) + ".json"); }
    static bool Started(const TJson& state, int sound) {
        for (const TJson& s : state["soundsStarted"].Array)
            if (s.Int() == sound) return true;
        return false;
    }

    std::string Dir;
    std::ostringstream Script;
};

}  // namespace quillon::testing
