// Test databases of either kind.
#include "support/TestDatabase.h"

#include <libpq-fe.h>

#include <filesystem>
#include <stdexcept>

#include "support/HeadlessRun.h"

namespace quillon::testing {

TTestDatabase::TTestDatabase(TStoreKind kind) : Dir(MakeTempDir("store")) {
    if (kind == TStoreKind::Sqlite) {
        Database = Dir + "/scores.db";
        return;
    }
    Postgres = std::make_unique<TPrivatePostgres>();
    Missing = Postgres->Missing();
    Database = Postgres->Connection();
}

std::string TTestDatabase::Fresh(const std::string& name) {
    if (!Postgres) return Dir + "/" + name + ".db";
    PGconn* admin = PQconnectdb(Database.c_str());
    PGresult* created = PQexec(admin, ("CREATE DATABASE " + name).c_str());
    const bool ok = PQresultStatus(created) == PGRES_COMMAND_OK;
    const std::string error = PQerrorMessage(admin);
    PQclear(created);
    PQfinish(admin);
    if (!ok) throw std::runtime_error("cannot create the database " + name + ": " + error);
    return Database + " dbname=" + name;
}

TTestDatabase::~TTestDatabase() {
    Postgres.reset();
    std::error_code error;
    std::filesystem::remove_all(Dir, error);
}

}  // namespace quillon::testing
