// Parsing the command line of quillon-scores.
#include "server/ServerOptions.h"

#include <arpa/inet.h>

#include <algorithm>
#include <charconv>
#include <iterator>

namespace quillon::server {
namespace {

template <typename T>
bool ParseNumber(const std::string& text, T& value, T low, T high) {
    T parsed{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (ec != std::errc() || end != text.data() + text.size() || parsed < low || parsed > high) return false;
    value = parsed;
    return true;
}

bool ParseListen(const std::string& text, TServerOptions& options) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0) return false;
    std::string host = text.substr(0, colon);
    if (host.front() == '[') {
        if (host.size() < 3 || host.back() != ']') return false;
        host = host.substr(1, host.size() - 2);
    } else if (host.find(':') != std::string::npos) {
        return false;  // an IPv6 address needs its brackets
    }
    if (!ParseNumber(text.substr(colon + 1), options.Port, 0, 65535)) return false;
    options.Host = host;
    return true;
}

}  // namespace

std::optional<TServerOptions> ParseServerOptions(const std::vector<std::string>& args, std::string& error) {
    TServerOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.Help = true;
            continue;
        }
        if (arg == "--version") {
            options.Version = true;
            continue;
        }
        static const char* const kValued[] = {"--listen",       "--db",         "--rate-limit",    "--threads",
                                               "--verify-with",  "--verify-workers", "--verify-cpu", "--verify-memory",
                                               "--verify-seconds", "--page-art", "--trust-proxy", "--cache-seconds",
                                               "--db-password-file"};
        if (std::find(std::begin(kValued), std::end(kValued), arg) == std::end(kValued)) {
            error = "unknown option " + arg;
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            error = arg + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        bool ok = true;
        if (arg == "--listen") ok = ParseListen(value, options);
        else if (arg == "--db") {
            ok = !value.empty();
            options.Database = value;
        }
        else if (arg == "--trust-proxy") {
            in6_addr six{};
            in_addr four{};
            ok = inet_pton(AF_INET, value.c_str(), &four) == 1 || inet_pton(AF_INET6, value.c_str(), &six) == 1;
            options.TrustProxy = value;
        }
        else if (arg == "--db-password-file") {
            ok = !value.empty();
            options.DbPasswordFile = value;
        }
        else if (arg == "--page-art") {
            ok = !value.empty();
            options.PageArt = value;
        }
        else if (arg == "--rate-limit") ok = ParseNumber(value, options.RatePerMinute, 0.0, 1e9);
        else if (arg == "--threads") ok = ParseNumber<std::size_t>(value, options.Threads, 1, 1024);
        else if (arg == "--cache-seconds") ok = ParseNumber(value, options.CacheSeconds, 0.0, 1.0);
        else if (arg == "--verify-with") {
            ok = !value.empty();
            options.VerifyWith = value;
        }
        else if (arg == "--verify-workers") ok = ParseNumber<std::size_t>(value, options.VerifyWorkers, 1, 64);
        else if (arg == "--verify-cpu") ok = ParseNumber(value, options.VerifyCpuSeconds, 1, 86400);
        else if (arg == "--verify-memory") ok = ParseNumber<std::size_t>(value, options.VerifyMemoryMiB, 0, 1 << 20);
        else ok = ParseNumber(value, options.VerifySeconds, 0.1, 86400.0);
        if (!ok) {
            error = "bad value for " + arg + ": " + value;
            return std::nullopt;
        }
    }
    return options;
}

}  // namespace quillon::server
