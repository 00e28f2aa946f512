// The world table's storage: order, filter, repeats (also from two instances at once), the
// replays kept beside the rows and their verification, and tables of versions 1 and 2 brought up to
// date, on both kinds of store; WAL mode, reopening, a small log and bad files of the SQLite one.
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "server/SqliteScoreStore.h"
#include "support/HeadlessRun.h"
#include "support/TestDatabase.h"

namespace quillon::server {
namespace {

namespace fs = std::filesystem;

class ScoreStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = testing::MakeTempDir("scores");
        File = Dir + "/scores.db";
    }
    void TearDown() override { fs::remove_all(Dir); }

    std::string Dir;
    std::string File;
};

std::vector<std::string> Names(const std::vector<TScoreRow>& rows) {
    std::vector<std::string> names;
    for (const TScoreRow& row : rows) names.push_back(row.Name);
    return names;
}

// The same behaviour from both kinds of store, each case on a database of its own.
struct TStoreCase {
    const char* Name;
    void (*Check)(TScoreStore& store, const std::string& database);
};

void BestFirstEarlierOfEqualScoresFirstFilteredByCountry(TScoreStore& store, const std::string& /*database*/) {
    const TSubmission entries[] = {
        {"c", 300, "Латвия"}, {"a", 500, "Россия"}, {"b", 300, "Россия"}, {"d", -1, ""}, {"e", 900, "Россия"},
    };
    std::int64_t time = 1000;
    for (const TSubmission& entry : entries)
        EXPECT_EQ(store.Add(entry, time += 100, "10.0.0.1"), TScoreStore::TAddResult::Stored);

    EXPECT_EQ(Names(store.Best(100)), (std::vector<std::string>{"e", "a", "c", "b", "d"}));
    EXPECT_EQ(Names(store.Best(2)), (std::vector<std::string>{"e", "a"}));
    EXPECT_EQ(Names(store.Best(100, "Россия")), (std::vector<std::string>{"e", "a", "b"}));
    EXPECT_TRUE(store.Best(100, "Эстония").empty());
    EXPECT_EQ(store.Countries(10), (std::vector<std::string>{"Россия", "Латвия"}));
    EXPECT_EQ(store.Countries(1), (std::vector<std::string>{"Россия"}));

    const TScoreRow top = store.Best(1).at(0);
    EXPECT_EQ(top.Score, 900);
    EXPECT_EQ(top.Country, "Россия");
    EXPECT_EQ(top.Time, 1500);
}

void TheSameSubmissionWithinAMinuteIsStoredOnce(TScoreStore& store, const std::string& /*database*/) {
    const TSubmission entry{"Ваня", 1234, "Россия"};
    struct Step {
        const char* what;
        TSubmission submission;
        std::int64_t time;
        const char* address;
        TScoreStore::TAddResult result;
    } steps[] = {
        {"first", entry, 1000, "10.0.0.1", TScoreStore::TAddResult::Stored},
        {"again at once", entry, 1000, "10.0.0.1", TScoreStore::TAddResult::Repeated},
        {"again from another address", entry, 1030, "10.0.0.2", TScoreStore::TAddResult::Repeated},
        {"59 seconds later", entry, 1059, "10.0.0.1", TScoreStore::TAddResult::Repeated},
        {"another score", {"Ваня", 1235, "Россия"}, 1059, "10.0.0.1", TScoreStore::TAddResult::Stored},
        {"another name", {"Петя", 1234, "Россия"}, 1059, "10.0.0.1", TScoreStore::TAddResult::Stored},
        {"another country", {"Ваня", 1234, ""}, 1059, "10.0.0.1", TScoreStore::TAddResult::Stored},
        {"a minute after the first", entry, 1060, "10.0.0.1", TScoreStore::TAddResult::Stored},
    };
    for (const Step& s : steps) EXPECT_EQ(store.Add(s.submission, s.time, s.address), s.result) << s.what;
    EXPECT_EQ(store.Best(100).size(), 5u);
}

void TextIsStoredAsDataNeverAsSql(TScoreStore& store, const std::string& /*database*/) {
    const TSubmission odd{"'); DROP TABLE scores; --", 1, "\"x\" OR 1=1"};
    store.Add(odd, 1, "::1");
    const auto rows = store.Best(10, "\"x\" OR 1=1");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Name, odd.Name);
    EXPECT_TRUE(store.Best(10, "' OR '1'='1").empty());
}

