// The world table's SQLite storage.
#include "server/SqliteScoreStore.h"

#include <sqlite3.h>

#include <string_view>

#include "server/SchemaSteps.h"

namespace quillon::server {
namespace {

// Resets a kept statement when its use ends, however it ends.
class TStatementUse {
public:
    explicit TStatementUse(sqlite3_stmt* statement) : FStatement(statement) {}
    ~TStatementUse() {
        sqlite3_reset(FStatement);
        sqlite3_clear_bindings(FStatement);
    }
    TStatementUse(const TStatementUse&) = delete;
    TStatementUse& operator=(const TStatementUse&) = delete;

private:
    sqlite3_stmt* FStatement;
};

std::string ColumnText(sqlite3_stmt* statement, int column) {
    const unsigned char* text = sqlite3_column_text(statement, column);
    return text ? std::string(reinterpret_cast<const char*>(text),
                              static_cast<std::size_t>(sqlite3_column_bytes(statement, column)))
                : std::string();
}

void BindText(sqlite3_stmt* statement, int index, const std::string& text) {
    sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// Every statement of the store with the plan SQLite makes of it (EXPLAIN QUERY PLAN; the plan
// tests hold each one to it on a filled table). None reads more rows than it returns, except
// where said: the time of a page or of a submission does not grow with the table.

// SEARCH scores USING COVERING INDEX scores_by_entry (name=? AND score=? AND country=? AND time>?):
// the rows of one entry in the last minute.
constexpr TStoreQuery kFindRepeat{
    "find_repeat", "SELECT 1 FROM scores WHERE name = ?1 AND score = ?2 AND country = ?3 AND time > ?4 LIMIT 1"};
// No plan; the trigger scores_count_insert adds the row to its country's count in the same
// transaction (a search of country_counts by its key).
constexpr TStoreQuery kInsert{
    "insert", "INSERT INTO scores (name, score, country, time, address) VALUES (?1, ?2, ?3, ?4, ?5)"};
// SCAN scores USING INDEX scores_by_score: the index in order, stopping after `limit` rows.
constexpr TStoreQuery kBest{"best",
                            "SELECT name, score, country, time, id, replay_state = 'verified' FROM scores"
                            " ORDER BY score DESC, id LIMIT ?1"};
// SCAN scores USING INDEX scores_verified: the partial index holds only the verified rows, so
// the walk never passes over the others (INDEXED BY: the plan never falls back to
// scores_by_score, which would walk every unverified row above the verified ones).
constexpr TStoreQuery kBestVerified{"best_verified",
                                    "SELECT name, score, country, time, id, 1 FROM scores INDEXED BY scores_verified"
                                    " WHERE replay_state = 'verified' ORDER BY score DESC, id LIMIT ?1"};
// SEARCH scores USING INDEX scores_by_country (country=?): one country's rows in order.
constexpr TStoreQuery kBestInCountry{"best_in_country",
                                     "SELECT name, score, country, time, id, replay_state = 'verified' FROM scores"
                                     " WHERE country = ?2 ORDER BY score DESC, id LIMIT ?1"};
// SEARCH scores USING INDEX scores_verified_by_country (country=?): one country's verified rows.
constexpr TStoreQuery kBestInCountryVerified{
    "best_in_country_verified",
    "SELECT name, score, country, time, id, 1 FROM scores INDEXED BY scores_verified_by_country"
    " WHERE country = ?2 AND replay_state = 'verified' ORDER BY score DESC, id LIMIT ?1"};
// SCAN country_counts USING COVERING INDEX country_counts_by_rows: the counts kept by the
// triggers, most rows first, stopping after `limit` countries; the scores are never read.
constexpr TStoreQuery kCountries{"countries",
                                 "SELECT country FROM country_counts ORDER BY row_count DESC, country LIMIT ?1"};
// SEARCH scores USING INDEX scores_by_entry (name=? AND score=? AND country=? AND time>?), then
// USE TEMP B-TREE FOR ORDER BY over that entry's rows of the last ten minutes only.
constexpr TStoreQuery kFindForReplay{
    "find_for_replay",
    "SELECT id, replay_state, address FROM scores WHERE name = ?1 AND score = ?2 AND country = ?3 AND time > ?4"
    " ORDER BY id DESC LIMIT 16"};
// SEARCH scores USING COVERING INDEX scores_by_race (replay_key=?).
constexpr TStoreQuery kFindRace{"find_race", "SELECT 1 FROM scores WHERE replay_key = ?1 LIMIT 1"};
// SCAN scores USING INDEX scores_queued: the queued rows only (at most the queue's bound).
constexpr TStoreQuery kCountQueued{
    "count_queued", "SELECT count(*), coalesce(sum(replay_from = ?1), 0) FROM scores WHERE replay_state = 'queued'"};
// SEARCH scores USING INTEGER PRIMARY KEY (rowid=?), as every statement by id below.
constexpr TStoreQuery kQueue{"queue",
                             "UPDATE scores SET replay = ?2, replay_state = 'queued', replay_reason = '', replay_claim = 0,"
                             " replay_key = ?3, replay_from = ?4 WHERE id = ?1"};
// SCAN scores USING INDEX scores_queued: the queued rows, oldest first.
constexpr TStoreQuery kFindQueued{"find_queued",
                                  "SELECT id, score, replay, name FROM scores WHERE replay_state = 'queued'"
                                  " AND replay_claim <= ?1 ORDER BY id LIMIT ?2"};
constexpr TStoreQuery kClaim{"claim", "UPDATE scores SET replay_claim = ?2 WHERE id = ?1"};
constexpr TStoreQuery kRequeue{"requeue",
                               "UPDATE scores SET replay_claim = ?2 WHERE id = ?1 AND replay_state = 'queued'"};
constexpr TStoreQuery kMarkVerified{
    "mark_verified",
    "UPDATE scores SET replay_state = 'verified', replay_reason = '' WHERE id = ?1 AND replay_state = 'queued'"};
constexpr TStoreQuery kMarkFailed{"mark_failed",
                                  "UPDATE scores SET replay_state = 'failed', replay_reason = ?2, replay = NULL,"
                                  " replay_key = NULL WHERE id = ?1 AND replay_state = 'queued'"};
constexpr TStoreQuery kReadVerification{"read_verification",
                                        "SELECT replay_state, replay_reason FROM scores WHERE id = ?1"};
constexpr TStoreQuery kReadReplay{"read_replay",
                                  "SELECT replay FROM scores WHERE id = ?1 AND replay_state = 'verified'"};

constexpr TStoreQuery kQueries[] = {kFindRepeat,    kInsert,           kBest,         kBestVerified,
                                    kBestInCountry, kBestInCountryVerified, kCountries, kFindForReplay, kFindRace,
                                    kCountQueued,   kQueue,            kFindQueued,   kClaim,
                                    kRequeue,       kMarkVerified,     kMarkFailed,   kReadVerification,
                                    kReadReplay};

}  // namespace

std::span<const TStoreQuery> SqliteStoreQueries() { return kQueries; }

TSqliteScoreStore::TSqliteScoreStore(const std::string& file) {
    if (sqlite3_open_v2(file.c_str(), &FDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        const std::string message = "cannot open the score database " + file + ": " +
                                    (FDb ? sqlite3_errmsg(FDb) : "out of memory");
        sqlite3_close(FDb);
        FDb = nullptr;
        throw EScoreStoreError(message);
    }
    try {
        sqlite3_busy_timeout(FDb, 5000);
        sqlite3_stmt* mode = Prepare("PRAGMA journal_mode=WAL");
        const bool wal = sqlite3_step(mode) == SQLITE_ROW && ColumnText(mode, 0) == "wal";
        sqlite3_finalize(mode);
        if (!wal) throw EScoreStoreError("the score database cannot use WAL mode: " + file);
        // FULL: a commit is synced before the submission is acknowledged.
        Exec("PRAGMA synchronous=FULL");
        // Checkpoint every 64 pages and cut the log back to 256 KiB after it: the log stays
        // small, so a disk that filled up takes submissions again once a little room is free.
        Exec("PRAGMA wal_autocheckpoint=64");
        Exec("PRAGMA journal_size_limit=262144");
        MigrateSchema();
        FFindRepeat = Prepare(kFindRepeat.Sql);
        FInsert = Prepare(kInsert.Sql);
        FBest = Prepare(kBest.Sql);
        FBestVerified = Prepare(kBestVerified.Sql);
        FBestInCountry = Prepare(kBestInCountry.Sql);
        FBestInCountryVerified = Prepare(kBestInCountryVerified.Sql);
        FCountries = Prepare(kCountries.Sql);
        FFindForReplay = Prepare(kFindForReplay.Sql);
        FFindRace = Prepare(kFindRace.Sql);
        FCountQueued = Prepare(kCountQueued.Sql);
        FQueue = Prepare(kQueue.Sql);
        FFindQueued = Prepare(kFindQueued.Sql);
        FClaim = Prepare(kClaim.Sql);
        FRequeue = Prepare(kRequeue.Sql);
        FMarkVerified = Prepare(kMarkVerified.Sql);
        FMarkFailed = Prepare(kMarkFailed.Sql);
        FReadVerification = Prepare(kReadVerification.Sql);
        FReadReplay = Prepare(kReadReplay.Sql);
        FBegin = Prepare("BEGIN IMMEDIATE");
        FCommit = Prepare("COMMIT");
        FRollback = Prepare("ROLLBACK");
    } catch (...) {
        Close();
        throw;
    }
}

TSqliteScoreStore::~TSqliteScoreStore() { Close(); }

void TSqliteScoreStore::Close() {
    for (sqlite3_stmt** statement :
         {&FFindRepeat, &FInsert, &FBest, &FBestVerified, &FBestInCountry, &FBestInCountryVerified, &FCountries, &FFindForReplay, &FFindRace, &FCountQueued, &FQueue,
          &FFindQueued, &FClaim, &FRequeue, &FMarkVerified, &FMarkFailed, &FReadVerification, &FReadReplay, &FBegin,
          &FCommit, &FRollback}) {
        sqlite3_finalize(*statement);
        *statement = nullptr;
    }
    sqlite3_close(FDb);
    FDb = nullptr;
}

sqlite3_stmt* TSqliteScoreStore::Prepare(const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(FDb, sql, -1, &statement, nullptr) != SQLITE_OK) Fail("prepare");
    return statement;
}

void TSqliteScoreStore::Exec(const char* sql) {
    sqlite3_stmt* statement = Prepare(sql);
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE) Fail(sql);
}

// The steps of SchemaSteps.h after the file's version, all in one transaction.
void TSqliteScoreStore::MigrateSchema() {
    Exec("BEGIN IMMEDIATE");
    try {
        Exec(SchemaVersionTableSql(TSchemaDialect::Sqlite));
        sqlite3_stmt* read = Prepare(kReadSchemaVersionSql);
        const int rc = sqlite3_step(read);
        const int version = rc == SQLITE_ROW ? sqlite3_column_int(read, 0) : 0;
        sqlite3_finalize(read);
        if (rc != SQLITE_ROW) Fail("read the schema version");
        BringSchemaUpToDate(version, TSchemaDialect::Sqlite, [this](const char* sql) { Exec(sql); });
        Exec("COMMIT");
    } catch (...) {
        if (!sqlite3_get_autocommit(FDb)) sqlite3_exec(FDb, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void TSqliteScoreStore::Fail(const char* what) {
    throw EScoreStoreError(std::string("score database: ") + what + ": " + sqlite3_errmsg(FDb));
}

TScoreStore::TAddResult TSqliteScoreStore::Add(const TSubmission& submission, std::int64_t time,
                                         const std::string& address) {
    std::lock_guard lock(FMutex);
    Begin();
    try {
        bool repeated;
        {
            TStatementUse use(FFindRepeat);
            BindText(FFindRepeat, 1, submission.Name);
            sqlite3_bind_int(FFindRepeat, 2, submission.Score);
            BindText(FFindRepeat, 3, submission.Country);
            sqlite3_bind_int64(FFindRepeat, 4, time - kRepeatWindowSeconds);
            const int rc = sqlite3_step(FFindRepeat);
            if (rc != SQLITE_ROW && rc != SQLITE_DONE) Fail("find repeat");
            repeated = rc == SQLITE_ROW;
        }
        if (!repeated)
            Step(FInsert, "insert", [&](sqlite3_stmt* s) {
                BindText(s, 1, submission.Name);
                sqlite3_bind_int(s, 2, submission.Score);
                BindText(s, 3, submission.Country);
                sqlite3_bind_int64(s, 4, time);
                BindText(s, 5, address);
            });
        Commit();
        if (repeated) return TAddResult::Repeated;
        ++FChanges;
        return TAddResult::Stored;
    } catch (...) {
        RollbackIfOpen();
        throw;
    }
}

std::vector<TScoreRow> TSqliteScoreStore::Best(std::size_t limit, const std::string& country, bool verifiedOnly) {
    std::lock_guard lock(FMutex);
    // One statement for each filter: a statement that took the filter as a value would have one
    // plan for all four, and the partial indexes would serve none.
    sqlite3_stmt* statement = country.empty() ? (verifiedOnly ? FBestVerified : FBest)
                                              : (verifiedOnly ? FBestInCountryVerified : FBestInCountry);
    TStatementUse use(statement);
    sqlite3_bind_int64(statement, 1, static_cast<sqlite3_int64>(limit));
    if (!country.empty()) BindText(statement, 2, country);
    std::vector<TScoreRow> rows;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        rows.push_back({ColumnText(statement, 0), sqlite3_column_int(statement, 1), ColumnText(statement, 2),
                        sqlite3_column_int64(statement, 3), sqlite3_column_int64(statement, 4),
                        sqlite3_column_int(statement, 5) != 0});
    if (rc != SQLITE_DONE) Fail("read the table");
    return rows;
}

std::vector<std::string> TSqliteScoreStore::Countries(std::size_t limit) {
    std::lock_guard lock(FMutex);
    TStatementUse use(FCountries);
    sqlite3_bind_int64(FCountries, 1, static_cast<sqlite3_int64>(limit));
    std::vector<std::string> countries;
    int rc;
    while ((rc = sqlite3_step(FCountries)) == SQLITE_ROW) countries.push_back(ColumnText(FCountries, 0));
    if (rc != SQLITE_DONE) Fail("read the countries");
    return countries;
}

void TSqliteScoreStore::Begin() {
    TStatementUse use(FBegin);
    if (sqlite3_step(FBegin) != SQLITE_DONE) Fail("begin");
}

void TSqliteScoreStore::Commit() {
    TStatementUse use(FCommit);
    if (sqlite3_step(FCommit) != SQLITE_DONE) Fail("commit");
}

void TSqliteScoreStore::RollbackIfOpen() {
    if (sqlite3_get_autocommit(FDb)) return;
    TStatementUse use(FRollback);
    sqlite3_step(FRollback);
}

template <typename TBind>
void TSqliteScoreStore::Step(sqlite3_stmt* statement, const char* what, TBind bind) {
    TStatementUse use(statement);
    bind(statement);
    if (sqlite3_step(statement) != SQLITE_DONE) Fail(what);
}

TScoreStore::TAttachResult TSqliteScoreStore::AttachReplay(const TSubmission& entry, const TReplayUpload& upload,
                                                           std::int64_t now, const TQueueLimits& limits) {
    std::lock_guard lock(FMutex);
    Begin();
    try {
        TAttachFacts facts;
        {
            TStatementUse use(FFindForReplay);
            BindText(FFindForReplay, 1, entry.Name);
            sqlite3_bind_int(FFindForReplay, 2, entry.Score);
            BindText(FFindForReplay, 3, entry.Country);
            sqlite3_bind_int64(FFindForReplay, 4, now - kReplayWindowSeconds);
            int rc;
            while ((rc = sqlite3_step(FFindForReplay)) == SQLITE_ROW)
                facts.Rows.push_back({sqlite3_column_int64(FFindForReplay, 0),
                                      ReplayStateFromName(ColumnText(FFindForReplay, 1)), ColumnText(FFindForReplay, 2)});
            if (rc != SQLITE_DONE) Fail("find the row of a replay");
        }
        facts.Refused = !upload.Fault.empty();
        if (!facts.Refused) {
            TStatementUse use(FFindRace);
            BindText(FFindRace, 1, upload.Key);
            const int rc = sqlite3_step(FFindRace);
            if (rc != SQLITE_ROW && rc != SQLITE_DONE) Fail("find the race of a replay");
            facts.RaceUsed = rc == SQLITE_ROW;
        }
        {
            TStatementUse use(FCountQueued);
            BindText(FCountQueued, 1, upload.From);
            if (sqlite3_step(FCountQueued) != SQLITE_ROW) Fail("count the queue");
            facts.Queued = static_cast<std::size_t>(sqlite3_column_int64(FCountQueued, 0));
            facts.QueuedFromSender = static_cast<std::size_t>(sqlite3_column_int64(FCountQueued, 1));
        }
        const TAttachDecision decision = DecideAttach(facts, upload.From, limits);
        if (decision.Result == TAttachResult::Queued)
            Step(FQueue, "queue a replay", [&](sqlite3_stmt* s) {
                sqlite3_bind_int64(s, 1, decision.RowId);
                sqlite3_bind_blob64(s, 2, upload.Bytes.data(), upload.Bytes.size(), SQLITE_TRANSIENT);
                BindText(s, 3, upload.Key);
                BindText(s, 4, upload.From);
            });
        Commit();
        return decision.Result;
    } catch (...) {
        RollbackIfOpen();
        throw;
    }
}

std::vector<TQueuedReplay> TSqliteScoreStore::TakeQueued(std::size_t limit, std::int64_t now,
                                                         std::int64_t leaseSeconds) {
    std::lock_guard lock(FMutex);
    Begin();
    try {
        std::vector<TQueuedReplay> taken;
        {
            TStatementUse use(FFindQueued);
            sqlite3_bind_int64(FFindQueued, 1, now);
            sqlite3_bind_int64(FFindQueued, 2, static_cast<sqlite3_int64>(limit));
            int rc;
            while ((rc = sqlite3_step(FFindQueued)) == SQLITE_ROW) {
                const void* blob = sqlite3_column_blob(FFindQueued, 2);
                const int bytes = sqlite3_column_bytes(FFindQueued, 2);
                taken.push_back({sqlite3_column_int64(FFindQueued, 0), sqlite3_column_int(FFindQueued, 1),
                                 blob ? std::string(static_cast<const char*>(blob), static_cast<std::size_t>(bytes))
                                      : std::string(),
                                 ColumnText(FFindQueued, 3)});
            }
            if (rc != SQLITE_DONE) Fail("read the queue");
        }
        for (const TQueuedReplay& replay : taken)
            Step(FClaim, "take a replay", [&](sqlite3_stmt* s) {
                sqlite3_bind_int64(s, 1, replay.Id);
                sqlite3_bind_int64(s, 2, now + leaseSeconds);
            });
        Commit();
        return taken;
    } catch (...) {
        RollbackIfOpen();
        throw;
    }
}

void TSqliteScoreStore::Requeue(std::int64_t id, std::int64_t notBefore) {
    std::lock_guard lock(FMutex);
    Step(FRequeue, "requeue a replay", [&](sqlite3_stmt* s) {
        sqlite3_bind_int64(s, 1, id);
        sqlite3_bind_int64(s, 2, notBefore);
    });
}

void TSqliteScoreStore::MarkVerified(std::int64_t id) {
    std::lock_guard lock(FMutex);
    Step(FMarkVerified, "mark a replay verified", [&](sqlite3_stmt* s) { sqlite3_bind_int64(s, 1, id); });
    ++FChanges;  // the row's mark on the page
}

void TSqliteScoreStore::MarkFailed(std::int64_t id, const std::string& reason) {
    std::lock_guard lock(FMutex);
    Step(FMarkFailed, "mark a replay failed", [&](sqlite3_stmt* s) {
        sqlite3_bind_int64(s, 1, id);
        BindText(s, 2, reason);
    });
}

TVerification TSqliteScoreStore::Verification(std::int64_t id) {
    std::lock_guard lock(FMutex);
    TStatementUse use(FReadVerification);
    sqlite3_bind_int64(FReadVerification, 1, id);
    const int rc = sqlite3_step(FReadVerification);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) Fail("read a verification");
    if (rc == SQLITE_DONE) return {};
    return {ReplayStateFromName(ColumnText(FReadVerification, 0)), ColumnText(FReadVerification, 1)};
}

std::optional<std::string> TSqliteScoreStore::VerifiedReplay(std::int64_t id) {
    std::lock_guard lock(FMutex);
    TStatementUse use(FReadReplay);
    sqlite3_bind_int64(FReadReplay, 1, id);
    const int rc = sqlite3_step(FReadReplay);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) Fail("read a replay");
    if (rc == SQLITE_DONE) return std::nullopt;
    const void* blob = sqlite3_column_blob(FReadReplay, 0);
    if (!blob) return std::nullopt;
    return std::string(static_cast<const char*>(blob), static_cast<std::size_t>(sqlite3_column_bytes(FReadReplay, 0)));
}

}  // namespace quillon::server
