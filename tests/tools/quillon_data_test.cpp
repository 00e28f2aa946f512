// The data inspector run as a program: JSON of written files, extracted pictures
// and sounds, and its exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "../engine/CollectionFixtures.h"
#include "engine/CollectionFiles.h"
#include "engine/ComponentStream.h"
#include "engine/Wave.h"
#include "support/FileText.h"

namespace quillon {
namespace {

struct TRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

TRun RunTool(const std::string& args) {
    testing::TTempFile out("tool.out"), err("tool.err");
    std::string command = std::string(QUILLON_BINARY_DIR) + "/quillon-data " + args + " >" + out.Path() + " 2>" +
                          err.Path();
    int raw = std::system(command.c_str());
    TRun run;
    run.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.Out = testing::ReadFileText(out.Path());
    run.Err = testing::ReadFileText(err.Path());
    return run;
}

TEST(QuillonData, DescribesImageCollections) {
    std::vector<TPictureItemData> items(2);
    items[0].Name = "\xD9\xE8\xF2 \"1\"";  // "Щит "1""
    items[0].Picture = testing::CoordinatePicture(100, 40);
    items[0].PatternWidth = 30;
    items[0].SkipWidth = 5;
    items[0].TransparentColor = 0xFF00FF;
    items[1].Name = "bg";
    items[1].Picture = testing::SolidPicture(8, 6, 0x102030);
    items[1].SystemMemory = true;
    items[1].Transparent = false;
    testing::TTempFile file("info.dxg");
    WriteImageCollectionFile(file.Path(), items);

    TRun run = RunTool("info " + file.Path());
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out,
              "{\"kind\":\"images\",\"items\":["
              "{\"name\":\"Щит \\\"1\\\"\",\"pictureWidth\":100,\"pictureHeight\":40,\"patternWidth\":30,"
              "\"patternHeight\":40,\"skipWidth\":5,\"skipHeight\":0,\"patterns\":3,\"transparent\":true,"
              "\"transparentColor\":16711935,\"systemMemory\":false},"
              "{\"name\":\"bg\",\"pictureWidth\":8,\"pictureHeight\":6,\"patternWidth\":8,\"patternHeight\":6,"
              "\"skipWidth\":0,\"skipHeight\":0,\"patterns\":1,\"transparent\":false,\"transparentColor\":0,"
              "\"systemMemory\":true}]}\n");

    // The picture as the game shows it: RGB565 widened back to 8 bits.
    testing::TTempFile png("picture.png");
    run = RunTool("png " + file.Path() + " 1 " + png.Path());
    EXPECT_EQ(run.Status, 0) << run.Err;
    std::string bytes = testing::ReadFileText(png.Path());
    ASSERT_GE(bytes.size(), 24u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    EXPECT_EQ(static_cast<uint8_t>(bytes[19]), 8);  // width in the header
    EXPECT_EQ(static_cast<uint8_t>(bytes[23]), 6);  // height
}

TEST(QuillonData, DescribesWaveCollectionsAndExtractsSounds) {
    std::vector<TWaveItemData> items(1);
    items[0].Name = "tick";
    items[0].Looped = true;
    items[0].MaxPlayingCount = 3;
    items[0].SamplesPerSecond = 22050;
    items[0].Data = std::vector<uint8_t>(100, 7);
    testing::TTempFile file("info.dxw");
    WriteWaveCollectionFile(file.Path(), items);

    TRun run = RunTool("info " + file.Path());
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out,
              "{\"kind\":\"waves\",\"items\":[{\"name\":\"tick\",\"looped\":true,\"maxPlayingCount\":3,"
              "\"formatTag\":1,\"channels\":1,\"samplesPerSecond\":22050,\"bitsPerSample\":16,\"dataBytes\":100}]}\n");

    testing::TTempFile wav("sound.wav");
    run = RunTool("wav " + file.Path() + " 0 " + wav.Path());
    EXPECT_EQ(run.Status, 0) << run.Err;
    std::vector<uint8_t> bytes = ReadWholeFile(wav.Path());
    TWave wave;
    wave.LoadFromMemory(bytes.data(), bytes.size());
    EXPECT_EQ(wave.Data, items[0].Data);
    EXPECT_EQ(wave.SamplesPerSecond(), 22050);
}

TEST(QuillonData, ExitCodes) {
    testing::TTempFile garbage("garbage.dxg");
    WriteWholeFile(garbage.Path(), {'n', 'o', 't', ' ', 'a', ' ', 'f', 'i', 'l', 'e'});
    testing::TTempFile images("codes.dxg");
    WriteImageCollectionFile(images.Path(), {TPictureItemData{}});

    struct Case { std::string args; int status; std::string err; } cases[] = {
        {"info " + garbage.Path(), 1, "Invalid stream format\n"},
        {"info /nonexistent.dxg", 1, "Cannot open file \"/nonexistent.dxg\". No such file or directory\n"},
        {"", 2, ""},
        {"info", 2, ""},
        {"show " + images.Path(), 2, ""},
        {"png " + images.Path() + " x /dev/null", 2, ""},
        {"png " + images.Path() + " 5 /dev/null", 2, ""},
        {"wav " + images.Path() + " 0 /dev/null", 2, ""},
        {"png " + images.Path() + " 0 /dev/null", 1, "Item has no picture\n"},
    };
    for (const Case& c : cases) {
        TRun run = RunTool(c.args);
        EXPECT_EQ(run.Status, c.status) << c.args;
        if (!c.err.empty()) {
            EXPECT_EQ(run.Err, c.err) << c.args;
        }
    }
}

}  // namespace
}  // namespace quillon
