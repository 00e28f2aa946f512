// The score table's layout, one version after another: each version's statements for SQLite
// and for PostgreSQL side by side, walked the same way by both stores when they open a database.
#pragma once

#include <functional>
#include <span>

namespace quillon::server {

enum class TSchemaDialect { Sqlite, Postgres };

struct TSchemaStep {
    int Version;
    std::span<const char* const> Sqlite;
    std::span<const char* const> Postgres;

    std::span<const char* const> Statements(TSchemaDialect dialect) const {
        return dialect == TSchemaDialect::Sqlite ? Sqlite : Postgres;
    }
};

// Every version from 1 to kScoreSchemaVersion, in order.
std::span<const TSchemaStep> ScoreSchemaSteps();

// The table the versions are written to, made first when missing.
const char* SchemaVersionTableSql(TSchemaDialect dialect);
// One row, one column: the database's version, 0 for a database without one.
inline constexpr const char* kReadSchemaVersionSql = "SELECT coalesce(max(version), 0) FROM schema_version";

// From the database's `version`, inside the store's open transaction: refuses a newer version
// (EScoreStoreError), then hands `run` each later step's statements, each step followed by
// the line that records its version.
void BringSchemaUpToDate(int version, TSchemaDialect dialect, const std::function<void(const char* sql)>& run);

}  // namespace quillon::server
