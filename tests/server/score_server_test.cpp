// The world table server end to end on a loopback port with a temporary database: the game's own
// encoder builds the submissions, the page and the JSON show them, and bad or excessive requests
// are turned away without touching the table.
#include <gtest/gtest.h>
#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "save/LinkFile.h"
#include "save/ScoreCodec.h"
#include "server/ScoreServer.h"
#include "server/ScoreStore.h"
#include "support/HeadlessRun.h"
#include "support/InProcessServer.h"
#include "support/Json.h"
#include "support/RawHttpConnection.h"
#include "support/TestDatabase.h"

namespace quillon::server {
namespace {

class ScoreServerTest : public ::testing::Test {
protected:
    virtual testing::TStoreKind Kind() const { return testing::TStoreKind::Sqlite; }
    void SetUp() override {
        Db = std::make_unique<testing::TTestDatabase>(Kind());
        if (!Db->Missing.empty()) GTEST_SKIP() << Db->Missing;
        Dir = Db->Dir;
    }
    void TearDown() override {
        StopServer();
        Store.reset();
        Db.reset();
    }

    void StartServer(TScoreServerSettings settings = {}) {
        Store = OpenScoreStore(Db->Database);
        settings.Log = [this](const std::string& line) {
            std::lock_guard lock(LogMutex);
            LogLines.push_back(line);
        };
        Server = std::make_unique<testing::TInProcessServer>(*Store, std::move(settings));
        Port = Server->Port;
        ASSERT_GT(Port, 0);
        Client = std::make_unique<httplib::Client>("127.0.0.1", Port);
    }
    void StopServer() { Server.reset(); }

    std::string Base() const { return "http://127.0.0.1:" + std::to_string(Port); }
    // The path and query of a full address on this server.
    std::string Target(const std::string& url) const { return url.substr(Base().size()); }

    int Status(const std::string& target) {
        const auto result = Client->Get(target);
        return result ? result->status : -1;
    }
    int Submit(const TScoreEntry& entry) { return Status(Target(ScoreSubmissionUrl(Base(), entry))); }

    std::unique_ptr<testing::TTestDatabase> Db;
    std::string Dir;
    std::unique_ptr<TScoreStore> Store;
    std::unique_ptr<testing::TInProcessServer> Server;
    std::unique_ptr<httplib::Client> Client;
    int Port = 0;
    std::mutex LogMutex;
    std::vector<std::string> LogLines;
};

const TScoreEntry kVanya{"\xC2\xE0\xED\xFF", 12345, "\xD0\xEE\xF1\xF1\xE8\xFF"};  // Ваня, Россия

// The routes' behaviour, the same on either kind of store.
class ScoreServerOnBothStores : public ScoreServerTest, public ::testing::WithParamInterface<testing::TStoreKind> {
protected:
    testing::TStoreKind Kind() const override { return GetParam(); }
};

TEST_P(ScoreServerOnBothStores, TheGamesSubmissionShowsOnThePageAndInJson) {
    StartServer();
    const auto answer = Client->Get(Target(ScoreSubmissionUrl(Base(), kVanya)));
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 200);
    EXPECT_EQ(answer->body, "OK\n");
    EXPECT_EQ(Submit(kVanya), 200);  // the same again: acknowledged, not stored twice
    EXPECT_EQ(Submit({"Pilot", 500, ""}), 200);

    const auto page = Client->Get(Target(WorldTableUrl(Base())));
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_EQ(page->get_header_value("Content-Type"), "text/html; charset=utf-8");
    EXPECT_NE(page->body.find("<span class=\"medal\">1</span><span class=\"name\">Ваня</span>"
                              "<span class=\"score\">12345</span><span class=\"where\">Россия · "),
              std::string::npos);
    EXPECT_NE(page->body.find("<span class=\"medal\">2</span><span class=\"name\">Pilot</span>"
                              "<span class=\"score\">500</span><span class=\"where\">"),
              std::string::npos);

