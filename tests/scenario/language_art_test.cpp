// The pictures with words follow the run's language, and nothing the race does does: a race
// recorded in one language replays to "reproduced" in the other, and so does a replay of a
// game that named its data the former way. A missing English collection leaves the words
// Russian with one warning.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "save/DataHash.h"
#include "save/ReplayFile.h"
#include "save/ReplayFolder.h"
#include "support/FileText.h"
#include "support/PngImage.h"
#include "support/ScriptedRun.h"

namespace quillon::testing {
namespace {

namespace fs = std::filesystem;

class LanguageArtTest : public TScriptedRun {
protected:
    fs::path Replays() const { return fs::path(Dir) / "Data" / "Save" / "Replays"; }

    // Races ship 3 on level 1 with the pilot and returns the replay it left.
    fs::path Record(const std::string& language) {
        fs::remove_all(Replays());
        At(Ready, "race 3 1");
        At(Ready, "pilot on");
        Run(Ready + 240, 5, "--lang " + language);
        const std::vector<fs::path> files = ListReplays(Replays());
        EXPECT_EQ(files.size(), 1u) << language;
        if (files.empty()) return {};
        const fs::path kept = fs::path(Dir) / ("recorded-" + language + ".qrp");
        fs::rename(files.back(), kept);
        return kept;
    }

    void ExpectReproduced(const fs::path& file, const std::string& language, const std::string& what) {
        const THeadlessResult run = RunHeadless(Dir, "", "--replay '" + file.string() + "' --lang " + language);
        EXPECT_EQ(run.ExitStatus, 0) << what << ": " << run.Stderr;
        EXPECT_EQ(ParseJson(run.Stdout)["result"].String, "reproduced") << what << ": " << run.Stderr << run.Stdout;
    }
};

TEST_F(LanguageArtTest, ARaceRecordedInOneLanguageReplaysInTheOther) {
    const fs::path english = Record("en"), russian = Record("ru");
    ASSERT_FALSE(english.empty());
    ASSERT_FALSE(russian.empty());
    EXPECT_EQ(ReadReplayFile(english.string()).Header.DataHash, ReadReplayFile(russian.string()).Header.DataHash);
    ExpectReproduced(english, "ru", "recorded in English, played in Russian");
    ExpectReproduced(russian, "en", "recorded in Russian, played in English");

    // Games before the pictures had languages named the same data by the files' bytes.
    TReplay former = ReadReplayFile(russian.string());
    former.Header.DataHash = HashDataFilesWhole(Dir);
    ASSERT_NE(former.Header.DataHash, HashDataFiles(Dir));
    const fs::path formerFile = fs::path(Dir) / "former.qrp";
    std::ofstream(formerFile, std::ios::binary) << EncodeReplay(former);
    ExpectReproduced(formerFile, "ru", "recorded by a game of the former data hash");
}

// The main menu in each language: the tabs and the name differ, the scenery does not. A
// folder without the English collections shows the Russian menu and says so once.
TEST_F(LanguageArtTest, TheMenuShowsTheWordsOfTheRunsLanguage) {
    At(Ready, "shot menu.png");
    Run(Ready + 1, 1, "--lang ru");
    const TPngImage russian = ReadPng(Dir + "/menu.png");
    At(Ready, "shot menu.png");
    Run(Ready + 1, 1, "--lang en");
    const TPngImage english = ReadPng(Dir + "/menu.png");
    ASSERT_EQ(russian.Width, 800);
    ASSERT_EQ(english.Width, 800);

    // Where words are on the first tab and the name, and where the scenery alone is.
    auto differing = [&](const TPngImage& a, const TPngImage& b, int x0, int y0, int x1, int y1) {
        int count = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) count += !(a.At(x, y) == b.At(x, y));
        return count;
    };
    EXPECT_GT(differing(russian, english, 490, 140, 700, 190), 200) << "the first tab's words";
    EXPECT_GT(differing(russian, english, 40, 40, 320, 110), 200) << "the game's name";
    EXPECT_EQ(differing(russian, english, 0, 300, 440, 600), 0) << "the scenery below the name";

    // The same folder without Data/Res/en.
    const fs::path bare = fs::path(Dir) / "bare";
    fs::create_directories(bare / "Data" / "Res");
    for (const char* file : {"Res1.dxg", "Res2.dxg", "Res3.dxg", "Sounds.dxw"})
        fs::create_symlink(fs::path(Dir) / "Data" / "Res" / file, bare / "Data" / "Res" / file);
    At(Ready, "shot menu.png");
    const THeadlessResult run = RunHeadless(bare.string(), Script.str(), "--frames " + std::to_string(Ready + 1) + " --seed 1 --lang en");
    Script.str("");
    EXPECT_EQ(run.ExitStatus, 0) << run.Stderr;
    EXPECT_EQ(run.Stderr, "quillon: Data/Res/en/Res1.dxg is missing; the pictures show their words in Russian\n");
    const TPngImage fallback = ReadPng((bare / "menu.png").string());
    ASSERT_EQ(fallback.Width, 800);
    EXPECT_EQ(differing(russian, fallback, 0, 0, 800, 600), 0);
}

}  // namespace
}  // namespace quillon::testing
