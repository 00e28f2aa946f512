// TScoreStore: where the world table is kept. Two kinds: an SQLite file (the default, one
// machine) and a PostgreSQL database (several server instances sharing one table). Both keep
// the same rows under the same schema version and are safe to use from the server's threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
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
inline constexpr int kScoreSchemaVersion = 1;

class TScoreStore {
public:
    virtual ~TScoreStore() = default;

    enum class TAddResult { Stored, Repeated };
    // Stores the submission unless it repeats one of the last minute; the check and the insert
    // are one atomic step in the database. When this returns the row is committed. Throws
    // EScoreStoreError when the database fails.
    virtual TAddResult Add(const TSubmission& submission, std::int64_t time, const std::string& address) = 0;

    // The best `limit` scores, the earlier of equal scores first; only `country` when not empty,
    // only the verified ones when `verifiedOnly`.
    virtual std::vector<TScoreRow> Best(std::size_t limit, const std::string& country = {},
                                        bool verifiedOnly = false) = 0;
    // The countries of the table, most frequent first (at most `limit`).
    virtual std::vector<std::string> Countries(std::size_t limit) = 0;
};

// A PostgreSQL connection string ("postgresql://…", "postgres://…" or libpq's "key=value"
// form) opens PostgreSQL, anything else is an SQLite file. Throws EScoreStoreError.
std::unique_ptr<TScoreStore> OpenScoreStore(const std::string& database);
bool IsPostgresConnection(const std::string& database);

}  // namespace quillon::server