    const auto json = Client->Get("/api/scores?limit=10");
    ASSERT_TRUE(json);
    EXPECT_EQ(json->get_header_value("Content-Type"), "application/json; charset=utf-8");
    const auto scores = testing::ParseJson(json->body)["scores"];
    ASSERT_EQ(scores.Array.size(), 2u);
    EXPECT_EQ(scores[0]["name"].String, "Ваня");
    EXPECT_EQ(scores[0]["score"].Int(), 12345);
    EXPECT_EQ(scores[0]["country"].String, "Россия");
    EXPECT_EQ(scores[1]["name"].String, "Pilot");
    EXPECT_EQ(testing::ParseJson(Client->Get("/api/scores?limit=1")->body)["scores"].Array.size(), 1u);
}

TEST_P(ScoreServerOnBothStores, TheCountryFilter) {
    StartServer();
    ASSERT_EQ(Submit(kVanya), 200);
    ASSERT_EQ(Submit({"Janis", 900, "Latvija"}), 200);
    const std::string russia = "%D0%A0%D0%BE%D1%81%D1%81%D0%B8%D1%8F";
    const auto page = Client->Get(Target(WorldTableUrl(Base())) + "&country=" + russia);
    ASSERT_TRUE(page);
    EXPECT_NE(page->body.find(">Ваня<"), std::string::npos);
    EXPECT_EQ(page->body.find(">Janis<"), std::string::npos);
    EXPECT_NE(page->body.find("<option value=\"Россия\" selected>"), std::string::npos);
    // A score sent by the request alone is not verified.
    const auto verified = Client->Get(Target(WorldTableUrl(Base())) + "&country=" + russia + "&verified=1&lang=ru");
    ASSERT_TRUE(verified);
    EXPECT_EQ(verified->status, 200);
    EXPECT_EQ(verified->body.find(">Ваня<"), std::string::npos);
    EXPECT_NE(verified->body.find("Здесь пока нет ни одного рекорда."), std::string::npos);
    const auto scores = testing::ParseJson(Client->Get("/api/scores?country=Latvija")->body)["scores"];
    ASSERT_EQ(scores.Array.size(), 1u);
    EXPECT_EQ(scores[0]["name"].String, "Janis");
}

TEST_P(ScoreServerOnBothStores, MalformedRequestsAreRefusedAndStoreNothing) {
    StartServer();
    const std::string good = EncodeScoreLetters(FormatScoreMessage(kVanya));
    struct Case {
        const char* what;
        std::string target;
        int status;
    } cases[] = {
        {"a letter outside the alphabet", "/cgi/version.pl?hs&prg=Quillon&inf=" + good.substr(0, 7) + "I" + good.substr(8), 400},
        {"cut short", "/cgi/version.pl?hs&prg=Quillon&inf=" + good.substr(0, good.size() - 8), 400},
        {"no message", "/cgi/version.pl?hs&prg=Quillon", 400},
        {"empty message", "/cgi/version.pl?hs&prg=Quillon&inf=", 400},
        {"two messages", "/cgi/version.pl?hs&prg=Quillon&inf=" + good + "&inf=" +
                                EncodeScoreLetters(FormatScoreMessage({"Other", 1, ""})), 400},
        {"another program", "/cgi/version.pl?hs&prg=Other&inf=" + good, 400},
        {"no program", "/cgi/version.pl?hs&inf=" + good, 400},
        {"neither hs nor show", "/cgi/version.pl?prg=Quillon&inf=" + good, 400},
        {"another table", "/cgi/version.pl?prg=Quillon&show&type=1", 400},
        {"a country filter no country can match", "/cgi/version.pl?prg=Quillon&show&type=0&country=" + std::string(65, 'a'), 400},
        {"limit 0", "/api/scores?limit=0", 400},
        {"limit 101", "/api/scores?limit=101", 400},
        {"limit not a number", "/api/scores?limit=ten", 400},
        {"negative limit", "/api/scores?limit=-1", 400},
        {"a request longer than any the game makes", "/cgi/version.pl?hs&prg=Quillon&inf=" + std::string(2000, 'A'), 414},
        {"another path", "/cgi/other.pl?hs&prg=Quillon&inf=" + good, 404},
    };
    for (const Case& c : cases) EXPECT_EQ(Status(c.target), c.status) << c.what;

    httplib::Headers many;
    for (int i = 0; i < 100; ++i) many.emplace("X-Filler-" + std::to_string(i), "1");
    const auto crowded = Client->Get("/cgi/version.pl?hs&prg=Quillon&inf=" + good, many);
    ASSERT_TRUE(crowded);
    EXPECT_EQ(crowded->status, 431);

    EXPECT_TRUE(Store->Best(100).empty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, ScoreServerOnBothStores,
                         ::testing::Values(testing::TStoreKind::Sqlite, testing::TStoreKind::Postgres),
                         [](const auto& info) { return testing::StoreKindName(info.param); });

TEST_F(ScoreServerTest, TooManyRequestsFromOneAddressGet429) {
    TScoreServerSettings settings;
    settings.RatePerMinute = 60;
    settings.RateBurst = 2;
    settings.SteadyClock = [] { return 0.0; };  // time stands still: no token comes back
    StartServer(settings);
    EXPECT_EQ(Submit({"a", 1, ""}), 200);
    EXPECT_EQ(Submit({"b", 2, ""}), 200);
    const auto refused = Client->Get(Target(ScoreSubmissionUrl(Base(), {"c", 3, ""})));
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 429);
    EXPECT_EQ(refused->get_header_value("Retry-After"), "1");
    EXPECT_EQ(Status("/api/scores"), 429);
    EXPECT_EQ(Store->Best(100).size(), 2u);
}

TEST_F(ScoreServerTest, StoppingFinishesTheRequestUnderWay) {
    // The submission's clock call holds the request inside the server until the test lets go.
    std::mutex mutex;
    std::condition_variable changed;
    bool entered = false, released = false;
    TScoreServerSettings settings;
    settings.WallClock = [&]() -> std::int64_t {
        std::unique_lock lock(mutex);
        entered = true;
        changed.notify_all();
        changed.wait(lock, [&] { return released; });
        return 1000;
    };
    StartServer(settings);

    int status = -1;
    std::thread request([&] {
        const auto answer = Client->Get(Target(ScoreSubmissionUrl(Base(), kVanya)));
        status = answer ? answer->status : -1;
    });
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return entered; });
    }
    Server->BeginStop();
    // No new connections once stopping has begun.
    httplib::Client late("127.0.0.1", Port);
    late.set_connection_timeout(2);
    EXPECT_FALSE(late.Get("/api/scores"));
    {
        std::lock_guard lock(mutex);
        released = true;
    }
    changed.notify_all();
    request.join();
    Server.reset();

    EXPECT_EQ(status, 200);
    ASSERT_EQ(Store->Best(100).size(), 1u);
    EXPECT_EQ(Store->Best(100)[0].Name, "Ваня");
}

