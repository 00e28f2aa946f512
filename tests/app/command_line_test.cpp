// The program's arguments.
#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace quillon {
namespace {

TEST(CommandLine, ReadsTheHeadlessOptions) {
    TCommandLine line = ParseCommandLine({"--headless", "--frames", "30", "--fps", "60", "--seed", "7",
                                          "--script", "s.txt", "--root", "game", "--record-audio", "a.wav"});
    EXPECT_TRUE(line.Headless);
    EXPECT_EQ(line.Frames, 30);
    EXPECT_EQ(line.Fps, 60);
    EXPECT_EQ(line.Seed.value(), 7u);
    EXPECT_EQ(line.Script, "s.txt");
    EXPECT_EQ(line.Root, "game");
    EXPECT_EQ(line.RecordAudio, "a.wav");
}

TEST(CommandLine, NoArgumentsMeansTheDesktopGame) {
    TCommandLine line = ParseCommandLine({});
    EXPECT_FALSE(line.Headless);
    EXPECT_EQ(line.Fps, 85);
    EXPECT_FALSE(line.Seed.has_value());
    EXPECT_FALSE(line.FullScreen.has_value());
    EXPECT_FALSE(line.Demo);
}

TEST(CommandLine, ReadsThePlayersOptions) {
    struct TCase {
        std::vector<std::string> Args;
        std::optional<bool> FullScreen;
        bool Demo;
    };
    const TCase cases[] = {
        {{"--fullscreen"}, true, false},
        {{"--window"}, false, false},
        {{"--window", "--window"}, false, false},
        {{"--demo", "--fullscreen"}, true, true},
        {{"--demo"}, std::nullopt, true},
        {{"--headless", "--frames", "5", "--window"}, false, false},
    };
    for (const TCase& c : cases) {
        TCommandLine line = ParseCommandLine(c.Args);
        EXPECT_EQ(line.FullScreen, c.FullScreen) << c.Args[0];
        EXPECT_EQ(line.Demo, c.Demo) << c.Args[0];
    }
}

// A replay needs no frame count: it runs as long as the race it holds.
TEST(CommandLine, ReadsTheReplayOptions) {
    const TCommandLine headless = ParseCommandLine({"--headless", "--replay", "a.qrp", "--script", "s.txt"});
    EXPECT_TRUE(headless.Headless);
    EXPECT_EQ(headless.Replay, "a.qrp");
    EXPECT_EQ(headless.Script, "s.txt");
    const TCommandLine window = ParseCommandLine({"--replay-last", "--fullscreen"});
    EXPECT_FALSE(window.Headless);
    EXPECT_TRUE(window.ReplayLast);
    EXPECT_EQ(window.FullScreen, true);
    // What the file manager hands over: the replay itself, or a world table's address of one.
    EXPECT_EQ(ParseCommandLine({"/home/p/race.qrp"}).Replay, "/home/p/race.qrp");
    EXPECT_EQ(ParseCommandLine({"https://scores.example/api/replays/7"}).Replay, "https://scores.example/api/replays/7");
    EXPECT_EQ(ParseCommandLine({"--settings", "my.ini"}).Settings, "my.ini");
}

TEST(CommandLine, RejectsBadArguments) {
    std::vector<std::vector<std::string>> bad = {
        {"--headless"},                                  // no frame count
        {"--frames", "10"},                              // headless only
        {"--headless", "--frames", "0"},
        {"--headless", "--frames", "ten"},
        {"--headless", "--frames", "10", "--fps", "0"},
        {"--headless", "--frames", "10", "--fps"},
        {"--bogus"},
        {"--fullscreen", "--window"},
        {"-fullscreen"},
        {"--replay"},                                    // no file
        {"--replay", "a.qrp", "--replay-last"},
        {"--replay", "a.qrp", "--demo"},
        {"--replay-last", "--headless", "--record-audio", "a.wav"},
        {"--replay", "a.qrp", "--script", "s.txt"},      // a script needs the headless replay
        {"a.qrp", "b.qrp"},                              // one replay at a time
        {"--replay", "a.qrp", "b.qrp"},
        {"--settings"},
    };
    for (const auto& args : bad) EXPECT_THROW(ParseCommandLine(args), ECommandLineError) << args[0];
}

}  // namespace
}  // namespace quillon