// Two instances on one database given the same submission at the same moment store it once.
void TheSameSubmissionFromTwoInstancesAtOnceIsStoredOnce(TScoreStore& store, const std::string& database) {
    auto other = OpenScoreStore(database);
    for (int round = 0; round < 20; ++round) {
        const TSubmission entry{"racer" + std::to_string(round), round, "Россия"};
        std::atomic<int> stored = 0;
        std::thread first([&] { stored += store.Add(entry, 1000, "10.0.0.1") == TScoreStore::TAddResult::Stored; });
        std::thread second([&] { stored += other->Add(entry, 1000, "10.0.0.2") == TScoreStore::TAddResult::Stored; });
        first.join();
        second.join();
        EXPECT_EQ(stored, 1) << round;
    }
    EXPECT_EQ(store.Best(100).size(), 20u);
    EXPECT_EQ(other->Best(100).size(), 20u);
}

// What one server stored, another opened later on the same database (after a restart, or
// another instance) reads and takes as a repeat.
void RowsAreSharedByEveryOpening(TScoreStore& store, const std::string& database) {
    for (int i = 0; i < 5; ++i) store.Add({"p" + std::to_string(i), i, ""}, 1000, "a");
    const auto again = OpenScoreStore(database);
    EXPECT_EQ(Names(again->Best(100)), (std::vector<std::string>{"p4", "p3", "p2", "p1", "p0"}));
    EXPECT_EQ(again->Add({"p0", 0, ""}, 1010, "a"), TScoreStore::TAddResult::Repeated);
}

// Every byte value, and more than one page of the database.
std::string BinaryReplay(int seed) {
    std::string bytes;
    for (int i = 0; i < 70000; ++i) bytes += static_cast<char>((i * 7 + seed) & 255);
    return bytes;
}

// A replay as the server hands it over: its race known by its bytes here, sent from `from`.
TReplayUpload StoreUpload(const std::string& bytes, const std::string& from = "10.0.0.1") {
    return {bytes, "race:" + std::to_string(std::hash<std::string>{}(bytes)), from, ""};
}

const TQueueLimits kTenQueued{10, 10};

void AReplayQueuesForARecentRowOnceAndIsVerified(TScoreStore& store, const std::string& /*database*/) {
    const TSubmission entry{"Ваня", 1234, "Россия"};
    store.Add(entry, 1000, "10.0.0.1");
    store.Add({"Петя", 99, ""}, 1000, "10.0.0.1");
    const std::string replay = BinaryReplay(1);
    using R = TScoreStore::TAttachResult;
    struct Step {
        const char* what;
        TSubmission entry;
        std::int64_t now;
        R result;
    } steps[] = {
        {"another name", {"Вася", 1234, "Россия"}, 1010, R::NoSuchRow},
        {"another score", {"Ваня", 1235, "Россия"}, 1010, R::NoSuchRow},
        {"another country", {"Ваня", 1234, ""}, 1010, R::NoSuchRow},
        {"ten minutes after the row", entry, 1000 + kReplayWindowSeconds, R::NoSuchRow},
        {"within ten minutes", entry, 999 + kReplayWindowSeconds, R::Queued},
        {"a second replay", entry, 1010, R::AlreadyHasReplay},
    };
    for (const Step& s : steps)
        EXPECT_EQ(store.AttachReplay(s.entry, StoreUpload(replay), s.now, kTenQueued), s.result) << s.what;

    const std::vector<TQueuedReplay> taken = store.TakeQueued(5, 2000, 100);
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].Score, 1234);
    EXPECT_EQ(taken[0].Name, "Ваня");
    EXPECT_TRUE(taken[0].Replay == replay) << "the bytes come back as they went in";
    EXPECT_TRUE(store.TakeQueued(5, 2099, 100).empty()) << "taken by another worker until its lease ends";
    EXPECT_EQ(store.TakeQueued(5, 2100, 100).size(), 1u) << "a lease that ran out: the row is taken again";
    store.Requeue(taken[0].Id);
    EXPECT_EQ(store.TakeQueued(5, 2101, 100).size(), 1u) << "given back: taken again at once";
    store.Requeue(taken[0].Id, 2300);
    EXPECT_TRUE(store.TakeQueued(5, 2299, 100).empty()) << "given back for later: not before its time";
    EXPECT_EQ(store.TakeQueued(5, 2300, 100).size(), 1u);
    EXPECT_EQ(store.Verification(taken[0].Id).State, TReplayState::Queued);
    EXPECT_FALSE(store.VerifiedReplay(taken[0].Id)) << "not downloadable before it is verified";

    store.MarkVerified(taken[0].Id);
    EXPECT_EQ(store.Verification(taken[0].Id).State, TReplayState::Verified);
    EXPECT_TRUE(store.VerifiedReplay(taken[0].Id) == replay);
    EXPECT_TRUE(store.TakeQueued(5, 9000, 100).empty());
    EXPECT_EQ(store.AttachReplay(entry, StoreUpload(replay), 1020, kTenQueued), R::AlreadyVerified);

    const std::vector<TScoreRow> all = store.Best(10);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_TRUE(all[0].Verified);
    EXPECT_EQ(all[0].Id, taken[0].Id);
    EXPECT_FALSE(all[1].Verified);
    EXPECT_NE(all[1].Id, all[0].Id);
    EXPECT_EQ(Names(store.Best(10, {}, true)), (std::vector<std::string>{"Ваня"}));
    EXPECT_EQ(Names(store.Best(10, "Россия", true)), (std::vector<std::string>{"Ваня"}));
    EXPECT_TRUE(store.Best(10, "", true).size() == 1 && store.Best(10, "Латвия", true).empty());
}

