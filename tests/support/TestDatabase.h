// TTestDatabase: an empty world-table database of either kind for one test: an SQLite file in
// a temporary folder, or a private PostgreSQL server. The tests that must hold on both run as
// a table over TStoreKind.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "support/PrivatePostgres.h"

namespace quillon::testing {

enum class TStoreKind { Sqlite, Postgres };

inline std::ostream& operator<<(std::ostream& out, TStoreKind kind) {
    return out << (kind == TStoreKind::Sqlite ? "SQLite" : "PostgreSQL");
}
inline std::string StoreKindName(TStoreKind kind) { return kind == TStoreKind::Sqlite ? "SQLite" : "PostgreSQL"; }

class TTestDatabase {
public:
    explicit TTestDatabase(TStoreKind kind);
    ~TTestDatabase();

    // Empty when the database is ready; otherwise why the test must skip.
    std::string Missing;
    // The --db value: a file or a connection string.
    std::string Database;
    // The --db value of another empty database beside it, named `name`.
    std::string Fresh(const std::string& name);
    // Runs `sql` (one statement, or several without rows) on `database`, one of this object's,
    // as another program would; the rows it gave, every value as text (NULL as ""). Throws
    // std::runtime_error when the database refuses it.
    std::vector<std::vector<std::string>> Rows(const std::string& database, const std::string& sql) const;
    // The folder for everything else the test writes.
    std::string Dir;
    // Only for PostgreSQL: the server, to stop and start.
    std::unique_ptr<TPrivatePostgres> Postgres;
};

}  // namespace quillon::testing
