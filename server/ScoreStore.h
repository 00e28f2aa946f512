// TScoreStore: the world table in one SQLite file (WAL mode, every commit synced), reached only
// through prepared statements. Safe to use from the server's worker threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "server/ScoreRow.h"
#include "server/SubmissionCheck.h"

struct sqlite3;
struct sqlite3_stmt;

namespace quillon::server {

class EScoreStoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A repeat of the same name, score and country within this many seconds is not stored again.
inline constexpr std::int64_t kRepeatWindowSeconds = 60;

class TScoreStore {
public:
    // Opens or creates the file; throws EScoreStoreError when it cannot.
    explicit TScoreStore(const std::string& file);
    ~TScoreStore();
    TScoreStore(const TScoreStore&) = delete;
    TScoreStore& operator=(const TScoreStore&) = delete;

    enum class TAddResult { Stored, Repeated };
    // Stores the submission unless it repeats one of the last minute. When this returns, the row
    // is on disk. Throws EScoreStoreError when the database fails.
    TAddResult Add(const TSubmission& submission, std::int64_t time, const std::string& address);

    // The best `limit` scores, the earlier of equal scores first; only `country` when not empty.
    std::vector<TScoreRow> Best(std::size_t limit, const std::string& country = {});
    // The countries of the table, most frequent first (at most `limit`).
    std::vector<std::string> Countries(std::size_t limit);

private:
    void Close();
    sqlite3_stmt* Prepare(const char* sql);
    void Exec(const char* sql);
    [[noreturn]] void Fail(const char* what);

    std::mutex FMutex;
    sqlite3* FDb = nullptr;
    sqlite3_stmt* FFindRepeat = nullptr;
    sqlite3_stmt* FInsert = nullptr;
    sqlite3_stmt* FBest = nullptr;
    sqlite3_stmt* FBestInCountry = nullptr;
    sqlite3_stmt* FCountries = nullptr;
    sqlite3_stmt* FBegin = nullptr;
    sqlite3_stmt* FCommit = nullptr;
    sqlite3_stmt* FRollback = nullptr;
};

}  // namespace quillon::server