void AFailedReplayKeepsItsReasonAndTheQueueIsBounded(TScoreStore& store, const std::string& /*database*/) {
    for (int i = 0; i < 3; ++i) store.Add({"p" + std::to_string(i), i, ""}, 1000, "a");
    using R = TScoreStore::TAttachResult;
    const TQueueLimits two{2, 2};
    EXPECT_EQ(store.AttachReplay({"p0", 0, ""}, StoreUpload("zero", "a"), 1001, two), R::Queued);
    EXPECT_EQ(store.AttachReplay({"p1", 1, ""}, StoreUpload("one", "a"), 1001, two), R::Queued);
    EXPECT_EQ(store.AttachReplay({"p2", 2, ""}, StoreUpload("two", "a"), 1001, {2, 5}), R::QueueFull);

    const std::vector<TQueuedReplay> taken = store.TakeQueued(1, 1002, 60);
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].Replay, "zero") << "oldest first";
    store.MarkFailed(taken[0].Id, "the replay diverged at frame 12");
    const TVerification failed = store.Verification(taken[0].Id);
    EXPECT_EQ(failed.State, TReplayState::Failed);
    EXPECT_EQ(failed.Reason, "the replay diverged at frame 12");
    EXPECT_FALSE(store.VerifiedReplay(taken[0].Id));
    store.MarkVerified(taken[0].Id);
    EXPECT_EQ(store.Verification(taken[0].Id).State, TReplayState::Failed) << "a failed row stays failed";
    EXPECT_EQ(store.AttachReplay({"p2", 2, ""}, StoreUpload("two", "a"), 1003, two), R::Queued) << "room in the queue again";
    EXPECT_TRUE(store.Best(10, {}, true).empty());
    EXPECT_EQ(store.Verification(123456).State, TReplayState::None) << "no such row";
}

