// TScoreServer: the world table's HTTP routes on cpp-httplib. It takes the game's submissions
// ("/cgi/version.pl?hs&prg=Quillon&inf=..."), shows the table page
// ("/cgi/version.pl?prg=Quillon&show&type=0") and the same as JSON ("/api/scores?limit=N"),
// and guards them with size limits and a per-address rate limit.
#pragma once

#include <httplib.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "server/ListeningServer.h"
#include "server/RateLimiter.h"
#include "server/ScoreStore.h"

namespace quillon::server {

struct TScoreServerSettings {
    double RatePerMinute = 120;  // requests per address and minute; 0 turns the limit off
    double RateBurst = 30;
    std::size_t Threads = 16;
    std::size_t MaxWaiting = 256;  // accepted connections waiting for a worker
    std::size_t TableSize = 100;   // rows on the page and the most /api/scores gives
    // Seconds since 1970 (the time stored with a row) and of a steady clock (the rate limit).
    std::function<std::int64_t()> WallClock;
    std::function<double()> SteadyClock;
    // Receives one line (without its line end) per request.
    std::function<void(const std::string&)> Log;
};

// The longest request target and the most header lines a request may carry.
inline constexpr std::size_t kMaxTargetLength = 1024;
inline constexpr std::size_t kMaxHeaderCount = 64;

class TScoreServer {
public:
    TScoreServer(TScoreStore& store, TScoreServerSettings settings);

    // Binds the listening socket; port 0 picks a free one. The bound port, or -1.
    int Bind(const std::string& host, int port);
    // Serves until Stop; the requests under way are finished before it returns.
    bool Run();
    // Safe from any thread, also before Run has started (Run then returns at once).
    void Stop();

private:
    httplib::Server::HandlerResponse Guard(const httplib::Request& request, httplib::Response& response);
    void VersionScript(const httplib::Request& request, httplib::Response& response);
    void Submit(const httplib::Request& request, httplib::Response& response);
    void ShowTable(const httplib::Request& request, httplib::Response& response);
    void ScoresApi(const httplib::Request& request, httplib::Response& response);
    void LogRequest(const httplib::Request& request, const httplib::Response& response);

    TScoreStore& FStore;
    TScoreServerSettings FSettings;
    TRateLimiter FLimiter;
    TListeningServer FHttp;
    std::atomic<bool> FStopping = false;
    std::atomic<bool> FFinished = false;
};

}  // namespace quillon::server
