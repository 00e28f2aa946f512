// TSqliteScoreStore: the world table in one SQLite file (WAL mode, every commit synced), reached
// only through prepared statements, one connection behind a mutex.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "server/ScoreStore.h"
#include "server/StoreQuery.h"

struct sqlite3;
struct sqlite3_stmt;

namespace quillon::server {

// Every statement the SQLite store runs.
std::span<const TStoreQuery> SqliteStoreQueries();

class TSqliteScoreStore : public TScoreStore {
public:
    // Opens or creates the file; throws EScoreStoreError when it cannot.
    explicit TSqliteScoreStore(const std::string& file);
    ~TSqliteScoreStore() override;
    TSqliteScoreStore(const TSqliteScoreStore&) = delete;
    TSqliteScoreStore& operator=(const TSqliteScoreStore&) = delete;

    TAddResult Add(const TSubmission& submission, std::int64_t time, const std::string& address) override;
    std::vector<TScoreRow> Best(std::size_t limit, const std::string& country = {},
                                bool verifiedOnly = false) override;
    std::vector<std::string> Countries(std::size_t limit) override;
    TAttachResult AttachReplay(const TSubmission& entry, const TReplayUpload& upload, std::int64_t now,
                               const TQueueLimits& limits) override;
    std::vector<TQueuedReplay> TakeQueued(std::size_t limit, std::int64_t now, std::int64_t leaseSeconds) override;
    void Requeue(std::int64_t id, std::int64_t notBefore = 0) override;
    void MarkVerified(std::int64_t id) override;
    void MarkFailed(std::int64_t id, const std::string& reason) override;
    TVerification Verification(std::int64_t id) override;
    std::optional<std::string> VerifiedReplay(std::int64_t id) override;
    // The changes made through this store (another program on the same file goes unseen).
    std::uint64_t Changes() const override { return FChanges.load(); }

private:
    void Close();
    sqlite3_stmt* Prepare(const char* sql);
    void Exec(const char* sql);
    void MigrateSchema();
    void Begin();
    void Commit();
    void RollbackIfOpen();
    // Runs a statement of no rows with its values bound by `bind`.
    template <typename TBind>
    void Step(sqlite3_stmt* statement, const char* what, TBind bind);
    [[noreturn]] void Fail(const char* what);

    std::mutex FMutex;
    std::atomic<std::uint64_t> FChanges = 0;
    sqlite3* FDb = nullptr;
    sqlite3_stmt* FFindRepeat = nullptr;
    sqlite3_stmt* FInsert = nullptr;
    sqlite3_stmt* FBest = nullptr;
    sqlite3_stmt* FBestVerified = nullptr;
    sqlite3_stmt* FBestInCountry = nullptr;
    sqlite3_stmt* FBestInCountryVerified = nullptr;
    sqlite3_stmt* FCountries = nullptr;
    sqlite3_stmt* FFindForReplay = nullptr;
    sqlite3_stmt* FFindRace = nullptr;
    sqlite3_stmt* FCountQueued = nullptr;
    sqlite3_stmt* FQueue = nullptr;
    sqlite3_stmt* FFindQueued = nullptr;
    sqlite3_stmt* FClaim = nullptr;
    sqlite3_stmt* FRequeue = nullptr;
    sqlite3_stmt* FMarkVerified = nullptr;
    sqlite3_stmt* FMarkFailed = nullptr;
    sqlite3_stmt* FReadVerification = nullptr;
    sqlite3_stmt* FReadReplay = nullptr;
    sqlite3_stmt* FBegin = nullptr;
    sqlite3_stmt* FCommit = nullptr;
    sqlite3_stmt* FRollback = nullptr;
};

}  // namespace quillon::server
