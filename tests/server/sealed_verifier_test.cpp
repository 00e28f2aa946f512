// The verifying game is sealed off from the server and the machine: a stand-in that tries one
// way out per replay (write the database or a file beside it, write the machine's /tmp, reach
// a listener on the loopback, signal the server, read the server's /proc, leave a grandchild
// in a session of its own, allocate past the cap, fork without end) is held every time, and
// the server goes on serving.
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "save/ScoreCodec.h"
#include "server/ReplayCheck.h"
#include "server/ScoreStore.h"
#include "support/ClaimingReplay.h"
#include "support/HeadlessRun.h"
#include "support/RawHttpConnection.h"
#include "support/ServerProcess.h"

namespace quillon::server {
namespace {

namespace fs = std::filesystem;

int SealedStatusFrom(int port, const std::string& from, const std::string& request) {
    testing::TRawHttpConnection connection(port, from);
    if (!connection.Send(request)) return -1;
    const std::vector<testing::TRawAnswer> answers = connection.ReadAnswers(1, 10);
    return answers.empty() ? -1 : answers[0].Status;
}

// Any process of the machine named so.
bool SealedProcessNamed(const std::string& name) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc", error)) {
        std::ifstream comm(entry.path() / "comm");
        std::string text;
        if (comm && std::getline(comm, text) && text == name) return true;
    }
    return false;
}

TEST(SealedVerifier, EveryWayOutIsHeldAndTheServerGoesOn) {
    const std::string dir = testing::MakeTempDir("sealed-verifier");
    const std::string gameFolder = dir + "/game", game = gameFolder + "/hostile";
    fs::create_directories(gameFolder);
    for (const std::string& folder : {dir, gameFolder})
        fs::permissions(folder, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::copy_file(QUILLON_HOSTILE_VERIFIER, game);
    const std::string database = dir + "/scores.db";
    const std::string marker = "/tmp/quillon-sealed-" + std::to_string(getpid()) + "-" + fs::path(dir).filename().string();

    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 4), 0);
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);

    testing::TServerProcess server(dir, {"--verify-with", game, "--verify-cpu", "20"}, database);
    ASSERT_GT(server.Port, 0) << server.Log();
    std::ofstream(game + ".conf") << "database " << database << "\nmarker " << marker << "\nport "
                                  << ntohs(address.sin_port) << "\nserver " << server.Pid() << "\n";
    const TReplayExpectation expect = ReplayExpectationFor(game);
    const char* const escapes[] = {"database", "machinetmp", "connect", "signal", "serverproc",
                                   "grandchild", "allocate", "forkmany"};
    int from = 10;
    for (const char* escape : escapes) {
        const TScoreEntry entry{escape, 5, ""};
        const std::string address = "127.0.0." + std::to_string(from++);
        const std::string replay = testing::ClaimingReplay(escape, 5, expect);
        ASSERT_EQ(SealedStatusFrom(server.Port, address,
                                   testing::GetRequest("/cgi/version.pl?" + ScoreSubmissionQuery(entry))), 200);
        ASSERT_EQ(SealedStatusFrom(server.Port, address,
                                   "POST " + ReplayUploadUrl("", entry) + " HTTP/1.1\r\nHost: x\r\nContent-Length: " +
                                       std::to_string(replay.size()) + "\r\n\r\n" + replay),
                  202)
            << escape;
    }

    const auto store = OpenScoreStore(database);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    bool waiting = true;
    while (waiting && std::chrono::steady_clock::now() < giveUp) {
        waiting = false;
        for (const TScoreRow& row : store->Best(100))
            waiting = waiting || store->Verification(row.Id).State == TReplayState::Queued;
        if (waiting) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_FALSE(waiting) << server.Log();
    for (const TScoreRow& row : store->Best(100)) {
        const TVerification verification = store->Verification(row.Id);
        EXPECT_EQ(verification.State, TReplayState::Failed) << row.Name;
        EXPECT_EQ(verification.Reason.find("ESCAPED"), std::string::npos) << row.Name << ": " << verification.Reason;
        EXPECT_TRUE(verification.Reason.find("held") != std::string::npos ||
                    verification.Reason.find("limit") != std::string::npos)
            << row.Name << ": " << verification.Reason;
    }
    EXPECT_EQ(store->Best(100).size(), std::size(escapes));

    EXPECT_FALSE(fs::exists(marker)) << "the machine's /tmp is untouched";
    EXPECT_FALSE(fs::exists(database + "-beside"));
    EXPECT_LT(accept(listener, nullptr, nullptr), 0) << "nobody reached the listener";
    close(listener);
    bool left = true;
    for (int i = 0; i < 40 && (left = SealedProcessNamed("qhostile-left")); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(left) << "the grandchild died with its run";
    httplib::Client client("127.0.0.1", server.Port);
    const auto answer = client.Get("/api/scores");
    ASSERT_TRUE(answer) << server.Log();
    EXPECT_EQ(answer->status, 200);
    server.Signal(SIGTERM);
    EXPECT_EQ(server.Wait(), 0) << "the server ended by the test's signal, not another: " << server.Log();
    std::error_code ignored;
    fs::remove(marker, ignored);
    fs::remove_all(dir, ignored);
}

}  // namespace
}  // namespace quillon::server
