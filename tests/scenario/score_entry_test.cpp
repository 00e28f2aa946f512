// A score for the table, end to end through the keys: the name typed after the race, the
// table on disk at once, the question about the world table, the one request it sends to
// a loopback server (or none), and the high-score screen with the new entry; a server that
// never answers or refuses the connection does not keep the game from going on.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "engine/Cp1251.h"
#include "save/HighScores.h"
#include "save/SavePair.h"
#include "save/SavedState.h"
#include "save/ScoreCodec.h"
#include "support/LoopbackHttpServer.h"
#include "support/ScriptedRun.h"
#include "support/FileText.h"

namespace quillon::testing {
namespace {

const int Left = Ready + kLevelBannerFrames + 10;  // Escape, Y: the race is left with a score of 0

class ScoreEntryTest : public TScriptedRun {
protected:
    void SetUp() override {
        TScriptedRun::SetUp();
        WriteSaves();
    }

    // A table whose last entry any score beats, and a country to send.
    void WriteSaves() {
        TSavedState state;
        ResetOptions(state);
        ResetHighScores(state.HighScores);
        state.HighScores[9].Score = -5;
        state.GameOptions.Country = Utf8ToCp1251("Тверь");
        SaveOptionsAndHighScores(state, Dir + "/Data/Save");
    }

    // Race, leave it, type the name, Enter: the send question opens at Asked.
    void LeaveAndTypeName() {
        At(Ready, "race 2 1");
        At(Left, "tap Escape");
        At(Left + 2, "tap Y");
        Dump(Left + 3);
        At(Left + 5, "text Вася 2");
        At(Left + 7, "tap Backspace");
        At(Left + 9, "tap Return");
        Dump(Asked);
    }

    THeadlessResult RunWith(const std::string& server, int frames) {
        setenv("QUILLON_SCORE_SERVER", server.c_str(), 1);
        THeadlessResult result = RunHeadless(Dir, Script.str(), "--frames " + std::to_string(frames) + " --seed 1");
        unsetenv("QUILLON_SCORE_SERVER");
        Script.str("");
        EXPECT_EQ(result.ExitStatus, 0) << result.Stderr;
        return result;
    }

    std::string SavedTable() {
        return Cp1251ToUtf8(ReadFileText(Dir + "/Data/Save/hs"));
    }

