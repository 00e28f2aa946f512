// The command line of quillon-scores.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quillon::server {

struct TServerOptions {
    std::string Host = "127.0.0.1";
    int Port = 8080;
    std::string Database = "quillon-scores.db";
    double RatePerMinute = 120;
    std::size_t Threads = 16;
    double CacheSeconds = 1;  // the page's and the JSON's answers kept in memory
    // The game that verifies replays; empty: no replay is taken.
    std::string VerifyWith;
    std::size_t VerifyWorkers = 1;
    int VerifyCpuSeconds = 300;
    std::size_t VerifyMemoryMiB = 192;
    double VerifySeconds = 600;
    std::string PageArt;  // the folder of the page's title art; "" to look beside the program
    std::string TrustProxy;  // a proxy's address whose X-Forwarded-For is believed
    std::string DbPasswordFile;  // the PostgreSQL password, its first line
    bool Help = false;
    bool Version = false;
};

inline constexpr const char* kServerUsage =
    "usage: quillon-scores [--listen ADDR:PORT] [--db FILE|CONNINFO] [--rate-limit N] [--threads N]\n"
    "                      [--cache-seconds S]\n"
    "                      [--verify-with GAME [--verify-workers N] [--verify-cpu SECONDS]\n"
    "                       [--verify-memory MIB] [--verify-seconds SECONDS]]\n"
    "                      [--page-art DIR] [--trust-proxy ADDRESS] [--db-password-file FILE]\n"
    "       quillon-scores --help | --version\n"
    "  --listen ADDR:PORT  address to serve on (default 127.0.0.1:8080; port 0 picks a free one;\n"
    "                      IPv6 as [::1]:8080)\n"
    "  --db FILE|CONNINFO  SQLite database file of the table (default quillon-scores.db here),\n"
    "                      or a PostgreSQL connection string (postgresql://... or key=value ...)\n"
    "  --rate-limit N      requests per minute from one address (default 120; 0: no limit)\n"
    "  --threads N         event threads serving the connections (default 16)\n"
    "  --cache-seconds S   how long the page and the JSON are kept in memory, at most 1 (default\n"
    "                      1; a new row ends it sooner; 0: every answer read from the table)\n"
    "  --verify-with GAME  take the games' replays (POST /api/replays) and verify them by\n"
    "                      running GAME --headless --replay FILE (the quillon executable, its\n"
    "                      data beside it or installed) in a bubblewrap sandbox; without it no\n"
    "                      replay is taken, and without a working sandbox the server will not start\n"
    "  --verify-workers N  games verifying at once (default 1)\n"
    "  --verify-cpu S      CPU seconds one verification may use at most (default 300; a short\n"
    "                      race gets 10 s and 2 ms a frame)\n"
    "  --verify-memory M   address space of each process of a verification in MiB (default 192;\n"
    "                      0: no limit)\n"
    "  --verify-seconds S  wall-clock seconds before a verification is killed (default 600)\n"
    "  --page-art DIR      folder of the table page's title art (title.png; default: page-art\n"
    "                      beside the program, ../share/quillon-scores from it, or the\n"
    "                      installed data folder)\n"
    "  --trust-proxy ADDR  requests from ADDR (a reverse proxy in front) are the client's whose\n"
    "                      address the proxy appends last to X-Forwarded-For\n"
    "  --db-password-file FILE  the PostgreSQL password, the file's first line (libpq's own\n"
    "                      ~/.pgpass, PGPASSFILE and service files work as well)\n"
    "  --version           print the version and end\n";

// The options, or nothing with `error` set for a bad command line.
std::optional<TServerOptions> ParseServerOptions(const std::vector<std::string>& args, std::string& error);

}  // namespace quillon::server
