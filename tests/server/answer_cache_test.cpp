// The page's and the JSON's answers kept in memory: a new row shows at once on the instance
// that took it, on another instance within the time-out (or, on PostgreSQL, as soon as the first
// tells it), and queries with ever new countries cannot make the kept answers grow.
#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <utility>

#include "save/ScoreCodec.h"
#include "server/AnswerCache.h"
#include "server/ScoreStore.h"
#include "support/InProcessServer.h"
#include "support/TestDatabase.h"

namespace quillon::server {
namespace {

THttpAnswer KeptText(const std::string& text) {
    THttpAnswer answer;
    answer.Body = text;
    return answer;
}

TEST(AnswerCache, AnAnswerIsGivenAgainOnlyWhileTheTableStaysTheSameAndForASecond) {
    TAnswerCache cache(1.0, 8);
    cache.Keep("page", KeptText("kept"), 5, 100.0);
    struct {
        const char* what;
        std::uint64_t changes;
        double now;
        bool found;
    } const cases[] = {
        {"at once", 5, 100.0, true},
        {"just under a second later", 5, 100.999, true},
        {"a second later", 5, 101.0, false},
        {"after a change", 6, 100.1, false},
        {"a clock gone back", 5, 99.0, false},
    };
    for (const auto& c : cases) EXPECT_EQ(cache.Find("page", c.changes, c.now).has_value(), c.found) << c.what;
    EXPECT_EQ(cache.Find("page", 5, 100.5)->Body, "kept");
    EXPECT_FALSE(cache.Find("json", 5, 100.5)) << "another key";
    TAnswerCache never(0, 8);
    never.Keep("page", KeptText("kept"), 5, 100.0);
    EXPECT_FALSE(never.Find("page", 5, 100.0)) << "a time-out of 0 keeps nothing";
}

TEST(AnswerCache, NewKeysBeyondTheBoundAreNotKeptWhileTheOthersAreFresh) {
    TAnswerCache cache(1.0, 3);
    for (int i = 0; i < 100; ++i) cache.Keep("country" + std::to_string(i), KeptText("x"), 1, 10.0);
    int kept = 0;
    for (int i = 0; i < 100; ++i) kept += cache.Find("country" + std::to_string(i), 1, 10.0).has_value();
    EXPECT_EQ(kept, 3);
    cache.Keep("late", KeptText("y"), 1, 11.0);  // the others are old now and make room
    EXPECT_TRUE(cache.Find("late", 1, 11.0));
    cache.Keep("country0", KeptText("z"), 2, 11.0);  // a key kept already is renewed even when full
    EXPECT_EQ(cache.Find("country0", 2, 11.0)->Body, "z");
}

// A score server of its own on one store, whose steady clock the test moves.
struct TCachingInstance {
    TCachingInstance(TScoreStore& store, std::atomic<double>& clock) : Server(store, Settings(clock)) {}
    static TScoreServerSettings Settings(std::atomic<double>& clock) {
        TScoreServerSettings settings;
        settings.RatePerMinute = 0;
        settings.SteadyClock = [&clock] { return clock.load(); };
        return settings;
    }
    // Whether the page and the JSON both show the name; they must agree, since nothing else
    // changes the store while the test asks.
    bool Shows(const std::string& name) {
        const auto [onPage, inJson] = Look(name);
        EXPECT_EQ(onPage, inJson) << name;
        return onPage && inJson;
    }
    // Asks until both show the name or the time is up. Another instance's notice may arrive
    // between the two requests of one look, so a look may find it on one and not yet the other.
    bool ShowsWithin(const std::string& name, std::chrono::steady_clock::time_point deadline) {
        for (;;) {
            const auto [onPage, inJson] = Look(name);
            if (onPage && inJson) return true;
            if (std::chrono::steady_clock::now() >= deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    std::pair<bool, bool> Look(const std::string& name) {
        httplib::Client client("127.0.0.1", Server.Port);
        const auto page = client.Get("/cgi/version.pl?prg=Quillon&show&type=0");
        const auto json = client.Get("/api/scores?limit=10");
        EXPECT_TRUE(page && page->status == 200 && json && json->status == 200);
        return {page && page->body.find(">" + name + "<") != std::string::npos,
                json && json->body.find("\"" + name + "\"") != std::string::npos};
    }
    void Submit(const std::string& name) {
        httplib::Client client("127.0.0.1", Server.Port);
        const auto answer = client.Get("/cgi/version.pl?" + ScoreSubmissionQuery({name, 100, "Rossiya"}));
        ASSERT_TRUE(answer && answer->status == 200);
    }
    testing::TInProcessServer Server;
};

TEST(AnswerCache, ARowShowsAtOnceWhereItCameAndElsewhereWithinTheTimeOut) {
    testing::TTestDatabase db(testing::TStoreKind::Sqlite);
    auto store = OpenScoreStore(db.Database);
    auto behind = OpenScoreStore(db.Database);  // another program on the same file
    std::atomic<double> clock = 50;
    TCachingInstance here(*store, clock);
    ASSERT_GT(here.Server.Port, 0);

    EXPECT_FALSE(here.Shows("Pervy"));
    here.Submit("Pervy");
    EXPECT_TRUE(here.Shows("Pervy")) << "the instance that took the row shows it at once";

    behind->Add({"Tihy", 200, ""}, 1000, "a");
    EXPECT_FALSE(here.Shows("Tihy")) << "kept answers, built before the row came";
    clock = 50.99;
    EXPECT_FALSE(here.Shows("Tihy"));
    clock = 51.0;
    EXPECT_TRUE(here.Shows("Tihy")) << "a second later the answers are built again";
}

TEST(AnswerCache, PostgresInstancesTellEachOtherOfNewRows) {
    testing::TTestDatabase db(testing::TStoreKind::Postgres);
    if (!db.Missing.empty()) GTEST_SKIP() << db.Missing;
    auto first = OpenScoreStore(db.Database);
    auto second = OpenScoreStore(db.Database);
    std::atomic<double> clock = 50;  // stands still: no answer ever grows old
    TCachingInstance one(*first, clock), two(*second, clock);
    ASSERT_TRUE(one.Server.Port > 0 && two.Server.Port > 0);
    EXPECT_FALSE(one.Shows("Pervy"));
    EXPECT_FALSE(two.Shows("Pervy"));

    one.Submit("Pervy");
    EXPECT_TRUE(one.Shows("Pervy"));
    // Only the first instance's notice can tell the second: its clock stands still.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(two.ShowsWithin("Pervy", start + std::chrono::seconds(10))) << "the second instance never heard of the row";

    two.Submit("Vtoroy");
    EXPECT_TRUE(two.Shows("Vtoroy"));
    EXPECT_TRUE(one.ShowsWithin("Vtoroy", start + std::chrono::seconds(20))) << "and the other way round";
}

}  // namespace
}  // namespace quillon::server
