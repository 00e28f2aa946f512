// Saving and loading the options and high-score pair on disk: the start-up check, the folder,
// save failures, and saves cut by a crash at every step and by SIGKILL at random points.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <set>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "SaveStressGeneration.h"
#include "save/DurableFile.h"
#include "save/SaveError.h"
#include "save/SaveFiles.h"
#include "save/SavePair.h"

extern char** environ;

namespace quillon {
namespace {

namespace fs = std::filesystem;

void ExpectSameState(const TSavedState& got, const TSavedState& want, const std::string& what) {
    EXPECT_EQ(got.GameOptions.FullScreen, want.GameOptions.FullScreen) << what;
    EXPECT_EQ(got.GameOptions.MusicOn, want.GameOptions.MusicOn) << what;
    EXPECT_EQ(got.GameOptions.SoundOn, want.GameOptions.SoundOn) << what;
    EXPECT_EQ(got.GameOptions.Country, want.GameOptions.Country) << what;
    EXPECT_EQ(got.BossKeyShift, want.BossKeyShift) << what;
    EXPECT_EQ(got.BossKeyCode, want.BossKeyCode) << what;
    for (std::size_t i = 0; i < kHighScoreEntries; ++i) {
        EXPECT_EQ(got.HighScores[i].Name, want.HighScores[i].Name) << what << " entry " << i;
        EXPECT_EQ(got.HighScores[i].Score, want.HighScores[i].Score) << what << " entry " << i;
    }
}

THighScoreTable ResetTable() {
    THighScoreTable table;
    ResetHighScores(table);
    return table;
}

// A memory file system where there is one: the tests are about processes that die, not about
// power cuts, and flushing to a real disk would make a save take tens of milliseconds.
fs::path TemporaryBase() {
    if (fs::is_directory("/dev/shm") && ::access("/dev/shm", W_OK | X_OK) == 0) return "/dev/shm";
    return fs::temp_directory_path();
}

class SavePairTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (TemporaryBase() / "quillon-save-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        Game = pattern;
        Folder = SaveDirectory(Game);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(Game, ignored);
    }

    void WriteRaw(const char* name, const std::string& bytes) {
        fs::create_directories(Folder);
        WriteFileSynced(Folder / name, bytes);
    }

    TSavedState Load(TLoadReport* report = nullptr) {
        TSavedState state;
        TLoadReport r = LoadOptionsAndHighScores(state, Folder);
        if (report) *report = r;
        return state;
    }

    std::set<std::string> FolderEntries() {
        std::set<std::string> names;
        for (const fs::directory_entry& e : fs::directory_iterator(Folder)) names.insert(e.path().filename().string());
        return names;
    }

    // Starts the save stress process; its standard output (finished generations) comes through `output`.
    pid_t StartStress(const std::vector<std::string>& args, int& output) {
        int pipeEnds[2];
        EXPECT_EQ(::pipe2(pipeEnds, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
        std::vector<std::string> argvText = {QUILLON_SAVE_STRESS, Folder.string()};
        argvText.insert(argvText.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : argvText) argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_t pid = -1;
        const int spawned = ::posix_spawn(&pid, QUILLON_SAVE_STRESS, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeEnds[1]);
        EXPECT_EQ(spawned, 0);
        output = pipeEnds[0];
        return pid;
    }

    static int WaitExit(pid_t pid) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return status;
    }

    // Every generation the stress process reported as finished, up to the end of its output.
    static std::vector<long long> ReadGenerations(int output, std::size_t atMost = SIZE_MAX) {
        std::vector<long long> generations;
        std::string pending;
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(output, buffer, atMost == SIZE_MAX ? sizeof buffer : 1);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            pending.append(buffer, static_cast<std::size_t>(n));
            std::size_t end;
            while ((end = pending.find('\n')) != std::string::npos) {
                generations.push_back(std::stoll(pending.substr(0, end)));
                pending.erase(0, end + 1);
            }
            if (generations.size() >= atMost) break;
        }
        return generations;
    }