// A connection must send a whole request head within the deadline of its opening or its last
// answer, however steadily it trickles; stopping closes every connection not being answered.
TEST_F(ScoreServerTest, SlowAndIdleConnectionsAreClosed) {
    TScoreServerSettings settings;
    settings.HeadSeconds = 1;
    StartServer(settings);
    testing::TRawHttpConnection trickling(Port), idleAfterAnswer(Port), silent(Port);
    ASSERT_TRUE(idleAfterAnswer.Send(testing::GetRequest("/api/scores")));
    ASSERT_EQ(idleAfterAnswer.ReadAnswers(1, 5).size(), 1u);
    trickling.Send("GET /api/scores HTTP/1.1\r\n");
    bool trickleCut = false;
    for (int i = 0; i < 40 && !trickleCut; ++i) {
        trickleCut = !trickling.Send("X-Slow: 1\r\n") || trickling.ClosedWithin(0.1);
    }
    EXPECT_TRUE(trickleCut) << "a head trickled for 4 s";
    EXPECT_TRUE(idleAfterAnswer.ClosedWithin(3));
    EXPECT_TRUE(silent.ClosedWithin(3));

    TScoreServerSettings patient;
    patient.HeadSeconds = 60;
    StopServer();
    StartServer(patient);
    testing::TRawHttpConnection waiting(Port), halfway(Port);
    halfway.Send("GET /api/scores HTTP/1.1\r\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto start = std::chrono::steady_clock::now();
    StopServer();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_TRUE(waiting.ClosedWithin(1));
    EXPECT_TRUE(halfway.ClosedWithin(1));
}

TEST_F(ScoreServerTest, OneLogLinePerRequest) {
    StartServer();
    Submit(kVanya);
    Status("/cgi/version.pl?hs&prg=Quillon&inf=I");
    Status("/api/scores");
    StopServer();
    // A line is written once its answer has gone out, so the order of the three may vary.
    ASSERT_EQ(LogLines.size(), 3u);
    auto count = [&](const std::string& part) {
        return std::count_if(LogLines.begin(), LogLines.end(),
                             [&](const std::string& line) { return line.find(part) != std::string::npos; });
    };
    EXPECT_EQ(count(" 127.0.0.1 GET /cgi/version.pl?hs&prg=Quillon&inf="), 2);
    EXPECT_EQ(count("&inf=I 400 "), 1);
    EXPECT_EQ(count(" 127.0.0.1 GET /api/scores 200 "), 1);
    for (const std::string& line : LogLines) EXPECT_EQ(line.find('\n'), std::string::npos);
}

}  // namespace
}  // namespace quillon::server