// Who may attach what: only the row's sender (an IPv6 sender by its /64), one race for one
// row, a few waiting replays per sender; a stranger changes nothing, the owner may try again
// after a failure.
void OnlyTheSenderAttachesAndOneRaceProvesOneRow(TScoreStore& store, const std::string& /*database*/) {
    store.Add({"Ваня", 100, ""}, 1000, "10.0.0.1");
    store.Add({"Петя", 100, ""}, 1000, "2001:db8:1:2::5");
    store.Add({"Петя", 200, ""}, 1000, "2001:db8:1:2::5");
    for (int i = 0; i < 3; ++i) store.Add({"busy" + std::to_string(i), i, ""}, 1000, "10.0.0.9");
    using R = TScoreStore::TAttachResult;
    const TQueueLimits limits{10, 2};
    TReplayUpload refused = StoreUpload("garbage", "10.0.0.1");
    refused.Fault = "the replay: not a replay file";
    struct Step {
        const char* what;
        TSubmission entry;
        TReplayUpload upload;
        R result;
    } steps[] = {
        {"a stranger's replay", {"Ваня", 100, ""}, StoreUpload("mine", "10.0.0.2"), R::NotOwner},
        {"a stranger's garbage", {"Ваня", 100, ""}, StoreUpload("junk", "10.0.0.2"), R::NotOwner},
        {"the sender's unreadable replay", {"Ваня", 100, ""}, refused, R::Refused},
        {"the sender's", {"Ваня", 100, ""}, StoreUpload("mine", "10.0.0.1"), R::Queued},
        {"another address of the sender's /64", {"Петя", 100, ""}, StoreUpload("his", "2001:db8:1:2::/64"), R::Queued},
        {"the same race for another row", {"Петя", 200, ""}, StoreUpload("his", "2001:db8:1:2::/64"), R::RaceUsed},
        {"another /64", {"Петя", 200, ""}, StoreUpload("other", "2001:db8:1:3::/64"), R::NotOwner},
        {"a first of a busy sender", {"busy0", 0, ""}, StoreUpload("b0", "10.0.0.9"), R::Queued},
        {"a second", {"busy1", 1, ""}, StoreUpload("b1", "10.0.0.9"), R::Queued},
        {"a third while two wait", {"busy2", 2, ""}, StoreUpload("b2", "10.0.0.9"), R::AddressBusy},
    };
    for (const Step& s : steps) EXPECT_EQ(store.AttachReplay(s.entry, s.upload, 1010, limits), s.result) << s.what;

    // The owner's replay fails; the owner may send another while the row is young, a stranger never.
    std::vector<TQueuedReplay> taken = store.TakeQueued(1, 1020, 60);
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].Replay, "mine");
    store.MarkFailed(taken[0].Id, "the replay diverged at frame 3");
    EXPECT_EQ(store.AttachReplay({"Ваня", 100, ""}, StoreUpload("again", "10.0.0.2"), 1030, limits), R::NotOwner);
    EXPECT_EQ(store.Verification(taken[0].Id).State, TReplayState::Failed) << "untouched by the stranger";
    EXPECT_EQ(store.AttachReplay({"Ваня", 100, ""}, StoreUpload("mine", "10.0.0.1"), 1030, limits), R::Queued)
        << "a failed race is no longer held";
    EXPECT_EQ(store.Verification(taken[0].Id).State, TReplayState::Queued);
    store.MarkVerified(store.TakeQueued(1, 1040, 60).at(0).Id);
    EXPECT_EQ(store.AttachReplay({"Ваня", 100, ""}, StoreUpload("more", "10.0.0.1"), 1050, limits),
              R::AlreadyVerified);
}

const TStoreCase kStoreCases[] = {
    {"BestFirstEarlierOfEqualScoresFirstFilteredByCountry", BestFirstEarlierOfEqualScoresFirstFilteredByCountry},
    {"TheSameSubmissionWithinAMinuteIsStoredOnce", TheSameSubmissionWithinAMinuteIsStoredOnce},
    {"TextIsStoredAsDataNeverAsSql", TextIsStoredAsDataNeverAsSql},
    {"TheSameSubmissionFromTwoInstancesAtOnceIsStoredOnce", TheSameSubmissionFromTwoInstancesAtOnceIsStoredOnce},
    {"RowsAreSharedByEveryOpening", RowsAreSharedByEveryOpening},
    {"AReplayQueuesForARecentRowOnceAndIsVerified", AReplayQueuesForARecentRowOnceAndIsVerified},
    {"AFailedReplayKeepsItsReasonAndTheQueueIsBounded", AFailedReplayKeepsItsReasonAndTheQueueIsBounded},
    {"OnlyTheSenderAttachesAndOneRaceProvesOneRow", OnlyTheSenderAttachesAndOneRaceProvesOneRow},
};

class BothStoresTest : public ::testing::TestWithParam<testing::TStoreKind> {};

