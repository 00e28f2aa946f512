// The replays sent after the scores: what the table answers to each kind of upload, the body's
// own limits (size, announced length, a deadline however steadily it trickles), and what the
// JSON and the download show once a replay has been verified; on both kinds of store.
#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "save/ScoreCodec.h"
#include "server/ScoreServer.h"
#include "server/ScoreStore.h"
#include "support/ClaimingReplay.h"
#include "support/InProcessServer.h"
#include "support/Json.h"
#include "support/RawHttpConnection.h"
#include "support/TestDatabase.h"

namespace quillon::server {
namespace {

class ReplayUploadTest : public ::testing::TestWithParam<testing::TStoreKind> {
protected:
    void SetUp() override {
        Db = std::make_unique<testing::TTestDatabase>(GetParam());
        if (!Db->Missing.empty()) GTEST_SKIP() << Db->Missing;
        Store = OpenScoreStore(Db->Database);
    }
    void TearDown() override {
        StopServer();
        Store.reset();
        Db.reset();
    }
    void StartServer(TScoreServerSettings settings) {
        Server = std::make_unique<testing::TInProcessServer>(*Store, std::move(settings));
        Port = Server->Port;
        ASSERT_GT(Port, 0);
        Client = std::make_unique<httplib::Client>("127.0.0.1", Port);
    }
    void StopServer() { Server.reset(); }
    int Submit(const TScoreEntry& entry) {
        const auto answer = Client->Get("/cgi/version.pl?" + ScoreSubmissionQuery(entry));
        return answer ? answer->status : -1;
    }
    // The path and query of the game's upload address.
    static std::string UploadTarget(const TScoreEntry& entry) {
        return ReplayUploadUrl("", entry);
    }
    int Upload(const std::string& target, const std::string& body) {
        const auto answer = Client->Post(target, body, "application/octet-stream");
        return answer ? answer->status : -1;
    }

