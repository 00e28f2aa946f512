// Test databases of either kind.
#include "support/TestDatabase.h"

#include <libpq-fe.h>
#include <sqlite3.h>

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

std::vector<std::vector<std::string>> TTestDatabase::Rows(const std::string& database, const std::string& sql) const {
    std::vector<std::vector<std::string>> rows;
    if (!Postgres) {
        sqlite3* db = nullptr;
        char* error = nullptr;
        const auto add = [](void* out, int columns, char** values, char**) {
            auto& list = *static_cast<std::vector<std::vector<std::string>>*>(out);
            list.emplace_back();
            for (int i = 0; i < columns; ++i) list.back().emplace_back(values[i] ? values[i] : "");
            return 0;
        };
        const bool ok = sqlite3_open(database.c_str(), &db) == SQLITE_OK && sqlite3_busy_timeout(db, 5000) == SQLITE_OK &&
                        sqlite3_exec(db, sql.c_str(), add, &rows, &error) == SQLITE_OK;
        const std::string message = error ? error : (db ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_free(error);
        sqlite3_close(db);
        if (!ok) throw std::runtime_error(sql + ": " + message);
        return rows;
    }
    PGconn* db = PQconnectdb(database.c_str());
    PGresult* result = PQexec(db, sql.c_str());
    const ExecStatusType status = PQresultStatus(result);
    const std::string message = PQerrorMessage(db);
    for (int row = 0; row < PQntuples(result); ++row) {
        rows.emplace_back();
        for (int column = 0; column < PQnfields(result); ++column) rows.back().emplace_back(PQgetvalue(result, row, column));
    }
    PQclear(result);
    PQfinish(db);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) throw std::runtime_error(sql + ": " + message);
    return rows;
}

TTestDatabase::~TTestDatabase() {
    Postgres.reset();
    std::error_code error;
    std::filesystem::remove_all(Dir, error);
}

}  // namespace quillon::testing
