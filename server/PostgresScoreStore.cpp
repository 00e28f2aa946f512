// The world table's PostgreSQL storage.
#include "server/PostgresScoreStore.h"

#include <libpq-fe.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <utility>
#include <vector>

#include "server/SchemaSteps.h"
#include "server/SteadySeconds.h"

namespace quillon::server {
namespace {

// The channel on which the instances tell each other of new rows.
constexpr const char* kListen = "LISTEN quillon_scores";
constexpr const char* kNotify = "NOTIFY quillon_scores";


struct TResultFree {
    void operator()(PGresult* result) const { PQclear(result); }
};
using TResult = std::unique_ptr<PGresult, TResultFree>;

std::string ErrorText(PGconn* db) {
    std::string text = db ? PQerrorMessage(db) : "out of memory";
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

// Runs `sql` (no parameters) and throws unless it succeeded.
TResult Exec(PGconn* db, const char* sql) {
    TResult result(PQexec(db, sql));
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        throw EScoreStoreError(std::string("score database: ") + ErrorText(db));
    return result;
}

TResult Run(PGconn* db, const char* statement, const std::vector<std::string>& values) {
    std::vector<const char*> pointers;
    for (const std::string& value : values) pointers.push_back(value.c_str());
    TResult result(PQexecPrepared(db, statement, static_cast<int>(values.size()), pointers.data(), nullptr, nullptr, 0));
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        const std::string text = ErrorText(db);
        if (PQtransactionStatus(db) == PQTRANS_INERROR || PQtransactionStatus(db) == PQTRANS_INTRANS)
            PQclear(PQexec(db, "ROLLBACK"));
        throw EScoreStoreError(std::string("score database: ") + statement + ": " + text);
    }
    return result;
}

std::string Text(const PGresult* result, int row, int column) {
    return std::string(PQgetvalue(result, row, column), static_cast<std::size_t>(PQgetlength(result, row, column)));
}

// The statements, prepared on every new connection, with the plan PostgreSQL makes of each
// (EXPLAIN EXECUTE; the plan tests hold each one to it on a filled, analysed table). Every
// connection plans each execution with its own values (plan_cache_mode), so these are the
// plans that run. None reads more rows than it returns, except where said.
constexpr TStoreQuery kStatements[] = {
    // No table is read: same submissions wait for each other here, so two instances cannot
    // both store one.
    {"lock_entry", "SELECT pg_advisory_xact_lock(hashtextextended($1::text || chr(31) || $2::text || chr(31) || $3::text, 7))"},
    // The NOT EXISTS is an Index Only Scan using scores_by_entry over the entry's rows of the
    // last minute. The trigger scores_count_inserts adds the row to its country's count in the
    // same transaction (by country_counts_pkey).
    {"insert_unless_repeated",
     "INSERT INTO scores (name, score, country, time, address)"
     " SELECT $1::text, $2::integer, $3::text, $4::bigint, $5::text"
     " WHERE NOT EXISTS (SELECT 1 FROM scores WHERE name = $1::text AND score = $2::integer"
     " AND country = $3::text AND time > $4::bigint - $6::bigint)"},
    // Limit over an Index Scan using scores_by_score: the index in order, stopping after `limit` rows.
    {"best",
     "SELECT name, score, country, time, id, replay_state = 'verified' FROM scores"
     " ORDER BY score DESC, id LIMIT $1::bigint"},
    // Limit over an Index Scan using scores_verified, the partial index of the verified rows only.
    {"best_verified",
     "SELECT name, score, country, time, id, true FROM scores WHERE replay_state = 'verified'"
     " ORDER BY score DESC, id LIMIT $1::bigint"},
    // Limit over an Index Scan using scores_by_country (country = $2): one country's rows in order.
    {"best_in_country",
     "SELECT name, score, country, time, id, replay_state = 'verified' FROM scores"
     " WHERE country = $2::text ORDER BY score DESC, id LIMIT $1::bigint"},
    // Limit over an Index Scan using scores_verified_by_country (country = $2).
    {"best_in_country_verified",
     "SELECT name, score, country, time, id, true FROM scores WHERE country = $2::text"
     " AND replay_state = 'verified' ORDER BY score DESC, id LIMIT $1::bigint"},
    // Limit over an Index Only Scan using country_counts_by_rows: the counts the trigger keeps,
    // most rows first; the scores are never read.
    {"countries",
     "SELECT country FROM country_counts ORDER BY row_count DESC, country COLLATE \"C\" LIMIT $1::bigint"},
    // Index Scan using scores_by_entry, then a Sort of that entry's rows of the last ten minutes
    // only; or, as cheap, scores_by_country backward on the country and score (their rows in id order).
    {"find_for_replay",
     "SELECT id, replay_state, address FROM scores WHERE name = $1::text AND score = $2::integer"
     " AND country = $3::text AND time > $4::bigint ORDER BY id DESC LIMIT 16"},
    // Index Only Scan using scores_by_race (replay_key = $1).
    {"find_race", "SELECT 1 FROM scores WHERE replay_key = $1::text LIMIT 1"},
    // Replays queued by several instances at once wait for each other, so the queue's bound holds.
    {"lock_queue", "SELECT pg_advisory_xact_lock(7475)"},
    // Over scores_queued: the queued rows only (at most the queue's bound).
    {"count_queued",
     "SELECT count(*), count(*) FILTER (WHERE replay_from = $1::text) FROM scores WHERE replay_state = 'queued'"},
    // Index Scan using scores_pkey, as every statement by id below.
    {"queue",
     "UPDATE scores SET replay = decode($2::text, 'hex'), replay_state = 'queued', replay_reason = '',"
     " replay_claim = 0, replay_key = $3::text, replay_from = $4::text WHERE id = $1::bigint"},
    // The inner select over scores_queued (oldest first), the update by scores_pkey.
    {"take_queued",
     "UPDATE scores SET replay_claim = $1::bigint + $3::bigint WHERE id IN (SELECT id FROM scores"
     " WHERE replay_state = 'queued' AND replay_claim <= $1::bigint ORDER BY id LIMIT $2::bigint"
     " FOR UPDATE SKIP LOCKED) RETURNING id, score, encode(replay, 'hex'), name"},
    {"requeue", "UPDATE scores SET replay_claim = $2::bigint WHERE id = $1::bigint AND replay_state = 'queued'"},
    {"mark_verified",
     "UPDATE scores SET replay_state = 'verified', replay_reason = '' WHERE id = $1::bigint AND replay_state = 'queued'"},
    {"mark_failed",
     "UPDATE scores SET replay_state = 'failed', replay_reason = $2::text, replay = NULL, replay_key = NULL"
     " WHERE id = $1::bigint AND replay_state = 'queued'"},
    {"read_verification", "SELECT replay_state, replay_reason FROM scores WHERE id = $1::bigint"},
    {"read_replay", "SELECT encode(replay, 'hex') FROM scores WHERE id = $1::bigint AND replay_state = 'verified'"},
};

std::string HexOf(const std::string& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (unsigned char byte : bytes) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    return hex;
}

int HexDigit(char c) { return c <= '9' ? c - '0' : c - 'a' + 10; }

// encode(..., 'hex') gives lower-case digits only.
std::string BytesOf(const std::string& hex) {
    std::string bytes(hex.size() / 2, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(HexDigit(hex[2 * i]) * 16 + HexDigit(hex[2 * i + 1]));
    return bytes;
}

}  // namespace

std::span<const TStoreQuery> PostgresStoreQueries() { return kStatements; }

// A place in the bounded queue, then a connection of one's own until the turn ends.
class TPostgresScoreStore::TTurn {
public:
    explicit TTurn(TPostgresScoreStore& store) : FStore(store) {
        std::unique_lock lock(FStore.FMutex);
        if (FStore.FWaiting >= FStore.FLimits.MaxWaiting)
            throw EScoreStoreError("score database: too many requests waiting for the database");
        ++FStore.FWaiting;
        const auto free = [&] {
            for (TSlot& slot : FStore.FSlots)
                if (!slot.Busy) return &slot;
            return static_cast<TSlot*>(nullptr);
        };
        FStore.FFree.wait_for(lock, std::chrono::duration<double>(FStore.FLimits.WaitSeconds),
                              [&] { return free() != nullptr; });
        --FStore.FWaiting;
        FSlot = free();
        if (!FSlot) throw EScoreStoreError("score database: the database is too slow");
        FSlot->Busy = true;
    }
    ~TTurn() {
        {
            std::lock_guard lock(FStore.FMutex);
            FSlot->Busy = false;
        }
        FStore.FFree.notify_one();
    }
    TTurn(const TTurn&) = delete;
    TTurn& operator=(const TTurn&) = delete;

