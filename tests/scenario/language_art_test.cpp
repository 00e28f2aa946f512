// The pictures with words follow the run's language, and nothing the race does does: a race
// recorded in one language replays to "reproduced" in the other, and so does a replay of a
// game that named its data the former way. A missing English collection leaves the words
// Russian with one warning. One recording per language serves every check.
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
    // Shoots the main menu as menu-LANGUAGE.png, then races ship 3 on level 1 with the pilot
    // and returns the replay the race left.
    fs::path Record(const std::string& language) {
        fs::remove_all(Replays());
        At(Ready - 1, "shot menu-" + language + ".png");
        At(Ready, "race 3 1");
        At(Ready, "pilot on");
        Run(Ready + 200, 5, "--lang " + language);
        const fs::path file = OnlyReplay();
        if (file.empty()) return {};
        const fs::path kept = fs::path(Dir) / ("recorded-" + language + ".qrp");
        fs::rename(file, kept);
        return kept;
    }

    void ExpectReproduced(const fs::path& file, const std::string& language, const std::string& what) {
        const THeadlessResult run = RunHeadless(Dir, "", "--replay '" + file.string() + "' --lang " + language);
        EXPECT_EQ(run.ExitStatus, 0) << what << ": " << run.Stderr;
        EXPECT_EQ(ParseJson(run.Stdout)["result"].String, "reproduced") << what << ": " << run.Stderr << run.Stdout;
    }
};

// How many pixels of the rectangle differ between two screenshots.
int Differing(const TPngImage& a, const TPngImage& b, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) count += !(a.At(x, y) == b.At(x, y));
    return count;
}

TEST_F(LanguageArtTest, WordsFollowTheLanguageAndRacesReplayInEither) {
    const fs::path english = Record("en"), russian = Record("ru");
    ASSERT_FALSE(english.empty());
    ASSERT_FALSE(russian.empty());

    // The main menu: the tabs and the name differ, the scenery does not.
    const TPngImage menuRu = ReadPng(Dir + "/menu-ru.png"), menuEn = ReadPng(Dir + "/menu-en.png");
    ASSERT_EQ(menuRu.Width, 800);
    ASSERT_EQ(menuEn.Width, 800);
    EXPECT_GT(Differing(menuRu, menuEn, 490, 140, 700, 190), 200) << "the first tab's words";
    EXPECT_GT(Differing(menuRu, menuEn, 40, 40, 320, 110), 200) << "the game's name";
    EXPECT_EQ(Differing(menuRu, menuEn, 0, 300, 440, 600), 0) << "the scenery below the name";

    // Both races name their data alike, and each replays in the other language.
    EXPECT_EQ(ReadReplayFile(english.string()).Header.DataHash, ReadReplayFile(russian.string()).Header.DataHash);
    ExpectReproduced(english, "ru", "recorded in English, played in Russian");
    // Games before the pictures had languages named the same data by the files' bytes: the
    // Russian race, so named, plays in English.
    TReplay former = ReadReplayFile(russian.string());
    former.Header.DataHash = HashDataFilesWhole(Dir);
    ASSERT_NE(former.Header.DataHash, HashDataFiles(Dir));
    const fs::path formerFile = fs::path(Dir) / "former.qrp";
    std::ofstream(formerFile, std::ios::binary) << EncodeReplay(former);
    ExpectReproduced(formerFile, "en", "recorded in Russian by a game of the former data hash, played in English");

    // A folder without Data/Res/en shows the Russian menu and says so once.
    const fs::path bare = fs::path(Dir) / "bare";
    fs::create_directories(bare / "Data" / "Res");
    for (const char* file : {"Res1.dxg", "Res2.dxg", "Res3.dxg", "Sounds.dxw"})
        fs::create_symlink(fs::path(Dir) / "Data" / "Res" / file, bare / "Data" / "Res" / file);
    const THeadlessResult run = RunHeadless(bare.string(), std::to_string(Ready - 1) + " shot menu.png\n",
                                            "--frames " + std::to_string(Ready) + " --seed 5 --lang en");
    EXPECT_EQ(run.ExitStatus, 0) << run.Stderr;
    EXPECT_EQ(run.Stderr, "quillon: Data/Res/en/Res1.dxg is missing; the pictures show their words in Russian\n");
    const TPngImage fallback = ReadPng((bare / "menu.png").string());
    ASSERT_EQ(fallback.Width, 800);
    EXPECT_EQ(Differing(menuRu, fallback, 0, 0, 800, 600), 0);
}

}  // namespace
}  // namespace quillon::testing
