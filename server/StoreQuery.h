// TStoreQuery: one statement a store runs on the table, by name. Each store lists all of its
// statements, so the plan tests explain every one of them on a filled table.
#pragma once

namespace quillon::server {

struct TStoreQuery {
    const char* Name;
    const char* Sql;
};

}  // namespace quillon::server
