// The world table's SQLite storage.
#include "server/SqliteScoreStore.h"

#include <sqlite3.h>

#include <string_view>

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

}  // namespace

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
        FFindRepeat = Prepare("SELECT 1 FROM scores WHERE name = ?1 AND score = ?2 AND country = ?3 AND time > ?4 LIMIT 1");
        FInsert = Prepare("INSERT INTO scores (name, score, country, time, address) VALUES (?1, ?2, ?3, ?4, ?5)");
        FBest = Prepare("SELECT name, score, country, time FROM scores ORDER BY score DESC, id LIMIT ?1");
        FBestInCountry = Prepare(
            "SELECT name, score, country, time FROM scores WHERE country = ?2 ORDER BY score DESC, id LIMIT ?1");
        FCountries = Prepare(
            "SELECT country FROM scores WHERE country <> '' GROUP BY country ORDER BY count(*) DESC, country LIMIT ?1");
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
         {&FFindRepeat, &FInsert, &FBest, &FBestInCountry, &FCountries, &FBegin, &FCommit, &FRollback}) {
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

// Version 1 is the table of the first servers, which wrote no version: a file with the table
// and without a version is at version 1.
void TSqliteScoreStore::MigrateSchema() {
    Exec("BEGIN IMMEDIATE");
    try {
        Exec("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
        sqlite3_stmt* read = Prepare("SELECT max(version) FROM schema_version");
        const int rc = sqlite3_step(read);
        const int version = rc == SQLITE_ROW ? sqlite3_column_int(read, 0) : 0;
        sqlite3_finalize(read);
        if (rc != SQLITE_ROW) Fail("read the schema version");
        if (version > kScoreSchemaVersion)
            throw EScoreStoreError("the score database is of a newer server (schema version " +
                                   std::to_string(version) + ")");
        if (version < 1) {
            Exec("CREATE TABLE IF NOT EXISTS scores ("
                 " id INTEGER PRIMARY KEY,"
                 " name TEXT NOT NULL,"
                 " score INTEGER NOT NULL,"
                 " country TEXT NOT NULL,"
                 " time INTEGER NOT NULL,"
                 " address TEXT NOT NULL)");
            Exec("CREATE INDEX IF NOT EXISTS scores_by_score ON scores (score DESC, id)");
            Exec("CREATE INDEX IF NOT EXISTS scores_by_country ON scores (country, score DESC, id)");
            Exec("CREATE INDEX IF NOT EXISTS scores_by_entry ON scores (name, score, country, time)");
            Exec("INSERT INTO schema_version (version) VALUES (1)");
        }
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
    {
        TStatementUse use(FBegin);
        if (sqlite3_step(FBegin) != SQLITE_DONE) Fail("begin");
    }
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
        if (!repeated) {
            TStatementUse use(FInsert);
            BindText(FInsert, 1, submission.Name);
            sqlite3_bind_int(FInsert, 2, submission.Score);
            BindText(FInsert, 3, submission.Country);
            sqlite3_bind_int64(FInsert, 4, time);
            BindText(FInsert, 5, address);
            if (sqlite3_step(FInsert) != SQLITE_DONE) Fail("insert");
        }
        TStatementUse use(FCommit);
        if (sqlite3_step(FCommit) != SQLITE_DONE) Fail("commit");
        return repeated ? TAddResult::Repeated : TAddResult::Stored;
    } catch (...) {
        if (!sqlite3_get_autocommit(FDb)) {
            TStatementUse use(FRollback);
            sqlite3_step(FRollback);
        }
        throw;
    }
}

std::vector<TScoreRow> TSqliteScoreStore::Best(std::size_t limit, const std::string& country, bool verifiedOnly) {
    if (verifiedOnly) return {};  // this table verifies no replay
    std::lock_guard lock(FMutex);
    sqlite3_stmt* statement = country.empty() ? FBest : FBestInCountry;
    TStatementUse use(statement);
    sqlite3_bind_int64(statement, 1, static_cast<sqlite3_int64>(limit));
    if (!country.empty()) BindText(statement, 2, country);
    std::vector<TScoreRow> rows;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        rows.push_back({ColumnText(statement, 0), sqlite3_column_int(statement, 1), ColumnText(statement, 2),
                        sqlite3_column_int64(statement, 3)});
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

}  // namespace quillon::server