    fs::path Game;
    fs::path Folder;
};

TEST_F(SavePairTest, FirstStartGivesDefaultsAndASaveCreatesTheFolder) {
    TLoadReport report;
    TSavedState state = Load(&report);
    EXPECT_TRUE(report.Errors.empty());
    EXPECT_TRUE(report.HighScoresReset);  // no check string yet
    TSavedState defaults;
    ResetOptions(defaults);
    defaults.HighScores = ResetTable();
    ExpectSameState(state, defaults, "first start");
    EXPECT_FALSE(fs::exists(Folder));

    state.GameOptions.Country = stress::kCountryPrefix + "x";
    SaveOptionsAndHighScores(state, Folder);
    EXPECT_EQ(FolderEntries(), (std::set<std::string>{"hs", "options"}));
    EXPECT_EQ(ReadWholeFile(Folder / "options"), FormatOptionsFile(state));
    EXPECT_EQ(ReadWholeFile(Folder / "hs"), FormatHighScoreFile(state.HighScores));

    TSavedState again = Load(&report);
    EXPECT_TRUE(report.Errors.empty());
    EXPECT_FALSE(report.HighScoresReset);
    ExpectSameState(again, state, "second start");
}

TEST_F(SavePairTest, StartUpCases) {
    TSavedState custom = stress::MakeGeneration(7);
    custom.HighScores[3].Score = -40;
    const std::string goodOptions = FormatOptionsFile(custom);
    const std::string goodTable = FormatHighScoreFile(custom.HighScores);
    std::string editedScore = goodTable;
    editedScore.replace(editedScore.find("-40"), 3, "-41");
    std::string editedName = goodTable;
    editedName[editedName.find(stress::kNamePrefix)] = 'X';

    struct Case {
        const char* what;
        std::optional<std::string> options, table;
        std::vector<std::string> errors;
        bool reset;
        std::function<void(const TSavedState&)> check;
    } cases[] = {
        {"matching pair", goodOptions, goodTable, {}, false,
         [&](const TSavedState& s) { ExpectSameState(s, custom, "matching pair"); }},
        {"missing options file resets the table", std::nullopt, goodTable, {}, true,
         [](const TSavedState& s) {
             EXPECT_EQ(s.BossKeyCode, kKeyF12);
             EXPECT_TRUE(s.GameOptions.MusicOn);
             EXPECT_EQ(s.HighScores[0].Score, 10000);
         }},
        {"hand-edited score fails the check", goodOptions, editedScore, {}, true,
         [&](const TSavedState& s) {
             EXPECT_EQ(s.HighScores[3].Score, 7000);
             EXPECT_EQ(s.GameOptions.Country, custom.GameOptions.Country);
         }},
        {"hand-edited name fails the check", goodOptions, editedName, {}, true,
         [](const TSavedState& s) { EXPECT_EQ(s.HighScores[0].Score, 10000); }},
        {"missing table fails the check of the saved one", goodOptions, std::nullopt, {}, true,
         [](const TSavedState& s) { EXPECT_EQ(s.HighScores[9].Score, 1000); }},
        {"a bad score is reported; the rest of the table and the options load, unchecked", goodOptions,
         "A\r\n1\r\nB\r\nlots\r\n", {"Invalid numeric input"}, false,
         [&](const TSavedState& s) {
             EXPECT_EQ(s.GameOptions.Country, custom.GameOptions.Country);
             EXPECT_EQ(s.BossKeyCode, custom.BossKeyCode);
             // The unreadable entry is the default one; the entries after it read as empty.
             EXPECT_EQ(s.HighScores[0].Name, "A");
             EXPECT_EQ(s.HighScores[0].Score, 1);
             EXPECT_EQ(s.HighScores[1].Score, 9000);
             EXPECT_EQ(s.HighScores[2].Score, 0);
         }},
        {"a bad number in the options is reported; its line gets the default, the table is unchecked",
         "1\r\n0\r\n1\r\nQ\r\nAlt\r\n5\r\nx\r\n", goodTable, {"Invalid numeric input"}, false,
         [&](const TSavedState& s) {
             EXPECT_TRUE(s.GameOptions.FullScreen);
             EXPECT_FALSE(s.GameOptions.MusicOn);
             EXPECT_TRUE(s.GameOptions.SoundOn);
             EXPECT_EQ(s.GameOptions.Country, "Q");
             EXPECT_TRUE(s.BossKeyShift.Empty());
             EXPECT_EQ(s.BossKeyCode, kKeyF1 + 4);
             ExpectSameState(s, [&] {
                 TSavedState want = s;
                 want.HighScores = custom.HighScores;
                 return want;
             }(), "the table survives");
         }},
        {"an unreadable key line gets the default key", "0\r\n1\r\n1\r\n\r\n2\r\nF9\r\nx\r\n", goodTable,
         {"Invalid numeric input"}, false,
         [](const TSavedState& s) {
             EXPECT_EQ(s.BossKeyCode, kKeyF12);
             EXPECT_EQ(s.BossKeyShift, TShiftState::Of(TShiftKey::Ctrl));
         }},
        {"line 6 holding 13 at start-up is no key", "0\r\n1\r\n1\r\n\r\n2\r\n13\r\n" + ComputeHighScoreChecksum(ResetTable()),
         FormatHighScoreFile(ResetTable()), {}, false,
         [](const TSavedState& s) {
             EXPECT_EQ(s.BossKeyCode, 0);
             EXPECT_EQ(s.BossKeyShift, TShiftState::Of(TShiftKey::Ctrl));
         }},
    };
    for (const Case& c : cases) {
        fs::remove_all(Folder);
        fs::create_directories(Folder);
        if (c.options) WriteRaw("options", *c.options);
        if (c.table) WriteRaw("hs", *c.table);
        TLoadReport report;
        const TSavedState state = Load(&report);
        EXPECT_EQ(report.Errors, c.errors) << c.what;
        EXPECT_EQ(report.HighScoresReset, c.reset) << c.what;
        c.check(state);
    }
}

TEST_F(SavePairTest, AFolderInPlaceOfAFileReadsAsMissing) {
    fs::create_directories(Folder / "options");
    fs::create_directories(Folder / "hs");
    TLoadReport report;
    const TSavedState state = Load(&report);
    EXPECT_TRUE(report.Errors.empty());
    EXPECT_EQ(state.BossKeyCode, kKeyF12);
    EXPECT_EQ(state.HighScores[0].Score, 10000);
}

TEST_F(SavePairTest, DamagedFilesAreKeptAsideByTheFirstSave) {
    const TSavedState custom = stress::MakeGeneration(5);
    const std::string goodOptions = FormatOptionsFile(custom);
    const std::string goodTable = FormatHighScoreFile(custom.HighScores);
    std::string badOptions = goodOptions;
    badOptions.replace(badOptions.find("\r\n") + 2, 1, "x");  // line 2
    std::string badTable = goodTable;
    const std::size_t fifthScore = [&] {
        std::size_t at = 0;
        for (int line = 0; line < 9; ++line) at = badTable.find("\r\n", at) + 2;
        return at;
    }();
    badTable.insert(fifthScore, "?");

    struct Case {
        const char* what;
        std::string options, table;
        TDamagedFiles damaged;
    } cases[] = {
        {"options line 2 holding x", badOptions, goodTable, {true, false}},
        {"a bad score in entry 5", goodOptions, badTable, {false, true}},
        {"both", badOptions, badTable, {true, true}},
    };
    for (const Case& c : cases) {
        fs::remove_all(Folder);
        WriteRaw("options", c.options);
        WriteRaw("hs", c.table);
        TLoadReport report;
        TSavedState state = Load(&report);
        EXPECT_EQ(report.Damaged.Options, c.damaged.Options) << c.what;
        EXPECT_EQ(report.Damaged.HighScores, c.damaged.HighScores) << c.what;
        EXPECT_FALSE(report.HighScoresReset) << c.what;
        const std::size_t readable = c.damaged.HighScores ? 4 : kHighScoreEntries;
        for (std::size_t i = 0; i < readable; ++i) EXPECT_EQ(state.HighScores[i].Score, custom.HighScores[i].Score) << c.what;
        EXPECT_EQ(state.GameOptions.Country, custom.GameOptions.Country) << c.what;

        SaveOptionsAndHighScores(state, Folder, {}, report.Damaged);
        std::set<std::string> want = {"hs", "options"};
        if (c.damaged.Options) want.insert("options.damaged");
        if (c.damaged.HighScores) want.insert("hs.damaged");
        EXPECT_EQ(FolderEntries(), want) << c.what;
        if (c.damaged.Options) {
            EXPECT_EQ(ReadWholeFile(Folder / "options.damaged"), c.options) << c.what;
        }
        if (c.damaged.HighScores) {
            EXPECT_EQ(ReadWholeFile(Folder / "hs.damaged"), c.table) << c.what;
        }
        // The saved pair is whole again and its check holds.
        Load(&report);
        EXPECT_TRUE(report.Errors.empty()) << c.what;
        EXPECT_FALSE(report.HighScoresReset) << c.what;
        EXPECT_FALSE(report.Damaged.Any()) << c.what;
    }
}

TEST_F(SavePairTest, AFileFarTooLongIsDamagedAndOnlyItsStartIsRead) {
    const TSavedState custom = stress::MakeGeneration(9);
    WriteRaw("options", FormatOptionsFile(custom));
    WriteRaw("hs", FormatHighScoreFile(custom.HighScores));
    // Four gigabytes of nothing after a good table, without using the disk.
    ASSERT_EQ(::truncate((Folder / "hs").c_str(), 4LL << 30), 0);
    TLoadReport report;
    const TSavedState state = Load(&report);
    EXPECT_EQ(report.Errors, std::vector<std::string>{"File too large"});
    EXPECT_TRUE(report.Damaged.HighScores);
    ExpectSameState(state, custom, "the start of the long file");

    SaveOptionsAndHighScores(state, Folder, {}, report.Damaged);
    EXPECT_EQ(fs::file_size(Folder / "hs.damaged"), 4ULL << 30);
    EXPECT_EQ(ReadWholeFile(Folder / "hs"), FormatHighScoreFile(custom.HighScores));
}

TEST_F(SavePairTest, PipesInPlaceOfTheFilesNeverBlock) {
    const TSavedState custom = stress::MakeGeneration(3);
    fs::create_directories(Folder);
    for (const char* name : {"options", "hs", "options.tmp", "hs.tmp", "save.journal"})
        ASSERT_EQ(::mkfifo((Folder / name).c_str(), 0644), 0) << name;
    // A child does the work, so that a hang fails the test instead of stopping it.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::alarm(20);
        TSavedState state;
        LoadOptionsAndHighScores(state, Folder);
        SaveOptionsAndHighScores(custom, Folder);
        ::_exit(0);
    }
    const int status = WaitExit(child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the save hung or failed: " << status;
    TLoadReport report;
    ExpectSameState(Load(&report), custom, "after the pipes");
    EXPECT_TRUE(report.Errors.empty());
}

TEST_F(SavePairTest, TableSavedAfterNameEntryAndAfterClearing) {
    TSavedState state = Load();
    state.PlayerName = "\xC2\xE0\xF1\xFF";
    ASSERT_TRUE(QualifiesForHighScores(state.HighScores, 8500));
    InsertHighScore(state.HighScores, state.PlayerName, 8500);
    SaveOptionsAndHighScores(state, Folder);

    TLoadReport report;
    TSavedState loaded = Load(&report);
    EXPECT_FALSE(report.HighScoresReset);
    EXPECT_EQ(loaded.HighScores[2].Name, state.PlayerName);
    EXPECT_EQ(loaded.HighScores[2].Score, 8500);
    EXPECT_EQ(loaded.PlayerName, "");  // never saved

    ResetHighScores(loaded.HighScores);
    SaveOptionsAndHighScores(loaded, Folder);
    EXPECT_EQ(ReadWholeFile(Folder / "hs"), FormatHighScoreFile(ResetTable()));
    Load(&report);
    EXPECT_FALSE(report.HighScoresReset);
}

TEST_F(SavePairTest, AFailedSaveIsReportedAndKeepsTheOldPair) {
    const TSavedState first = stress::MakeGeneration(1);
    SaveOptionsAndHighScores(first, Folder);

    // The table's temporary file cannot be created once the options' one is written.
    try {
        SaveOptionsAndHighScores(stress::MakeGeneration(2), Folder, [&](TSaveStep step) {
            if (step == TSaveStep::OptionsWritten) fs::create_directory(Folder / "hs.tmp");
        });
        FAIL() << "the save should fail";
    } catch (const ESaveFileError& e) {
        EXPECT_STREQ(e.what(), "File access denied");
    }
    EXPECT_EQ(FolderEntries(), (std::set<std::string>{"hs", "options"}));
    TLoadReport report;
    ExpectSameState(Load(&report), first, "after the failed save");
    EXPECT_FALSE(report.HighScoresReset);

    // A folder that cannot be created.
    const fs::path blocked = Game / "blocked";
    WriteFileSynced(blocked, "");
    EXPECT_THROW(SaveOptionsAndHighScores(first, blocked / "Save"), ESaveFileError);
}

TEST(DurableFile, AFullDiskIsReported) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "/dev/full is not available";
    try {
        WriteFileSynced("/dev/full", "0\r\n1\r\n");
        FAIL() << "writing to a full disk should fail";
    } catch (const ESaveFileError& e) {
        EXPECT_STREQ(e.what(), "Disk full");
    }
}