    const int Asked = Left + 10;
};

TEST_F(ScoreEntryTest, TheNameGoesIntoTheTableOnDiskAtOnce) {
    LeaveAndTypeName();
    At(Asked, "quit");  // no exit save: what is on disk was saved by the name entry
    RunWith(TLoopbackHttpServer::RefusingAddress(), Asked + 1);

    const TJson entry = State(Left + 3);
    EXPECT_EQ(entry["ActiveDialog"].Int(), 8) << "a qualifying score asks for a name";
    const TJson asked = State(Asked);
    EXPECT_EQ(asked["ActiveDialog"].Int(), 9);
    EXPECT_EQ(asked["HotItem"].Int(), 11) << "yes is preselected";
    EXPECT_EQ(asked["PlayerName"].String, "Вася ");
    EXPECT_EQ(asked["HighScores"][9]["Name"].String, "Вася ");
    EXPECT_EQ(asked["HighScores"][9]["Score"].Int(), 0);
    EXPECT_NE(SavedTable().find("Вася \r\n0\r\n"), std::string::npos) << SavedTable();
}

TEST_F(ScoreEntryTest, YesSendsTheScoreThenItsReplayThenTheHighScores) {
    TLoopbackHttpServer server(TLoopbackHttpServer::TMode::Answer);
    LeaveAndTypeName();
    At(Asked + 2, "tap Y");
    Dump(Asked + 2);
    Dump(Asked + 3);
    Dump(Asked + 4);
    RunWith(server.Address(), Asked + 5);

    EXPECT_EQ(State(Asked + 2)["ActiveDialog"].Int(), 10) << "the notice is shown for a frame first";
    const TJson shown = State(Asked + 4);
    EXPECT_EQ(shown["CurrentScreen"].Int(), 4);
    EXPECT_EQ(shown["ActiveDialog"].Int(), 0);
    EXPECT_FALSE(shown.Has("race"));
    EXPECT_EQ(shown["HighScores"][9]["Name"].String, "Вася ");

    const std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u) << "the score, then its replay";
    const std::string& head = requests[0];
    const std::string start = "GET /cgi/version.pl?hs&prg=Quillon&inf=";
    ASSERT_EQ(head.rfind(start, 0), 0u) << head;
    const std::string letters = head.substr(start.size(), head.find(' ', start.size()) - start.size());
    const std::optional<std::string> message = DecodeScoreLetters(letters);
    ASSERT_TRUE(message) << letters;
    const std::string expected = Utf8ToCp1251("type=0|name=Вася |score=0|key=") + kScoreKeyLetter + "|p=|add=" +
                                 Utf8ToCp1251("Тверь") + "|z=";
    EXPECT_EQ(message->substr(0, expected.size()), expected);
    EXPECT_EQ(message->size() % 5, 0u);
    EXPECT_EQ(message->find_first_not_of('0', expected.size()), std::string::npos) << "padded with zeros";
    EXPECT_NE(head.find("Accept: text/html, */*\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("Content-Type: text/html\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"), std::string::npos) << head;

    // The replay of the game follows to the same server, name and country in UTF-8.
    const std::string& replay = requests[1];
    const std::string post = "POST /api/replays?name=%D0%92%D0%B0%D1%81%D1%8F%20&score=0&country=%D0%A2%D0%B2%D0%B5%D1%80%D1%8C ";
    EXPECT_EQ(replay.rfind(post, 0), 0u) << replay;
    EXPECT_NE(replay.find("Content-Type: application/octet-stream\r\n"), std::string::npos) << replay;
    EXPECT_EQ(replay.find("Expect:"), std::string::npos) << "the body goes at once: " << replay;
}

TEST_F(ScoreEntryTest, NoSendsNothingAndShowsTheHighScores) {
    TLoopbackHttpServer server(TLoopbackHttpServer::TMode::Answer);
    LeaveAndTypeName();
    At(Asked + 2, "tap N");
    Dump(Asked + 3);
    RunWith(server.Address(), Asked + 4);

    const TJson shown = State(Asked + 3);
    EXPECT_EQ(shown["CurrentScreen"].Int(), 4);
    EXPECT_EQ(shown["HotItem"].Int(), 8) << "the high-score screen's own selection";
    EXPECT_TRUE(server.Requests().empty());
}

// Neither a server that never answers nor a refused connection holds the game: it goes on
// to the high-score screen, after the request's time limit or at once.
TEST_F(ScoreEntryTest, ASilentOrRefusingServerDoesNotHoldTheGame) {
    for (bool silent : {true, false}) {
        TLoopbackHttpServer server(TLoopbackHttpServer::TMode::NeverAnswer);
        LeaveAndTypeName();
        At(Asked + 2, "tap Y");
        Dump(Asked + 4);
        const auto start = std::chrono::steady_clock::now();
        RunWith(silent ? server.Address() : TLoopbackHttpServer::RefusingAddress(), Asked + 5);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_EQ(State(Asked + 4)["CurrentScreen"].Int(), 4) << (silent ? "silent" : "refusing");
        if (silent) {
            EXPECT_EQ(server.Requests().size(), 2u) << "the score and its replay, each waited out";
            EXPECT_GE(seconds, 9) << "the request waited out its time limit";
        } else {
            EXPECT_LT(seconds, 9) << "a refused connection goes on at once";
        }
        WriteSaves();  // the next round starts from the same table
    }
}

// The points of a game the demo pilot drove are not the player's: a demo that the player
// takes over and leaves asks for no name and leaves the table on disk as it was, while
// the pilot of the test scripts is only a tool whose games enter the table.
TEST_F(ScoreEntryTest, ADemoTakenOverNeverEntersTheTable) {
    const struct { const char* Name; bool Demo; int Dialog; int Screen; } cases[] = {
        {"--demo, taken over", true, 0, 1},
        {"pilot on from a script", false, 8, 6},
    };
    const int inRace = Ready + 60, takenOver = Left - 10, after = Left + 3;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string table = SavedTable();
        if (!c.Demo) {
            At(Ready, "race 1 1");
            At(Ready, "pilot on");
        }
        Dump(inRace);
        At(takenOver, c.Demo ? "tap Up" : "pilot off");
        Dump(takenOver + 2);
        At(Left, "tap Escape");
        At(Left + 2, "tap Y");
        Dump(after);
        At(after, "quit");
        const THeadlessResult result =
            RunHeadless(Dir, Script.str(), std::string(c.Demo ? "--demo " : "") + "--frames " + std::to_string(after + 1) + " --seed 1");
        Script.str("");
        ASSERT_EQ(result.ExitStatus, 0) << result.Stderr;

        const TJson driven = State(inRace);
        ASSERT_TRUE(driven.Has("race"));
        EXPECT_TRUE(driven["race"]["pilot"].Bool);
        EXPECT_EQ(driven["race"]["demo"].Bool, c.Demo);
        const TJson takenOverState = State(takenOver + 2);
        EXPECT_FALSE(takenOverState["race"]["pilot"].Bool) << "the player drives";
        EXPECT_EQ(takenOverState["race"]["demo"].Bool, c.Demo) << "still the demo's game";
        const TJson left = State(after);
        EXPECT_EQ(left["ActiveDialog"].Int(), c.Dialog);
        EXPECT_EQ(left["CurrentScreen"].Int(), c.Screen);
        if (c.Demo) {
            EXPECT_EQ(SavedTable(), table) << "the table on disk is untouched";
        }
    }
}

}  // namespace
}  // namespace quillon::testing
