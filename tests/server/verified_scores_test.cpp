// Verified world scores end to end, with the real programs: the headless game plays (the pilot
// drives, a name is typed, yes to the world table) and sends its score and its replay to a
// quillon-scores that verifies with the built game; the score reads verified and its replay
// downloads and plays to the same score. Typed scores never become verified, whatever replay
// comes with them, and the server keeps why; a game that never ends is stopped by the limits
// while the server goes on answering; a restart goes on with the queue.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "engine/Cp1251.h"
#include "save/ReplayFile.h"
#include "save/ReplayFolder.h"
#include "save/SavePair.h"
#include "save/SavedState.h"
#include "save/ScoreCodec.h"
#include "server/ReplayCheck.h"
#include "server/ScoreStore.h"
#include "support/HeadlessRun.h"
#include "support/ClaimingReplay.h"
#include "support/Json.h"
#include "support/RawHttpConnection.h"
#include "support/ServerProcess.h"
#include "support/FileText.h"

namespace quillon::server {
namespace {

namespace fs = std::filesystem;
using testing::TServerProcess;

std::string Game() { return testing::BuildDir() + "/quillon"; }

// The game under the sanitizers reserves far more address space than any limit would allow.
std::vector<std::string> VerifyWith(const std::string& game, std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"--verify-with", game};
#if defined(__SANITIZE_ADDRESS__)
    args.insert(args.end(), {"--verify-memory", "0"});
#endif
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

void VerifiedScoresRunnable(const std::string& path) {
    fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
}

class VerifiedScoresTest : public ::testing::Test {
protected:
    // The verifying game runs as a user of its own: the stand-ins' folder is for everyone to read.
    void SetUp() override {
        Dir = testing::MakeTempDir("verified-scores");
        VerifiedScoresRunnable(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    // The whole game: a race the pilot drives, left with a score any table takes, `name` typed
    // and, with `send`, yes to the world table at `port`. The replay the game kept.
    std::string PlayAndSend(int port, const std::string& name = "Гонщик", bool send = true) {
        const std::string game = Dir + "/game-" + std::to_string(++FGames);
        fs::create_directories(game);
        testing::MakeGameFolder(game);
        TSavedState state;
        ResetOptions(state);
        ResetHighScores(state.HighScores);
        state.HighScores[9].Score = -5;
        state.GameOptions.Country = Utf8ToCp1251("Тверь");
        SaveOptionsAndHighScores(state, game + "/Data/Save");
        const int left = 80 + 700;
        std::ostringstream script;
        script << "80 race 2 1\n80 pilot on\n" << left << " tap Escape\n" << left + 2 << " tap Y\n" << left + 5
               << " text " << name << "\n" << left + 9 << " tap Return\n" << left + 12 << (send ? " tap Y\n" : " tap N\n");
        const std::string address = "http://127.0.0.1:" + std::to_string(port);
        setenv("QUILLON_SCORE_SERVER", address.c_str(), 1);
        const testing::THeadlessResult run =
            testing::RunHeadless(game, script.str(), "--seed 3 --frames " + std::to_string(left + 40));
        unsetenv("QUILLON_SCORE_SERVER");
        EXPECT_EQ(run.ExitStatus, 0) << run.Stderr;
        const std::vector<fs::path> replays = ListReplays(game + "/Data/Save/Replays");
        return replays.empty() ? std::string() : replays.back().string();
    }

    // Waits (a minute at most) until no replay of the table waits for its verification.
    void AwaitQueueDone(TScoreStore& store) {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < giveUp) {
            bool waiting = false;
            for (const TScoreRow& row : store.Best(100))
                waiting = waiting || store.Verification(row.Id).State == TReplayState::Queued;
            if (!waiting) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        ADD_FAILURE() << "replays still queued after a minute";
    }

    static TScoreRow RowNamed(TScoreStore& store, const std::string& name) {
        for (const TScoreRow& row : store.Best(100))
            if (row.Name == name) return row;
        ADD_FAILURE() << "no row " << name;
        return {};
    }

    std::string Dir;
    int FGames = 0;
};

// One request from an address of 127.0.0.0/8 of the test's choosing: its status, or -1.
int VerifiedScoresStatusFrom(int port, const std::string& from, const std::string& request) {
    testing::TRawHttpConnection connection(port, from);
    if (!connection.Send(request)) return -1;
    const std::vector<testing::TRawAnswer> answers = connection.ReadAnswers(1, 10);
    return answers.empty() ? -1 : answers[0].Status;
}

std::string VerifiedScoresSubmit(const TScoreEntry& entry) {
    return testing::GetRequest("/cgi/version.pl?" + ScoreSubmissionQuery(entry));
}

std::string VerifiedScoresUpload(const TScoreEntry& entry, const std::string& replay) {
    return "POST " + ReplayUploadUrl("", entry) + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: " +
           std::to_string(replay.size()) + "\r\nContent-Type: application/octet-stream\r\n\r\n" + replay;
}

// The played score is verified; every way to have the mark without playing fails: another
// name's row with the verified replay (as it is, or its summary made to name the thief), the
// replay padded, garbage from a stranger for a fresh row (whose owner's replay then verifies).
TEST_F(VerifiedScoresTest, APlayedScoreIsVerifiedAndEveryAttackFails) {
    TServerProcess server(Dir, VerifyWith(Game()));
    ASSERT_GT(server.Port, 0) << server.Log();
    const std::string replayFile = PlayAndSend(server.Port);
    ASSERT_FALSE(replayFile.empty());
    const std::string played = testing::ReadFileText(replayFile);
    const TReplay recorded = DecodeReplay(played, "played");
    const int score = recorded.Summary.Score;
    EXPECT_GT(score, 0) << "the pilot scored";
    EXPECT_TRUE(recorded.Summary.EnteredTable);
    // The same race entered under another name, never sent: its owner sends it below.
    const std::string ownersFile = PlayAndSend(server.Port, "Хозяин", false);
    ASSERT_FALSE(ownersFile.empty());
    const std::string owners = testing::ReadFileText(ownersFile);

    const auto store = OpenScoreStore(Dir + "/scores.db");
    AwaitQueueDone(*store);
    const TScoreRow mine = RowNamed(*store, "Гонщик");
    EXPECT_TRUE(mine.Verified) << store->Verification(mine.Id).Reason << "\n" << server.Log();

    TReplay renamed = recorded;
    renamed.Summary.TableName = Utf8ToCp1251("Вор");
    const std::string thief = "127.0.0.3", stranger = "127.0.0.4", owner = "127.0.0.5";
    const TScoreEntry thiefs{Utf8ToCp1251("Вор"), score, ""}, ownersRow{Utf8ToCp1251("Хозяин"), score, ""};
    ASSERT_EQ(VerifiedScoresStatusFrom(server.Port, thief, VerifiedScoresSubmit(thiefs)), 200);
    ASSERT_EQ(VerifiedScoresStatusFrom(server.Port, owner, VerifiedScoresSubmit(ownersRow)), 200);
    std::string garbage(owners.size(), 'x');
    struct Case {
        const char* what;
        std::string from;
        TScoreEntry row;
        std::string replay;
        int status;
    } cases[] = {
        {"the verified replay for another name", thief, thiefs, played, 422},
        {"the verified replay padded", thief, thiefs, played + std::string(64, '\0'), 422},
        {"garbage for another's row", stranger, ownersRow, garbage, 403},
        {"the owner's replay from a stranger", stranger, ownersRow, owners, 403},
        {"the owner's own replay", owner, ownersRow, owners, 202},
        {"the verified replay with the thief's name in its summary", thief, thiefs, EncodeReplay(renamed), 202},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VerifiedScoresStatusFrom(server.Port, c.from, VerifiedScoresUpload(c.row, c.replay)), c.status)
            << c.what;
    AwaitQueueDone(*store);
    const TScoreRow ownersStored = RowNamed(*store, "Хозяин");
    EXPECT_TRUE(ownersStored.Verified) << store->Verification(ownersStored.Id).Reason;
    const TScoreRow thiefsStored = RowNamed(*store, "Вор");
    const TVerification stolen = store->Verification(thiefsStored.Id);
    EXPECT_EQ(stolen.State, TReplayState::Failed);
    EXPECT_NE(stolen.Reason.find("under another name"), std::string::npos) << stolen.Reason;

    // The JSON marks the played scores; a verified replay downloads and plays to the same score.
    httplib::Client client("127.0.0.1", server.Port);
    const auto json = testing::ParseJson(client.Get("/api/scores?verified=1")->body)["scores"];
    ASSERT_EQ(json.Array.size(), 2u) << server.Log();
    const auto download = client.Get("/api/replays/" + std::to_string(mine.Id));
    ASSERT_TRUE(download);
    ASSERT_EQ(download->status, 200);
    EXPECT_TRUE(download->body == played);
    const std::string file = Dir + "/downloaded.qrp";
    std::ofstream(file, std::ios::binary) << download->body;
    const std::string command = "'" + Game() + "' --headless --replay '" + file + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
    EXPECT_EQ(pclose(pipe), 0) << out;
    const testing::TJson verdict = testing::ParseJson(out);
    EXPECT_EQ(verdict["result"].String, "reproduced");
    EXPECT_EQ(verdict["score"].Int(), score);
    EXPECT_EQ(verdict["tableName"].String, "Гонщик");
}

// A game that never ends is stopped by its CPU limit, one that wants ever more memory by its
// address-space limit; the server answers all along. A replay whose verification a stopping server cut short is
// verified by the next server on the same table.
TEST_F(VerifiedScoresTest, RunawayGamesAreStoppedAndARestartResumesTheQueue) {
    const std::string spinning = Dir + "/spinning-game", waiting = Dir + "/waiting-game", hungry = Dir + "/hungry-game";
    std::ofstream(spinning) << "#!/bin/sh\nwhile :; do :; done\n";
    std::ofstream(waiting) << "#!/bin/sh\nexec sleep 1000\n";
    std::ofstream(hungry) << "#!/bin/sh\nexec awk 'BEGIN { s = \"x\"; while (1) s = s s }'\n";
    for (const std::string& game : {spinning, waiting, hungry}) VerifiedScoresRunnable(game);
    const auto send = [&](int port, const TScoreEntry& entry) {
        httplib::Client client("127.0.0.1", port);
        const auto stored = client.Get("/cgi/version.pl?" + ScoreSubmissionQuery(entry));
        ASSERT_TRUE(stored && stored->status == 200);
        const std::string replay = testing::ClaimingReplay(entry.Name, entry.Score, ReplayExpectationFor(spinning));
        const auto queued = client.Post(ReplayUploadUrl("", entry), replay, "application/octet-stream");
        ASSERT_TRUE(queued);
        EXPECT_EQ(queued->status, 202);
    };
    {
        TServerProcess server(Dir, VerifyWith(spinning, {"--verify-cpu", "1"}));
        ASSERT_GT(server.Port, 0) << server.Log();
        send(server.Port, {"spin", 1, ""});
        httplib::Client client("127.0.0.1", server.Port);
        const auto answer = client.Get("/api/scores");
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->status, 200) << "the server answers while the game runs";
        const auto store = OpenScoreStore(Dir + "/scores.db");
        AwaitQueueDone(*store);
        const TVerification spun = store->Verification(RowNamed(*store, "spin").Id);
        EXPECT_EQ(spun.State, TReplayState::Failed);
        EXPECT_EQ(spun.Reason, "the CPU time limit of 1 s was hit");
        EXPECT_EQ(client.Get("/api/scores")->status, 200);
    }
    {
        TServerProcess server(Dir, VerifyWith(hungry, {"--verify-memory", "64"}));
        ASSERT_GT(server.Port, 0) << server.Log();
        send(server.Port, {"hungry", 3, ""});
        const auto store = OpenScoreStore(Dir + "/scores.db");
        AwaitQueueDone(*store);
        const TVerification ate = store->Verification(RowNamed(*store, "hungry").Id);
        EXPECT_EQ(ate.State, TReplayState::Failed);
        EXPECT_EQ(ate.Reason.rfind("the address-space limit of 64 MiB was hit", 0), 0u) << ate.Reason;
        EXPECT_EQ(httplib::Client("127.0.0.1", server.Port).Get("/api/scores")->status, 200);
    }
    {
        TServerProcess server(Dir, VerifyWith(waiting, {"--verify-seconds", "600"}));
        ASSERT_GT(server.Port, 0) << server.Log();
        send(server.Port, {"resumed", 2, ""});
        std::this_thread::sleep_for(std::chrono::milliseconds(500));  // taken by the worker meanwhile or not
        server.Signal(SIGTERM);
        EXPECT_EQ(server.Wait(), 0) << server.Log();
    }
    TServerProcess next(Dir, VerifyWith(spinning, {"--verify-cpu", "1"}));
    ASSERT_GT(next.Port, 0) << next.Log();
    const auto store = OpenScoreStore(Dir + "/scores.db");
    AwaitQueueDone(*store);
    EXPECT_EQ(store->Verification(RowNamed(*store, "resumed").Id).State, TReplayState::Failed)
        << "verified (and failed, by this stand-in) by the next server, not lost: " << next.Log();
}

// A verifying game that is missing or cannot be run is the server's fault: the rows wait and
// are verified once it is back.
TEST_F(VerifiedScoresTest, AGameThatCannotRunLeavesTheRowsWaiting) {
    const std::string game = Dir + "/game";
    const auto standIn = [&](int score) {
        std::ofstream(game) << "#!/bin/sh\necho '{\"result\":\"reproduced\",\"frames\":1,\"level\":1,\"score\":" << score
                            << ",\"lives\":0,\"divergedAt\":null,\"tableName\":\"late\"}'\n";
        VerifiedScoresRunnable(game);
    };
    standIn(7);
    TServerProcess server(Dir, VerifyWith(game));
    ASSERT_GT(server.Port, 0) << server.Log();
    const auto store = OpenScoreStore(Dir + "/scores.db");
    struct Case {
        const char* what;
        std::function<void()> spoil;
        int score;
    } cases[] = {
        {"the game missing", [&] { fs::rename(game, game + ".away"); }, 7},
        {"the game not executable", [&] { fs::permissions(game, fs::perms::owner_read | fs::perms::owner_write); }, 8},
    };
    for (const Case& c : cases) {
        c.spoil();
        const TScoreEntry entry{"late", c.score, ""};
        const std::string replay = testing::ClaimingReplay("late", c.score, ReplayExpectationFor(game));
        ASSERT_EQ(VerifiedScoresStatusFrom(server.Port, "127.0.0.1", VerifiedScoresSubmit(entry)), 200);
        ASSERT_EQ(VerifiedScoresStatusFrom(server.Port, "127.0.0.1", VerifiedScoresUpload(entry, replay)), 202);
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        std::int64_t id = 0;
        for (const TScoreRow& row : store->Best(10))
            if (row.Score == c.score) id = row.Id;
        EXPECT_EQ(store->Verification(id).State, TReplayState::Queued) << c.what << ": " << server.Log();
        EXPECT_NE(server.Log().find("the server's fault"), std::string::npos) << c.what;
        if (fs::exists(game + ".away")) fs::rename(game + ".away", game);
        standIn(c.score);
        AwaitQueueDone(*store);
        EXPECT_EQ(store->Verification(id).State, TReplayState::Verified) << c.what << ": " << server.Log();
    }
}

// One address holds at most four places of the queue (one /64 for IPv6); another address's
// replay is still taken while the worker is busy.
TEST_F(VerifiedScoresTest, OneAddressCannotHoldTheQueue) {
    const std::string waiting = Dir + "/waiting-game";
    std::ofstream(waiting) << "#!/bin/sh\nexec sleep 1000\n";
    VerifiedScoresRunnable(waiting);
    TServerProcess server(Dir, VerifyWith(waiting));
    ASSERT_GT(server.Port, 0) << server.Log();
    const TReplayExpectation expect = ReplayExpectationFor(waiting);
    const auto sendFrom = [&](const std::string& from, const std::string& name) {
        const TScoreEntry entry{name, 5, ""};
        EXPECT_EQ(VerifiedScoresStatusFrom(server.Port, from, VerifiedScoresSubmit(entry)), 200);
        return VerifiedScoresStatusFrom(server.Port, from,
                                        VerifiedScoresUpload(entry, testing::ClaimingReplay(name, 5, expect)));
    };
    std::vector<int> statuses;
    for (int i = 0; i < 10; ++i) statuses.push_back(sendFrom("127.0.0.7", "q" + std::to_string(i)));
    EXPECT_EQ(statuses, (std::vector<int>{202, 202, 202, 202, 429, 429, 429, 429, 429, 429})) << server.Log();
    EXPECT_EQ(sendFrom("127.0.0.8", "other"), 202);
    server.Signal(SIGTERM);
    EXPECT_EQ(server.Wait(), 0) << server.Log();
}

}  // namespace
}  // namespace quillon::server
