// The player's files through the whole game: a damaged options file or table loses nothing
// that could be read and is kept aside, a stop signal before the files were loaded leaves them
// alone, a failed save on leaving lets the second try end the game, and error texts from a
// damaged data file reach the terminal escaped.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "engine/ComponentStream.h"
#include "engine/Cp1251.h"
#include "save/SaveFiles.h"
#include "save/SavedState.h"
#include "support/ScriptedRun.h"
#include "support/FileText.h"

namespace quillon::testing {
namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// A table and options of the player's own, with the check string that belongs to them.
TSavedState PlayersState() {
    TSavedState state;
    ResetOptions(state);
    state.GameOptions = TGameOptions{false, false, true, Utf8ToCp1251("Тверь")};
    state.BossKeyCode = kKeyF1 + 7;
    const char* names[] = {"Аня", "Boris", "Вера", "Gleb", "Дина", "Egor", "Жанна", "Zoya", "Илья", "Kira"};
    for (std::size_t i = 0; i < kHighScoreEntries; ++i)
        state.HighScores[i] = THighScore{Utf8ToCp1251(names[i]), static_cast<std::int32_t>(90000 - 7000 * i)};
    return state;
}

// The text with one line (counted from 1) replaced.
std::string WithLine(const std::string& text, int line, const std::string& replacement) {
    std::size_t start = 0;
    for (int i = 1; i < line; ++i) start = text.find("\r\n", start) + 2;
    return text.substr(0, start) + replacement + text.substr(text.find("\r\n", start));
}

class DamagedSavesTest : public TScriptedRun {
protected:
    fs::path Save() const { return fs::path(Dir) / "Data" / "Save"; }
    void Leave(int frame) {
        At(frame, "tap Escape");
        At(frame + 2, "tap Y");
    }
};

TEST_F(DamagedSavesTest, ABadOptionsLineCostsNeitherTheTableNorTheOtherOptions) {
    const TSavedState player = PlayersState();
    const std::string table = FormatHighScoreFile(player.HighScores);
    const std::string damaged = WithLine(FormatOptionsFile(player), 2, "x");
    WriteFile(Save() / "options", damaged);
    WriteFile(Save() / "hs", table);
    Dump(Ready);
    Leave(Ready);
    THeadlessResult run = Run(Ready + 20);
    EXPECT_NE(run.Stderr.find("error: Invalid numeric input"), std::string::npos) << run.Stderr;
    TJson loaded = State(Ready);
    EXPECT_EQ(loaded["HighScores"][0]["Name"].String, "Аня");
    EXPECT_EQ(loaded["options"]["Country"].String, "Тверь");
    EXPECT_TRUE(loaded["options"]["MusicOn"].Bool) << "the unreadable line gets its default";
    EXPECT_EQ(loaded["options"]["BossKeyCode"].Int(), kKeyF1 + 7);

    EXPECT_EQ(ReadFileText(Save() / "hs"), table);
    EXPECT_EQ(ReadFileText(Save() / "options.damaged"), damaged);
    // The saved pair loads whole and checked at the next start.
    Dump(1);
    EXPECT_EQ(Run(2).Stderr, "");
    EXPECT_EQ(State(1)["HighScores"][9]["Name"].String, "Kira");
}

TEST_F(DamagedSavesTest, ABadScoreCostsOnlyItsOwnEntry) {
    const TSavedState player = PlayersState();
    const std::string damaged = WithLine(FormatHighScoreFile(player.HighScores), 10, "lots");  // entry 5
    WriteFile(Save() / "options", FormatOptionsFile(player));
    WriteFile(Save() / "hs", damaged);
    Leave(Ready);
    THeadlessResult run = Run(Ready + 20);
    EXPECT_NE(run.Stderr.find("error: Invalid numeric input"), std::string::npos) << run.Stderr;

    THighScoreTable saved;
    ASSERT_TRUE(ReadHighScoreFile(ReadFileText(Save() / "hs"), saved).empty());
    for (std::size_t i = 0; i < kHighScoreEntries; ++i) {
        if (i == 4) continue;  // the unreadable entry is the default one
        EXPECT_EQ(saved[i].Name, player.HighScores[i].Name) << "entry " << i + 1;
        EXPECT_EQ(saved[i].Score, player.HighScores[i].Score) << "entry " << i + 1;
    }
    EXPECT_EQ(saved[4].Score, 6000);
    EXPECT_EQ(ReadFileText(Save() / "hs.damaged"), damaged);
}

TEST_F(DamagedSavesTest, AKeyLineOutOfRangeIsNoBossKey) {
    TSavedState player = PlayersState();
    WriteFile(Save() / "options", WithLine(FormatOptionsFile(player), 6, "13"));
    WriteFile(Save() / "hs", FormatHighScoreFile(player.HighScores));
    Dump(Ready);
    At(Ready + 2, "tap F12");
    Dump(Ready + 2);
    THeadlessResult run = Run(Ready + 4);
    EXPECT_EQ(run.Stderr, "");
    EXPECT_EQ(State(Ready)["options"]["BossKeyCode"].Int(), 0);
    EXPECT_EQ(State(Ready)["HighScores"][0]["Name"].String, "Аня");
    EXPECT_EQ(State(Ready + 2)["music"].Kind, TJson::TKind::Null) << "music is off in these options";
    EXPECT_EQ(State(Ready + 2)["options"]["FullScreen"].Bool, false);
}

TEST_F(DamagedSavesTest, TheSecondTryToLeaveAfterAFailedSaveEndsTheGame) {
    // A file where the save folder should be: nothing can be saved.
    WriteFile(fs::path(Dir) / "Data" / "Save", "not a folder");
    struct Case {
        const char* what;
        std::vector<std::string> secondTry;
    } cases[] = {
        {"the exit dialog again", {"tap Escape", "tap Y"}},
        {"closing the window", {"close"}},
    };
    for (const Case& c : cases) {
        Leave(Ready);
        Dump(Ready + 3);
        for (std::size_t i = 0; i < c.secondTry.size(); ++i) At(Ready + 6 + 2 * static_cast<int>(i), c.secondTry[i]);
        Dump(Ready + 10);
        fs::remove(Dir + "/s" + std::to_string(Ready + 10) + ".json");
        THeadlessResult run = Run(Ready + 20);
        EXPECT_NE(run.Stderr.find("error:"), std::string::npos) << c.what << ": " << run.Stderr;
        TJson after = State(Ready + 3);
        EXPECT_EQ(after["CurrentScreen"].Int(), 1) << c.what << ": the first failure keeps the game running";
        EXPECT_EQ(after["ActiveDialog"].Int(), 0) << c.what;
        EXPECT_FALSE(fs::exists(Dir + "/s" + std::to_string(Ready + 10) + ".json"))
            << c.what << ": the second try should end the game";
        EXPECT_EQ(ReadFileText(fs::path(Dir) / "Data" / "Save"), "not a folder") << c.what;
    }
}

// A property name with an escape sequence in a damaged picture file.
TEST_F(DamagedSavesTest, ErrorTextsFromADamagedDataFileAreEscaped) {
    fs::remove(fs::path(Dir) / "Data" / "Res");
    fs::create_directories(fs::path(Dir) / "Data" / "Res");
    TComponentWriter writer;
    writer.WriteRootHeader("TPictureCollectionComponent", "");
    writer.WritePropName("\x1B[31mRed\xFF");
    writer.WriteListEnd();
    const std::vector<uint8_t> bytes = writer.Finish();
    WriteFile(fs::path(Dir) / "Data" / "Res" / "Res1.dxg", std::string(bytes.begin(), bytes.end()));
    THeadlessResult run = Run(3);
    EXPECT_NE(run.Stderr.find("error: Property \\x1B[31mRed\\xFF does not exist"), std::string::npos) << run.Stderr;
    EXPECT_EQ(run.Stderr.find('\x1B'), std::string::npos);
}

TEST_F(DamagedSavesTest, ASignalBeforeTheFilesWereLoadedLeavesThemAlone) {
    // Every data file but the second picture file: start-up stops before the saved state.
    fs::remove(fs::path(Dir) / "Data" / "Res");
    fs::create_directories(fs::path(Dir) / "Data" / "Res");
    for (const char* name : {"Res1.dxg", "Res3.dxg", "Sounds.dxw"})
        fs::create_symlink(fs::path(BuildDir()) / "Data" / "Res" / name, fs::path(Dir) / "Data" / "Res" / name);
    const TSavedState player = PlayersState();
    const std::string options = WithLine(FormatOptionsFile(player), 1, "1");
    const std::string table = FormatHighScoreFile(player.HighScores);
    WriteFile(Save() / "options", options);
    WriteFile(Save() / "hs", table);
    WriteFile(fs::path(Dir) / "play.url", "[InternetShortcut]\r\nURL=https://example.org/play\r\n");

    const int status = RunUntilTerminated(Dir, "5 state " + Dir + "/running.json\n");
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_NE(ReadFileText(Dir + "/stderr.txt").find("Res2.dxg"), std::string::npos);
    EXPECT_EQ(ReadFileText(Save() / "options"), options);
    EXPECT_EQ(ReadFileText(Save() / "hs"), table);
}

TEST_F(DamagedSavesTest, ASignalAfterStartUpSavesWhatWasLoaded) {
    const TSavedState player = PlayersState();
    WriteFile(Save() / "options", WithLine(FormatOptionsFile(player), 3, "x"));
    WriteFile(Save() / "hs", FormatHighScoreFile(player.HighScores));
    const int status = RunUntilTerminated(Dir, "5 state " + Dir + "/running.json\n");
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadFileText(Save() / "hs"), FormatHighScoreFile(player.HighScores));
    EXPECT_TRUE(fs::exists(Save() / "options.damaged"));
    TSavedState saved;
    ResetOptions(saved);
    ASSERT_TRUE(ReadOptionsFile(ReadFileText(Save() / "options"), saved).empty());
    EXPECT_EQ(saved.GameOptions.Country, player.GameOptions.Country);
    EXPECT_TRUE(saved.GameOptions.SoundOn) << "the unreadable line was saved as its default";
}

}  // namespace
}  // namespace quillon::testing
