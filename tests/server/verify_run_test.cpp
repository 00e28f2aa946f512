// One verification run against stand-in games (small shell scripts) that answer as the game
// would, or misbehave: each outcome is told apart, the limits stop what runs too long or asks
// for too much, and the child gets nothing of the server's but its replay.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "server/VerifyRun.h"
#include "support/HeadlessRun.h"
#include "support/FileText.h"

namespace quillon::server {
namespace {

namespace fs = std::filesystem;

class VerifyRunTest : public ::testing::Test {
protected:
    // The game runs as a user of its own: its folder and file are for everyone to read and run.
    void SetUp() override {
        Dir = testing::MakeTempDir("verify-run");
        fs::permissions(Dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                 fs::perms::others_read | fs::perms::others_exec);
    }
    void TearDown() override { fs::remove_all(Dir); }

    // A stand-in game: a shell script given the replay as its fourth word ($3).
    std::string Game(const std::string& name, const std::string& body) {
        const std::string path = Dir + "/" + name;
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        fs::permissions(path, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
        return path;
    }
    std::string Read(const std::string& name) { return testing::ReadFileText(Dir + "/" + name); }

    std::string Dir;
    std::atomic<bool> Stop = false;
};

TEST_F(VerifyRunTest, EachOutcomeIsToldApart) {
    const std::string reproduced =
        R"(echo '{"result":"reproduced","frames":900,"level":1,"score":700,"lives":3,"divergedAt":null,"tableName":"Ва\"ня\u0001"}')";
    const std::string intoNoTable =
        R"(echo '{"result":"reproduced","frames":900,"level":1,"score":700,"lives":3,"divergedAt":null,"tableName":null}')";
    using K = TVerifyResult::TKind;
    struct Case {
        const char* what;
        std::string script;
        std::int32_t score;
        K kind;
        std::string reason;  // the start of it
    } cases[] = {
        {"the same score and name", reproduced, 700, K::Verified, ""},
        {"another score", reproduced, 701, K::Failed, "the replay ends with score 700, the row has 701"},
        {"another name", reproduced, 700, K::Failed,
         "the replay's score went into the table under another name"},
        {"into no table", intoNoTable, 700, K::Failed, "the replay's score went into no table"},
        {"diverged",
         "echo \"quillon: $3 diverged at frame 12: the race differs\" >&2\n"
         R"(echo '{"result":"diverged","frames":13,"level":1,"score":90,"lives":3,"divergedAt":12}'; exit 3)",
         90, K::Failed, "the replay diverged at frame 12: quillon: replay.qrp diverged at frame 12: the race differs"},
        {"refused", "echo \"quillon: $3: not a replay file\" >&2; exit 2", 700, K::Failed,
         "the game refused the replay: quillon: replay.qrp: not a replay file"},
        {"no verdict", "echo hello; exit 0", 700, K::Failed, "the game ended with status 0 without a result"},
        {"a verdict with a failing status", reproduced + "; exit 1", 700, K::Failed,
         "the game ended with status 1 without a result"},
        {"crashed", "kill -SEGV $$", 700, K::Failed, "the game crashed (Segmentation fault)"},
        {"killed from outside", "kill -KILL $$", 700, K::ServerFault, "the game was killed from outside"},
    };
    for (const Case& c : cases) {
        const std::string name = std::string(c.what) == "another name" ? "Ваня" : "Ва\"ня\x01";
        const TVerifyResult result = VerifyReplay({Game("game", c.script), 10, 256, 20}, "replay", c.score, name, Stop);
        EXPECT_EQ(result.Kind, c.kind) << c.what << ": " << result.Reason;
        EXPECT_EQ(result.Reason.rfind(c.reason, 0), 0u) << c.what << ": " << result.Reason;
    }
}

// What keeps the game from running is the server's fault, never the replay's.
TEST_F(VerifyRunTest, AGameThatCannotRunIsTheServersFault) {
    const std::string notExecutable = Dir + "/plain";
    std::ofstream(notExecutable) << "#!/bin/sh\nexit 0\n";
    struct Case {
        const char* what;
        TVerifyLimits limits;
    } cases[] = {
        {"no such game", {Dir + "/missing", 10, 256, 20}},
        {"a game that is not executable", {notExecutable, 10, 256, 20}},
        {"no sandbox program", {Game("game", "exit 0"), 10, 256, 20, Dir + "/no-bwrap"}},
    };
    for (const Case& c : cases) {
        const TVerifyResult result = VerifyReplay(c.limits, "replay", 1, "a", Stop);
        EXPECT_EQ(result.Kind, TVerifyResult::TKind::ServerFault) << c.what << ": " << result.Reason;
    }
    TVerifyLimits broken;
    broken.Sandbox = Dir + "/no-bwrap";
    EXPECT_NE(SandboxProblem(broken).find("is missing"), std::string::npos) << SandboxProblem(broken);
    EXPECT_EQ(SandboxProblem(TVerifyLimits{}), "") << "the sandbox works here";
}

TEST_F(VerifyRunTest, TheLimitsStopWhatRunsTooLongOrAsksTooMuch) {
    struct Case {
        const char* what;
        std::string script;
        TVerifyLimits limits;
        std::string reason;
    } cases[] = {
        {"endless work", "while :; do :; done", {"", 1, 256, 30}, "the CPU time limit of 1 s was hit"},
        {"endless work deaf to the limit's warning", "trap '' XCPU; while :; do :; done", {"", 1, 256, 30},
         "the CPU time limit of 1 s was hit"},
        {"endless waiting", "exec sleep 1000", {"", 30, 256, 1}, "the wall-clock deadline of 1 s passed"},
        {"endless memory", R"(exec awk 'BEGIN { s = "x"; while (1) s = s s }')", {"", 30, 64, 30},
         "the address-space limit of 64 MiB was hit"},
    };
    for (Case& c : cases) {
        c.limits.Game = Game("game", c.script);
        const TVerifyResult result = VerifyReplay(c.limits, "replay", 1, "a", Stop);
        EXPECT_EQ(result.Kind, TVerifyResult::TKind::Failed) << c.what;
        EXPECT_EQ(result.Reason.rfind(c.reason, 0), 0u) << c.what << ": " << result.Reason;
    }
}

TEST_F(VerifyRunTest, StoppingKillsTheGameAndGivesTheReplayBack) {
    const std::string game = Game("game", "exec sleep 1000");
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        Stop = true;
    });
    const TVerifyResult result = VerifyReplay({game, 30, 256, 60}, "replay", 1, "a", Stop);
    stopper.join();
    EXPECT_EQ(result.Kind, TVerifyResult::TKind::Abandoned);
}