TEST_P(BothStoresTest, EveryStoreCase) {
    testing::TTestDatabase db(GetParam());
    if (!db.Missing.empty()) GTEST_SKIP() << db.Missing;
    int number = 0;
    for (const TStoreCase& c : kStoreCases) {
        SCOPED_TRACE(c.Name);
        const std::string database = db.Fresh("case" + std::to_string(++number));
        auto store = OpenScoreStore(database);
        c.Check(*store, database);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, BothStoresTest,
                         ::testing::Values(testing::TStoreKind::Sqlite, testing::TStoreKind::Postgres),
                         [](const auto& info) { return testing::StoreKindName(info.param); });

// The table as the first servers wrote it, with one row; KEY_TYPE is each kind's own key.
const char* const kVersionOneTable[] = {
    "CREATE TABLE schema_version (version INTEGER NOT NULL)",
    "CREATE TABLE scores (id KEY_TYPE PRIMARY KEY, name TEXT NOT NULL, score INTEGER NOT NULL,"
    " country TEXT NOT NULL, time BIGINT NOT NULL, address TEXT NOT NULL)",
    "INSERT INTO schema_version (version) VALUES (1)",
    "INSERT INTO scores (id, name, score, country, time, address) VALUES (7, 'old', 500, 'Россия', 1000, 'a')",
};

std::string WithKeyType(std::string sql, const std::string& type) {
    if (const std::size_t at = sql.find("KEY_TYPE"); at != std::string::npos) sql.replace(at, 8, type);
    return sql;
}

void WriteVersionOneTable(testing::TStoreKind kind, const std::string& database) {
    if (kind == testing::TStoreKind::Sqlite) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(database.c_str(), &db), SQLITE_OK);
        for (const char* sql : kVersionOneTable)
            EXPECT_EQ(sqlite3_exec(db, WithKeyType(sql, "INTEGER").c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
                << sql;
        sqlite3_close(db);
        return;
    }
    PGconn* db = PQconnectdb(database.c_str());
    ASSERT_EQ(PQstatus(db), CONNECTION_OK);
    for (const char* sql : kVersionOneTable) {
        PGresult* result = PQexec(db, WithKeyType(sql, "bigserial").c_str());
        EXPECT_EQ(PQresultStatus(result), PGRES_COMMAND_OK) << sql << PQerrorMessage(db);
        PQclear(result);
    }
    PQfinish(db);
}

TEST_P(BothStoresTest, AVersionOneTableIsBroughtUpToDateWithItsRows) {
    testing::TTestDatabase db(GetParam());
    if (!db.Missing.empty()) GTEST_SKIP() << db.Missing;
    const std::string database = db.Fresh("old");
    WriteVersionOneTable(GetParam(), database);
    {
        auto store = OpenScoreStore(database);
        const auto rows = store->Best(10);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].Name, "old");
        EXPECT_EQ(rows[0].Id, 7);
        EXPECT_FALSE(rows[0].Verified);
        store->Add({"new", 600, ""}, 2000, "a");
        EXPECT_EQ(store->AttachReplay({"new", 600, ""}, StoreUpload("bytes", "a"), 2001, kTenQueued),
                  TScoreStore::TAttachResult::Queued);
    }
    auto again = OpenScoreStore(database);  // already up to date: opened as it is
    EXPECT_EQ(again->Best(10).size(), 2u);
    EXPECT_EQ(again->TakeQueued(10, 2002, 60).size(), 1u);
}

// The table as the servers of schema version 2 left it; KEY_TYPE and BLOB_TYPE are each kind's own.
const char* const kVersionTwoTable[] = {
    "CREATE TABLE schema_version (version INTEGER NOT NULL)",
    "CREATE TABLE scores (id KEY_TYPE PRIMARY KEY, name TEXT NOT NULL, score INTEGER NOT NULL,"
    " country TEXT NOT NULL, time BIGINT NOT NULL, address TEXT NOT NULL, replay BLOB_TYPE,"
    " replay_state TEXT NOT NULL DEFAULT 'none', replay_reason TEXT NOT NULL DEFAULT '',"
    " replay_claim BIGINT NOT NULL DEFAULT 0)",
    "CREATE INDEX scores_by_score ON scores (score DESC, id)",
    "CREATE INDEX scores_by_country ON scores (country, score DESC, id)",
    "CREATE INDEX scores_by_entry ON scores (name, score, country, time)",
    "CREATE INDEX scores_queued ON scores (id) WHERE replay_state = 'queued'",
    "INSERT INTO schema_version (version) VALUES (1)",
    "INSERT INTO schema_version (version) VALUES (2)",
    // Three thousand rows of 37 countries with ever fewer rows (and some without a country), one
    // in fifty verified.
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000)"
    " INSERT INTO scores (name, score, country, time, address, replay_state)"
    " SELECT 'p' || i, (i * 7919) % 100000, CASE WHEN i % 11 = 0 THEN '' ELSE 'c' || ((i * i) % 37) END,"
    " 1000 + i, 'a', CASE WHEN i % 50 = 0 THEN 'verified' ELSE 'none' END FROM n",
};

