// TPostgresScoreStore: the world table in a PostgreSQL database through libpq, so several
// server instances can share it. A few connections, each used by one request at a time,
// prepared statements only; a lost connection is made again by itself on a later request.
// Requests wait for a connection in a bounded queue: beyond it, or after waiting too long,
// they fail at once (the server answers 503) instead of piling up behind a slow database.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "server/ScoreStore.h"
#include "server/StoreQuery.h"

struct pg_conn;

namespace quillon::server {

struct TPostgresLimits {
    int ConnectSeconds = 3;
    int DeadPeerSeconds = 30;  // unacknowledged data on a connection (TCP user time-out)
    int StatementSeconds = 5;
    int Connections = 4;
    int MaxWaiting = 32;         // requests waiting for a connection
    double WaitSeconds = 2;      // the longest one waits
    double RetrySeconds = 0.5;   // between attempts to connect again
};

// Every statement the PostgreSQL store prepares.
std::span<const TStoreQuery> PostgresStoreQueries();

class TPostgresScoreStore : public TScoreStore {
public:
    // Connects and creates or migrates the schema; throws EScoreStoreError when it cannot.
    // `password`, when not empty, is used unless the connection string has one.
    explicit TPostgresScoreStore(const std::string& connection, TPostgresLimits limits = {}, std::string password = {});
    ~TPostgresScoreStore() override;
    TPostgresScoreStore(const TPostgresScoreStore&) = delete;
    TPostgresScoreStore& operator=(const TPostgresScoreStore&) = delete;

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
    // This instance's own changes at once; the other instances' as their notices arrive (see Listen).
    std::uint64_t Changes() const override;

private:
    struct TSlot {
        pg_conn* Db = nullptr;
        double LastAttempt = -1e9;
        bool Busy = false;
    };
    class TTurn;
    // The slot's open connection, made again when it was lost.
    pg_conn* Connection(TSlot& slot);
    void Connect(TSlot& slot);
    pg_conn* OpenConnection() const;
    void MigrateSchema(pg_conn* db);
    void NoteChange();
    void WakeListener();
    void Listen();

    std::string FConnection;
    std::string FPassword;
    TPostgresLimits FLimits;
    std::mutex FMutex;
    std::condition_variable FFree;
    int FWaiting = 0;
    std::vector<TSlot> FSlots;
    std::atomic<std::uint64_t> FChanges = 0;
    std::atomic<bool> FToNotify = false;
    std::atomic<bool> FStopping = false;
    int FWake = -1;  // an eventfd that wakes the listener
    std::thread FListener;
};

}  // namespace quillon::server
