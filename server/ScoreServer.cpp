// The world table's HTTP routes, limits and request log.
#include "server/ScoreServer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <thread>

#include "server/BoundedTaskQueue.h"
#include "server/ScoresJson.h"
#include "server/SubmissionCheck.h"
#include "server/TablePage.h"

namespace quillon::server {
namespace {

constexpr const char* kTextType = "text/plain; charset=utf-8";
// A country filter longer than this cannot match: 16 letters of at most 2 bytes each.
constexpr std::size_t kMaxCountryFilter = 64;
constexpr int kListenBacklog = 1024;

void Answer(httplib::Response& response, int status, const std::string& text) {
    response.status = status;
    response.set_content(text + "\n", kTextType);
}

// A query value given at most once; "" when missing. False when repeated.
bool SingleParam(const httplib::Request& request, const char* key, std::string& value) {
    if (request.get_param_value_count(key) > 1) return false;
    value = request.get_param_value(key);
    return true;
}

// Request text as a safe log field: no control characters, and not endless.
std::string LogField(std::string_view text) {
    constexpr std::size_t kMaxField = 300;
    std::string out;
    for (char c : text.substr(0, kMaxField)) {
        const unsigned code = static_cast<unsigned char>(c);
        out += code < 0x20 || code == 0x7f || c == ' ' ? '?' : c;
    }
    if (text.size() > kMaxField) out += "...";
    return out.empty() ? "-" : out;
}

std::string IsoNow() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

}  // namespace

TScoreServer::TScoreServer(TScoreStore& store, TScoreServerSettings settings)
    : FStore(store), FSettings(std::move(settings)), FLimiter(FSettings.RatePerMinute, FSettings.RateBurst) {
    if (!FSettings.WallClock) FSettings.WallClock = [] { return static_cast<std::int64_t>(std::time(nullptr)); };
    if (!FSettings.SteadyClock)
        FSettings.SteadyClock = [] {
            return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
        };

    FHttp.new_task_queue = [this] { return new TBoundedTaskQueue(FSettings.Threads, FSettings.MaxWaiting); };
    FHttp.set_payload_max_length(4096);
    FHttp.set_read_timeout(5, 0);
    FHttp.set_write_timeout(5, 0);
    FHttp.set_keep_alive_timeout(2);
    FHttp.set_keep_alive_max_count(100);
    FHttp.set_pre_routing_handler([this](const auto& request, auto& response) { return Guard(request, response); });
    FHttp.Get(R"(/cgi/version\.pl)", [this](const auto& request, auto& response) { VersionScript(request, response); });
    FHttp.Get("/api/scores", [this](const auto& request, auto& response) { ScoresApi(request, response); });
    FHttp.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (response.body.empty()) Answer(response, response.status, response.status == 404 ? "not found" : "refused");
    });
    FHttp.set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
        Answer(response, 500, "internal error");
    });
    FHttp.set_logger([this](const auto& request, const auto& response) { LogRequest(request, response); });
}

int TScoreServer::Bind(const std::string& host, int port) {
    const int bound = port == 0 ? FHttp.bind_to_any_port(host) : FHttp.bind_to_port(host, port) ? port : -1;
    if (bound > 0) FHttp.WidenBacklog(kListenBacklog);
    return bound;
}

bool TScoreServer::Run() {
    bool ok = true;
    if (!FStopping) ok = FHttp.listen_after_bind();
    FFinished = true;
    return ok;
}

void TScoreServer::Stop() {
    FStopping = true;
    // The listening loop can only be stopped once it runs.
    while (!FHttp.is_running() && !FFinished) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    FHttp.stop();
}