TEST_F(SavePairTest, ASaveCutAtAnyStepLeavesTheOldPairOrTheNew) {
    struct Case {
        TSaveStep step;
        long long generation;  // what the next start finds
    } cases[] = {
        {TSaveStep::OptionsWritten, 1},  {TSaveStep::HighScoresWritten, 1},  {TSaveStep::Committed, 2},
        {TSaveStep::OptionsReplaced, 2}, {TSaveStep::HighScoresReplaced, 2}, {TSaveStep::Finished, 2},
    };
    for (const Case& c : cases) {
        const std::string what = "cut after step " + std::to_string(static_cast<int>(c.step));
        fs::remove_all(Folder);
        int output = -1;
        const pid_t pid = StartStress({"1", "2", std::to_string(static_cast<int>(c.step))}, output);
        const int status = WaitExit(pid);
        ::close(output);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << what;

        TLoadReport report;
        const TSavedState state = Load(&report);
        EXPECT_TRUE(report.Errors.empty()) << what;
        EXPECT_FALSE(report.HighScoresReset) << what;
        EXPECT_EQ(report.InterruptedSaveFinished, c.step != TSaveStep::Finished) << what;
        ExpectSameState(state, stress::MakeGeneration(c.generation), what);
        EXPECT_EQ(FolderEntries(), (std::set<std::string>{"hs", "options"})) << what;
    }
}

