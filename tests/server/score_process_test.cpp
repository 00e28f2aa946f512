// The quillon-scores program itself: it reports its port, logs its requests, stops cleanly on
// SIGTERM, and a kill -9 loses no acknowledged submission.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/Cp1251.h"
#include "save/SavePair.h"
#include "save/SavedState.h"
#include "save/ScoreCodec.h"
#include "server/SqliteScoreStore.h"
#include "support/HeadlessRun.h"
#include "support/ServerProcess.h"

namespace quillon::server {
namespace {

using testing::TServerProcess;

class ScoreProcessTest : public ::testing::Test {
protected:
    void SetUp() override { Dir = testing::MakeTempDir("score-process"); }
    void TearDown() override { std::filesystem::remove_all(Dir); }
    std::string Dir;
};

std::string SubmissionTarget(const TScoreEntry& entry) {
    return "/cgi/version.pl?" + ScoreSubmissionQuery(entry);
}

TEST_F(ScoreProcessTest, ServesLogsAndStopsCleanlyOnSigterm) {
    TServerProcess server(Dir);
    ASSERT_GT(server.Port, 0) << server.Log();
    httplib::Client client("127.0.0.1", server.Port);
    const auto stored = client.Get(SubmissionTarget({"Pilot", 777, "Latvija"}));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->status, 200);
    const auto bad = client.Get("/cgi/version.pl?hs&prg=Quillon&inf=OOOOOOOO");
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->status, 400);

    server.Signal(SIGTERM);
    EXPECT_EQ(server.Wait(), 0);
    const std::string log = server.Log();
    EXPECT_NE(log.find(" 127.0.0.1 GET /cgi/version.pl?hs&prg=Quillon&inf="), std::string::npos) << log;
    EXPECT_NE(log.find("OOOOOOOO 400 "), std::string::npos) << log;
    EXPECT_NE(log.find("quillon-scores: stopping on SIGTERM\n"), std::string::npos) << log;
    const std::string last = "quillon-scores: stopped\n";
    EXPECT_TRUE(log.size() >= last.size() && log.substr(log.size() - last.size()) == last) << log;

    TSqliteScoreStore store(Dir + "/scores.db");
    ASSERT_EQ(store.Best(10).size(), 1u);
    EXPECT_EQ(store.Best(10)[0].Score, 777);
}

TEST_F(ScoreProcessTest, KillNineLosesNoAcknowledgedSubmission) {
    int acknowledged = 0;
    {
        TServerProcess server(Dir);
        ASSERT_GT(server.Port, 0) << server.Log();
        httplib::Client client("127.0.0.1", server.Port);
        for (int i = 0; i < 40; ++i) {
            const auto answer = client.Get(SubmissionTarget({"p" + std::to_string(i), i, ""}));
            if (answer && answer->status == 200) ++acknowledged;
        }
        server.Signal(SIGKILL);
        EXPECT_EQ(server.Wait(), -SIGKILL);
    }
    EXPECT_EQ(acknowledged, 40);
    TSqliteScoreStore store(Dir + "/scores.db");
    EXPECT_EQ(store.Best(100).size(), 40u);
}

// The game itself sends a score through its dialogs (a race left with a score the table
// takes, a name typed, yes to the world table) and the page and the JSON show it.
TEST_F(ScoreProcessTest, TheGameSubmitsThroughItsDialogs) {
    TServerProcess server(Dir);
    ASSERT_GT(server.Port, 0) << server.Log();
    const std::string game = Dir + "/game";
    std::filesystem::create_directories(game);
    testing::MakeGameFolder(game);
    TSavedState state;
    ResetOptions(state);
    ResetHighScores(state.HighScores);
    state.HighScores[9].Score = -5;  // any score makes the table
    state.GameOptions.Country = Utf8ToCp1251("Тверь");
    SaveOptionsAndHighScores(state, game + "/Data/Save");
    const int left = 80 + 182 + 10;
    std::ostringstream script;
    script << "80 race 3 1\n" << left << " tap Escape\n" << left + 2 << " tap Y\n" << left + 5 << " text Гонщик\n"
           << left + 9 << " tap Return\n" << left + 12 << " tap Y\n" << left + 16 << " state done.json\n";
    const std::string address = "http://127.0.0.1:" + std::to_string(server.Port);
    setenv("QUILLON_SCORE_SERVER", address.c_str(), 1);
    const testing::THeadlessResult run = testing::RunHeadless(game, script.str(), "--frames " + std::to_string(left + 17));
    unsetenv("QUILLON_SCORE_SERVER");
    ASSERT_EQ(run.ExitStatus, 0) << run.Stderr;

    httplib::Client client("127.0.0.1", server.Port);
    const auto json = client.Get("/api/scores?limit=10");
    ASSERT_TRUE(json);
    EXPECT_NE(json->body.find("Гонщик"), std::string::npos) << json->body;
    EXPECT_NE(json->body.find("Тверь"), std::string::npos) << json->body;
    const auto page = client.Get("/cgi/version.pl?prg=Quillon&show&type=0");
    ASSERT_TRUE(page);
    EXPECT_NE(page->body.find("Гонщик"), std::string::npos);
}

TEST_F(ScoreProcessTest, RefusesABadCommandLineAndAnUnusableDatabase) {
    const std::string program = QUILLON_SCORES;
    EXPECT_EQ(WEXITSTATUS(std::system((program + " --listen nowhere 2>/dev/null").c_str())), 2);
    EXPECT_EQ(WEXITSTATUS(std::system((program + " --listen 127.0.0.1:0 --db " + Dir + " 2>/dev/null").c_str())), 1);
}

}  // namespace
}  // namespace quillon::server