    std::unique_ptr<testing::TTestDatabase> Db;
    std::unique_ptr<TScoreStore> Store;
    std::unique_ptr<testing::TInProcessServer> Server;
    std::unique_ptr<httplib::Client> Client;
    int Port = 0;
};

const TScoreEntry kPlayer{"\xC2\xE0\xED\xFF", 12345, "\xD0\xEE\xF1\xF1\xE8\xFF"};  // Ваня, Россия

TEST_P(ReplayUploadTest, EachUploadGetsItsAnswer) {
    std::atomic<int> queued = 0;
    TScoreServerSettings settings;
    settings.Queue = {2, 4};
    settings.RatePerMinute = 0;
    settings.ReplayQueued = [&] { ++queued; };
    StartServer(settings);
    ASSERT_EQ(Submit(kPlayer), 200);
    ASSERT_EQ(Submit({"A", 1, ""}), 200);
    ASSERT_EQ(Submit({"B", 2, ""}), 200);
    const std::string replay = testing::ClaimingReplay("Ваня", 12345);
    const std::string vanya = UploadTarget(kPlayer);
    struct Case {
        const char* what;
        std::string target;
        std::string body;
        int status;
    } cases[] = {
        {"no name", "/api/replays?score=12345&country=", replay, 400},
        {"a score the game never writes", "/api/replays?name=A&score=01&country=", replay, 400},
        {"a score beyond 32 bits", "/api/replays?name=A&score=4294967297&country=", replay, 400},
        {"two names", vanya + "&name=A", replay, 400},
        {"no replay", vanya, "", 400},
        {"no such score", UploadTarget({"\xC2\xE0\xED\xFF", 12346, "\xD0\xEE\xF1\xF1\xE8\xFF"}), replay, 404},
        {"another country", UploadTarget({"\xC2\xE0\xED\xFF", 12345, ""}), replay, 404},
        {"no replay at all", vanya, "QLNRPLY a replay's bytes", 422},
        {"one for another score", vanya, testing::ClaimingReplay("Ваня", 12344), 422},
        {"one entered under another name", vanya, testing::ClaimingReplay("Петя", 12345), 422},
        {"the score's replay with a byte more", vanya, replay + "x", 422},
        {"the score's replay", vanya, replay, 202},
        {"a second replay for it", vanya, testing::ClaimingReplay("Ваня", 12345, {}, 1), 409},
        {"the same race for another score", UploadTarget({"A", 1, ""}), replay, 422},
        {"another score's", UploadTarget({"A", 1, ""}), testing::ClaimingReplay("A", 1), 202},
        {"a third while two wait", UploadTarget({"B", 2, ""}), testing::ClaimingReplay("B", 2), 503},
    };
    for (const Case& c : cases) EXPECT_EQ(Upload(c.target, c.body), c.status) << c.what;
    EXPECT_EQ(queued, 2) << "the workers are woken for each replay queued";
    EXPECT_EQ(Client->Get(vanya)->status, 404) << "replays are only taken by POST";

    // Verified: the JSON marks it, lists it alone on request, and its replay downloads.
    const std::vector<TQueuedReplay> taken = Store->TakeQueued(1, 2000000000, 60);
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_TRUE(taken[0].Replay == replay);
    Store->MarkVerified(taken[0].Id);
    EXPECT_EQ(Upload(vanya, replay), 409) << "verified already";
    EXPECT_EQ(Upload(UploadTarget({"B", 2, ""}), testing::ClaimingReplay("B", 2)), 202) << "room again";
    EXPECT_EQ(Upload(UploadTarget({"B", 2, ""}), testing::ClaimingReplay("B", 2, {}, 1)), 409);

    const auto all = testing::ParseJson(Client->Get("/api/scores")->body)["scores"];
    ASSERT_EQ(all.Array.size(), 3u);
    EXPECT_TRUE(all[0]["verified"].Bool);
    const std::string link = "/api/replays/" + std::to_string(taken[0].Id);
    EXPECT_EQ(all[0]["replay"].String, link);
    EXPECT_FALSE(all[1]["verified"].Bool);
    EXPECT_EQ(all[1]["replay"].Kind, testing::TJson::TKind::Null);
    const auto verified = testing::ParseJson(Client->Get("/api/scores?verified=1")->body)["scores"];
    ASSERT_EQ(verified.Array.size(), 1u);
    EXPECT_EQ(verified[0]["name"].String, "Ваня");
    EXPECT_EQ(testing::ParseJson(Client->Get("/api/scores?verified=0")->body)["scores"].Array.size(), 3u);
    EXPECT_EQ(Client->Get("/api/scores?verified=yes")->status, 400);

    const auto download = Client->Get(link);
    ASSERT_TRUE(download);
    EXPECT_EQ(download->status, 200);
    EXPECT_TRUE(download->body == replay);
    EXPECT_EQ(download->get_header_value("Content-Type"), "application/octet-stream");
    EXPECT_EQ(download->get_header_value("Content-Disposition"),
              "attachment; filename=\"quillon-" + std::to_string(taken[0].Id) + ".qrp\"");
    // Another row's (queued, not verified), no row's, no number.
    for (const std::string& missing : {"/api/replays/" + std::to_string(taken[0].Id + 1),
                                       "/api/replays/" + std::to_string(taken[0].Id + 1000),
                                       std::string("/api/replays/x"), std::string("/api/replays/")})
        EXPECT_EQ(Client->Get(missing)->status, 404) << missing;
}

TEST_P(ReplayUploadTest, WithoutVerificationNoReplayIsTaken) {
    StartServer({});
    ASSERT_EQ(Submit(kPlayer), 200);
    EXPECT_EQ(Upload(UploadTarget(kPlayer), "replay"), 503);
    EXPECT_TRUE(Store->TakeQueued(10, 2000000000, 60).empty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, ReplayUploadTest,
                         ::testing::Values(testing::TStoreKind::Sqlite, testing::TStoreKind::Postgres),
                         [](const auto& info) { return testing::StoreKindName(info.param); });

// The body's own limits: a length must be announced and within the limit (refused before a
// byte is read), and a body trickled past its deadline is cut off; the server answers others.
TEST(ReplayUploadLimits, BodiesAreBoundedInSizeAndTime) {
    testing::TTestDatabase db(testing::TStoreKind::Sqlite);
    const auto store = OpenScoreStore(db.Database);
    TScoreServerSettings settings;
    settings.BodySeconds = 1;
    settings.ReplayQueued = [] {};
    testing::TInProcessServer server(*store, settings);
    const int port = server.Port;
    ASSERT_GT(port, 0);

    const std::string head = "POST /api/replays?name=A&score=1&country= HTTP/1.1\r\nHost: x\r\n";
    struct Case {
        const char* what;
        std::string request;
        int status;
    } refused[] = {
        {"no length", head + "Transfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n", 411},
        {"too long", head + "Content-Length: 1048577\r\n\r\n", 413},
        {"a length that is no number", head + "Content-Length: 12x\r\n\r\n", 400},
    };
    for (const Case& c : refused) {
        testing::TRawHttpConnection connection(port);
        connection.Send(c.request);
        const auto answers = connection.ReadAnswers(1, 5);
        ASSERT_EQ(answers.size(), 1u) << c.what;
        EXPECT_EQ(answers[0].Status, c.status) << c.what;
    }

    testing::TRawHttpConnection trickling(port);
    trickling.Send(head + "Content-Length: 1000\r\n\r\n");
    bool cut = false;
    for (int i = 0; i < 50 && !cut; ++i) cut = !trickling.Send("x") || trickling.ClosedWithin(0.1);
    EXPECT_TRUE(cut) << "a body trickled for 5 s with a deadline of 1 s";
    httplib::Client client("127.0.0.1", port);
    const auto scores = client.Get("/api/scores");
    ASSERT_TRUE(scores);
    EXPECT_EQ(scores->status, 200);

}

// Uploads count against the address's rate limit like every other request.
TEST(ReplayUploadLimits, TooManyUploadsFromOneAddressGet429) {
    testing::TTestDatabase db(testing::TStoreKind::Sqlite);
    const auto store = OpenScoreStore(db.Database);
    TScoreServerSettings settings;
    settings.RatePerMinute = 1;
    settings.RateBurst = 2;
    settings.ReplayQueued = [] {};
    testing::TInProcessServer server(*store, settings);
    const int port = server.Port;
    ASSERT_GT(port, 0);
    httplib::Client client("127.0.0.1", port);
    const std::string target = ReplayUploadUrl("", {"A", 1, ""});
    std::vector<int> statuses;
    for (int i = 0; i < 3; ++i) {
        const auto answer = client.Post(target, "replay", "application/octet-stream");
        statuses.push_back(answer ? answer->status : -1);
    }
    EXPECT_EQ(statuses, (std::vector<int>{404, 404, 429}));
}

// Bodies trickled from one address hold two places at most, each counted against the rate
// limit when its head came: another address's upload is still read and answered at once.
TEST(ReplayUploadLimits, TrickledBodiesFromOneAddressHoldOnlyTheirOwnPlaces) {
    testing::TTestDatabase db(testing::TStoreKind::Sqlite);
    const auto store = OpenScoreStore(db.Database);
    TScoreServerSettings settings;
    settings.BodySeconds = 30;
    settings.RatePerMinute = 1;
    settings.RateBurst = 3;
    settings.ReplayQueued = [] {};
    testing::TInProcessServer server(*store, settings);
    ASSERT_GT(server.Port, 0);
    const std::string head = "POST /api/replays?name=A&score=1&country= HTTP/1.1\r\nHost: x\r\nContent-Length: 1000\r\n\r\n";
    std::vector<std::unique_ptr<testing::TRawHttpConnection>> trickling;
    std::vector<int> refused;
    for (int i = 0; i < 4; ++i) {
        trickling.push_back(std::make_unique<testing::TRawHttpConnection>(server.Port, "127.0.0.20"));
        trickling.back()->Send(head + "x");
        const auto answers = trickling.back()->ReadAnswers(1, 0.3);
        refused.push_back(answers.empty() ? 0 : answers[0].Status);
    }
    EXPECT_EQ(refused, (std::vector<int>{0, 0, 503, 429})) << "two read, a third refused, then the rate limit";
    const auto started = std::chrono::steady_clock::now();
    testing::TRawHttpConnection other(server.Port, "127.0.0.21");
    other.Send(head + std::string(1000, 'y'));
    const auto answers = other.ReadAnswers(1, 2);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].Status, 404) << "read and answered: no such score";
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
}

// Behind a trusted proxy each client has its own rate limit by the address the proxy gives;
// the header of anyone else is ignored.
TEST(ReplayUploadLimits, OnlyTheTrustedProxyNamesTheClient) {
    testing::TTestDatabase db(testing::TStoreKind::Sqlite);
    const auto store = OpenScoreStore(db.Database);
    TScoreServerSettings settings;
    settings.RatePerMinute = 1;
    settings.RateBurst = 1;
    settings.TrustProxy = "127.0.0.30";
    testing::TInProcessServer server(*store, settings);
    ASSERT_GT(server.Port, 0);
    struct Case {
        const char* what;
        std::string from;
        std::string forwarded;
        int status;
    } cases[] = {
        {"a client through the proxy", "127.0.0.30", "198.51.100.7", 200},
        {"the same client again", "127.0.0.30", "203.0.113.9, 198.51.100.7", 429},
        {"another client through the proxy", "127.0.0.30", "198.51.100.8", 200},
        {"another address of the second client's /64", "127.0.0.30", "2001:db8:5:6::1", 200},
        {"the same /64 again", "127.0.0.30", "2001:db8:5:6::99", 429},
        {"a client naming itself", "127.0.0.31", "198.51.100.9", 200},
        {"the same client naming another", "127.0.0.31", "198.51.100.10", 429},
    };
    for (const Case& c : cases) {
        testing::TRawHttpConnection connection(server.Port, c.from);
        connection.Send(testing::GetRequest("/api/scores", "X-Forwarded-For: " + c.forwarded + "\r\n"));
        const auto answers = connection.ReadAnswers(1, 5);
        ASSERT_EQ(answers.size(), 1u) << c.what;
        EXPECT_EQ(answers[0].Status, c.status) << c.what;
    }
}

}  // namespace
}  // namespace quillon::server
