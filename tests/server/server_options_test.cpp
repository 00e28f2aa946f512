// The command line of quillon-scores.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "server/ServerOptions.h"

namespace quillon::server {
namespace {

TEST(ServerOptions, GoodCommandLines) {
    std::string error;
    const auto defaults = ParseServerOptions({}, error);
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->Host, "127.0.0.1");
    EXPECT_EQ(defaults->Port, 8080);
    EXPECT_EQ(defaults->Database, "quillon-scores.db");

    const auto given = ParseServerOptions(
        {"--listen", "0.0.0.0:80", "--db", "/var/lib/q/scores.db", "--rate-limit", "0", "--threads", "4",
         "--page-art", "/srv/quillon-art", "--trust-proxy", "::1", "--db-password-file", "/etc/quillon-scores/db-password",
         "--cache-seconds", "0.25"},
        error);
    ASSERT_TRUE(given) << error;
    EXPECT_EQ(given->Host, "0.0.0.0");
    EXPECT_EQ(given->Port, 80);
    EXPECT_EQ(given->Database, "/var/lib/q/scores.db");
    EXPECT_EQ(given->RatePerMinute, 0);
    EXPECT_EQ(given->Threads, 4u);
    EXPECT_EQ(given->PageArt, "/srv/quillon-art");
    EXPECT_EQ(given->CacheSeconds, 0.25);
    EXPECT_EQ(defaults->CacheSeconds, 1);
    EXPECT_EQ(given->TrustProxy, "::1");
    EXPECT_EQ(given->DbPasswordFile, "/etc/quillon-scores/db-password");

    const auto ipv6 = ParseServerOptions({"--listen", "[::1]:0"}, error);
    ASSERT_TRUE(ipv6) << error;
    EXPECT_EQ(ipv6->Host, "::1");
    EXPECT_EQ(ipv6->Port, 0);
}

TEST(ServerOptions, BadCommandLines) {
    const std::vector<std::vector<std::string>> cases = {
        {"--port", "80"},        {"--listen"},           {"--listen", "8080"},     {"--listen", ":8080"},
        {"--listen", "a:65536"}, {"--listen", "a:-1"},   {"--listen", "a:80x"},    {"--listen", "::1:80"},
        {"--listen", "[]:80"},   {"--db", ""},           {"--rate-limit", "-1"},   {"--rate-limit", "x"},
        {"--threads", "0"},      {"--threads", "99999"}, {"extra"},
        {"--page-art", ""},      {"--page-art"},         {"--trust-proxy", "proxy.example"},
        {"--cache-seconds", "2"}, {"--cache-seconds", "-0.5"},
    };
    for (const auto& args : cases) {
        std::string error;
        EXPECT_FALSE(ParseServerOptions(args, error)) << args[0] << (args.size() > 1 ? " " + args[1] : "");
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace quillon::server
