// A replay of a game whose score went to the world table: the sending notice waited on the
// network for some frames, and the replay, which sends nothing, waits the same frames. The
// game's replay file itself follows the score to the table.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "app/Application.h"
#include "app/ReplayPlayer.h"
#include "app/ReplayTap.h"
#include "save/ReplayFile.h"
#include "save/LinkFile.h"
#include "save/ReplayFolder.h"
#include "save/ScoreCodec.h"
#include "support/GameFolderFixture.h"

namespace quillon::testing {
namespace {

// A request that stays under way for a set number of questions.
class TSlowSender : public IScoreSender {
public:
    explicit TSlowSender(int busyFor) : FBusyFor(busyFor) {}
    void Send(const std::string&) override {
        ++Sent;
        FLeft = FBusyFor;
    }
    void Post(const std::string& url, std::string body) override {
        PostedTo.push_back(url);
        PostedBody = std::move(body);
    }
    bool Busy() override { return FLeft-- > 0; }
    int Sent = 0;
    std::vector<std::string> PostedTo;
    std::string PostedBody;

private:
    int FBusyFor;
    int FLeft = 0;
};

using TReplaySending = TGameFolderTest;

TEST_F(TReplaySending, TheSendingNoticeWaitsInTheReplayAsItDidInTheGame) {
    // Race, leave it, enter a name for a table any score beats, send it.
    const std::string script =
        "80 race 1 1\n300 tap Escape\n302 tap Y\n305 text Ab\n307 tap Return\n310 tap Y\n";
    TSlowSender sender(7);
    std::string country;
    {
        THeadlessPlatform platform(420, 85, THeadlessScript::Parse(script, GameDir));
        TInputDoor door(platform, TSettings{});
        TReplayTap tap(GameDir + "/Replays", &sender);
        TMForm form(door, TFormServices{nullptr, &Music, &Fonts, tap.Scores()});
        tap.Watch(form);
        door.SetWatch(&tap);
        form.StartSeed = 4;
        form.FormCreate();
        for (size_t i = 0; i < kHighScoreEntries; ++i) form.State.HighScores[i].Score = -5;
        platform.SetGameCommands([&](const THeadlessCommand& command) {
            if (command.Kind == THeadlessCommand::TKind::Race) form.StartRaceFromMenu(command.X, command.Y);
            tap.Look();
        });
        TApplication application(door, form, &tap);
        application.Run([&] { platform.EndFrame([](int) { return std::string(); }); });
        ASSERT_EQ(form.CurrentScreen, TScreen::HighScores) << "the high-score screen after the sending";
        ASSERT_FALSE(tap.LastReplay().empty());
        country = form.State.GameOptions.Country;
    }
    ASSERT_EQ(sender.Sent, 1);
    const std::vector<std::filesystem::path> files = ListReplays(GameDir + "/Replays");
    ASSERT_EQ(files.size(), 1u);
    const TReplay replay = ReadReplayFile(files[0].string());
    int waited = 0;
    for (const TReplayFrame& frame : replay.Frames) waited += frame.SendingBusy;
    EXPECT_EQ(waited, 7);
    EXPECT_TRUE(replay.Summary.EnteredTable);
    ASSERT_EQ(sender.PostedTo.size(), 1u) << "the replay follows the score";
    EXPECT_EQ(sender.PostedTo[0], ReplayUploadUrl(ScoreServerAddress().value_or(""), {"Ab", replay.Summary.Score, country}));
    std::ifstream file(files[0], std::ios::binary);
    EXPECT_TRUE(sender.PostedBody == std::string(std::istreambuf_iterator<char>(file), {})) << "the file as kept";

    const auto savedTable = std::filesystem::last_write_time(GameDir + "/Data/Save/hs");
    std::filesystem::remove(GameDir + "/Data/Save/options");
    TMForm& form = StartForm(100000);
    TReplayPlayer player(form, replay);
    player.Start();
    while (!player.Done()) player.Step();
    const TReplayOutcome outcome = player.Finish();
    EXPECT_TRUE(outcome.Reproduced) << outcome.Why << " at frame " << outcome.DivergedAt.value_or(0);
    EXPECT_EQ(outcome.Frames, replay.Summary.Frames);
    EXPECT_EQ(form.CurrentScreen, TScreen::HighScores);
    EXPECT_EQ(std::filesystem::last_write_time(GameDir + "/Data/Save/hs"), savedTable) << "a replay saves nothing";
    EXPECT_FALSE(std::filesystem::exists(GameDir + "/Data/Save/options")) << "a replay saves nothing";
}

}  // namespace
}  // namespace quillon::testing
