// The score table's layout step by step, for both kinds of database.
#include "server/SchemaSteps.h"

#include <string>

#include "server/ScoreStore.h"

namespace quillon::server {
namespace {

// Version 1: the table of the first servers, which wrote no version: a database with the table
// and without a version is at version 1, and its table is kept as it is.
constexpr const char* kSchemaOneSqlite[] = {
    "CREATE TABLE IF NOT EXISTS scores ("
    " id INTEGER PRIMARY KEY,"
    " name TEXT NOT NULL,"
    " score INTEGER NOT NULL,"
    " country TEXT NOT NULL,"
    " time INTEGER NOT NULL,"
    " address TEXT NOT NULL)",
    "CREATE INDEX IF NOT EXISTS scores_by_score ON scores (score DESC, id)",
    "CREATE INDEX IF NOT EXISTS scores_by_country ON scores (country, score DESC, id)",
    "CREATE INDEX IF NOT EXISTS scores_by_entry ON scores (name, score, country, time)",
};
constexpr const char* kSchemaOnePostgres[] = {
    "CREATE TABLE IF NOT EXISTS scores ("
    " id bigserial PRIMARY KEY,"
    " name text NOT NULL,"
    " score integer NOT NULL,"
    " country text NOT NULL,"
    " time bigint NOT NULL,"
    " address text NOT NULL)",
    "CREATE INDEX IF NOT EXISTS scores_by_score ON scores (score DESC, id)",
    "CREATE INDEX IF NOT EXISTS scores_by_country ON scores (country, score DESC, id)",
    "CREATE INDEX IF NOT EXISTS scores_by_entry ON scores (name, score, country, time)",
};

// Version 2: the replay sent for a row and where its verification stands.
constexpr const char* kSchemaTwoSqlite[] = {
    "ALTER TABLE scores ADD COLUMN replay BLOB",
    "ALTER TABLE scores ADD COLUMN replay_state TEXT NOT NULL DEFAULT 'none'",
    "ALTER TABLE scores ADD COLUMN replay_reason TEXT NOT NULL DEFAULT ''",
    "ALTER TABLE scores ADD COLUMN replay_claim INTEGER NOT NULL DEFAULT 0",
    "CREATE INDEX IF NOT EXISTS scores_queued ON scores (id) WHERE replay_state = 'queued'",
};
constexpr const char* kSchemaTwoPostgres[] = {
    "ALTER TABLE scores ADD COLUMN IF NOT EXISTS replay bytea,"
    " ADD COLUMN IF NOT EXISTS replay_state text NOT NULL DEFAULT 'none',"
    " ADD COLUMN IF NOT EXISTS replay_reason text NOT NULL DEFAULT '',"
    " ADD COLUMN IF NOT EXISTS replay_claim bigint NOT NULL DEFAULT 0",
    "CREATE INDEX IF NOT EXISTS scores_queued ON scores (id) WHERE replay_state = 'queued'",
};

// Version 3: a race verifies one row only; the queue is shared fairly between senders.
constexpr const char* kSchemaThreeSqlite[] = {
    "ALTER TABLE scores ADD COLUMN replay_key TEXT",
    "ALTER TABLE scores ADD COLUMN replay_from TEXT NOT NULL DEFAULT ''",
    "CREATE UNIQUE INDEX IF NOT EXISTS scores_by_race ON scores (replay_key) WHERE replay_key IS NOT NULL",
};
constexpr const char* kSchemaThreePostgres[] = {
    "ALTER TABLE scores ADD COLUMN IF NOT EXISTS replay_key text,"
    " ADD COLUMN IF NOT EXISTS replay_from text NOT NULL DEFAULT ''",
    "CREATE UNIQUE INDEX IF NOT EXISTS scores_by_race ON scores (replay_key) WHERE replay_key IS NOT NULL",
};

// Version 4: what the page asks for never grows with the table. The rows of each country are
// counted as they come and go (by triggers, in the transaction that changes the row, also when
// the operator deletes rows by hand), and the verified rows have indexes of their own, with and
// without the country.
constexpr const char* kSchemaFourSqlite[] = {
    "CREATE TABLE IF NOT EXISTS country_counts ("
    " country TEXT PRIMARY KEY,"
    " row_count INTEGER NOT NULL) WITHOUT ROWID",
    "CREATE INDEX IF NOT EXISTS country_counts_by_rows ON country_counts (row_count DESC, country)",
    "DELETE FROM country_counts",
    "INSERT INTO country_counts (country, row_count)"
    " SELECT country, count(*) FROM scores WHERE country <> '' GROUP BY country",
    "CREATE TRIGGER IF NOT EXISTS scores_count_insert AFTER INSERT ON scores WHEN NEW.country <> '' BEGIN"
    " INSERT INTO country_counts (country, row_count) VALUES (NEW.country, 1)"
    " ON CONFLICT (country) DO UPDATE SET row_count = row_count + 1;"
    " END",
    "CREATE TRIGGER IF NOT EXISTS scores_count_delete AFTER DELETE ON scores BEGIN"
    " UPDATE country_counts SET row_count = row_count - 1 WHERE country = OLD.country;"
    " DELETE FROM country_counts WHERE country = OLD.country AND row_count <= 0;"
    " END",
    "CREATE TRIGGER IF NOT EXISTS scores_count_move AFTER UPDATE OF country ON scores BEGIN"
    " UPDATE country_counts SET row_count = row_count - 1 WHERE country = OLD.country;"
    " DELETE FROM country_counts WHERE country = OLD.country AND row_count <= 0;"
    " INSERT INTO country_counts (country, row_count) SELECT NEW.country, 1 WHERE NEW.country <> ''"
    " ON CONFLICT (country) DO UPDATE SET row_count = row_count + 1;"
    " END",
    "CREATE INDEX IF NOT EXISTS scores_verified ON scores (score DESC, id)"
    " WHERE replay_state = 'verified'",
    "CREATE INDEX IF NOT EXISTS scores_verified_by_country ON scores (country, score DESC, id)"
    " WHERE replay_state = 'verified'",
};
// Several instances share the table here: the trigger comes first, so from then on no instance
// can change the table until the counts are in.
constexpr const char* kSchemaFourPostgres[] = {
    "CREATE TABLE IF NOT EXISTS country_counts ("
    " country text PRIMARY KEY,"
    " row_count bigint NOT NULL)",
    "CREATE INDEX IF NOT EXISTS country_counts_by_rows"
    " ON country_counts (row_count DESC, country COLLATE \"C\")",
    // One trigger run per statement with the statement's rows (transition tables): a count's
    // row changes once per statement, however many rows it moves, so the operator's DELETE of
    // thousands of rows does not pile up thousands of versions of one count in its transaction.
    "CREATE OR REPLACE FUNCTION scores_count_countries() RETURNS trigger LANGUAGE plpgsql AS $$"
    " BEGIN"
    "  IF TG_OP = 'TRUNCATE' THEN"
    "   DELETE FROM country_counts;"
    "   RETURN NULL;"
    "  END IF;"
    "  IF TG_OP = 'INSERT' THEN"
    "   INSERT INTO country_counts (country, row_count)"
    "    SELECT country, count(*) FROM new_rows WHERE country <> '' GROUP BY country ORDER BY country"
    "    ON CONFLICT (country) DO UPDATE SET row_count = country_counts.row_count + excluded.row_count;"
    "  ELSIF TG_OP = 'DELETE' THEN"
    "   UPDATE country_counts SET row_count = row_count - gone.n"
    "    FROM (SELECT country, count(*) AS n FROM old_rows GROUP BY country) AS gone"
    "    WHERE country_counts.country = gone.country;"
    "  ELSE"
    "   INSERT INTO country_counts (country, row_count)"
    "    SELECT country, sum(n) FROM (SELECT country, 1 AS n FROM new_rows"
    "     UNION ALL SELECT country, -1 FROM old_rows) AS moved"
    "    WHERE country <> '' GROUP BY country HAVING sum(n) <> 0 ORDER BY country"
    "    ON CONFLICT (country) DO UPDATE SET row_count = country_counts.row_count + excluded.row_count;"
    "  END IF;"
    "  IF TG_OP <> 'INSERT' THEN"
    "   DELETE FROM country_counts WHERE row_count <= 0"
    "    AND country IN (SELECT DISTINCT country FROM old_rows);"
    "  END IF;"
    "  RETURN NULL;"
    " END $$",
    "DROP TRIGGER IF EXISTS scores_count_inserts ON scores",
    "CREATE TRIGGER scores_count_inserts AFTER INSERT ON scores REFERENCING NEW TABLE AS new_rows"
    " FOR EACH STATEMENT EXECUTE FUNCTION scores_count_countries()",
    "DROP TRIGGER IF EXISTS scores_count_deletes ON scores",
    "CREATE TRIGGER scores_count_deletes AFTER DELETE ON scores REFERENCING OLD TABLE AS old_rows"
    " FOR EACH STATEMENT EXECUTE FUNCTION scores_count_countries()",
    // Every update (a replay's state too) runs it; only a changed country writes a count.
    "DROP TRIGGER IF EXISTS scores_count_updates ON scores",
    "CREATE TRIGGER scores_count_updates AFTER UPDATE ON scores"
    " REFERENCING OLD TABLE AS old_rows NEW TABLE AS new_rows"
    " FOR EACH STATEMENT EXECUTE FUNCTION scores_count_countries()",
    "DROP TRIGGER IF EXISTS scores_count_truncate ON scores",
    "CREATE TRIGGER scores_count_truncate AFTER TRUNCATE ON scores"
    " FOR EACH STATEMENT EXECUTE FUNCTION scores_count_countries()",
    "DELETE FROM country_counts",
    "INSERT INTO country_counts (country, row_count)"
    " SELECT country, count(*) FROM scores WHERE country <> '' GROUP BY country",
    "CREATE INDEX IF NOT EXISTS scores_verified ON scores (score DESC, id)"
    " WHERE replay_state = 'verified'",
    "CREATE INDEX IF NOT EXISTS scores_verified_by_country ON scores (country, score DESC, id)"
    " WHERE replay_state = 'verified'",
    "ANALYZE scores",
};

constexpr TSchemaStep kSchemaSteps[] = {
    {1, kSchemaOneSqlite, kSchemaOnePostgres},
    {2, kSchemaTwoSqlite, kSchemaTwoPostgres},
    {3, kSchemaThreeSqlite, kSchemaThreePostgres},
    {4, kSchemaFourSqlite, kSchemaFourPostgres},
};

constexpr bool SchemaStepsRunOneToLatest() {
    int expected = 1;
    for (const TSchemaStep& step : kSchemaSteps)
        if (step.Version != expected++ || step.Sqlite.empty() || step.Postgres.empty()) return false;
    return expected - 1 == kScoreSchemaVersion;
}
static_assert(SchemaStepsRunOneToLatest(), "every version from 1 to the latest has a step for each database");

}  // namespace

std::span<const TSchemaStep> ScoreSchemaSteps() { return kSchemaSteps; }

const char* SchemaVersionTableSql(TSchemaDialect dialect) {
    return dialect == TSchemaDialect::Sqlite ? "CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)"
                                             : "CREATE TABLE IF NOT EXISTS schema_version (version integer NOT NULL)";
}

void BringSchemaUpToDate(int version, TSchemaDialect dialect, const std::function<void(const char* sql)>& run) {
    if (version > kScoreSchemaVersion)
        throw EScoreStoreError("the score database is of a newer server (schema version " + std::to_string(version) +
                               ")");
    for (const TSchemaStep& step : kSchemaSteps) {
        if (step.Version <= version) continue;
        for (const char* sql : step.Statements(dialect)) run(sql);
        run(("INSERT INTO schema_version (version) VALUES (" + std::to_string(step.Version) + ")").c_str());
    }
}

}  // namespace quillon::server
