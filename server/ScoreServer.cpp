// The world table's HTTP routes, limits and request log.
#include "server/ScoreServer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>

#include "server/LogText.h"
#include "server/QueryString.h"
#include "server/ScoresJson.h"
#include "server/SubmissionCheck.h"
#include "server/TablePage.h"

namespace quillon::server {
namespace {

// A country filter longer than this cannot match: 16 letters of at most 2 bytes each.
constexpr std::size_t kMaxCountryFilter = 64;

THttpAnswer Text(int status, const std::string& text) {
    THttpAnswer answer;
    answer.Status = status;
    answer.Body = text + "\n";
    return answer;
}

std::string IsoNow() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

THttpLimits HttpLimits(const TScoreServerSettings& settings) {
    THttpLimits limits;
    limits.Threads = settings.Threads;
    limits.HeadSeconds = settings.HeadSeconds;
    limits.PerAddress = settings.PerAddress;
    limits.Connections = settings.Connections;
    return limits;
}

std::function<double()> SteadyClockOf(const TScoreServerSettings& settings) {
    if (settings.SteadyClock) return settings.SteadyClock;
    return [] { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); };
}

}  // namespace

TScoreServer::TScoreServer(TScoreStore& store, TScoreServerSettings settings)
    : FStore(store),
      FSettings(std::move(settings)),
      FLimiter(FSettings.RatePerMinute, FSettings.RateBurst),
      FHttp(HttpLimits(FSettings), [this](const THttpRequest& request) { return Answer(request); },
            [this](const THttpRequest& request, int status, std::size_t bytes) { LogRequest(request, status, bytes); },
            // The connections' deadlines run on real time even when a test stills the rate limit's clock.
            SteadyClockOf({})) {
    if (!FSettings.WallClock) FSettings.WallClock = [] { return static_cast<std::int64_t>(std::time(nullptr)); };
    FSettings.SteadyClock = SteadyClockOf(FSettings);
}

int TScoreServer::Bind(const std::string& host, int port) { return FHttp.Bind(host, port); }

bool TScoreServer::Run() { return FHttp.Run(); }

void TScoreServer::Stop() { FHttp.Stop(); }

THttpAnswer TScoreServer::Answer(const THttpRequest& request) {
    if (request.Target.size() > kMaxTargetLength) return Text(414, "request too long");
    if (request.HeaderCount > kMaxHeaderCount) return Text(431, "too many header lines");
    const double now = FSettings.SteadyClock();
    if (!FLimiter.Allow(request.Address, now)) {
        const auto wait = static_cast<long>(std::ceil(FLimiter.WaitFor(request.Address, now)));
        THttpAnswer answer = Text(429, "too many requests");
        answer.Headers.emplace_back("Retry-After", std::to_string(std::max(wait, 1L)));
        return answer;
    }
    const TTarget target(request.Target);
    const bool read = request.Method == "GET" || request.Method == "HEAD";
    if (read && target.Path() == "/cgi/version.pl") return VersionScript(target, request.Address);
    if (read && target.Path() == "/api/scores") return ScoresApi(target);
    if (read && target.Path() == kTitlePicturePath) return TitlePicture();
    return Text(404, "not found");
}

THttpAnswer TScoreServer::VersionScript(const TTarget& target, const std::string& address) {
    std::string program;
    if (!target.Single("prg", program) || program != "Quillon") return Text(400, "unknown program");
    if (target.Has("hs")) return Submit(target, address);
    if (target.Has("show")) return ShowTable(target);
    return Text(400, "neither a submission nor a table request");
}

THttpAnswer TScoreServer::Submit(const TTarget& target, const std::string& address) {
    std::string letters;
    if (!target.Single("inf", letters)) return Text(400, "more than one message");
    const TSubmissionCheck check = CheckSubmission(letters);
    if (const auto* fault = std::get_if<TSubmissionFault>(&check)) return Text(400, SubmissionFaultText(*fault));
    try {
        FStore.Add(std::get<TSubmission>(check), FSettings.WallClock(), address);
    } catch (const EScoreStoreError& error) {
        return StoreFailed(error);
    }
    return Text(200, "OK");
}

THttpAnswer TScoreServer::StoreFailed(const EScoreStoreError& error) {
    if (FSettings.Log) FSettings.Log(IsoNow() + " error: " + LogField(error.what(), 1000));
    THttpAnswer answer = Text(503, "the table cannot be reached now");
    answer.Headers.emplace_back("Retry-After", "5");
    return answer;
}

THttpAnswer TScoreServer::ShowTable(const TTarget& target) {
    std::string type, verified;
    TTablePageView view;
    if (!target.Single("type", type) || type != "0") return Text(400, "unknown table");
    if (!target.Single("country", view.Country) || view.Country.size() > kMaxCountryFilter)
        return Text(400, "bad country");
    // The page's own form sends "verified=1" when its box is ticked and nothing otherwise.
    if (!target.Single("verified", verified) || (verified != "" && verified != "0" && verified != "1"))
        return Text(400, "bad verified filter");
    view.VerifiedOnly = verified == "1";
    if (!FSettings.Title.Png.empty()) {
        view.TitleWidth = FSettings.Title.Width;
        view.TitleHeight = FSettings.Title.Height;
    }
    std::string page;
    try {
        page = RenderTablePage(FStore.Best(FSettings.TableSize, view.Country, view.VerifiedOnly),
                               FStore.Countries(300), view);
    } catch (const EScoreStoreError& error) {
        return StoreFailed(error);
    }
    return {200, std::move(page), "text/html; charset=utf-8",
            {{"Cache-Control", "no-cache"},
             {"X-Content-Type-Options", "nosniff"},
             {"Content-Security-Policy",
              "default-src 'none'; style-src 'unsafe-inline'; img-src 'self'; form-action 'self'"}}};
}

THttpAnswer TScoreServer::TitlePicture() const {
    if (FSettings.Title.Png.empty()) return Text(404, "not found");
    return {200, FSettings.Title.Png, "image/png",
            {{"Cache-Control", "max-age=86400"}, {"X-Content-Type-Options", "nosniff"}}};
}

THttpAnswer TScoreServer::ScoresApi(const TTarget& target) {
    std::string limitText, country;
    std::size_t limit = FSettings.TableSize;
    if (!target.Single("limit", limitText)) return Text(400, "bad limit");
    if (target.Has("limit")) {
        if (limitText.empty() || limitText.size() > 4 || limitText.find_first_not_of("0123456789") != std::string::npos)
            return Text(400, "bad limit");
        limit = std::stoul(limitText);
        if (limit < 1 || limit > FSettings.TableSize) return Text(400, "bad limit");
    }
    if (!target.Single("country", country) || country.size() > kMaxCountryFilter) return Text(400, "bad country");
    std::string json;
    try {
        json = RenderScoresJson(FStore.Best(limit, country));
    } catch (const EScoreStoreError& error) {
        return StoreFailed(error);
    }
    return {200, std::move(json), "application/json; charset=utf-8",
            {{"Cache-Control", "no-cache"}, {"X-Content-Type-Options", "nosniff"}}};
}

void TScoreServer::LogRequest(const THttpRequest& request, int status, std::size_t bytes) {
    if (!FSettings.Log) return;
    FSettings.Log(IsoNow() + " " + LogField(request.Address) + " " + LogField(request.Method) + " " +
                  LogField(request.Target) + " " + (status ? std::to_string(status) : "-") + " " +
                  std::to_string(bytes));
}

}  // namespace quillon::server
