// quillon-scores against hostile clients, one case a row: slow and idle connections, floods of
// header lines, requests for thousands of ranges, pipelined requests, oversized heads, raw bytes
// for the log, crafted Accept-Language headers and SIGTERM while slow clients hang on. After each the table is still served.
#include <gtest/gtest.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "save/ScoreCodec.h"
#include "support/HeadlessRun.h"
#include "support/RawHttpConnection.h"
#include "support/ServerProcess.h"

namespace quillon::server {
namespace {

using testing::GetRequest;
using testing::TRawAnswer;
using testing::TRawHttpConnection;
using testing::TServerProcess;

double Seconds() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

const std::string kPageTarget = "/cgi/version.pl?prg=Quillon&show&type=0";

// One case's running server and what every case needs of it.
struct THostileRun {
    TServerProcess& Server;

    // A fresh client's read of the JSON: its status and how long the answer took.
    std::pair<int, double> Probe() {
        const double start = Seconds();
        TRawHttpConnection probe(Server.Port);
        probe.Send(GetRequest("/api/scores?limit=5"));
        const auto answers = probe.ReadAnswers(1, 5);
        return {answers.empty() ? 0 : answers[0].Status, Seconds() - start};
    }

    // `count` connections spread over other loopback addresses (8 from each), every one
    // having sent the start of a request head.
    std::vector<std::unique_ptr<TRawHttpConnection>> SlowClients(int count) {
        std::vector<std::unique_ptr<TRawHttpConnection>> clients;
        for (int i = 0; i < count; ++i) {
            clients.push_back(std::make_unique<TRawHttpConnection>(Server.Port, "127.0.0." + std::to_string(2 + i / 8)));
            clients.back()->Send("GET /api/scores HTTP/1.1\r\nHost: 127.0.0.1\r\n");
        }
        return clients;
    }
};

// Trickles one header line every 100 ms on each of the given connections until told to end.
class TTrickle {
public:
    explicit TTrickle(std::vector<std::unique_ptr<TRawHttpConnection>>& clients)
        : FThread([this, &clients] {
              while (!FEnd) {
                  for (auto& client : clients) client->Send("X-Slow: 1\r\n");
                  std::this_thread::sleep_for(std::chrono::milliseconds(100));
              }
          }) {}
    ~TTrickle() {
        FEnd = true;
        FThread.join();
    }

private:
    std::atomic<bool> FEnd = false;
    std::thread FThread;
};

void SlowHeadersHoldNoOne(THostileRun& run) {
    auto clients = run.SlowClients(64);
    TTrickle trickle(clients);
    for (int i = 0; i < 5; ++i) {
        const auto [status, seconds] = run.Probe();
        EXPECT_EQ(status, 200);
        EXPECT_LT(seconds, 1.0) << "probe " << i;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

void IdleConnectionsHoldNoOne(THostileRun& run) {
    std::vector<std::unique_ptr<TRawHttpConnection>> idle;
    for (int i = 0; i < 64; ++i)
        idle.push_back(std::make_unique<TRawHttpConnection>(run.Server.Port, "127.0.0." + std::to_string(2 + i / 8)));
    const auto [status, seconds] = run.Probe();
    EXPECT_EQ(status, 200);
    EXPECT_LT(seconds, 1.0);
}

void HeaderFloodsStayBounded(THostileRun& run) {
    const long before = run.Server.ResidentKiB();
    std::vector<std::thread> floods;
    for (int i = 0; i < 4; ++i)
        floods.emplace_back([&, i] {
            TRawHttpConnection flood(run.Server.Port, "127.0.0." + std::to_string(2 + i));
            flood.Send("GET /api/scores HTTP/1.1\r\nHost: 127.0.0.1\r\n");
            std::string chunk;
            while (chunk.size() < 65536) chunk += "X-Flood: aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\r\n";
            for (std::size_t sent = 0; sent < 30u << 20 && flood.Send(chunk); sent += chunk.size()) {
            }
        });
    for (std::thread& flood : floods) flood.join();
    EXPECT_LT(run.Server.ResidentKiB() - before, 64 * 1024);
    EXPECT_EQ(run.Probe().first, 200);
}

void ManyRangesGetThePageOnce(THostileRun& run) {
    TRawHttpConnection plain(run.Server.Port);
    plain.Send(GetRequest(kPageTarget));
    const auto page = plain.ReadAnswers(1, 5);
    ASSERT_EQ(page.size(), 1u);
    std::string ranges = "Range: bytes=0-";
    for (int i = 1; i < 2000; ++i) ranges += ",0-";
    TRawHttpConnection ranged(run.Server.Port);
    ranged.Send(GetRequest(kPageTarget, ranges + "\r\n"));
    const auto answer = ranged.ReadAnswers(1, 5);
    ASSERT_EQ(answer.size(), 1u);
    EXPECT_EQ(answer[0].Status, 200);
    EXPECT_LE(answer[0].Body.size(), page[0].Body.size());
}

void PipelinedRequestsAnsweredInOrder(THostileRun& run) {
    std::string requests;
    for (int i = 0; i < 20; ++i)
        requests += i % 2 ? GetRequest("/api/scores?limit=" + std::to_string(i))
                          : GetRequest("/cgi/version.pl?" + ScoreSubmissionQuery({"p" + std::to_string(i), i, ""}));
    TRawHttpConnection client(run.Server.Port);
    ASSERT_TRUE(client.Send(requests));
    const auto answers = client.ReadAnswers(20, 10);
    ASSERT_EQ(answers.size(), 20u);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(answers[i].Status, 200) << i;
        if (i % 2 == 0) EXPECT_EQ(answers[i].Body, "OK\n") << i;
        else EXPECT_EQ(answers[i].Body.rfind("{\"scores\":", 0), 0u) << i;
    }
    TRawHttpConnection check(run.Server.Port);
    check.Send(GetRequest("/api/scores?limit=100"));
    const auto table = check.ReadAnswers(1, 5);
    ASSERT_EQ(table.size(), 1u);
    for (int i = 0; i < 20; i += 2)
        EXPECT_NE(table[0].Body.find("\"name\":\"p" + std::to_string(i) + "\""), std::string::npos) << table[0].Body;
}

// A request for the JSON whose head is exactly `bytes` long in `lines` header lines (the last one
// pads it out).
std::string HeadOfSize(std::size_t bytes, std::size_t lines) {
    std::string head = "GET /api/scores?limit=1 HTTP/1.1\r\nHost: 127.0.0.1\r\n";
    for (std::size_t i = 2; i < lines; ++i) head += "X-Line-" + std::to_string(i) + ": a\r\n";
    const std::size_t padding = bytes - head.size() - std::string("X-Pad: \r\n\r\n").size();
    return head + "X-Pad: " + std::string(padding, 'a') + "\r\n\r\n";
}

// Every head within 16 KiB and 64 header lines is answered, and the connection kept; every one
// beyond is refused with its status and closed, however close to the limit or to the
// connection's memory it comes: never a connection closed without an answer.
void OversizedHeadsRefused(THostileRun& run) {
    struct Case {
        std::string what;
        std::string request;
        int status;
    };
    std::vector<Case> cases = {
        {"a request line of 20 KiB", GetRequest("/api/scores?x=" + std::string(20000, 'a')), 414},
        {"one header of 20 KiB", GetRequest("/api/scores", "X-Big: " + std::string(20000, 'a') + "\r\n"), 431},
        {"16 KiB exactly", HeadOfSize(16384, 2), 200},
        {"16 KiB exactly in 64 lines", HeadOfSize(16384, 64), 200},
        {"a byte over 16 KiB", HeadOfSize(16385, 2), 431},
        {"65 short lines", HeadOfSize(2000, 65), 431},
        {"65 lines of 16 KiB", HeadOfSize(16384, 65), 431},
        {"200 short lines", HeadOfSize(4000, 200), 431},
    };
    // Around the limit and on to where the connection's memory ends, in steps that do not divide
    // evenly into anything.
    for (std::size_t bytes = 15800; bytes <= 25000; bytes += 97)
        cases.push_back({std::to_string(bytes) + " bytes", HeadOfSize(bytes, 2), bytes <= 16384 ? 200 : 431});
    for (const Case& c : cases) {
        TRawHttpConnection client(run.Server.Port);
        client.Send(c.request);
        const auto answers = client.ReadAnswers(1, 5);
        ASSERT_EQ(answers.size(), 1u) << c.what << ": closed without an answer";
        EXPECT_EQ(answers[0].Status, c.status) << c.what;
        if (c.status == 200) {
            client.Send(GetRequest("/api/scores?limit=1"));
            EXPECT_EQ(client.ReadAnswers(1, 5).size(), 1u) << c.what << ": the connection was not kept";
        } else {
            EXPECT_TRUE(client.ClosedWithin(5)) << c.what;
        }
    }
    EXPECT_EQ(run.Probe().first, 200);
    run.Server.Signal(SIGTERM);
    EXPECT_EQ(run.Server.Wait(), 0);
    EXPECT_NE(run.Server.Log().find("GET /api/scores?limit=1 431 "), std::string::npos) << "refusals are logged";
}

void AnnouncedBodiesAreNotWaitedFor(THostileRun& run) {
    TRawHttpConnection client(run.Server.Port);
    client.Send("POST /api/scores HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 100000000\r\n\r\nabc");
    const auto answers = client.ReadAnswers(1, 2);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].Status, 404);
    EXPECT_TRUE(client.ClosedWithin(2));
    EXPECT_EQ(run.Probe().first, 200);
}

void OneAddressCannotTakeEveryConnection(THostileRun& run) {
    std::vector<std::unique_ptr<TRawHttpConnection>> crowd;
    for (int i = 0; i < 40; ++i) crowd.push_back(std::make_unique<TRawHttpConnection>(run.Server.Port, "127.0.0.9"));
    int refused = 0;
    for (auto& client : crowd) refused += client->ClosedWithin(0.05);
    EXPECT_EQ(refused, 40 - 32);
    EXPECT_EQ(run.Probe().first, 200);
}

void RawBytesAreEscapedInTheLog(THostileRun& run) {
    TRawHttpConnection client(run.Server.Port);
    client.Send(GetRequest("/api/scores?country=\xff\x01\x1b[2J\xd0\x9a"));
    ASSERT_EQ(client.ReadAnswers(1, 5).size(), 1u);
    run.Server.Signal(SIGTERM);
    EXPECT_EQ(run.Server.Wait(), 0);
    const std::string log = run.Server.Log();
    EXPECT_NE(log.find("GET /api/scores?country=\\xff\\x01\\x1b[2J\xd0\x9a 200 "), std::string::npos) << log;
    EXPECT_EQ(log.find('\xff'), std::string::npos);
    EXPECT_EQ(log.find('\x1b'), std::string::npos);
}

// The page's language from the header as the HTTP layer hands it on: its lines joined, its
// name in any case, as long as the head allows, bytes that are no text. The JSON stays one.
void CraftedAcceptLanguage(THostileRun& run) {
    std::string manyLines;
    for (int i = 0; i < 60; ++i) manyLines += "Accept-Language: x" + std::to_string(i) + ";q=0.01\r\n";
    const struct {
        const char* What;
        std::string Headers;
        const char* Language;
    } cases[] = {
        {"none", "", "en"},
        {"Russian", "Accept-Language: ru-RU,ru;q=0.9,en;q=0.8\r\n", "ru"},
        {"the name in small letters", "accept-language: ru\r\n", "ru"},
        {"two lines, read as one list", "Accept-Language: en;q=0.1\r\nAccept-Language: ru\r\n", "ru"},
        {"60 lines", manyLines + "Accept-Language: ru;q=0.02\r\n", "ru"},
        {"15 KiB of entries", "Accept-Language: " + std::string(15000, ',') + "ru\r\n", "ru"},
        {"bytes that are no text", "Accept-Language: \xff\xfe\x01;q=1, \xd0\x9a\r\n", "en"},
        {"a weight out of range", "Accept-Language: ru;q=9, en;q=0.1\r\n", "en"},
    };
    TRawHttpConnection client(run.Server.Port);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        ASSERT_TRUE(client.Send(GetRequest(kPageTarget, c.Headers)));
        const auto answers = client.ReadAnswers(1, 5);
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_EQ(answers[0].Status, 200);
        EXPECT_NE(answers[0].Body.find(std::string("<html lang=\"") + c.Language + "\">"), std::string::npos);
        EXPECT_NE(answers[0].Head.find("Vary: Accept-Language"), std::string::npos);
    }
    client.Send(GetRequest("/api/scores?limit=1", "Accept-Language: ru\r\n"));
    const auto json = client.ReadAnswers(1, 5);
    ASSERT_EQ(json.size(), 1u);
    EXPECT_EQ(json[0].Head.find("Vary"), std::string::npos) << "the JSON has no language";
}

