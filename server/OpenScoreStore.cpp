// Choosing the store from the --db value.
#include "server/PostgresScoreStore.h"
#include "server/SqliteScoreStore.h"

namespace quillon::server {

bool IsPostgresConnection(const std::string& database) {
    return database.rfind("postgresql://", 0) == 0 || database.rfind("postgres://", 0) == 0 ||
           (database.find('=') != std::string::npos &&
            (database.find("dbname=") != std::string::npos || database.find("host=") != std::string::npos ||
             database.find("service=") != std::string::npos));
}

std::unique_ptr<TScoreStore> OpenScoreStore(const std::string& database) {
    if (IsPostgresConnection(database)) return std::make_unique<TPostgresScoreStore>(database);
    return std::make_unique<TSqliteScoreStore>(database);
}

}  // namespace quillon::server
