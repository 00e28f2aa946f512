// TPostgresScoreStore: the world table in a PostgreSQL database through libpq, so several
// server instances can share it. One connection behind a mutex, prepared statements only; a
// lost connection is made again by itself on a later request. Requests wait for the
// connection in a bounded queue: beyond it, or after waiting too long, they fail at once
// (the server answers 503) instead of piling up behind a slow database.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "server/ScoreStore.h"

struct pg_conn;

namespace quillon::server {

struct TPostgresLimits {
    int ConnectSeconds = 3;
    int StatementSeconds = 5;
    int MaxWaiting = 8;          // requests waiting for the connection
    double WaitSeconds = 5;      // the longest one waits
    double RetrySeconds = 0.5;   // between attempts to connect again
};

class TPostgresScoreStore : public TScoreStore {
public:
    // Connects and creates or migrates the schema; throws EScoreStoreError when it cannot.
    explicit TPostgresScoreStore(const std::string& connection, TPostgresLimits limits = {});
    ~TPostgresScoreStore() override;
    TPostgresScoreStore(const TPostgresScoreStore&) = delete;
    TPostgresScoreStore& operator=(const TPostgresScoreStore&) = delete;

    TAddResult Add(const TSubmission& submission, std::int64_t time, const std::string& address) override;
    std::vector<TScoreRow> Best(std::size_t limit, const std::string& country = {}) override;
    std::vector<std::string> Countries(std::size_t limit) override;

private:
    class TTurn;
    // The open connection, made again when it was lost. Called with the mutex held.
    pg_conn* Connection();
    void Connect();
    void MigrateSchema();

    std::string FConnection;
    TPostgresLimits FLimits;
    std::timed_mutex FMutex;
    std::atomic<int> FWaiting = 0;
    pg_conn* FDb = nullptr;
    double FLastAttempt = 0;
};

}  // namespace quillon::server
