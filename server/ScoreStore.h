// TScoreStore: where the world table is kept, in two parts: the table of scores (TScoreTable)
// and the queue of replays that verify them (TReplayQueue). Two kinds: an SQLite file (the
// default, one machine) and a PostgreSQL database (several server instances sharing one
// table). Both keep the same rows under the same schema version and are safe to use from the
// server's threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "server/ScoreRow.h"
#include "server/SubmissionCheck.h"

namespace quillon::server {

// The database failed or cannot be reached; nothing was stored.
class EScoreStoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A repeat of the same name, score and country within this many seconds is not stored again.
inline constexpr std::int64_t kRepeatWindowSeconds = 60;

// The version of the table's layout written into every database's schema_version table.
// Version 2 keeps a replay beside a row, with the state of its verification; version 3 counts
// the rows of each country and indexes the verified rows.
inline constexpr int kScoreSchemaVersion = 3;

// A replay is taken only for a row stored this many seconds ago or less.
inline constexpr std::int64_t kReplayWindowSeconds = 600;

// Where the verification of a row's replay stands.
enum class TReplayState { None, Queued, Verified, Failed };

struct TVerification {
    TReplayState State = TReplayState::None;
    std::string Reason;  // why it failed, for the operator
};

// A queued replay taken for verification.
struct TQueuedReplay {
    std::int64_t Id = 0;
    std::int32_t Score = 0;
    std::string Replay;
};

// The table of scores: what the game submits and the page and the JSON show.
class TScoreTable {
public:
    virtual ~TScoreTable() = default;

    enum class TAddResult { Stored, Repeated };
    // Stores the submission unless it repeats one of the last minute; the check and the insert
    // are one atomic step in the database. When this returns the row is committed. Throws
    // EScoreStoreError when the database fails.
    virtual TAddResult Add(const TSubmission& submission, std::int64_t time, const std::string& address) = 0;

    // The best `limit` scores, the earlier of equal scores first; only `country` when not empty,
    // only verified rows with `verifiedOnly`.
    virtual std::vector<TScoreRow> Best(std::size_t limit, const std::string& country = {},
                                        bool verifiedOnly = false) = 0;
    // The countries of the table, most frequent first (at most `limit`).
    virtual std::vector<std::string> Countries(std::size_t limit) = 0;
    // Goes up with every change of what Best and Countries answer that this instance knows of:
    // at once for the rows it stored or marked verified itself, and (PostgreSQL) for the other
    // instances' as they tell it. While it stays the same, an answer may be kept for a moment.
    virtual std::uint64_t Changes() const = 0;
};

enum class TAttachResult { Queued, NoSuchRow, AlreadyVerified, AlreadyHasReplay, QueueFull };

// The replays sent for the rows and their verifications.
class TReplayQueue {
public:
    virtual ~TReplayQueue() = default;

    using TAttachResult = server::TAttachResult;
    // Queues `replay` for the newest row of this name, score and country stored after
    // `now - kReplayWindowSeconds` that has no replay yet. A row takes one replay only; at most
    // `maxQueued` replays wait in the whole table.
    virtual TAttachResult AttachReplay(const TSubmission& entry, const std::string& replay, std::int64_t now,
                                       std::size_t maxQueued) = 0;
    // Takes up to `limit` queued replays, oldest first, that nobody has taken in the last
    // `leaseSeconds` (a server that died while verifying leaves its rows to the next one).
    virtual std::vector<TQueuedReplay> TakeQueued(std::size_t limit, std::int64_t now, std::int64_t leaseSeconds) = 0;
    // Gives a taken replay back to the queue (the server stops before its verification ended).
    virtual void Requeue(std::int64_t id) = 0;
    virtual void MarkVerified(std::int64_t id) = 0;
    // The failed replay itself is dropped; the reason stays.
    virtual void MarkFailed(std::int64_t id, const std::string& reason) = 0;
    virtual TVerification Verification(std::int64_t id) = 0;
    // The replay of a verified row; nothing for any other row.
    virtual std::optional<std::string> VerifiedReplay(std::int64_t id) = 0;
};

// Both in one database: a replay attaches to a row of the table.
class TScoreStore : public TScoreTable, public TReplayQueue {};

// What the store found for a replay: the row it would attach to (none when no row of the
// last ten minutes matches) and how many replays wait in the whole table.
struct TAttachCandidate {
    bool RowFound = false;
    TReplayState RowState = TReplayState::None;
    std::size_t Queued = 0;
};
// Whether the replay may attach; both stores decide by this alone, inside their transaction.
TAttachResult DecideAttach(const TAttachCandidate& candidate, std::size_t maxQueued);

// The states as the databases keep them: "none", "queued", "verified", "failed".
const char* ReplayStateName(TReplayState state);
TReplayState ReplayStateFromName(const std::string& name);

// A PostgreSQL connection string ("postgresql://…", "postgres://…" or libpq's "key=value"
// form) opens PostgreSQL, anything else is an SQLite file. Throws EScoreStoreError.
std::unique_ptr<TScoreStore> OpenScoreStore(const std::string& database);
bool IsPostgresConnection(const std::string& database);

}  // namespace quillon::server
