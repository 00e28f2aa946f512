// The world table at size (not run by the tests; bench/score_server_scale runs it with a
// PostgreSQL server of its own). Fills a table of 100 rows and one of N rows (default 1,000,000:
// 100 countries, one row in a hundred verified with a replay) on each store, on the database's
// side in one statement, then measures every kind of request on both side by side with ab (4 at
// once; with two instances 2 at once on each) and the game's submissions (4 clients, one
// connection each, unique names), each the best of three rounds taken in turns, and prints each rate at N rows as a ratio to 100 rows:
// SQLite, PostgreSQL with one instance, and with two instances on one database. Reads are
// measured with the answers kept (the default) and with --cache-seconds 0, which reads every
// answer from the table. Also prints the disk per row and the memory of one instance.
//
// usage: score_server_scale --postgres CONNINFO [--rows N] [--seconds S] [--replay-bytes B]
//                           [--server PATH]
#include <httplib.h>
#include <libpq-fe.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ScoreServerSpawn.h"
#include "save/ScoreCodec.h"
#include "server/ScoreStore.h"

namespace {

using Clock = std::chrono::steady_clock;

// Each measure is the best of this many rounds.
constexpr int kRounds = 3;

struct TSettings {
    std::string Server;
    std::string Postgres;
    long long Rows = 1000000;
    double Seconds = 3;
    int ReplayBytes = 8192;
};

const struct {
    const char* Name;
    const char* Target;
} kReads[] = {
    {"page", "/cgi/version.pl?prg=Quillon&show&type=0"},
    {"page, verified", "/cgi/version.pl?prg=Quillon&show&type=0&verified=1"},
    {"page, one country", "/cgi/version.pl?prg=Quillon&show&type=0&country=c7"},
    {"JSON 100", "/api/scores?limit=100"},
    {"JSON 100, verified", "/api/scores?limit=100&verified=1"},
    {"JSON 100, one country", "/api/scores?limit=100&country=c7"},
    {"JSON 100, country, verified", "/api/scores?limit=100&country=c7&verified=1"},
};

// The rows, made by the database itself: 100 countries, scores spread over a million, times over
// the last `rows` seconds, every hundredth row verified with a replay of `replayBytes` bytes.
std::string FillSql(long long rows, int replayBytes, bool postgres) {
    const std::string replay = postgres ? "decode(repeat('ab', " + std::to_string(replayBytes) + "), 'hex')"
                                        : "randomblob(" + std::to_string(replayBytes) + ")";
    const std::string numbers = postgres ? "generate_series(1::bigint, " + std::to_string(rows) + ") AS n(i)"
                                         : "n";
    return std::string(postgres ? "" : "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                                           std::to_string(rows) + ") ") +
           "INSERT INTO scores (name, score, country, time, address, replay_state, replay)"
           " SELECT 'p' || i, (i * 7919) % 1000003, 'c' || (i % 100), 1700000000 + i, '10.0.0.1',"
           " CASE WHEN i % 100 = 0 THEN 'verified' ELSE 'none' END,"
           " CASE WHEN i % 100 = 0 THEN " + replay + " END FROM " + numbers;
}

bool RunSql(const std::string& database, const std::string& sql) {
    if (!quillon::server::IsPostgresConnection(database)) {
        sqlite3* db = nullptr;
        char* error = nullptr;
        const bool ok = sqlite3_open(database.c_str(), &db) == SQLITE_OK &&
                        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) == SQLITE_OK;
        if (!ok) std::fprintf(stderr, "%s: %s\n", sql.substr(0, 60).c_str(), error ? error : sqlite3_errmsg(db));
        sqlite3_free(error);
        sqlite3_close(db);
        return ok;
    }
    PGconn* db = PQconnectdb(database.c_str());
    PGresult* result = PQexec(db, sql.c_str());
    const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK || PQresultStatus(result) == PGRES_TUPLES_OK;
    if (!ok) std::fprintf(stderr, "%s: %s", sql.substr(0, 60).c_str(), PQerrorMessage(db));
    PQclear(result);
    PQfinish(db);
    return ok;
}

long long PostgresNumber(const std::string& database, const std::string& sql) {
    PGconn* db = PQconnectdb(database.c_str());
    PGresult* result = PQexec(db, sql.c_str());
    const long long value = PQntuples(result) == 1 ? std::atoll(PQgetvalue(result, 0, 0)) : -1;
    PQclear(result);
    PQfinish(db);
    return value;
}

// A fresh database of `rows` rows in the server's current layout.
bool Fill(const std::string& database, long long rows, int replayBytes) {
    const bool postgres = quillon::server::IsPostgresConnection(database);
    quillon::server::OpenScoreStore(database);  // the schema
    const auto start = Clock::now();
    if (!RunSql(database, FillSql(rows, replayBytes, postgres))) return false;
    if (postgres && !RunSql(database, "VACUUM ANALYZE")) return false;
    if (!postgres && !RunSql(database, "PRAGMA wal_checkpoint(TRUNCATE)")) return false;
    std::printf("  filled %lld rows in %.1f s\n", rows, std::chrono::duration<double>(Clock::now() - start).count());
    std::fflush(stdout);
    return true;
}

