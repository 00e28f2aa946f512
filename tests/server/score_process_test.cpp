// The quillon-scores program itself: it reports its port, logs its requests, stops cleanly on
// SIGTERM, and a kill -9 loses no acknowledged submission.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "engine/Cp1251.h"
#include "save/SavePair.h"
#include "save/SavedState.h"
#include "save/ScoreCodec.h"
#include "server/SqliteScoreStore.h"
#include "server/ScoreStore.h"
#include "support/HeadlessRun.h"
#include "support/ServerProcess.h"
#include "support/TestDatabase.h"

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

// The page's title art: found beside the program as the build leaves it, taken from a named
// folder (the English page's from its "en" folder), and a named folder without it stops the
// start with the reason.
TEST_F(ScoreProcessTest, TitleArtBesideTheProgramOrNamed) {
    const std::string built = std::string(QUILLON_BINARY_DIR) + "/page-art/title.png";
    if (!std::filesystem::exists(built)) GTEST_SKIP() << built << " was not drawn (the data generator is not built)";
    std::ifstream file(built, std::ios::binary);
    const std::string png((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    {
        TServerProcess server(Dir);
        ASSERT_GT(server.Port, 0) << server.Log();
        httplib::Client client("127.0.0.1", server.Port);
        const auto picture = client.Get("/static/title.png");
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->status, 200);
        EXPECT_EQ(picture->get_header_value("Content-Type"), "image/png");
        EXPECT_EQ(picture->body, png);
        const auto page = client.Get("/cgi/version.pl?prg=Quillon&show&type=0&lang=ru");
        ASSERT_TRUE(page);
        EXPECT_NE(page->body.find("<img src=\"/static/title.png\""), std::string::npos);
        // The generator draws the English page's art beside it.
        const bool english = std::filesystem::exists(std::string(QUILLON_BINARY_DIR) + "/page-art/en/title.png");
        const auto englishPage = client.Get("/cgi/version.pl?prg=Quillon&show&type=0&lang=en");
        ASSERT_TRUE(englishPage);
        EXPECT_NE(englishPage->body.find(english ? "<img src=\"/static/en/title.png\"" : "<img src=\"/static/title.png\""),
                  std::string::npos);
    }
    const std::string named = Dir + "/art";
    std::filesystem::create_directories(named);
    {
        TServerProcess server(Dir, {"--page-art", named});
        EXPECT_EQ(server.Port, 0) << "started without the art it was told to show";
        EXPECT_EQ(server.Wait(), 1);
        EXPECT_NE(server.Log().find(named + "/title.png: cannot read the picture"), std::string::npos) << server.Log();
    }
    std::ofstream(named + "/title.png", std::ios::binary) << "GIF89a";
    {
        TServerProcess server(Dir, {"--page-art", named});
        EXPECT_EQ(server.Wait(), 1);
        EXPECT_NE(server.Log().find("not a PNG picture"), std::string::npos) << server.Log();
    }
    std::filesystem::copy_file(built, named + "/title.png", std::filesystem::copy_options::overwrite_existing);
    // The English page's own art beside it, in "en".
    std::filesystem::create_directories(named + "/en");
    std::filesystem::copy_file(built, named + "/en/title.png");
    TServerProcess server(Dir, {"--page-art", named});
    ASSERT_GT(server.Port, 0) << server.Log();
    httplib::Client client("127.0.0.1", server.Port);
    for (const char* path : {"/static/title.png", "/static/en/title.png"}) {
        const auto picture = client.Get(path);
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->body, png) << path;
    }
    const auto english = client.Get("/cgi/version.pl?prg=Quillon&show&type=0&lang=en");
    const auto russian = client.Get("/cgi/version.pl?prg=Quillon&show&type=0&lang=ru");
    ASSERT_TRUE(english && russian);
    EXPECT_NE(english->body.find("<img src=\"/static/en/title.png\""), std::string::npos);
    EXPECT_NE(russian->body.find("<img src=\"/static/title.png\""), std::string::npos);
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

// Two instances on one database: the same submission sent to both at the same moment is stored
// once, both show the same table, and a kill -9 of one loses nothing it acknowledged.
class ScoreProcessOnBothStores : public ::testing::TestWithParam<testing::TStoreKind> {};

TEST_P(ScoreProcessOnBothStores, TwoInstancesShareOneTableAndKillNineLosesNothing) {
    testing::TTestDatabase db(GetParam());
    if (!db.Missing.empty()) GTEST_SKIP() << db.Missing;
    std::filesystem::create_directories(db.Dir + "/a");
    std::filesystem::create_directories(db.Dir + "/b");
    TServerProcess first(db.Dir + "/a", {}, db.Database), second(db.Dir + "/b", {}, db.Database);
    ASSERT_GT(first.Port, 0) << first.Log();
    ASSERT_GT(second.Port, 0) << second.Log();

    for (int round = 0; round < 10; ++round) {
        const std::string target = SubmissionTarget({"twin" + std::to_string(round), round, "Latvija"});
        int statusFirst = 0, statusSecond = 0;
        std::thread toFirst([&] {
            const auto answer = httplib::Client("127.0.0.1", first.Port).Get(target);
            statusFirst = answer ? answer->status : -1;
        });
        std::thread toSecond([&] {
            const auto answer = httplib::Client("127.0.0.1", second.Port).Get(target);
            statusSecond = answer ? answer->status : -1;
        });
        toFirst.join();
        toSecond.join();
        EXPECT_EQ(statusFirst, 200) << round;
        EXPECT_EQ(statusSecond, 200) << round;
    }
    int acknowledged = 0;
    httplib::Client client("127.0.0.1", first.Port);
    for (int i = 0; i < 30; ++i) {
        const auto answer = client.Get(SubmissionTarget({"p" + std::to_string(i), 100 + i, ""}));
        acknowledged += answer && answer->status == 200;
    }
    first.Signal(SIGKILL);
    EXPECT_EQ(first.Wait(), -SIGKILL);
    EXPECT_EQ(acknowledged, 30);

    const auto json = httplib::Client("127.0.0.1", second.Port).Get("/api/scores?limit=100");
    ASSERT_TRUE(json);
    const auto store = OpenScoreStore(db.Database);
    const auto rows = store->Best(100);
    EXPECT_EQ(rows.size(), 40u) << "10 racing pairs stored once each and 30 more";
    EXPECT_EQ(std::count(json->body.begin(), json->body.end(), '{'), 41) << json->body;
}

INSTANTIATE_TEST_SUITE_P(Kinds, ScoreProcessOnBothStores,
                         ::testing::Values(testing::TStoreKind::Sqlite, testing::TStoreKind::Postgres),
                         [](const auto& info) { return testing::StoreKindName(info.param); });

// PostgreSQL gone while the server runs: submissions and the page answer 503 (nothing is
// acknowledged that is not stored), and service comes back by itself soon after the database.
TEST(ScoreProcessOnPostgres, TheDatabaseGoneAndBack) {
    testing::TTestDatabase db(testing::TStoreKind::Postgres);
    if (!db.Missing.empty()) GTEST_SKIP() << db.Missing;
    TServerProcess server(db.Dir, {}, db.Database);
    ASSERT_GT(server.Port, 0) << server.Log();
    httplib::Client client("127.0.0.1", server.Port);
    client.set_read_timeout(10);
    int sent = 0;
    std::vector<std::string> acknowledged;
    auto submit = [&] {
        const std::string name = "n" + std::to_string(sent++);
        const auto answer = client.Get(SubmissionTarget({name, sent, ""}));
        if (answer && answer->status == 200) acknowledged.push_back(name);
        return answer ? answer->status : -1;
    };
    EXPECT_EQ(submit(), 200);

    ASSERT_TRUE(db.Postgres->Stop());
    EXPECT_EQ(submit(), 503);
    EXPECT_EQ(submit(), 503);
    const auto page = client.Get("/cgi/version.pl?prg=Quillon&show&type=0");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 503);

    ASSERT_TRUE(db.Postgres->Start());
    const auto back = std::chrono::steady_clock::now();
    while (submit() != 200 && std::chrono::steady_clock::now() - back < std::chrono::seconds(10))
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_LT(std::chrono::steady_clock::now() - back, std::chrono::seconds(5));
    EXPECT_EQ(submit(), 200);
    EXPECT_EQ(client.Get("/api/scores")->status, 200);

    const auto rows = OpenScoreStore(db.Database)->Best(100);
    for (const std::string& name : acknowledged)
        EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [&](const TScoreRow& row) { return row.Name == name; }))
            << name;
    EXPECT_EQ(rows.size(), acknowledged.size());
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
    // A PostgreSQL database that cannot be reached: a clear message and status 1.
    const std::string nowhere = "'host=" + Dir + "/no-server dbname=scores'";
    const std::string message = Dir + "/message.txt";
    EXPECT_EQ(WEXITSTATUS(std::system((program + " --listen 127.0.0.1:0 --db " + nowhere + " 2>" + message).c_str())), 1);
    std::ifstream in(message);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line.rfind("quillon-scores: cannot reach the score database: ", 0), 0u) << line;
}

}  // namespace
}  // namespace quillon::server
