// TScoreServer: the world table's HTTP routes. It takes the game's submissions
// ("/cgi/version.pl?hs&prg=Quillon&inf=..."), shows the table page
// ("/cgi/version.pl?prg=Quillon&show&type=0") and the same as JSON ("/api/scores?limit=N"),
// takes the replay that proves a score ("POST /api/replays?name=&score=&country=") and gives
// verified replays back ("/api/replays/ID"), serves the page's title art ("/static/title.png"),
// and guards them with size limits and a per-address rate limit. THttpDaemon carries them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "server/AnswerCache.h"
#include "server/HttpDaemon.h"
#include "server/PagePicture.h"
#include "server/RateLimiter.h"
#include "server/ReplayCheck.h"
#include "server/ScoreStore.h"

namespace quillon::server {

struct TScoreServerSettings {
    double RatePerMinute = 120;  // requests per address and minute; 0 turns the limit off
    double RateBurst = 30;
    std::size_t Threads = 4;      // event threads, each serving many connections
    double HeadSeconds = 5;       // to send a request head, also the longest idle time
    double BodySeconds = 10;      // to send a replay after its request head
    std::size_t PerAddress = 32;  // open connections from one address
    std::string TrustProxy;       // the address of a proxy whose X-Forwarded-For is believed
    std::size_t Connections = 1000;
    std::size_t TableSize = 100;  // rows on the page and the most /api/scores gives
    // How long the page's and the JSON's answers are kept in memory (a new row this instance
    // knows of ends it sooner); 0: every answer read from the table.
    double AnswerSeconds = 1;
    TPagePicture Title;           // the page's title art; none when its file is empty
    TPagePicture EnglishTitle;    // the English page's, when the art has one; else it shows Title
    // Seconds since 1970 (the time stored with a row) and of a steady clock (the rate limit
    // and the connections' deadlines).
    std::function<std::int64_t()> WallClock;
    std::function<double()> SteadyClock;
    // Receives one line (without its line end) per request.
    std::function<void(const std::string&)> Log;
    std::size_t ReplayBytes = 1 << 20;  // the largest replay taken
    TQueueLimits Queue;                 // replays waiting for their verification
    // Told of every replay queued; without it the server verifies nothing and takes no replay.
    std::function<void()> ReplayQueued;
    // The game version and data files a replay must be recorded with (ReplayExpectationFor);
    // absent: any (the tests' stand-in games).
    std::optional<TReplayExpectation> ReplayExpectation;
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

    // One request's answer, without the network.
    THttpAnswer Answer(const THttpRequest& request);

private:
    THttpAnswer VersionScript(const class TTarget& target, const THttpRequest& request);
    THttpAnswer Submit(const TTarget& target, const std::string& address);
    THttpAnswer ShowTable(const TTarget& target, const std::string& acceptLanguage);
    THttpAnswer ScoresApi(const TTarget& target);
    THttpAnswer SubmitReplay(const TTarget& target, const std::string& replay, const std::string& address);
    THttpAnswer DownloadReplay(const std::string& path);
    THttpAnswer TitlePicture(const TPagePicture& title) const;
    // 429 when the address (group) has used up its requests; counted once per request.
    std::optional<THttpAnswer> RateLimited(const std::string& address);
    // 503 (nothing stored, nothing shown) when the database fails; the error goes to the log.
    THttpAnswer StoreFailed(const EScoreStoreError& error);
    // The answer kept for `key`, else the one `build` makes, kept from then on (a database
    // failure answers 503 and is not kept).
    template <typename TBuild>
    THttpAnswer Kept(const std::string& key, TBuild build);
    void LogRequest(const THttpRequest& request, int status, std::size_t bytes);

    TScoreStore& FStore;
    TScoreServerSettings FSettings;
    TRateLimiter FLimiter;
    TAnswerCache FAnswers;
    THttpDaemon FHttp;
};

}  // namespace quillon::server
