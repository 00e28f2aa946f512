// Load benchmark of the world score table server (not run by the tests): starts quillon-scores
// (one or two instances on one database) on loopback ports, lets many clients submit at once,
// one connection per submission as the game does, and reports throughput and latency. Then it
// checks the database: every acknowledged submission is there, none twice. With --kill-at F the
// first instance is killed with SIGKILL once that fraction of all submissions has been
// acknowledged. --db picks the store: an SQLite file (default: a fresh one) or a PostgreSQL
// connection string, whose table is emptied first. --compare CONNINFO runs SQLite and that
// PostgreSQL database with one and with two instances, and prints the four side by side.
//
// usage: score_server_load [--server PATH] [--clients N] [--each N] [--kill-at F] [--threads N]
//                          [--db FILE|CONNINFO] [--instances 1|2] [--compare CONNINFO]
#include <httplib.h>
#include <libpq-fe.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "ScoreServerSpawn.h"
#include "save/ScoreCodec.h"
#include "server/ScoreStore.h"

namespace {

using Clock = std::chrono::steady_clock;
using quillon::server::IsPostgresConnection;

struct TSettings {
    std::string Server;
    int Clients = 50;
    int Each = 200;
    double KillAt = 0;  // 0: no kill
    int Threads = 16;
};

struct TSent {
    std::string Name;
    std::int32_t Score = 0;
    bool Acknowledged = false;
    double Ms = 0;
};

struct TFigures {
    std::string Store;
    int Instances = 1;
    int Acknowledged = 0;
    int Total = 0;
    double Seconds = 0;
    double P50 = 0, P99 = 0, Max = 0;
    std::size_t Rows = 0;
    int Missing = 0, Twice = 0, UnacknowledgedStored = 0;
    bool Killed = false;
};

pid_t StartServer(const TSettings& settings, const std::string& database, int& port) {
    return quillon::bench::StartScoreServer(
        settings.Server, {"--db", database, "--rate-limit", "0", "--threads", std::to_string(settings.Threads)}, port);
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(p * static_cast<double>(values.size())))];
}

// A PostgreSQL table left by an earlier run would make its rows look like this run's.
bool EmptyPostgresTable(const std::string& connection) {
    PGconn* db = PQconnectdb(connection.c_str());
    PQsetNoticeProcessor(db, [](void*, const char*) {}, nullptr);
    bool ok = PQstatus(db) == CONNECTION_OK;
    if (ok) {
        PGresult* result = PQexec(db, "DROP TABLE IF EXISTS scores, schema_version, country_counts");
        ok = PQresultStatus(result) == PGRES_COMMAND_OK;
        PQclear(result);
    }
    if (!ok) std::fprintf(stderr, "cannot empty the PostgreSQL table: %s", PQerrorMessage(db));
    PQfinish(db);
    return ok;
}