void SigtermEndsDespiteSlowClients(THostileRun& run) {
    auto clients = run.SlowClients(64);
    TTrickle trickle(clients);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const double start = Seconds();
    run.Server.Signal(SIGTERM);
    EXPECT_EQ(run.Server.Wait(), 0);
    EXPECT_LT(Seconds() - start, 5.0);
}

struct THostileCase {
    const char* Name;
    std::function<void(THostileRun&)> Attack;
};

void PrintTo(const THostileCase& c, std::ostream* out) { *out << c.Name; }

class HostileClientTest : public ::testing::TestWithParam<THostileCase> {};

TEST_P(HostileClientTest, TheTableStaysServed) {
    const std::string dir = testing::MakeTempDir("hostile");
    {
        TServerProcess server(dir);
        ASSERT_GT(server.Port, 0) << server.Log();
        THostileRun run{server};
        GetParam().Attack(run);
    }
    std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(
    Probe, HostileClientTest,
    ::testing::Values(THostileCase{"SlowHeaders", SlowHeadersHoldNoOne},
                      THostileCase{"IdleConnections", IdleConnectionsHoldNoOne},
                      THostileCase{"HeaderFlood", HeaderFloodsStayBounded},
                      THostileCase{"ManyRanges", ManyRangesGetThePageOnce},
                      THostileCase{"Pipelining", PipelinedRequestsAnsweredInOrder},
                      THostileCase{"OversizedHeads", OversizedHeadsRefused},
                      THostileCase{"PerAddressLimit", OneAddressCannotTakeEveryConnection},
                      THostileCase{"AnnouncedBody", AnnouncedBodiesAreNotWaitedFor},
                      THostileCase{"RawBytesInTheLog", RawBytesAreEscapedInTheLog},
                      THostileCase{"AcceptLanguage", CraftedAcceptLanguage},
                      THostileCase{"SigtermWithSlowClients", SigtermEndsDespiteSlowClients}),
    [](const ::testing::TestParamInfo<THostileCase>& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace quillon::server
