// The headless driver end to end: timing values in the state dump, screenshots,
// exit statuses and the early end of a run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/HeadlessRun.h"
#include "support/Json.h"

namespace quillon::testing {
namespace {

TEST(HeadlessDriver, StateDumpShowsTheFrameTimingOfTheVirtualClock) {
    struct Case { int fps; int frameMs; double scale; } cases[] = {{85, 11, 1.0}, {60, 16, 85.0 / 60}};
    for (const Case& c : cases) {
        std::string dir = MakeTempDir("timing");
        THeadlessResult run = RunHeadless(dir, "20 state s.json\n20 shot s.png\n",
                                          "--frames 30 --fps " + std::to_string(c.fps));
        ASSERT_EQ(run.ExitStatus, 0) << run.Stderr;
        TJson state = ReadJsonFile(dir + "/s.json");
        EXPECT_EQ(state["frame"].Int(), 20);
        EXPECT_EQ(state["FrameMs"].Int(), c.frameMs);
        EXPECT_DOUBLE_EQ(state["SpeedScale"].Number, c.scale);
        for (const char* field : {"CurrentScreen", "ActiveDialog", "HotItem", "FirstItem", "LastItem"})
            EXPECT_TRUE(state.Has(field)) << field;

        // An 800 x 600 PNG: the size sits in the IHDR chunk, big-endian.
        std::ifstream png(dir + "/s.png", std::ios::binary);
        unsigned char header[24] = {};
        png.read(reinterpret_cast<char*>(header), sizeof header);
        ASSERT_TRUE(png) << "no screenshot";
        EXPECT_EQ(header[1], 'P');
        EXPECT_EQ((header[16] << 24) | (header[17] << 16) | (header[18] << 8) | header[19], 800);
        EXPECT_EQ((header[20] << 24) | (header[21] << 16) | (header[22] << 8) | header[23], 600);
        std::filesystem::remove_all(dir);
    }
}

TEST(HeadlessDriver, QuitEndsTheRunAfterItsFrame) {
    std::string dir = MakeTempDir("quit");
    THeadlessResult run = RunHeadless(dir, "5 quit\n5 state five.json\n6 state six.json\n", "--frames 100");
    EXPECT_EQ(run.ExitStatus, 0) << run.Stderr;
    EXPECT_TRUE(std::filesystem::exists(dir + "/five.json"));
    EXPECT_FALSE(std::filesystem::exists(dir + "/six.json"));
    std::filesystem::remove_all(dir);
}

TEST(HeadlessDriver, RecordAudioWritesTheWholeRunAtTheDeviceRate) {
    std::string dir = MakeTempDir("record");
    THeadlessResult run = RunHeadless(dir, "", "--frames 170 --fps 85 --record-audio run.wav");
    ASSERT_EQ(run.ExitStatus, 0) << run.Stderr;
    // Two seconds of 16-bit stereo at 44100 Hz after the 44-byte header.
    EXPECT_EQ(std::filesystem::file_size(dir + "/run.wav"), 44u + 2u * 44100u * 4u);
    std::filesystem::remove_all(dir);
}

// Started in one folder with the game folder elsewhere, every output named without a folder
// lands in the folder it was started in: the recording as much as the screenshot and the dump.
TEST(HeadlessDriver, RelativeOutputsLandInTheWorkingFolder) {
    namespace fs = std::filesystem;
    const std::string dir = MakeTempDir("outputs");
    const std::string game = dir + "/game", work = dir + "/work";
    MakeGameFolder(game);
    fs::create_directories(work + "/sub");
    std::ofstream(work + "/script.txt") << "5 shot sub/s.png\n5 state s.json\n";
    const std::string command = "cd '" + work + "' && '" + BuildDir() + "/quillon' --headless --frames 10 --root '" +
                                game + "' --script script.txt --record-audio sub/run.wav 2> stderr.txt";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const char* file : {"sub/s.png", "s.json", "sub/run.wav"}) {
        EXPECT_TRUE(fs::exists(work + "/" + file)) << file << " is not in the working folder";
        EXPECT_FALSE(fs::exists(game + "/" + file)) << file << " went into the game folder";
    }
    fs::remove_all(dir);
}

TEST(HeadlessDriver, AWorldTableAddressThatIsNotOneIsNamedAtStart) {
    const std::string dir = MakeTempDir("address");
    ::setenv("QUILLON_SCORE_SERVER", "scores.example.org", 1);
    const THeadlessResult run = RunHeadless(dir, "", "--frames 5");
    ::unsetenv("QUILLON_SCORE_SERVER");
    EXPECT_EQ(run.ExitStatus, 0) << run.Stderr;
    EXPECT_EQ(run.Stderr,
              "quillon: the score server address \"scores.example.org\" is not an http or https address: no score is "
              "sent and the world table is not opened\n");
    std::filesystem::remove_all(dir);
}

TEST(HeadlessDriver, AMissingDataFileIsReportedAndTheGameRunsOn) {
    std::string dir = MakeTempDir("nodata");
    std::filesystem::create_directories(dir + "/empty/Data/Res");
    THeadlessResult run = RunHeadless(dir, "3 shot s.png\n3 state s.json\n", "--frames 5 --root empty");
    EXPECT_EQ(run.ExitStatus, 0) << run.Stderr;
    EXPECT_NE(run.Stderr.find("error: Cannot open file \"Data/Res/Res1.dxg\"."), std::string::npos) << run.Stderr;
    // Start-up stopped at the first missing file: nothing after it was reported.
    EXPECT_EQ(run.Stderr.find("Res2.dxg"), std::string::npos) << run.Stderr;
    EXPECT_TRUE(std::filesystem::exists(dir + "/s.png")) << "the window still shows frames";
    EXPECT_TRUE(std::filesystem::exists(dir + "/s.json"));
    std::filesystem::remove_all(dir);
}

TEST(HeadlessDriver, BadArgumentsAndScriptLinesExitWithTwo) {
    std::string dir = MakeTempDir("bad");
    THeadlessResult badLine = RunHeadless(dir, "# ok\n1 tap Up\n2 fly away\n", "--frames 10");
    EXPECT_EQ(badLine.ExitStatus, 2);
    EXPECT_NE(badLine.Stderr.find("line 3"), std::string::npos) << badLine.Stderr;
    THeadlessResult badFps = RunHeadless(dir, "", "--frames 10 --fps zero");
    EXPECT_EQ(badFps.ExitStatus, 2);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace quillon::testing
