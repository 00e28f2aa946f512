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
    void SetUp() override { Dir = testing::MakeTempDir("verify-run"); }
    void TearDown() override { fs::remove_all(Dir); }

    // A stand-in game: a shell script given the replay as its fourth word ($3).
    std::string Game(const std::string& name, const std::string& body) {
        const std::string path = Dir + "/" + name;
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        fs::permissions(path, fs::perms::owner_all);
        return path;
    }
    std::string Read(const std::string& name) { return testing::ReadFileText(Dir + "/" + name); }

    std::string Dir;
    std::atomic<bool> Stop = false;
};

TEST_F(VerifyRunTest, EachOutcomeIsToldApart) {
    const std::string reproduced = R"(echo '{"result":"reproduced","frames":900,"level":1,"score":700,"lives":3,"divergedAt":null}')";
    struct Case {
        const char* what;
        std::string script;
        std::int32_t score;
        bool verified;
        std::string reason;  // the start of it
    } cases[] = {
        {"the same score", reproduced, 700, true, ""},
        {"another score", reproduced, 701, false, "the replay ends with score 700, the row has 701"},
        {"diverged",
         "echo \"quillon: $3 diverged at frame 12: the race differs\" >&2\n"
         R"(echo '{"result":"diverged","frames":13,"level":1,"score":90,"lives":3,"divergedAt":12}'; exit 3)",
         90, false, "the replay diverged at frame 12: quillon: replay.qrp diverged at frame 12: the race differs"},
        {"refused", "echo \"quillon: $3: not a replay file\" >&2; exit 2", 700, false,
         "the game refused the replay: quillon: replay.qrp: not a replay file"},
        {"no verdict", "echo hello; exit 0", 700, false, "the game ended with status 0 without a result"},
        {"a verdict with a failing status", reproduced + "; exit 1", 700, false,
         "the game ended with status 1 without a result"},
        {"crashed", "kill -SEGV $$", 700, false, "the game crashed (Segmentation fault)"},
        {"not there", "exec /nonexistent/quillon", 700, false, "the game could not be started"},
    };
    for (const Case& c : cases) {
        const TVerifyResult result = VerifyReplay({Game("game", c.script), 10, 256, 20}, "replay", c.score, Stop);
        EXPECT_EQ(result.Kind == TVerifyResult::TKind::Verified, c.verified) << c.what << ": " << result.Reason;
        EXPECT_EQ(result.Reason.rfind(c.reason, 0), 0u) << c.what << ": " << result.Reason;
    }
}

TEST_F(VerifyRunTest, TheLimitsStopWhatRunsTooLongOrAsksTooMuch) {
    struct Case {
        const char* what;
        std::string script;
        TVerifyLimits limits;
        std::string reason;
    } cases[] = {
        {"endless work", "while :; do :; done", {"", 1, 256, 30}, "the CPU time limit of 1 s was hit"},
        {"endless waiting", "exec sleep 1000", {"", 30, 256, 1}, "the wall-clock deadline of 1 s passed"},
        {"endless memory", R"(exec awk 'BEGIN { s = "x"; while (1) s = s s }')", {"", 30, 64, 30},
         "the address-space limit of 64 MiB was hit"},
    };
    for (Case& c : cases) {
        c.limits.Game = Game("game", c.script);
        const TVerifyResult result = VerifyReplay(c.limits, "replay", 1, Stop);
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
    const TVerifyResult result = VerifyReplay({game, 30, 256, 60}, "replay", 1, Stop);
    stopper.join();
    EXPECT_EQ(result.Kind, TVerifyResult::TKind::Abandoned);
}

// The child sees its replay in a private folder (also its home), the limits, and no descriptor
// of the server's: one opened here without close-on-exec stays behind.
TEST_F(VerifyRunTest, TheChildGetsItsReplayAndNothingElse) {
    const int leaked = open((Dir + "/server-secret").c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(leaked, 0);
    const std::string report = Dir + "/report";
    const std::string game = Game("game",
                                  "cp \"$3\" '" + report + ".replay'\n"
                                  "{ echo \"args $1 $2\"; echo \"home $HOME\"; echo \"here $(pwd)\";"
                                  " echo \"cpu $(ulimit -t)\"; echo \"memory $(ulimit -v)\";"
                                  " ls -l /proc/$$/fd; } > '" + report + "'\n"
                                  "stat -c %a \"$3\" >> '" + report + "'\n"
                                  R"(echo '{"result":"reproduced","frames":1,"level":1,"score":5,"lives":3,"divergedAt":null}')");
    const std::string replay("\x00\x01replay\xFF", 9);
    const TVerifyResult result = VerifyReplay({game, 7, 512, 20}, replay, 5, Stop);
    close(leaked);
    EXPECT_EQ(result.Kind, TVerifyResult::TKind::Verified) << result.Reason;
    const std::string seen = Read("report");
    EXPECT_TRUE(Read("report.replay") == replay);
    EXPECT_NE(seen.find("args --headless --replay\n"), std::string::npos) << seen;
    EXPECT_NE(seen.find("cpu 7\n"), std::string::npos) << seen;
    EXPECT_NE(seen.find("memory 524288\n"), std::string::npos) << seen;
    EXPECT_EQ(seen.find("server-secret"), std::string::npos) << seen;
    EXPECT_NE(seen.find("\n600\n"), std::string::npos) << "the replay is the child's alone: " << seen;
    const std::size_t home = seen.find("home ");
    const std::size_t here = seen.find("here ");
    ASSERT_NE(home, std::string::npos);
    ASSERT_NE(here, std::string::npos);
    const std::string folder = seen.substr(home + 5, seen.find('\n', home) - home - 5);
    EXPECT_EQ(seen.substr(here + 5, folder.size()), folder);
    EXPECT_NE(folder.find("quillon-verify-"), std::string::npos) << folder;
    EXPECT_FALSE(fs::exists(folder)) << "the private folder is removed after";
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