bool RunOnce(const TSettings& settings, const std::string& database, int instances, TFigures& figures) {
    figures.Store = IsPostgresConnection(database) ? "PostgreSQL" : "SQLite";
    figures.Instances = instances;
    if (IsPostgresConnection(database) && !EmptyPostgresTable(database)) return false;
    std::vector<pid_t> servers;
    std::vector<int> ports;
    for (int i = 0; i < instances; ++i) {
        int port = 0;
        const pid_t server = StartServer(settings, database, port);
        if (server < 0 || port == 0) {
            std::fprintf(stderr, "cannot start %s\n", settings.Server.c_str());
            for (pid_t started : servers) kill(started, SIGKILL);
            return false;
        }
        servers.push_back(server);
        ports.push_back(port);
    }

    const int total = settings.Clients * settings.Each;
    const int killAfter = settings.KillAt > 0 ? static_cast<int>(settings.KillAt * total) : total + 1;
    std::atomic<int> acknowledged = 0;
    std::atomic<bool> killed = false;
    std::vector<std::vector<TSent>> sent(settings.Clients);
    const auto start = Clock::now();
    std::vector<std::thread> clients;
    for (int c = 0; c < settings.Clients; ++c) {
        clients.emplace_back([&, c] {
            // Clients alternate between the instances, as a proxy in front would spread them.
            httplib::Client client("127.0.0.1", ports[static_cast<std::size_t>(c) % ports.size()]);
            client.set_connection_timeout(5);
            client.set_read_timeout(10);
            for (int i = 0; i < settings.Each; ++i) {
                TSent one{"c" + std::to_string(c) + "n" + std::to_string(i), c * 100000 + i};
                const auto begin = Clock::now();
                const auto answer =
                    client.Get("/cgi/version.pl?" + quillon::ScoreSubmissionQuery({one.Name, one.Score, "Bench"}));
                one.Ms = std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
                one.Acknowledged = answer && answer->status == 200;
                if (one.Acknowledged && ++acknowledged == killAfter && !killed.exchange(true))
                    kill(servers[0], SIGKILL);
                sent[c].push_back(one);
            }
        });
    }
    for (std::thread& client : clients) client.join();
    figures.Seconds = std::chrono::duration<double>(Clock::now() - start).count();
    for (pid_t server : servers) {
        kill(server, SIGTERM);
        int status = 0;
        waitpid(server, &status, 0);
    }

    std::vector<double> latencies;
    for (const auto& list : sent)
        for (const TSent& one : list)
            if (one.Acknowledged) latencies.push_back(one.Ms);

    std::map<std::pair<std::string, std::int32_t>, int> rows;
    const auto store = quillon::server::OpenScoreStore(database);
    for (const auto& row : store->Best(static_cast<std::size_t>(total) + 1)) ++rows[{row.Name, row.Score}];
    for (const auto& list : sent)
        for (const TSent& one : list) {
            const auto found = rows.find({one.Name, one.Score});
            const int count = found == rows.end() ? 0 : found->second;
            if (count > 1) ++figures.Twice;
            if (one.Acknowledged && count == 0) ++figures.Missing;
            if (!one.Acknowledged && count == 1) ++figures.UnacknowledgedStored;
        }
    figures.Acknowledged = acknowledged;
    figures.Total = total;
    figures.P50 = Percentile(latencies, 0.50);
    figures.P99 = Percentile(latencies, 0.99);
    figures.Max = Percentile(latencies, 1.0);
    figures.Rows = rows.size();
    figures.Killed = killed;
    return true;
}

void PrintFigures(const TFigures& f) {
    std::printf("%-10s %d instance%s  %6d of %6d acknowledged in %6.2f s: %6.0f submissions/s  p50 %6.2f ms  "
                "p99 %7.2f ms  rows %zu, missing %d, twice %d, stored without answer %d%s\n",
                f.Store.c_str(), f.Instances, f.Instances == 1 ? " " : "s", f.Acknowledged, f.Total, f.Seconds,
                f.Acknowledged / f.Seconds, f.P50, f.P99, f.Rows, f.Missing, f.Twice, f.UnacknowledgedStored,
                f.Killed ? "  (first instance killed with SIGKILL mid-run)" : "");
}

}  // namespace

int main(int argc, char** argv) {
    TSettings settings;
    settings.Server = (std::filesystem::path(argv[0]).parent_path() / "quillon-scores").string();
    std::string database, compare;
    int instances = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i], value = argv[i + 1];
        if (arg == "--server") settings.Server = value;
        else if (arg == "--clients") settings.Clients = std::atoi(value.c_str());
        else if (arg == "--each") settings.Each = std::atoi(value.c_str());
        else if (arg == "--kill-at") settings.KillAt = std::atof(value.c_str());
        else if (arg == "--threads") settings.Threads = std::atoi(value.c_str());
        else if (arg == "--db") database = value;
        else if (arg == "--instances") instances = std::clamp(std::atoi(value.c_str()), 1, 2);
        else if (arg == "--compare") compare = value;
        else {
            std::fprintf(stderr, "unknown option %s\n", arg.c_str());
            return 2;
        }
    }

    char pattern[] = "/tmp/quillon-load-XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    const std::string dir = pattern;
    std::vector<std::pair<std::string, int>> runs;
    if (!compare.empty()) {
        runs = {{dir + "/one.db", 1}, {dir + "/two.db", 2}, {compare, 1}, {compare, 2}};
    } else {
        runs = {{database.empty() ? dir + "/scores.db" : database, instances}};
    }
    std::printf("clients %d x %d submissions, server threads %d\n", settings.Clients, settings.Each, settings.Threads);
    bool sound = true;
    for (const auto& [db, count] : runs) {
        TFigures figures;
        if (!RunOnce(settings, db, count, figures)) {
            sound = false;
            break;
        }
        PrintFigures(figures);
        sound = sound && figures.Missing == 0 && figures.Twice == 0;
    }
    std::filesystem::remove_all(dir);
    return sound ? 0 : 1;
}
