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
#include "server/ScoreStore.h"
#include "support/HeadlessRun.h"
#include "support/Json.h"
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

class VerifiedScoresTest : public ::testing::Test {
protected:
    void SetUp() override { Dir = testing::MakeTempDir("verified-scores"); }
    void TearDown() override { fs::remove_all(Dir); }

    // The whole game: a race the pilot drives, left with a score any table takes, a name typed
    // and yes to the world table at `port`. The replay the game kept.
    std::string PlayAndSend(int port) {
        const std::string game = Dir + "/game";
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
               << " text Гонщик\n" << left + 9 << " tap Return\n" << left + 12 << " tap Y\n";
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
};

TEST_F(VerifiedScoresTest, APlayedScoreIsVerifiedAndTypedOnesNever) {
    TServerProcess server(Dir, VerifyWith(Game()));
    ASSERT_GT(server.Port, 0) << server.Log();
    const std::string replayFile = PlayAndSend(server.Port);
    ASSERT_FALSE(replayFile.empty());
    const std::string played = testing::ReadFileText(replayFile);
    const TReplay recorded = DecodeReplay(played, "played");
    const int score = recorded.Summary.Score;
    EXPECT_GT(score, 0) << "the pilot scored";
    EXPECT_TRUE(recorded.Summary.EnteredTable);

    // The typed scores, each sent by GET, with or without a replay.
    httplib::Client client("127.0.0.1", server.Port);
    const auto send = [&](const TScoreEntry& entry, const std::string* replay) {
        const auto stored = client.Get("/cgi/version.pl?" + ScoreSubmissionQuery(entry));
        ASSERT_TRUE(stored && stored->status == 200);
        if (!replay) return;
        const auto queued = client.Post(ReplayUploadUrl("", entry), *replay, "application/octet-stream");
        ASSERT_TRUE(queued);
        EXPECT_EQ(queued->status, 202) << entry.Name;
    };
    std::string damaged = played;
    damaged[damaged.size() / 2] = static_cast<char>(damaged[damaged.size() / 2] ^ 0x5A);
    TReplay claiming = recorded;
    claiming.Summary.Score += 5000;
    const std::string claimed = EncodeReplay(claiming);
    struct Case {
        const char* name;
        int score;
        const std::string* replay;
        TReplayState state;
        std::string reason;  // the start of the reason kept
    } cases[] = {
        {"typed", 99999, nullptr, TReplayState::None, ""},
        {"other", score + 5000, &played, TReplayState::Failed,
         "the replay ends with score " + std::to_string(score) + ", the row has " + std::to_string(score + 5000)},
        {"damaged", score, &damaged, TReplayState::Failed, "the game refused the replay"},
        {"claiming", score + 5000, &claimed, TReplayState::Failed, "the replay diverged at frame"},
    };
    for (const Case& c : cases) send({c.name, c.score, ""}, c.replay);

    const auto store = OpenScoreStore(Dir + "/scores.db");
    AwaitQueueDone(*store);
    const TScoreRow mine = RowNamed(*store, "Гонщик");
    EXPECT_EQ(mine.Score, score);
    EXPECT_TRUE(mine.Verified) << store->Verification(mine.Id).Reason << "\n" << server.Log();
    for (const Case& c : cases) {
        const TScoreRow row = RowNamed(*store, c.name);
        const TVerification verification = store->Verification(row.Id);
        EXPECT_FALSE(row.Verified) << c.name;
        EXPECT_EQ(verification.State, c.state) << c.name;
        EXPECT_EQ(verification.Reason.rfind(c.reason, 0), 0u) << c.name << ": " << verification.Reason;
    }

    // The JSON marks the played score; its replay downloads and plays to the same score.
    const auto json = testing::ParseJson(client.Get("/api/scores?verified=1")->body)["scores"];
    ASSERT_EQ(json.Array.size(), 1u) << server.Log();
    EXPECT_EQ(json[0]["name"].String, "Гонщик");
    EXPECT_TRUE(json[0]["verified"].Bool);
    const auto download = client.Get(json[0]["replay"].String);
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
}

// A game that never ends is stopped by its CPU limit, one that wants ever more memory by its
// address-space limit; the server answers all along. A replay whose verification a stopping server cut short is
// verified by the next server on the same table.
TEST_F(VerifiedScoresTest, RunawayGamesAreStoppedAndARestartResumesTheQueue) {
    const std::string spinning = Dir + "/spinning-game", waiting = Dir + "/waiting-game", hungry = Dir + "/hungry-game";
    std::ofstream(spinning) << "#!/bin/sh\nwhile :; do :; done\n";
    std::ofstream(waiting) << "#!/bin/sh\nexec sleep 1000\n";
    std::ofstream(hungry) << "#!/bin/sh\nexec awk 'BEGIN { s = \"x\"; while (1) s = s s }'\n";
    for (const std::string& game : {spinning, waiting, hungry}) fs::permissions(game, fs::perms::owner_all);
    const std::string replay = "a replay";
    const auto send = [&](int port, const TScoreEntry& entry) {
        httplib::Client client("127.0.0.1", port);
        const auto stored = client.Get("/cgi/version.pl?" + ScoreSubmissionQuery(entry));
        ASSERT_TRUE(stored && stored->status == 200);
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

}  // namespace
}  // namespace quillon::server
