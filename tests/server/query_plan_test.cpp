// The plan of every statement the stores run, on a filled table: each one goes through the
// index it was written for and never walks the whole table or sorts more than one entry's rows,
// so a page costs the same at a hundred rows and at millions. A statement added to a store
// without its rule here fails too.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "server/PostgresScoreStore.h"
#include "server/SqliteScoreStore.h"
#include "support/TestDatabase.h"

namespace quillon::server {
namespace {

// Four thousand rows of forty countries (and some without one), one in a hundred verified, a
// few queued: enough for PostgreSQL's planner to tell an index from a walk, and quick to make.
// The same statement suits both databases.
constexpr const char* kPlanFill =
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 4000)"
    " INSERT INTO scores (name, score, country, time, address, replay_state)"
    " SELECT 'p' || i, (i * 7919) % 100000, CASE WHEN i % 10 = 0 THEN '' ELSE 'c' || (i % 40) END, 1000 + i, 'a',"
    " CASE WHEN i % 100 = 0 THEN 'verified' WHEN i % 500 = 1 THEN 'queued' ELSE 'none' END FROM n";

struct TPlanRule {
    const char* Query;
    const char* Index;  // the index its plan names (or one of several, split by '|'); nullptr: it reads no table
    bool MaySort;       // it sorts the few rows of one entry
    const char* Values = "";  // PostgreSQL: the values to explain it with
};

const TPlanRule kSqliteRules[] = {
    {"find_repeat", "scores_by_entry", false},
    {"insert", nullptr, false},
    {"best", "scores_by_score", false},
    {"best_verified", "scores_verified", false},
    {"best_in_country", "scores_by_country", false},
    {"best_in_country_verified", "scores_verified_by_country", false},
    {"countries", "country_counts_by_rows", false},
    {"find_for_replay", "scores_by_entry", true},
    {"find_race", "scores_by_race", false},
    {"count_queued", "scores_queued", false},
    {"queue", "INTEGER PRIMARY KEY", false},
    {"find_queued", "scores_queued", false},
    {"claim", "INTEGER PRIMARY KEY", false},
    {"requeue", "INTEGER PRIMARY KEY", false},
    {"mark_verified", "INTEGER PRIMARY KEY", false},
    {"mark_failed", "INTEGER PRIMARY KEY", false},
    {"read_verification", "INTEGER PRIMARY KEY", false},
    {"read_replay", "INTEGER PRIMARY KEY", false},
};

const TPlanRule kPostgresRules[] = {
    {"lock_entry", nullptr, false, "'p1', '5', 'c1'"},
    {"insert_unless_repeated", "scores_by_entry", false, "'p1', '5', 'c1', '1000', 'a', '60'"},
    {"best", "scores_by_score", false, "'100'"},
    {"best_verified", "scores_verified", false, "'100'"},
    {"best_in_country", "scores_by_country", false, "'100', 'c1'"},
    {"best_in_country_verified", "scores_verified_by_country", false, "'100', 'c1'"},
    {"countries", "country_counts_by_rows", false, "'300'"},
    {"find_for_replay", "scores_by_entry|scores_by_country", true, "'p1', '5', 'c1', '1000'"},
    {"find_race", "scores_by_race", false, "'race'"},
    {"lock_queue", nullptr, false},
    {"count_queued", "scores_queued", false, "'10.0.0.0'"},
    {"queue", "scores_pkey", false, "'7', '00', 'race', '10.0.0.0'"},
    {"take_queued", "scores_queued", false, "'1000', '1', '60'"},
    {"requeue", "scores_pkey|scores_queued", false, "'7', '0'"},
    {"mark_verified", "scores_pkey|scores_queued", false, "'7'"},
    {"mark_failed", "scores_pkey|scores_queued", false, "'7', 'why'"},
    {"read_verification", "scores_pkey", false, "'7'"},
    {"read_replay", "scores_pkey", false, "'7'"},
};

// One of the `|`-separated `names` as a word of `plan`.
bool Names(const std::string& plan, const std::string& names) {
    std::size_t start = 0;
    for (std::size_t bar = 0; bar != std::string::npos; start = bar + 1) {
        bar = names.find('|', start);
        const std::string name = names.substr(start, bar - start);
        for (std::size_t at = plan.find(name); at != std::string::npos; at = plan.find(name, at + 1)) {
            const std::size_t end = at + name.size();
            if ((at == 0 || plan[at - 1] == ' ') && (end == plan.size() || plan[end] == ' ' || plan[end] == '\n'))
                return true;
        }
    }
    return false;
}

// The plan's lines, one string.
std::string PlanText(testing::TStoreKind kind, const testing::TTestDatabase& db, const std::string& database,
                     const TStoreQuery& query, const TPlanRule& rule) {
    std::string plan;
    if (kind == testing::TStoreKind::Sqlite) {
        // Rows of id, parent, unused and the step.
        for (const auto& row : db.Rows(database, std::string("EXPLAIN QUERY PLAN ") + query.Sql)) plan += row.at(3) + "\n";
        return plan;
    }
    // A table of thousands of rows is read faster whole than through an index, and PostgreSQL
    // knows it: walks and sorts are made its last resort here, so the plan shows how the
    // statement goes when the table is large (the benchmark measures that), and a statement that
    // no index serves still walks and sorts.
    const std::string values = *rule.Values ? std::string("(") + rule.Values + ")" : "";
    for (const auto& row : db.Rows(database, "SET plan_cache_mode = force_custom_plan; SET enable_seqscan = off;"
                                             " SET enable_sort = off; PREPARE q AS " +
                                                 std::string(query.Sql) + "; EXPLAIN (COSTS OFF) EXECUTE q" + values))
        plan += row.at(0) + "\n";
    return plan;
}

// Each kind's signs of reading every row, and of sorting what it read.
bool WalksATable(testing::TStoreKind kind, const std::string& plan) {
    if (kind == testing::TStoreKind::Postgres) return plan.find("Seq Scan") != std::string::npos;
    std::size_t start = 0;
    for (std::size_t end; (end = plan.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = plan.substr(start, end - start);
        if (line.starts_with("SCAN ") && line.find(" USING ") == std::string::npos) return true;
    }
    return false;
}

bool Sorts(testing::TStoreKind kind, const std::string& plan) {
    return plan.find(kind == testing::TStoreKind::Postgres ? "Sort" : "USE TEMP B-TREE") != std::string::npos;
}

class QueryPlanTest : public ::testing::TestWithParam<testing::TStoreKind> {};

TEST_P(QueryPlanTest, EveryStatementGoesThroughItsIndex) {
    const testing::TStoreKind kind = GetParam();
    testing::TTestDatabase db(kind);
    if (!db.Missing.empty()) GTEST_SKIP() << db.Missing;
    const std::string database = db.Fresh("plans");
    OpenScoreStore(database);  // the schema
    db.Rows(database, kPlanFill);
    if (kind == testing::TStoreKind::Postgres) db.Rows(database, "ANALYZE");

    const bool sqlite = kind == testing::TStoreKind::Sqlite;
    const std::span<const TStoreQuery> queries = sqlite ? SqliteStoreQueries() : PostgresStoreQueries();
    const std::span<const TPlanRule> rules = sqlite ? std::span<const TPlanRule>(kSqliteRules)
                                                    : std::span<const TPlanRule>(kPostgresRules);
    std::vector<std::string> explained;
    for (const TStoreQuery& query : queries) {
        SCOPED_TRACE(query.Name);
        const auto rule = std::find_if(rules.begin(), rules.end(),
                                       [&](const TPlanRule& r) { return std::string(r.Query) == query.Name; });
        ASSERT_NE(rule, rules.end()) << "a statement without its plan rule in this test";
        explained.push_back(query.Name);
        const std::string plan = PlanText(kind, db, database, query, *rule);
        EXPECT_FALSE(WalksATable(kind, plan)) << plan;
        EXPECT_TRUE(rule->MaySort || !Sorts(kind, plan)) << plan;
        if (rule->Index)
            EXPECT_TRUE(Names(plan, rule->Index)) << "not through " << rule->Index << ":\n" << plan;
        else
            EXPECT_EQ(plan.find("SCAN"), std::string::npos) << plan;
    }
    for (const TPlanRule& rule : rules)
        EXPECT_NE(std::find(explained.begin(), explained.end(), rule.Query), explained.end())
            << rule.Query << ": a rule for a statement the store no longer has";
}

INSTANTIATE_TEST_SUITE_P(Kinds, QueryPlanTest,
                         ::testing::Values(testing::TStoreKind::Sqlite, testing::TStoreKind::Postgres),
                         [](const auto& info) { return testing::StoreKindName(info.param); });

}  // namespace
}  // namespace quillon::server
