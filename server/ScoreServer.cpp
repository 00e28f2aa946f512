// The world table's HTTP routes, limits and request log.
#include "server/ScoreServer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <optional>
#include <string_view>

#include "server/AddressGroup.h"
#include "server/LogText.h"
#include "server/PageLanguage.h"
#include "server/QueryString.h"
#include "server/ScoresJson.h"
#include "server/SteadySeconds.h"
#include "server/SubmissionCheck.h"
#include "server/TablePage.h"

namespace quillon::server {
namespace {

// A name or country in a query longer than this matches no row: the game's names (12 letters)
// and countries (16 letters) take at most 2 bytes a letter.
constexpr std::size_t kMaxQueryText = 64;

std::string IsoNow() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

constexpr std::string_view kReplaysPath = "/api/replays";

// Answers kept at most: the pages and JSON answers of the countries most asked for, in about
// 10 MB (a page of 100 rows is about 40 KB).
constexpr std::size_t kKeptAnswers = 256;

THttpLimits HttpLimits(const TScoreServerSettings& settings) {
    THttpLimits limits;
    const std::size_t replayBytes = settings.ReplayBytes;
    limits.BodyLimit = [replayBytes](const std::string& method, const std::string& target) -> std::size_t {
        return method == "POST" && TTarget(target).Path() == kReplaysPath ? replayBytes : 0;
    };
    limits.Threads = settings.Threads;
    limits.HeadSeconds = settings.HeadSeconds;
    limits.BodySeconds = settings.BodySeconds;
    limits.PerAddress = settings.PerAddress;
    limits.Connections = settings.Connections;
    limits.HeaderLines = kMaxHeaderCount;
    limits.TrustProxy = settings.TrustProxy;
    return limits;
}

std::function<double()> SteadyClockOf(const TScoreServerSettings& settings) {
    if (settings.SteadyClock) return settings.SteadyClock;
    return [] { return SteadySeconds(); };
}

}  // namespace

TScoreServer::TScoreServer(TScoreStore& store, TScoreServerSettings settings)
    : FStore(store),
      FSettings(std::move(settings)),
      FLimiter(FSettings.RatePerMinute, FSettings.RateBurst),
      FAnswers(FSettings.AnswerSeconds, kKeptAnswers),
      FHttp(
          [this] {
              THttpLimits limits = HttpLimits(FSettings);
              // An upload counts against its address when its head arrives, before its body is read.
              limits.AdmitBody = [this](const THttpRequest& request) { return RateLimited(request.Address); };
              return limits;
          }(), [this](const THttpRequest& request) { return Answer(request); },
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
    if (request.Target.size() > kMaxTargetLength) return TextAnswer(414, "request too long");
    if (!request.Admitted)
        if (std::optional<THttpAnswer> limited = RateLimited(request.Address)) return *limited;
    const TTarget target(request.Target);
    const bool read = request.Method == "GET" || request.Method == "HEAD";
    if (read && target.Path() == "/cgi/version.pl") return VersionScript(target, request);
    if (read && target.Path() == "/api/scores") return ScoresApi(target);
    if (request.Method == "POST" && target.Path() == kReplaysPath) return SubmitReplay(target, request.Body, request.Address);
    if (read && target.Path().starts_with(std::string(kReplaysPath) + "/")) return DownloadReplay(target.Path());
    if (read && target.Path() == kTitlePicturePath) return TitlePicture(FSettings.Title);
    if (read && target.Path() == kEnglishTitlePicturePath) return TitlePicture(FSettings.EnglishTitle);
    return TextAnswer(404, "not found");
}

std::optional<THttpAnswer> TScoreServer::RateLimited(const std::string& address) {
    const std::string group = AddressGroup(address);
    const double now = FSettings.SteadyClock();
    if (FLimiter.Allow(group, now)) return std::nullopt;
    const auto wait = static_cast<long>(std::ceil(FLimiter.WaitFor(group, now)));
    THttpAnswer answer = TextAnswer(429, "too many requests");
    answer.Headers.emplace_back("Retry-After", std::to_string(std::max(wait, 1L)));
    return answer;
}

THttpAnswer TScoreServer::VersionScript(const TTarget& target, const THttpRequest& request) {
    std::string program;
    if (!target.Single("prg", program) || program != "Quillon") return TextAnswer(400, "unknown program");
    if (target.Has("hs")) return Submit(target, request.Address);
    if (target.Has("show")) return ShowTable(target, request.AcceptLanguage);
    return TextAnswer(400, "neither a submission nor a table request");
}

THttpAnswer TScoreServer::Submit(const TTarget& target, const std::string& address) {
    std::string letters;
    if (!target.Single("inf", letters)) return TextAnswer(400, "more than one message");
    const TSubmissionCheck check = CheckSubmission(letters);
    if (const auto* fault = std::get_if<TSubmissionFault>(&check)) return TextAnswer(400, SubmissionFaultText(*fault));
    try {
        FStore.Add(std::get<TSubmission>(check), FSettings.WallClock(), address);
    } catch (const EScoreStoreError& error) {
        return StoreFailed(error);
    }
    return TextAnswer(200, "OK");
}

THttpAnswer TScoreServer::StoreFailed(const EScoreStoreError& error) {
    if (FSettings.Log) FSettings.Log(IsoNow() + " error: " + LogField(error.what(), 1000));
    THttpAnswer answer = TextAnswer(503, "the table cannot be reached now");
    answer.Headers.emplace_back("Retry-After", "5");
    return answer;
}

THttpAnswer TScoreServer::ShowTable(const TTarget& target, const std::string& acceptLanguage) {
    std::string type, verified, lang;
    TTablePageView view;
    if (!target.Single("type", type) || type != "0") return TextAnswer(400, "unknown table");
    if (!target.Single("country", view.Country) || view.Country.size() > kMaxQueryText)
        return TextAnswer(400, "bad country");
    // The page's own form sends "verified=1" when its box is ticked and nothing otherwise.
    if (!target.Single("verified", verified) || (verified != "" && verified != "0" && verified != "1"))
        return TextAnswer(400, "bad verified filter");
    view.VerifiedOnly = verified == "1";
    // The page's own `lang` wins over the browser's header; one it does not have is refused.
    if (!target.Single("lang", lang)) return TextAnswer(400, "bad language");
    const std::optional<TPageLanguage> asked = LanguageOfCode(lang);
    if (!asked && !lang.empty()) return TextAnswer(400, "bad language");
    view.Language = asked ? *asked : PreferredLanguage(acceptLanguage);
    const bool englishArt = view.Language == TPageLanguage::English && !FSettings.EnglishTitle.Png.empty();
    const TPagePicture& title = englishArt ? FSettings.EnglishTitle : FSettings.Title;
    if (!title.Png.empty()) {
        view.TitleWidth = title.Width;
        view.TitleHeight = title.Height;
        view.TitleAddress = englishArt ? kEnglishTitlePicturePath : kTitlePicturePath;
    }
    // Kept by the language chosen, never by the header's text: two answers for each filter at most.
    const std::string key = std::string("page\n") + std::string(LanguageCode(view.Language)) + "\n" +
                            (view.VerifiedOnly ? "1\n" : "0\n") + view.Country;
    THttpAnswer answer = Kept(key, [&] {
        return THttpAnswer{
            200,
            RenderTablePage(FStore.Best(FSettings.TableSize, view.Country, view.VerifiedOnly), FStore.Countries(300),
                            view),
            "text/html; charset=utf-8",
            {{"Cache-Control", "no-cache"},
             {"X-Content-Type-Options", "nosniff"},
             {"Content-Language", std::string(LanguageCode(view.Language))},
             {"Content-Security-Policy",
              "default-src 'none'; style-src 'unsafe-inline'; img-src 'self'; form-action 'self'"}}};
    });
    // Chosen by the header, the same address answers in either language: caches on the way must
    // keep both apart.
    if (!asked && answer.Status == 200) answer.Headers.emplace_back("Vary", "Accept-Language");
    return answer;
}

template <typename TBuild>
THttpAnswer TScoreServer::Kept(const std::string& key, TBuild build) {
    // The count is read before the table: a row that comes while the answer is built makes it old at once.
    const std::uint64_t changes = FStore.Changes();
    const double now = FSettings.SteadyClock();
    if (std::optional<THttpAnswer> kept = FAnswers.Find(key, changes, now)) return std::move(*kept);
    THttpAnswer answer;
    try {
        answer = build();
    } catch (const EScoreStoreError& error) {
        return StoreFailed(error);
    }
    FAnswers.Keep(key, answer, changes, now);
    return answer;
}

THttpAnswer TScoreServer::TitlePicture(const TPagePicture& title) const {
    if (title.Png.empty()) return TextAnswer(404, "not found");
    return {200, title.Png, "image/png",
            {{"Cache-Control", "max-age=86400"}, {"X-Content-Type-Options", "nosniff"}}};
}

THttpAnswer TScoreServer::ScoresApi(const TTarget& target) {
    std::string limitText, country;
    std::size_t limit = FSettings.TableSize;
    if (!target.Single("limit", limitText)) return TextAnswer(400, "bad limit");
    if (target.Has("limit")) {
        if (limitText.empty() || limitText.size() > 4 || limitText.find_first_not_of("0123456789") != std::string::npos)
            return TextAnswer(400, "bad limit");
        limit = std::stoul(limitText);
        if (limit < 1 || limit > FSettings.TableSize) return TextAnswer(400, "bad limit");
    }
    if (!target.Single("country", country) || country.size() > kMaxQueryText) return TextAnswer(400, "bad country");
    std::string verified;
    if (!target.Single("verified", verified) || (target.Has("verified") && verified != "0" && verified != "1"))
        return TextAnswer(400, "bad verified");
    return Kept("json\n" + std::to_string(limit) + (verified == "1" ? "\n1\n" : "\n0\n") + country, [&] {
        return THttpAnswer{200,
                           RenderScoresJson(FStore.Best(limit, country, verified == "1")),
                           "application/json; charset=utf-8",
                           {{"Cache-Control", "no-cache"}, {"X-Content-Type-Options", "nosniff"}}};
    });
}

// The replay of a row stored in the last ten minutes from the same address (group); read here
// first, verified later by the workers.
THttpAnswer TScoreServer::SubmitReplay(const TTarget& target, const std::string& replay, const std::string& address) {
    TSubmission entry;
    std::string score;
    if (!target.Single("name", entry.Name) || !target.Single("score", score) ||
        !target.Single("country", entry.Country) || entry.Name.empty() || entry.Name.size() > kMaxQueryText ||
        entry.Country.size() > kMaxQueryText || !ParseScoreText(score, entry.Score))
        return TextAnswer(400, "a replay needs the name, score and country of its row");
    if (replay.empty()) return TextAnswer(400, "no replay");
    if (replay.size() > FSettings.ReplayBytes) return TextAnswer(413, "request body too large");
    if (!FSettings.ReplayQueued) {
        THttpAnswer answer = TextAnswer(503, "this server verifies no replays");
        answer.Headers.emplace_back("Retry-After", "3600");
        return answer;
    }
    const TSentReplay sent = CheckSentReplay(replay, entry, FSettings.ReplayExpectation);
    const TReplayUpload upload{replay, sent.Key, AddressGroup(address), sent.Fault};
    TAttachResult result;
    try {
        result = FStore.AttachReplay(entry, upload, FSettings.WallClock(), FSettings.Queue);
    } catch (const EScoreStoreError& error) {
        return StoreFailed(error);
    }
    switch (result) {
        case TAttachResult::Queued:
            FSettings.ReplayQueued();
            return TextAnswer(202, "queued for verification");
        case TAttachResult::NoSuchRow:
            return TextAnswer(404, "no such score in the last ten minutes");
        case TAttachResult::NotOwner:
            return TextAnswer(403, "this score was sent from another address");
        case TAttachResult::AlreadyVerified:
            return TextAnswer(409, "this score is verified already");
        case TAttachResult::AlreadyHasReplay:
            return TextAnswer(409, "this score has its replay already");
        case TAttachResult::Refused:
            return TextAnswer(422, sent.Fault);
        case TAttachResult::RaceUsed:
            return TextAnswer(409, "this race proves another score already");
        case TAttachResult::AddressBusy: {
            THttpAnswer busy = TextAnswer(429, "too many of your replays wait for verification");
            busy.Headers.emplace_back("Retry-After", "60");
            return busy;
        }
        case TAttachResult::QueueFull:
            break;
    }
    THttpAnswer full = TextAnswer(503, "too many replays wait for verification");
    full.Headers.emplace_back("Retry-After", "60");
    return full;
}

THttpAnswer TScoreServer::DownloadReplay(const std::string& path) {
    const std::string id = path.substr(kReplaysPath.size() + 1);
    if (id.empty() || id.size() > 18 || id.find_first_not_of("0123456789") != std::string::npos)
        return TextAnswer(404, "no such replay");
    std::optional<std::string> replay;
    try {
        replay = FStore.VerifiedReplay(std::stoll(id));
    } catch (const EScoreStoreError& error) {
        return StoreFailed(error);
    }
    if (!replay) return TextAnswer(404, "no verified replay for this score");
    return {200, std::move(*replay), "application/octet-stream",
            {{"Content-Disposition", "attachment; filename=\"quillon-" + id + ".qrp\""},
             {"X-Content-Type-Options", "nosniff"}}};
}

void TScoreServer::LogRequest(const THttpRequest& request, int status, std::size_t bytes) {
    if (!FSettings.Log) return;
    FSettings.Log(IsoNow() + " " + LogField(request.Address) + " " + LogField(request.Method) + " " +
                  LogField(request.Target) + " " + (status ? std::to_string(status) : "-") + " " +
                  std::to_string(bytes));
}

}  // namespace quillon::server