TEST_F(SavePairTest, ASaveAfterACutSaveFinishesItFirst) {
    for (TSaveStep step : {TSaveStep::HighScoresWritten, TSaveStep::OptionsReplaced}) {
        fs::remove_all(Folder);
        int output = -1;
        const pid_t pid = StartStress({"1", "2", std::to_string(static_cast<int>(step))}, output);
        WaitExit(pid);
        ::close(output);
        SaveOptionsAndHighScores(stress::MakeGeneration(3), Folder);
        TLoadReport report;
        ExpectSameState(Load(&report), stress::MakeGeneration(3), "save after a cut");
        EXPECT_FALSE(report.InterruptedSaveFinished);
        EXPECT_FALSE(report.HighScoresReset);
    }
}

TEST_F(SavePairTest, KilledAtRandomPointsAlwaysLeavesAWholePair) {
    std::mt19937 random(20261210);
    std::uniform_real_distribution<double> phase(0.0, 1.0);
    // A pause after every step of a save gives each step, the short one between the two renames
    // included, a fair share of the kills.
    const std::string pauseUs = "1000";
    long long next = 1;
    int cutSaves = 0;
    for (int round = 0; round < 40; ++round) {
        int output = -1;
        const pid_t pid = StartStress({std::to_string(next), "0", "-1", pauseUs}, output);
        // Time one whole save inside the saving loop, then kill at a random point of the next.
        std::vector<long long> finished = ReadGenerations(output, 1);
        const auto start = std::chrono::steady_clock::now();
        for (long long g : ReadGenerations(output, 1)) finished.push_back(g);
        ASSERT_EQ(finished.size(), 2u) << "round " << round << ": the stress process stopped saving";
        const auto period = std::chrono::steady_clock::now() - start;
        std::this_thread::sleep_for(std::chrono::duration_cast<std::chrono::microseconds>(period * phase(random)));
        ::kill(pid, SIGKILL);
        const int status = WaitExit(pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "round " << round;
        for (long long g : ReadGenerations(output)) finished.push_back(g);
        ::close(output);
        const long long lastFinished = finished.back();

        TLoadReport report;
        const TSavedState state = Load(&report);
        const std::string what = "round " + std::to_string(round) + " after generation " + std::to_string(lastFinished);
        ASSERT_TRUE(report.Errors.empty()) << what;
        ASSERT_FALSE(report.HighScoresReset) << what;
        const std::optional<long long> loaded = stress::GenerationOf(state);
        ASSERT_TRUE(loaded.has_value()) << what;
        EXPECT_TRUE(*loaded == lastFinished || *loaded == lastFinished + 1) << what << ": found " << *loaded;
        ExpectSameState(state, stress::MakeGeneration(*loaded), what);
        cutSaves += report.InterruptedSaveFinished ? 1 : 0;
        next = *loaded + 1;
    }
    RecordProperty("CutSavesRecovered", cutSaves);
}

}  // namespace
}  // namespace quillon
