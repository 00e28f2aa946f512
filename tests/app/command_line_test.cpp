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
    };
    for (const auto& args : bad) EXPECT_THROW(ParseCommandLine(args), ECommandLineError) << args[0];
}

}  // namespace
}  // namespace quillon