httplib::Server::HandlerResponse TScoreServer::Guard(const httplib::Request& request, httplib::Response& response) {
    using R = httplib::Server::HandlerResponse;
    if (request.target.size() > kMaxTargetLength) {
        Answer(response, 414, "request too long");
        return R::Handled;
    }
    if (request.headers.size() > kMaxHeaderCount) {
        Answer(response, 431, "too many header lines");
        return R::Handled;
    }
    const double now = FSettings.SteadyClock();
    if (!FLimiter.Allow(request.remote_addr, now)) {
        const auto wait = static_cast<long>(std::ceil(FLimiter.WaitFor(request.remote_addr, now)));
        response.set_header("Retry-After", std::to_string(std::max(wait, 1L)));
        Answer(response, 429, "too many requests");
        return R::Handled;
    }
    return R::Unhandled;
}

void TScoreServer::VersionScript(const httplib::Request& request, httplib::Response& response) {
    std::string program;
    if (!SingleParam(request, "prg", program) || program != "Quillon") return Answer(response, 400, "unknown program");
    if (request.has_param("hs")) return Submit(request, response);
    if (request.has_param("show")) return ShowTable(request, response);
    Answer(response, 400, "neither a submission nor a table request");
}

void TScoreServer::Submit(const httplib::Request& request, httplib::Response& response) {
    std::string letters;
    if (!SingleParam(request, "inf", letters)) return Answer(response, 400, "more than one message");
    const TSubmissionCheck check = CheckSubmission(letters);
    if (const auto* fault = std::get_if<TSubmissionFault>(&check))
        return Answer(response, 400, SubmissionFaultText(*fault));
    try {
        FStore.Add(std::get<TSubmission>(check), FSettings.WallClock(), request.remote_addr);
    } catch (const EScoreStoreError& error) {
        if (FSettings.Log) FSettings.Log(IsoNow() + " error: " + error.what());
        return Answer(response, 503, "the table cannot take scores now");
    }
    Answer(response, 200, "OK");
}

void TScoreServer::ShowTable(const httplib::Request& request, httplib::Response& response) {
    std::string type, country;
    if (!SingleParam(request, "type", type) || type != "0") return Answer(response, 400, "unknown table");
    if (!SingleParam(request, "country", country) || country.size() > kMaxCountryFilter)
        return Answer(response, 400, "bad country");
    const std::string page = RenderTablePage(FStore.Best(FSettings.TableSize, country), FStore.Countries(300), country);
    response.set_header("Cache-Control", "no-cache");
    response.set_header("X-Content-Type-Options", "nosniff");
    response.set_header("Content-Security-Policy", "default-src 'none'; style-src 'unsafe-inline'; form-action 'self'");
    response.set_content(page, "text/html; charset=utf-8");
}

void TScoreServer::ScoresApi(const httplib::Request& request, httplib::Response& response) {
    std::string limitText, country;
    std::size_t limit = FSettings.TableSize;
    if (!SingleParam(request, "limit", limitText)) return Answer(response, 400, "bad limit");
    if (request.has_param("limit")) {
        if (limitText.empty() || limitText.size() > 4 || limitText.find_first_not_of("0123456789") != std::string::npos)
            return Answer(response, 400, "bad limit");
        limit = std::stoul(limitText);
        if (limit < 1 || limit > FSettings.TableSize) return Answer(response, 400, "bad limit");
    }
    if (!SingleParam(request, "country", country) || country.size() > kMaxCountryFilter)
        return Answer(response, 400, "bad country");
    response.set_header("Cache-Control", "no-cache");
    response.set_header("X-Content-Type-Options", "nosniff");
    response.set_content(RenderScoresJson(FStore.Best(limit, country)), "application/json; charset=utf-8");
}

void TScoreServer::LogRequest(const httplib::Request& request, const httplib::Response& response) {
    if (!FSettings.Log) return;
    FSettings.Log(IsoNow() + " " + LogField(request.remote_addr) + " " + LogField(request.method) + " " +
                  LogField(request.target) + " " + std::to_string(response.status) + " " +
                  std::to_string(response.body.size()));
}

}  // namespace quillon::server
