// Replays end to end: races recorded by the headless game and left every way a race ends,
// each replayed headless to "reproduced" with its level and score; state dumps of a replay
// count frames from its start; damaged files are refused with status 2 and one line; a
// Replays folder that cannot be written leaves the game playing, with one message.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/GameVersion.h"
#include "engine/Cp1251.h"
#include "save/ReplayFile.h"
#include "save/ReplayFolder.h"
#include "support/LoopbackHttpServer.h"
#include "support/ScriptedRun.h"
#include "support/FileText.h"

namespace quillon::testing {
namespace {

namespace fs = std::filesystem;

class ReplayTest : public TScriptedRun {
protected:
    // quillon --headless --replay FILE (or other arguments) in the test's game folder.
    THeadlessResult Replay(const std::string& arguments, const std::string& script = "") {
        return RunHeadless(Dir, script, arguments);
    }

    // Replays the file and checks it reproduced the recording's end.
    void ExpectReproduced(const fs::path& file, const std::string& what) {
        const TReplay recorded = ReadReplayFile(file.string());
        const THeadlessResult run = Replay("--replay '" + file.string() + "'");
        EXPECT_EQ(run.ExitStatus, 0) << what << ": " << run.Stderr << run.Stdout;
        const TJson result = ParseJson(run.Stdout);
        EXPECT_EQ(result["result"].String, "reproduced") << what << ": " << run.Stderr;
        EXPECT_EQ(result["frames"].Int(), static_cast<int>(recorded.Summary.Frames)) << what;
        EXPECT_EQ(result["level"].Int(), recorded.Summary.Level) << what;
        EXPECT_EQ(result["score"].Int(), recorded.Summary.Score) << what;
        EXPECT_EQ(result["lives"].Int(), recorded.Summary.Lives) << what;
        EXPECT_EQ(result["divergedAt"].Kind, TJson::TKind::Null) << what;
        if (recorded.Summary.EnteredTable)
            EXPECT_EQ(result["tableName"].String, Cp1251ToUtf8(recorded.Summary.TableName)) << what;
        else
            EXPECT_EQ(result["tableName"].Kind, TJson::TKind::Null) << what;
        EXPECT_LT(fs::file_size(file), 64u * 1024) << what << ": a race of minutes takes under 64 KiB";
    }
};

// Every way a race ends, on several ships, levels and frame rates (a low rate makes the
// clock run out in few frames and gives each frame a large step).
TEST_F(ReplayTest, RacesLeftEveryWayReplayToReproduced) {
    struct Case {
        const char* what;
        int ship;
        int level;
        std::vector<std::string> script;  // "OFFSET COMMAND": frames after the race starts at Ready
        int frames;
        int fps;
        TReplayEnd end;
    } cases[] = {
        {"pilot, level 1, Escape then yes", 2, 1, {"0 pilot on", "700 tap Escape", "705 tap Y"}, 800, 85,
         TReplayEnd::Left},
        {"pilot, level 3, window closed then yes", 5, 3, {"0 pilot on", "600 close", "605 tap Y"}, 700, 60,
         TReplayEnd::Left},
        {"keys held, a pause, level 2, the run's frames used up", 4, 2,
         {"200 down Up", "260 down Left", "300 tap P", "340 tap P", "350 up Left", "352 down Left Ctrl",
          "380 down Right", "420 up Right", "430 down Space"},
         520, 100, TReplayEnd::Closed},
        {"no input, level 1, the clock runs out to game over", 3, 1, {}, 1500, 20, TReplayEnd::GameOver},
        {"pilot, level 10, congratulations, a name for the table, no world table", 2, 10,
         {"0 pilot on", "9000 text Тест", "9002 tap Return", "9010 tap N"}, 9100, 50, TReplayEnd::Congratulated},
    };
    for (const Case& c : cases) {
        fs::remove_all(Replays());
        At(Ready, "race " + std::to_string(c.ship) + " " + std::to_string(c.level));
        for (const std::string& line : c.script) {
            const size_t space = line.find(' ');
            At(Ready + std::stoi(line.substr(0, space)), line.substr(space + 1));
        }
        const THeadlessResult run = RunHeadless(Dir, Script.str(), "--frames " + std::to_string(Ready + c.frames) +
                                                                       " --fps " + std::to_string(c.fps) + " --seed 1");
        Script.str("");
        ASSERT_EQ(run.ExitStatus, 0) << c.what << ": " << run.Stderr;
        const fs::path file = OnlyReplay();
        if (file.empty()) continue;
        const TReplay recorded = ReadReplayFile(file.string());
        EXPECT_EQ(recorded.Summary.End, c.end) << c.what << ": " << ReplayEndName(recorded.Summary.End);
        EXPECT_EQ(recorded.Summary.Level, c.level) << c.what;
        const bool entered = c.end == TReplayEnd::Congratulated;
        EXPECT_EQ(recorded.Summary.EnteredTable, entered) << c.what;
        EXPECT_EQ(file.stem().string().ends_with("_table"), entered) << file;
        const bool piloted = !c.script.empty() && c.script[0] == "0 pilot on";
        EXPECT_EQ(recorded.Header.PilotDrove, piloted) << c.what;
        ExpectReproduced(file, c.what);
        if (!entered) continue;
        // The same race with another name in its summary (or none) is not the race that was played.
        for (const bool enteredNow : {true, false}) {
            TReplay forged = recorded;
            forged.Summary.EnteredTable = enteredNow;
            forged.Summary.TableName = enteredNow ? "Other" : "";
            const fs::path forgedFile = fs::path(Dir) / "forged.qrp";
            std::ofstream(forgedFile, std::ios::binary) << EncodeReplay(forged);
            const THeadlessResult run = Replay("--replay '" + forgedFile.string() + "'");
            EXPECT_EQ(run.ExitStatus, 3) << c.what << ": " << run.Stderr;
            EXPECT_NE(run.Stderr.find("under another name"), std::string::npos) << run.Stderr;
        }
    }
}

// The race hears the game's own keys whatever the settings: a race driven with moved keys and
// pad buttons, quiet sound and a doubled window replays to "reproduced" with the game's own
// settings, and one driven with the game's own keys replays so with the moved settings.
TEST_F(ReplayTest, ARaceRecordedWithAnySettingsPlaysTheSameWithAnyOthers) {
    std::ofstream(Dir + "/moved.ini") << "[Sound]\nMusicVolume = 30\nEffectsVolume = 30\n[Display]\nWindowScale = 2\n"
                                         "[Keys]\nAccelerate = W\nFire = Q\nLeft = A\nNitro = Left Alt\n"
                                         "[Pad]\nFire = leftshoulder\nBrake = a\n";
    const struct {
        const char* What;
        const char* RecordWith;
        const char* ReplayWith;
        std::vector<std::string> Script;  // "OFFSET COMMAND", frames after the race starts at Ready
    } cases[] = {
        {"moved keys, replayed with the game's own", "--settings moved.ini", "",
         {"190 down W", "250 down A", "270 up A", "280 down Q", "300 pad down leftshoulder", "320 down Left Alt",
          "340 pad down a", "360 up Q"}},
        {"the game's own keys, replayed with moved ones", "", " --settings moved.ini",
         {"190 down Up", "250 down Left", "270 up Left", "280 down Z", "300 pad down a", "320 down Left Shift",
          "340 pad down rightshoulder", "360 up Z"}},
    };
    for (const auto& c : cases) {
        fs::remove_all(Replays());
        At(Ready, "race 2 1");
        for (const std::string& line : c.Script) {
            const size_t space = line.find(' ');
            At(Ready + std::stoi(line.substr(0, space)), line.substr(space + 1));
        }
        Dump(Ready + 300);
        Run(Ready + 400, 4, c.RecordWith);
        EXPECT_TRUE(State(Ready + 300)["race"]["player"]["Speed"].Number > 0) << c.What << ": the keys drove";
        const fs::path file = OnlyReplay();
        ASSERT_FALSE(file.empty()) << c.What;
        const TReplay recorded = ReadReplayFile(file.string());
        const THeadlessResult run = Replay("--replay '" + file.string() + "'" + c.ReplayWith);
        EXPECT_EQ(run.ExitStatus, 0) << c.What << ": " << run.Stderr;
        const TJson result = ParseJson(run.Stdout);
        EXPECT_EQ(result["result"].String, "reproduced") << c.What << ": " << run.Stderr;
        EXPECT_EQ(result["frames"].Int(), static_cast<int>(recorded.Summary.Frames)) << c.What;
        EXPECT_EQ(result["score"].Int(), recorded.Summary.Score) << c.What;
    }
}

// quillon --replay URL: a world table's replay link plays like the file; an answer that is no
// replay, too large, an error or no answer at all ends with status 2 and one line that says why.
TEST_F(ReplayTest, AReplayAddressIsDownloadedAndPlayedAndEveryFailureSaysWhy) {
    At(Ready, "race 1 1");
    At(Ready, "pilot on");
    Run(Ready + 300, 2);
    const std::string bytes = ReadFileText(OnlyReplay());
    TLoopbackHttpServer server(TLoopbackHttpServer::TMode::Answer);
    const std::string link = server.Address() + "/api/replays/7";
    server.SetAnswer("200 OK", bytes);
    const THeadlessResult good = Replay("--replay " + link);
    EXPECT_EQ(good.ExitStatus, 0) << good.Stderr;
    EXPECT_EQ(ParseJson(good.Stdout)["result"].String, "reproduced") << good.Stderr;
    EXPECT_NE(server.Requests().back().find("GET /api/replays/7 HTTP/1.1"), std::string::npos);

    const std::string refusing = TLoopbackHttpServer::RefusingAddress() + "/r";
    const struct {
        const char* What;
        std::string Status, Body, Address, Says;
    } cases[] = {
        {"not found", "404 Not Found", "no", link, "cannot download " + link + ": The requested URL returned error: 404"},
        {"too large", "200 OK", std::string((1 << 20) + 1, 'Q'), link,
         "cannot download " + link + ": the answer is larger than a replay can be (1 MiB)"},
        {"not a replay", "200 OK", "<html>hello</html>", link, "not a replay file"},
        {"nobody listening", "", "", refusing, "cannot download " + refusing + ": "},
    };
    for (const auto& c : cases) {
        if (!c.Status.empty()) server.SetAnswer(c.Status, c.Body);
        const THeadlessResult run = Replay("--replay '" + c.Address + "'");
        EXPECT_EQ(run.ExitStatus, 2) << c.What;
        EXPECT_EQ(run.Stdout, "") << c.What;
        EXPECT_NE(run.Stderr.find(c.Says), std::string::npos) << c.What << ": " << run.Stderr;
        EXPECT_EQ(std::count(run.Stderr.begin(), run.Stderr.end(), '\n'), 1) << c.What << ": " << run.Stderr;
    }
}

TEST_F(ReplayTest, ASignalDuringTheRaceKeepsItsReplay) {
    const int status = RunUntilTerminated(
        Dir, std::to_string(Ready) + " race 1 2\n" + std::to_string(Ready) + " pilot on\n" +
                 std::to_string(Ready + 500) + " state " + Dir + "/running.json\n",
        {"--seed", "9"});
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const fs::path file = OnlyReplay();
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(ReadReplayFile(file.string()).Summary.End, TReplayEnd::Signal);
    ExpectReproduced(file, "SIGTERM");
}

// Script frames of a replay count from its first frame: the recording's frame Ready + 300
// is the replay's frame 300, and the race in both dumps is the same.
TEST_F(ReplayTest, StateDumpsOfAReplayCountFromItsStart) {
    At(Ready, "race 3 1");
    At(Ready, "pilot on");
    Dump(Ready + 300);
    Run(Ready + 320, 3);
    const THeadlessResult run = Replay("--replay '" + OnlyReplay().string() + "'", "300 state replayed.json\n");
    ASSERT_EQ(run.ExitStatus, 0) << run.Stderr;
    const TJson recorded = State(Ready + 300)["race"];
    const TJson replayed = ReadJsonFile(Dir + "/replayed.json")["race"];
    for (const char* field : {"Score", "TimeLeft", "Place", "ViewRow", "BackgroundY"})
        EXPECT_EQ(replayed[field].Number, recorded[field].Number) << field;
    for (const char* field : {"Speed", "Heading", "ShipCentreX"})
        EXPECT_EQ(replayed["player"][field].Number, recorded["player"][field].Number) << field;
    EXPECT_FALSE(replayed["player"]["Finished"].Bool);

    const THeadlessResult last = Replay("--replay-last");
    EXPECT_EQ(last.ExitStatus, 0) << last.Stderr;
    EXPECT_NE(last.Stdout.find("\"reproduced\""), std::string::npos);
}

TEST_F(ReplayTest, DamagedFilesAreRefusedWithStatusTwoAndOneLine) {
    At(Ready, "race 1 1");
    At(Ready + 250, "tap Escape");
    At(Ready + 252, "tap Y");
    Run(Ready + 260, 1);
    const fs::path good = OnlyReplay();
    ASSERT_FALSE(good.empty());
    const std::string bytes = ReadFileText(good);
    TReplay otherData = ReadReplayFile(good.string());
    otherData.Header.DataHash ^= 1;
    std::string otherVersion = bytes;
    otherVersion[8] = 7;
    std::string flipped = bytes;
    flipped[bytes.size() / 2] = static_cast<char>(flipped[bytes.size() / 2] ^ 0x10);
    std::mt19937 random(5);
    std::string noise(3000, '\0');
    for (char& c : noise) c = static_cast<char>(random());

    struct Case {
        const char* name;
        std::string bytes;
        const char* fault;
    } cases[] = {
        {"empty.qrp", "", "empty file"},
        {"cut.qrp", bytes.substr(0, bytes.size() / 2), "cut short or damaged (file checksum)"},
        {"flipped.qrp", flipped, "cut short or damaged (file checksum)"},
        {"version.qrp", otherVersion, "replay format version 7, this game plays version 1"},
        {"data.qrp", EncodeReplay(otherData), "recorded with other data files"},
        {"random.qrp", noise, "not a replay file"},
    };
    for (const Case& c : cases) {
        std::ofstream(Dir + "/" + c.name, std::ios::binary) << c.bytes;
        const THeadlessResult run = Replay("--replay " + std::string(c.name));
        EXPECT_EQ(run.ExitStatus, 2) << c.name;
        EXPECT_EQ(run.Stdout, "") << c.name;
        EXPECT_EQ(run.Stderr, "quillon: " + (fs::path(Dir) / c.name).string() + ": " + c.fault + "\n") << c.name;
    }
    const THeadlessResult missing = Replay("--replay missing.qrp");
    EXPECT_EQ(missing.ExitStatus, 2);
    EXPECT_NE(missing.Stderr.find("missing.qrp: cannot open the file"), std::string::npos) << missing.Stderr;
    ASSERT_EQ(mkfifo((Dir + "/pipe.qrp").c_str(), 0600), 0);
    const THeadlessResult pipe = Replay("--replay pipe.qrp");
    EXPECT_EQ(pipe.ExitStatus, 2) << "a pipe is refused, not waited on";
    EXPECT_NE(pipe.Stderr.find("pipe.qrp: not a regular file"), std::string::npos) << pipe.Stderr;
}

// Two races with a file where the Replays folder should be: both are played, and the one
// message comes once.
TEST_F(ReplayTest, AReplaysFolderThatCannotBeWrittenLeavesTheGamePlaying) {
    fs::create_directories(fs::path(Dir) / "Data" / "Save");
    std::ofstream(Replays()) << "not a folder";
    for (int start : {Ready, Ready + 400}) {
        At(start, "race 2 1");
        At(start + 200, "tap Escape");
        At(start + 202, "tap Y");
    }
    Dump(Ready + 400 + 195);
    const THeadlessResult run = Run(Ready + 400 + 210, 2);
    EXPECT_EQ(State(Ready + 400 + 195)["CurrentScreen"].Int(), 6) << "the second race runs";
    size_t messages = 0;
    for (size_t at = run.Stderr.find("cannot keep the replay"); at != std::string::npos;
         at = run.Stderr.find("cannot keep the replay", at + 1))
        ++messages;
    EXPECT_EQ(messages, 1u) << run.Stderr;
}

}  // namespace
}  // namespace quillon::testing
