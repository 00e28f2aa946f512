// Load benchmark of the world score table server (not run by the tests): starts quillon-scores
// on a loopback port with a fresh database, lets many clients submit at once, one connection per
// submission as the game does, and reports throughput and latency. Then it checks the database:
// every acknowledged submission is there, none twice. With --kill-at F the server is killed with
// SIGKILL once that fraction of all submissions has been acknowledged.
//
// usage: score_server_load [--server PATH] [--clients N] [--each N] [--kill-at F] [--threads N]
#include <httplib.h>
#include <signal.h>
#include <spawn.h>
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

#include "save/ScoreCodec.h"
#include "server/SqliteScoreStore.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

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

pid_t StartServer(const TSettings& settings, const std::string& database, int& port) {
    int out[2];
    if (pipe(out) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> args = {settings.Server, "--listen", "127.0.0.1:0", "--db", database,
                                     "--rate-limit", "0", "--threads", std::to_string(settings.Threads)};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, settings.Server.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    FILE* stream = fdopen(out[0], "r");
    char line[512] = {};
    if (rc != 0 || !std::fgets(line, sizeof line, stream) ||
        std::sscanf(line, "quillon-scores: listening on 127.0.0.1:%d,", &port) != 1)
        port = 0;
    std::fclose(stream);
    return rc == 0 ? pid : -1;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(p * static_cast<double>(values.size())))];
}

}  // namespace

int main(int argc, char** argv) {
    TSettings settings;
    settings.Server = (std::filesystem::path(argv[0]).parent_path() / "quillon-scores").string();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i], value = argv[i + 1];
        if (arg == "--server") settings.Server = value;
        else if (arg == "--clients") settings.Clients = std::atoi(value.c_str());
        else if (arg == "--each") settings.Each = std::atoi(value.c_str());
        else if (arg == "--kill-at") settings.KillAt = std::atof(value.c_str());
        else if (arg == "--threads") settings.Threads = std::atoi(value.c_str());
        else {
            std::fprintf(stderr, "unknown option %s\n", arg.c_str());
            return 2;
        }
    }

    char pattern[] = "/tmp/quillon-load-XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    const std::string dir = pattern;
    const std::string database = dir + "/scores.db";
    int port = 0;
    const pid_t server = StartServer(settings, database, port);
    if (server < 0 || port == 0) {
        std::fprintf(stderr, "cannot start %s\n", settings.Server.c_str());
        return 1;
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
            httplib::Client client("127.0.0.1", port);
            client.set_connection_timeout(5);
            client.set_read_timeout(10);
            for (int i = 0; i < settings.Each; ++i) {
                TSent one{"c" + std::to_string(c) + "n" + std::to_string(i), c * 100000 + i};
                const auto begin = Clock::now();
                const auto answer =
                    client.Get("/cgi/version.pl?" + quillon::ScoreSubmissionQuery({one.Name, one.Score, "Bench"}));
                one.Ms = std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
                one.Acknowledged = answer && answer->status == 200;
                if (one.Acknowledged && ++acknowledged == killAfter && !killed.exchange(true)) kill(server, SIGKILL);
                sent[c].push_back(one);
            }
        });
    }
    for (std::thread& client : clients) client.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (!killed) kill(server, SIGTERM);
    int status = 0;
    waitpid(server, &status, 0);

    std::vector<double> latencies;
    for (const auto& list : sent)
        for (const TSent& one : list)
            if (one.Acknowledged) latencies.push_back(one.Ms);

    std::map<std::pair<std::string, std::int32_t>, int> rows;
    quillon::server::TSqliteScoreStore store(database);
    for (const auto& row : store.Best(static_cast<std::size_t>(total) + 1)) ++rows[{row.Name, row.Score}];
    int missing = 0, twice = 0, unacknowledgedStored = 0;
    for (const auto& list : sent)
        for (const TSent& one : list) {
            const auto found = rows.find({one.Name, one.Score});
            const int count = found == rows.end() ? 0 : found->second;
            if (count > 1) ++twice;
            if (one.Acknowledged && count == 0) ++missing;
            if (!one.Acknowledged && count == 1) ++unacknowledgedStored;
        }

    std::printf("clients %d x %d submissions, server threads %d%s\n", settings.Clients, settings.Each,
                settings.Threads, killed ? ", killed with SIGKILL mid-run" : "");
    std::printf("acknowledged %d of %d in %.2f s: %.0f submissions/s\n", acknowledged.load(), total, seconds,
                acknowledged / seconds);
    std::printf("latency of acknowledged submissions: p50 %.2f ms, p99 %.2f ms, max %.2f ms\n",
                Percentile(latencies, 0.50), Percentile(latencies, 0.99), Percentile(latencies, 1.0));
    std::printf("database: %zu rows; acknowledged but missing %d; stored twice %d; stored without answer %d\n",
                rows.size(), missing, twice, unacknowledgedStored);
    std::filesystem::remove_all(dir);
    return missing == 0 && twice == 0 ? 0 : 1;
}