// A new PostgreSQL database of the server beside the one named by `admin`.
std::string FreshPostgres(const std::string& admin, const std::string& name) {
    RunSql(admin, "DROP DATABASE IF EXISTS " + name);
    if (!RunSql(admin, "CREATE DATABASE " + name)) return {};
    return admin + " dbname=" + name;
}

struct TInstances {
    std::vector<pid_t> Pids;
    std::vector<int> Ports;
    ~TInstances() {
        for (pid_t pid : Pids) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
};

bool Start(const TSettings& settings, const std::string& database, int count, double cacheSeconds,
           TInstances& instances) {
    for (int i = 0; i < count; ++i) {
        int port = 0;
        const pid_t pid = quillon::bench::StartScoreServer(
            settings.Server, {"--db", database, "--rate-limit", "0", "--cache-seconds", std::to_string(cacheSeconds)},
            port);
        if (pid < 0 || port == 0) {
            std::fprintf(stderr, "cannot start %s\n", settings.Server.c_str());
            return false;
        }
        instances.Pids.push_back(pid);
        instances.Ports.push_back(port);
    }
    return true;
}

// Requests a second of ab's over `seconds`, spread over the instances (4 at once in all);
// failed or non-200 answers make it negative.
double AbRate(const std::vector<int>& ports, const std::string& target, double seconds) {
    std::vector<FILE*> runs;
    const int each = 4 / static_cast<int>(ports.size());
    for (int port : ports) {
        const std::string command = "ab -q -c " + std::to_string(each) + " -t " +
                                    std::to_string(static_cast<int>(seconds)) + " -n 10000000 'http://127.0.0.1:" +
                                    std::to_string(port) + target + "' 2>&1";
        runs.push_back(popen(command.c_str(), "r"));
    }
    double rate = 0;
    bool sound = true;
    for (FILE* run : runs) {
        char line[512];
        while (std::fgets(line, sizeof line, run)) {
            double value = 0;
            long count = 0;
            if (std::sscanf(line, "Requests per second: %lf", &value) == 1) rate += value;
            if (std::sscanf(line, "Failed requests: %ld", &count) == 1 && count > 0) sound = false;
            if (std::sscanf(line, "Non-2xx responses: %ld", &count) == 1 && count > 0) sound = false;
        }
        if (pclose(run) != 0) sound = false;
    }
    return sound ? rate : -rate;
}

struct TSubmissions {
    double Rate = 0;
    double P99 = 0;
    int Failed = 0;
};

// The game's submissions, 4 clients at once, each one connection per submission, for `seconds`.
TSubmissions Submit(const std::vector<int>& ports, double seconds, const std::string& tag) {
    std::vector<std::vector<double>> latencies(4);
    std::atomic<int> failed = 0;
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    std::vector<std::thread> clients;
    for (int c = 0; c < 4; ++c)
        clients.emplace_back([&, c] {
            for (int i = 0; Clock::now() < end; ++i) {
                httplib::Client client("127.0.0.1", ports[static_cast<std::size_t>(c) % ports.size()]);
                const quillon::TScoreEntry entry{tag + std::to_string(c) + "n" + std::to_string(i), 1000 + i, "Bench"};
                const auto begin = Clock::now();
                const auto answer = client.Get("/cgi/version.pl?" + quillon::ScoreSubmissionQuery(entry));
                latencies[c].push_back(std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
                if (!answer || answer->status != 200) ++failed;
            }
        });
    for (std::thread& client : clients) client.join();
    std::vector<double> all;
    for (const auto& list : latencies) all.insert(all.end(), list.begin(), list.end());
    std::sort(all.begin(), all.end());
    TSubmissions result;
    result.Rate = static_cast<double>(all.size()) / seconds;
    result.P99 = all.empty() ? 0 : all[std::min(all.size() - 1, all.size() * 99 / 100)];
    result.Failed = failed;
    return result;
}

long ResidentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(1 << 20, '\n');
    }
    return 0;
}

void PrintRatio(const char* name, double small, double large) {
    const bool sound = small > 0 && large > 0;
    std::printf("  %-30s %9.0f/s %9.0f/s   %5.2f%s\n", name, std::abs(small), std::abs(large),
                std::abs(large) / std::max(std::abs(small), 1e-9), sound ? "" : "  (failed requests)");
    std::fflush(stdout);
}

