// What only the PostgreSQL store has: a slow database holds a bounded queue of requests, and
// the rest are turned away at once instead of piling up.
#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <chrono>
#include <thread>

#include "server/PostgresScoreStore.h"
#include "support/TestDatabase.h"

namespace quillon::server {
namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(PostgresStore, ASlowDatabaseHoldsABoundedQueue) {
    testing::TTestDatabase db(testing::TStoreKind::Postgres);
    if (!db.Missing.empty()) GTEST_SKIP() << db.Missing;
    TPostgresLimits limits;
    limits.Connections = 1;
    limits.MaxWaiting = 1;
    limits.WaitSeconds = 2;
    limits.StatementSeconds = 1;
    TPostgresScoreStore store(db.Database, limits);

    // Another client holds the table: the store's statements wait for it.
    PGconn* holder = PQconnectdb(db.Database.c_str());
    PQclear(PQexec(holder, "BEGIN"));
    PQclear(PQexec(holder, "LOCK TABLE scores IN ACCESS EXCLUSIVE MODE"));

    bool stuckFailed = false;
    std::thread stuck([&] {
        try {
            store.Add({"stuck", 1, ""}, 1000, "a");
        } catch (const EScoreStoreError&) {
            stuckFailed = true;  // the statement's own time limit
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::thread waiting([&] {
        try {
            store.Best(10);
        } catch (const EScoreStoreError&) {
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(store.Add({"beyond", 2, ""}, 1000, "a"), EScoreStoreError);
    EXPECT_LT(SecondsSince(start), 0.5) << "turned away at once, not queued";

    stuck.join();
    waiting.join();
    EXPECT_TRUE(stuckFailed);
    PQclear(PQexec(holder, "COMMIT"));
    PQfinish(holder);
    EXPECT_EQ(store.Add({"later", 3, ""}, 1000, "a"), TScoreStore::TAddResult::Stored);
    ASSERT_EQ(store.Best(10).size(), 1u) << "nothing that failed was stored";
}

}  // namespace
}  // namespace quillon::server