std::string WithTypes(std::string sql, testing::TStoreKind kind) {
    const bool sqlite = kind == testing::TStoreKind::Sqlite;
    for (const auto& [from, to] : {std::pair{"KEY_TYPE", sqlite ? "INTEGER" : "bigserial"},
                                   std::pair{"BLOB_TYPE", sqlite ? "BLOB" : "bytea"}})
        if (const std::size_t at = sql.find(from); at != std::string::npos) sql.replace(at, std::strlen(from), to);
    return sql;
}

// The counts the store keeps against a count of every row, and its country list against them.
void ExpectCountsMatchAFullCount(const testing::TTestDatabase& db, const std::string& database, TScoreStore& store) {
    using TRows = std::vector<std::vector<std::string>>;
    TRows counted = db.Rows(database, "SELECT country, row_count FROM country_counts");
    TRows full = db.Rows(database, "SELECT country, count(*) FROM scores WHERE country <> '' GROUP BY country");
    std::sort(counted.begin(), counted.end());
    std::sort(full.begin(), full.end());
    EXPECT_EQ(counted, full);
    // Most rows first, then the names in byte order.
    std::sort(full.begin(), full.end(), [](const auto& a, const auto& b) {
        const long long left = std::stoll(a[1]), right = std::stoll(b[1]);
        return left != right ? left > right : a[0] < b[0];
    });
    std::vector<std::string> countries;
    for (const auto& row : full) countries.push_back(row[0]);
    EXPECT_EQ(store.Countries(1000), countries);
}

TEST_P(BothStoresTest, AVersionTwoTableGetsItsCountsAndTheyFollowEveryChange) {
    testing::TTestDatabase db(GetParam());
    if (!db.Missing.empty()) GTEST_SKIP() << db.Missing;
    const std::string database = db.Fresh("two");
    for (const char* sql : kVersionTwoTable) db.Rows(database, WithTypes(sql, GetParam()));
    auto store = OpenScoreStore(database);
    EXPECT_EQ(db.Rows(database, "SELECT max(version) FROM schema_version"),
              (std::vector<std::vector<std::string>>{{std::to_string(kScoreSchemaVersion)}}));
    ExpectCountsMatchAFullCount(db, database, *store);

    // The verified rows through their new indexes, against a walk of the whole table.
    for (const std::string country : {"", "c1", "c4"}) {
        std::vector<std::string> verified;
        for (const auto& row :
             db.Rows(database, "SELECT name FROM scores WHERE replay_state = 'verified' AND ('" + country +
                                   "' = '' OR country = '" + country + "') ORDER BY score DESC, id LIMIT 10"))
            verified.push_back(row[0]);
        EXPECT_FALSE(verified.empty());
        EXPECT_EQ(Names(store->Best(10, country, true)), verified) << country;
    }

    // The server's rows, and the operator's work by hand: cheats deleted, a country renamed.
    store->Add({"new", 5, "Россия"}, 9000, "a");
    store->Add({"again", 6, "c4"}, 9000, "a");
    store->Add({"nowhere", 7, ""}, 9000, "a");
    db.Rows(database, "DELETE FROM scores WHERE country = 'c3'");
    db.Rows(database, "DELETE FROM scores WHERE id % 7 = 0");
    db.Rows(database, "UPDATE scores SET country = 'c5' WHERE country = 'c4' AND id % 2 = 0");
    db.Rows(database, "UPDATE scores SET country = '' WHERE country = 'c6'");
    ExpectCountsMatchAFullCount(db, database, *store);
    const std::vector<std::string> countries = store->Countries(1000);
    EXPECT_EQ(std::count(countries.begin(), countries.end(), "c3"), 0);
    EXPECT_EQ(std::count(countries.begin(), countries.end(), "Россия"), 1);

    if (GetParam() == testing::TStoreKind::Postgres) {
        db.Rows(database, "TRUNCATE scores");
        EXPECT_TRUE(store->Countries(10).empty());
    } else {
        db.Rows(database, "DELETE FROM scores");
        EXPECT_TRUE(store->Countries(10).empty());
    }
}