    PGconn* Db() { return FStore.Connection(*FSlot); }

private:
    TPostgresScoreStore& FStore;
    TSlot* FSlot = nullptr;
};

TPostgresScoreStore::TPostgresScoreStore(const std::string& connection, TPostgresLimits limits,
                                         std::string password)
    : FConnection(connection), FPassword(std::move(password)), FLimits(limits), FSlots(static_cast<std::size_t>(std::max(limits.Connections, 1))) {
    // The first connection proves the database is there and brings its schema up to date.
    Connect(FSlots[0]);
    FWake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (FWake < 0) throw EScoreStoreError("score database: cannot make the listener's wake-up");
    FListener = std::thread([this] { Listen(); });
}

TPostgresScoreStore::~TPostgresScoreStore() {
    FStopping = true;
    WakeListener();
    FListener.join();
    close(FWake);
    for (TSlot& slot : FSlots) PQfinish(slot.Db);
}

pg_conn* TPostgresScoreStore::OpenConnection() const {
    const std::string timeout = std::to_string(FLimits.ConnectSeconds);
    // A connection the network dropped without a word is found out within about half a minute:
    // keepalives after 10 s idle, 3 probes 5 s apart, and unacknowledged data given up after 30 s.
    const std::string userTimeout = std::to_string(FLimits.DeadPeerSeconds * 1000);
    // Our defaults first: what the connection string says overrides them. The password, when
    // given apart from it, is one of them; else libpq's own files and environment give it.
    std::vector<const char*> keys = {"connect_timeout", "application_name", "client_encoding", "keepalives",
                                     "keepalives_idle", "keepalives_interval", "keepalives_count", "tcp_user_timeout"};
    std::vector<const char*> values = {timeout.c_str(), "quillon-scores", "UTF8", "1", "10", "5", "3",
                                       userTimeout.c_str()};
    if (!FPassword.empty()) {
        keys.push_back("password");
        values.push_back(FPassword.c_str());
    }
    keys.insert(keys.end(), {"dbname", nullptr});
    values.insert(values.end(), {FConnection.c_str(), nullptr});
    PGconn* db = PQconnectdbParams(keys.data(), values.data(), 1);
    if (!db || PQstatus(db) != CONNECTION_OK) {
        const std::string text = ErrorText(db);
        PQfinish(db);
        throw EScoreStoreError("cannot reach the score database: " + text);
    }
    PQsetNoticeProcessor(db, [](void*, const char*) {}, nullptr);
    return db;
}

void TPostgresScoreStore::Connect(TSlot& slot) {
    PQfinish(slot.Db);
    slot.Db = nullptr;
    slot.LastAttempt = SteadySeconds();
    PGconn* db = OpenConnection();
    try {
        Exec(db, ("SET statement_timeout = " + std::to_string(FLimits.StatementSeconds * 1000)).c_str());
        // Every acknowledged submission is committed durably, whatever the database's default.
        Exec(db, "SET synchronous_commit = on");
        // Each execution is planned with its own values, as the plan tests explain it: a
        // generic plan guesses at the limit and the country and may walk the whole table.
        Exec(db, "SET plan_cache_mode = force_custom_plan");
        MigrateSchema(db);
        for (const auto& statement : kStatements) {
            TResult prepared(PQprepare(db, statement.Name, statement.Sql, 0, nullptr));
            if (PQresultStatus(prepared.get()) != PGRES_COMMAND_OK)
                throw EScoreStoreError(std::string("score database: prepare ") + statement.Name + ": " + ErrorText(db));
        }
    } catch (...) {
        PQfinish(db);
        throw;
    }
    slot.Db = db;
}

std::uint64_t TPostgresScoreStore::Changes() const { return FChanges.load(); }

void TPostgresScoreStore::NoteChange() {
    ++FChanges;
    FToNotify = true;
    WakeListener();
}

void TPostgresScoreStore::WakeListener() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = write(FWake, &one, sizeof one);
}

// The listener's own connection hears of the rows the other instances store, and tells them of
// ours. A notice is sent after the row's commit, apart from it and without waiting for its
// sync: a lost notice costs only the answers' time-out, while a notice in the submission's own
// transaction would make every submission's commit wait for the database's notice lock. Notices
// sent while the connection was away are lost: reconnecting counts as a change.
void TPostgresScoreStore::Listen() {
    PGconn* db = nullptr;
    double lastAttempt = -1e9;
    while (!FStopping) {
        if (!db && SteadySeconds() - lastAttempt >= FLimits.RetrySeconds) {
            lastAttempt = SteadySeconds();
            try {
                db = OpenConnection();
                Exec(db, "SET synchronous_commit = off");
                Exec(db, kListen);
                ++FChanges;
            } catch (const EScoreStoreError&) {
                PQfinish(db);
                db = nullptr;
            }
        }
        pollfd waits[2] = {{FWake, POLLIN, 0}, {db ? PQsocket(db) : -1, POLLIN, 0}};
        poll(waits, 2, static_cast<int>(FLimits.RetrySeconds * 1000));
        std::uint64_t count = 0;
        [[maybe_unused]] const auto read = ::read(FWake, &count, sizeof count);
        if (!db) continue;
        if (FToNotify.exchange(false)) PQclear(PQexec(db, kNotify));
        PQconsumeInput(db);
        while (PGnotify* notice = PQnotifies(db)) {
            if (notice->be_pid != PQbackendPID(db)) ++FChanges;
            PQfreemem(notice);
        }
        if (PQstatus(db) != CONNECTION_OK) {
            PQfinish(db);
            db = nullptr;
        }
    }
    PQfinish(db);
}

// The steps of SchemaSteps.h after the database's version, all in one transaction. Instances
// starting together take turns through a lock of their own.
void TPostgresScoreStore::MigrateSchema(PGconn* db) {
    Exec(db, "BEGIN");
    try {
        Exec(db, "SELECT pg_advisory_xact_lock(7474)");
        Exec(db, SchemaVersionTableSql(TSchemaDialect::Postgres));
        const TResult read = Exec(db, kReadSchemaVersionSql);
        const int version = std::stoi(Text(read.get(), 0, 0));
        BringSchemaUpToDate(version, TSchemaDialect::Postgres, [db](const char* sql) { Exec(db, sql); });
        Exec(db, "COMMIT");
    } catch (...) {
        PQclear(PQexec(db, "ROLLBACK"));
        throw;
    }
}

pg_conn* TPostgresScoreStore::Connection(TSlot& slot) {
    if (slot.Db && PQstatus(slot.Db) == CONNECTION_OK) return slot.Db;
    if (SteadySeconds() - slot.LastAttempt < FLimits.RetrySeconds)
        throw EScoreStoreError("score database: the database is unreachable");
    Connect(slot);
    return slot.Db;
}

TScoreStore::TAddResult TPostgresScoreStore::Add(const TSubmission& submission, std::int64_t time,
                                                 const std::string& address) {
    TTurn turn(*this);
    PGconn* db = turn.Db();
    const std::string score = std::to_string(submission.Score);
    Exec(db, "BEGIN");
    try {
        Run(db, "lock_entry", {submission.Name, score, submission.Country});
        const TResult inserted = Run(db, "insert_unless_repeated",
                                     {submission.Name, score, submission.Country, std::to_string(time), address,
                                      std::to_string(kRepeatWindowSeconds)});
        const bool stored = std::string(PQcmdTuples(inserted.get())) == "1";
        Exec(db, "COMMIT");
        if (!stored) return TAddResult::Repeated;
        NoteChange();
        return TAddResult::Stored;
    } catch (...) {
        if (PQstatus(db) == CONNECTION_OK && PQtransactionStatus(db) != PQTRANS_IDLE) PQclear(PQexec(db, "ROLLBACK"));
        throw;
    }
}

std::vector<TScoreRow> TPostgresScoreStore::Best(std::size_t limit, const std::string& country, bool verifiedOnly) {
    TTurn turn(*this);
    PGconn* db = turn.Db();
    // One statement for each filter, so that each has its own index (see kStatements).
    const TResult result = country.empty()
                               ? Run(db, verifiedOnly ? "best_verified" : "best", {std::to_string(limit)})
                               : Run(db, verifiedOnly ? "best_in_country_verified" : "best_in_country",
                                     {std::to_string(limit), country});
    std::vector<TScoreRow> rows;
    for (int row = 0; row < PQntuples(result.get()); ++row)
        rows.push_back({Text(result.get(), row, 0), std::stoi(Text(result.get(), row, 1)), Text(result.get(), row, 2),
                        std::stoll(Text(result.get(), row, 3)), std::stoll(Text(result.get(), row, 4)),
                        Text(result.get(), row, 5) == "t"});
    return rows;
}

std::vector<std::string> TPostgresScoreStore::Countries(std::size_t limit) {
    TTurn turn(*this);
    PGconn* db = turn.Db();
    const TResult result = Run(db, "countries", {std::to_string(limit)});
    std::vector<std::string> countries;
    for (int row = 0; row < PQntuples(result.get()); ++row) countries.push_back(Text(result.get(), row, 0));
    return countries;
}

TScoreStore::TAttachResult TPostgresScoreStore::AttachReplay(const TSubmission& entry, const TReplayUpload& upload,
                                                             std::int64_t now, const TQueueLimits& limits) {
    TTurn turn(*this);
    PGconn* db = turn.Db();
    Exec(db, "BEGIN");
    try {
        Run(db, "lock_queue", {});
        TAttachFacts facts;
        const TResult found = Run(db, "find_for_replay",
                                  {entry.Name, std::to_string(entry.Score), entry.Country,
                                   std::to_string(now - kReplayWindowSeconds)});
        for (int row = 0; row < PQntuples(found.get()); ++row)
            facts.Rows.push_back({std::stoll(Text(found.get(), row, 0)), ReplayStateFromName(Text(found.get(), row, 1)),
                                  Text(found.get(), row, 2)});
        facts.Refused = !upload.Fault.empty();
        facts.RaceUsed = !facts.Refused && PQntuples(Run(db, "find_race", {upload.Key}).get()) > 0;
        const TResult counted = Run(db, "count_queued", {upload.From});
        facts.Queued = std::stoull(Text(counted.get(), 0, 0));
        facts.QueuedFromSender = std::stoull(Text(counted.get(), 0, 1));
        const TAttachDecision decision = DecideAttach(facts, upload.From, limits);
        if (decision.Result == TAttachResult::Queued)
            Run(db, "queue", {std::to_string(decision.RowId), HexOf(upload.Bytes), upload.Key, upload.From});
        Exec(db, "COMMIT");
        return decision.Result;
    } catch (...) {
        if (PQstatus(db) == CONNECTION_OK && PQtransactionStatus(db) != PQTRANS_IDLE) PQclear(PQexec(db, "ROLLBACK"));
        throw;
    }
}

std::vector<TQueuedReplay> TPostgresScoreStore::TakeQueued(std::size_t limit, std::int64_t now,
                                                           std::int64_t leaseSeconds) {
    TTurn turn(*this);
    PGconn* db = turn.Db();
    const TResult result =
        Run(db, "take_queued", {std::to_string(now), std::to_string(limit), std::to_string(leaseSeconds)});
    std::vector<TQueuedReplay> taken;
    for (int row = 0; row < PQntuples(result.get()); ++row)
        taken.push_back({std::stoll(Text(result.get(), row, 0)), std::stoi(Text(result.get(), row, 1)),
                         BytesOf(Text(result.get(), row, 2)), Text(result.get(), row, 3)});
    std::sort(taken.begin(), taken.end(), [](const auto& a, const auto& b) { return a.Id < b.Id; });
    return taken;
}

void TPostgresScoreStore::Requeue(std::int64_t id, std::int64_t notBefore) {
    TTurn turn(*this);
    Run(turn.Db(), "requeue", {std::to_string(id), std::to_string(notBefore)});
}

void TPostgresScoreStore::MarkVerified(std::int64_t id) {
    TTurn turn(*this);
    Run(turn.Db(), "mark_verified", {std::to_string(id)});
    NoteChange();  // the row's mark on the page
}

void TPostgresScoreStore::MarkFailed(std::int64_t id, const std::string& reason) {
    TTurn turn(*this);
    Run(turn.Db(), "mark_failed", {std::to_string(id), reason});
}

TVerification TPostgresScoreStore::Verification(std::int64_t id) {
    TTurn turn(*this);
    const TResult result = Run(turn.Db(), "read_verification", {std::to_string(id)});
    if (PQntuples(result.get()) == 0) return {};
    return {ReplayStateFromName(Text(result.get(), 0, 0)), Text(result.get(), 0, 1)};
}

std::optional<std::string> TPostgresScoreStore::VerifiedReplay(std::int64_t id) {
    TTurn turn(*this);
    const TResult result = Run(turn.Db(), "read_replay", {std::to_string(id)});
    if (PQntuples(result.get()) == 0 || PQgetisnull(result.get(), 0, 0)) return std::nullopt;
    return BytesOf(Text(result.get(), 0, 0));
}

}  // namespace quillon::server