// One store with `count` instances: every read kind on both tables, kept and not, then submissions.
bool Measure(const TSettings& settings, const std::string& title, const std::string& small, const std::string& large,
             int count) {
    std::printf("\n%s, %d instance%s: rate at 100 rows, at %lld rows, ratio\n", title.c_str(), count,
                count == 1 ? "" : "s", settings.Rows);
    for (const double cache : {1.0, 0.0}) {
        TInstances onSmall, onLarge;
        if (!Start(settings, small, count, cache, onSmall) || !Start(settings, large, count, cache, onLarge))
            return false;
        std::printf(" %s\n", cache > 0 ? "answers kept (--cache-seconds 1, the default)" : "every answer read from the table (--cache-seconds 0)");
        for (const auto& read : kReads) {
            // The best of three rounds, the two tables taking turns to go first: the other
            // programs of a shared machine lower a measure, never raise it.
            double atSmall = 0, atLarge = 0;
            for (int round = 0; round < kRounds; ++round)
                for (int turn = 0; turn < 2; ++turn) {
                    const bool small = (turn == 0) == (round % 2 == 0);
                    double& best = small ? atSmall : atLarge;
                    const double rate = AbRate((small ? onSmall : onLarge).Ports, read.Target, settings.Seconds);
                    if (rate < 0 || best < 0) best = -std::max(std::abs(best), std::abs(rate));
                    else best = std::max(best, rate);
                }
            PrintRatio(read.Name, atSmall, atLarge);
        }
        if (cache > 0) continue;
        // Names of their own on each run, so that none is a repeat.
        const std::string tag = title.substr(0, 1) + std::to_string(count);
        TSubmissions atSmall, atLarge;
        for (int round = 0; round < kRounds; ++round)
            for (int turn = 0; turn < 2; ++turn) {
                const bool small = (turn == 0) == (round % 2 == 0);
                const TSubmissions one = Submit((small ? onSmall : onLarge).Ports, settings.Seconds,
                                                tag + (small ? "a" : "b") + std::to_string(round));
                TSubmissions& best = small ? atSmall : atLarge;
                best.Failed += one.Failed;
                best.Rate = std::max(best.Rate, one.Rate);
                best.P99 = best.P99 == 0 ? one.P99 : std::min(best.P99, one.P99);
            }
        PrintRatio("submissions", atSmall.Rate, atLarge.Rate);
        std::printf("  %-30s %8.2f ms %8.2f ms   %5.2f%s\n", "submission p99", atSmall.P99, atLarge.P99,
                    atLarge.P99 / std::max(atSmall.P99, 1e-9),
                    atSmall.Failed + atLarge.Failed ? "  (failed submissions)" : "");
        std::printf("  memory of one instance at %lld rows: %ld KiB resident\n", settings.Rows,
                    ResidentKiB(onLarge.Pids[0]));
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    TSettings settings;
    settings.Server = (std::filesystem::path(argv[0]).parent_path() / "quillon-scores").string();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i], value = argv[i + 1];
        if (arg == "--server") settings.Server = value;
        else if (arg == "--postgres") settings.Postgres = value;
        else if (arg == "--rows") settings.Rows = std::atoll(value.c_str());
        else if (arg == "--seconds") settings.Seconds = std::max(1.0, std::atof(value.c_str()));
        else if (arg == "--replay-bytes") settings.ReplayBytes = std::atoi(value.c_str());
        else {
            std::fprintf(stderr, "unknown option %s\n", arg.c_str());
            return 2;
        }
    }
    if (settings.Postgres.empty()) {
        std::fprintf(stderr, "usage: score_server_scale --postgres CONNINFO [--rows N] [--seconds S]\n");
        return 2;
    }
    char pattern[] = "/tmp/quillon-scale-XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    const std::string dir = pattern;
    const std::string sqliteSmall = dir + "/small.db", sqliteLarge = dir + "/large.db";
    const std::string pgSmall = FreshPostgres(settings.Postgres, "quillon_small");
    const std::string pgLarge = FreshPostgres(settings.Postgres, "quillon_large");
    std::printf("%lld rows of 100 countries, 1 %% verified with a replay of %d bytes; ab -c 4 for %.0f s a "
                "round, best of 3; %u cores\n",
                settings.Rows, settings.ReplayBytes, settings.Seconds, std::thread::hardware_concurrency());
    bool sound = !pgSmall.empty() && !pgLarge.empty();
    sound = sound && Fill(sqliteSmall, 100, settings.ReplayBytes) && Fill(sqliteLarge, settings.Rows, settings.ReplayBytes) &&
            Fill(pgSmall, 100, settings.ReplayBytes) && Fill(pgLarge, settings.Rows, settings.ReplayBytes);
    if (sound) {
        const double replays = static_cast<double>(settings.Rows / 100) * settings.ReplayBytes;
        const double sqliteBytes = static_cast<double>(std::filesystem::file_size(sqliteLarge));
        const double pgBytes = static_cast<double>(PostgresNumber(pgLarge, "SELECT pg_database_size(current_database())"));
        std::printf("disk: SQLite %.0f MB, %.0f bytes a row besides its replay; PostgreSQL %.0f MB, %.0f bytes a row "
                    "(replays %.0f MB of each)\n",
                    sqliteBytes / 1e6, (sqliteBytes - replays) / static_cast<double>(settings.Rows), pgBytes / 1e6,
                    (pgBytes - replays) / static_cast<double>(settings.Rows), replays / 1e6);
        sound = Measure(settings, "SQLite", sqliteSmall, sqliteLarge, 1) &&
                Measure(settings, "PostgreSQL", pgSmall, pgLarge, 1) && Measure(settings, "PostgreSQL", pgSmall, pgLarge, 2);
    }
    std::filesystem::remove_all(dir);
    return sound ? 0 : 1;
}