// The child sees its replay in a private folder in memory (also its home and its working
// folder), the limits, and no descriptor of the server's: one opened here without
// close-on-exec stays behind. It tells what it saw as its complaint.
TEST_F(VerifyRunTest, TheChildGetsItsReplayAndNothingElse) {
    const int leaked = open((Dir + "/server-secret").c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(leaked, 0);
    const std::string game = Game("game",
                                  "{ echo \"args $1 $2 $3\"; echo \"home $HOME\"; echo \"here $(pwd)\";"
                                  " echo \"cpu $(ulimit -t)\"; echo \"memory $(ulimit -v)\"; echo \"bytes $(od -An -tx1 \"$3\" | tr -d ' ')\";"
                                  " echo \"fds $(ls /proc/$$/fd | tr '\\n' ,)\"; echo \"user $(id -u)\"; } | tr '\\n' ';' >&2\n"
                                  "exit 1");
    const std::string replay("\x00\x01replay\xFF", 9);
    const TVerifyResult result = VerifyReplay({game, 7, 512, 20}, replay, 5, "a", Stop);
    close(leaked);
    const std::string& seen = result.Reason;
    EXPECT_NE(seen.find("args --headless --replay replay.qrp;"), std::string::npos) << seen;
    EXPECT_NE(seen.find("home ;here ;"), std::string::npos) << "the private folder, its name taken out: " << seen;
    EXPECT_NE(seen.find("cpu 7;"), std::string::npos) << seen;
    EXPECT_NE(seen.find("memory 524288;"), std::string::npos) << seen;
    EXPECT_NE(seen.find("bytes 00017265706c6179ff;"), std::string::npos) << seen;
    EXPECT_NE(seen.find("fds 0,1,"), std::string::npos) << seen;
    EXPECT_EQ(seen.find("," + std::to_string(leaked) + ","), std::string::npos) << "the server's file stays behind: " << seen;
    EXPECT_NE(seen.find("user 65534;"), std::string::npos) << seen;
}

TEST(ReplayVerdict, OnlyTheGamesLineIsRead) {
    struct Case {
        const char* line;
        bool read;
        bool reproduced;
        std::int64_t score;
    } cases[] = {
        {R"({"result":"reproduced","frames":9,"level":1,"score":-40,"lives":3,"divergedAt":null})", true, true, -40},
        {R"({"result":"diverged","frames":9,"level":1,"score":40,"lives":3,"divergedAt":4})", true, false, 40},
        {R"({"result":"reproduced","frames":9})", false, false, 0},
        {R"({"result":"maybe","score":40})", false, false, 0},
        {R"({"result":"reproduced","score":x})", false, false, 0},
        {"", false, false, 0},
        {"reproduced", false, false, 0},
    };
    for (const Case& c : cases) {
        TReplayVerdict verdict;
        EXPECT_EQ(ParseReplayVerdict(c.line, verdict), c.read) << c.line;
        if (!c.read) continue;
        EXPECT_EQ(verdict.Reproduced, c.reproduced) << c.line;
        EXPECT_EQ(verdict.Score, c.score) << c.line;
    }
}

}  // namespace
}  // namespace quillon::server