// A database a newer server has changed is refused as it is: none of this server's steps run
// on it, not even the ones its version would seem to lack.
TEST_P(BothStoresTest, ADatabaseOfANewerServerIsRefusedAndLeftAlone) {
    testing::TTestDatabase db(GetParam());
    if (!db.Missing.empty()) GTEST_SKIP() << db.Missing;
    const std::string database = db.Fresh("newer");
    WriteVersionOneTable(GetParam(), database);
    const std::string newer = std::to_string(kScoreSchemaVersion + 1);
    db.Rows(database, "INSERT INTO schema_version (version) VALUES (" + newer + ")");
    try {
        OpenScoreStore(database);
        ADD_FAILURE() << "opened a database of a newer server";
    } catch (const EScoreStoreError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "the score database is of a newer server (schema version " + newer + ")");
    }
    EXPECT_EQ(db.Rows(database, "SELECT version FROM schema_version ORDER BY version"),
              (std::vector<std::vector<std::string>>{{"1"}, {newer}}));
    EXPECT_EQ(db.Rows(database, "SELECT name, score FROM scores"),
              (std::vector<std::vector<std::string>>{{"old", "500"}}));
    // The first step of version 2 would have added this column.
    const std::string replayColumn =
        GetParam() == testing::TStoreKind::Sqlite
            ? "SELECT count(*) FROM pragma_table_info('scores') WHERE name = 'replay'"
            : "SELECT count(*) FROM information_schema.columns WHERE table_name = 'scores' AND column_name = 'replay'";
    EXPECT_EQ(db.Rows(database, replayColumn), (std::vector<std::vector<std::string>>{{"0"}}));
}

TEST_F(ScoreStoreTest, RowsSurviveReopeningAndTheFileIsInWalMode) {
    {
        TSqliteScoreStore store(File);
        for (int i = 0; i < 20; ++i) store.Add({"p" + std::to_string(i), i, ""}, 1000, "a");
    }
    // Bytes 18 and 19 of an SQLite file are 2 when it uses write-ahead logging.
    std::ifstream in(File, std::ios::binary);
    char header[20] = {};
    in.read(header, sizeof header);
    EXPECT_EQ(header[18], 2);
    EXPECT_EQ(header[19], 2);

    TSqliteScoreStore again(File);
    const auto rows = again.Best(100);
    ASSERT_EQ(rows.size(), 20u);
    EXPECT_EQ(rows.front().Name, "p19");
    EXPECT_EQ(again.Add({"p0", 0, ""}, 1010, "a"), TScoreStore::TAddResult::Repeated);
}

// A small log is what lets a database on a disk that filled up work again once a little room
// is free: it must never need megabytes of its own.
TEST_F(ScoreStoreTest, TheWriteAheadLogStaysSmall) {
    TSqliteScoreStore store(File);
    std::uintmax_t largest = 0;
    for (int i = 0; i < 400; ++i) {
        store.Add({"player" + std::to_string(i), i, "Россия"}, 1000 + i, "127.0.0.1");
        if (i % 50 == 49) largest = std::max(largest, fs::file_size(File + "-wal"));
    }
    EXPECT_LT(largest, 1u << 20);
    EXPECT_EQ(store.Best(5).size(), 5u);
}

TEST_F(ScoreStoreTest, FilesThatCannotHoldTheTableAreRefused) {
    std::ofstream(Dir + "/junk.db") << std::string(4096, 'x');
    for (const std::string& bad : {Dir, Dir + "/missing/scores.db", Dir + "/junk.db"})
        EXPECT_THROW(TSqliteScoreStore store(bad), EScoreStoreError) << bad;
}

}  // namespace
}  // namespace quillon::server
