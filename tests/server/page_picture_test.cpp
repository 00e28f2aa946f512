// The page's pictures: what the reader takes and refuses, where the server finds the title art,
// and that the page wears the menus' palette.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "art/MenuArtKit.h"
#include "server/PagePalette.h"
#include "server/PagePicture.h"
#include "support/TempDir.h"

namespace quillon::server {
namespace {

// The signature and a header chunk of the given size (the rest of a real file does not matter).
std::string PngHead(std::uint32_t width, std::uint32_t height) {
    std::string bytes("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (std::uint32_t value : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>((value >> shift) & 0xFF);
    return bytes + std::string("\x08\x02\0\0\0", 5);
}

TEST(PagePicture, TakesAPngAndKnowsItsSize) {
    const TPagePicture picture = ParsePagePicture(PngHead(360, 130));
    EXPECT_EQ(picture.Width, 360);
    EXPECT_EQ(picture.Height, 130);
    EXPECT_EQ(picture.Png, PngHead(360, 130));
}

TEST(PagePicture, RefusesAnythingElseWithAFixedText) {
    std::string wrongChunk = PngHead(10, 10);
    wrongChunk.replace(12, 4, "IDAT");
    std::string wrongLength = PngHead(10, 10);
    wrongLength[11] = 12;
    const struct {
        const char* What;
        std::string Bytes;
        const char* Error;
    } cases[] = {
        {"nothing", "", "not a PNG picture"},
        {"the signature alone", PngHead(10, 10).substr(0, 8), "not a PNG picture"},
        {"a cut header", PngHead(10, 10).substr(0, 20), "not a PNG picture"},
        {"another format", "GIF89a" + std::string(40, '\0'), "not a PNG picture"},
        {"another chunk first", wrongChunk, "not a PNG picture"},
        {"a header of the wrong length", wrongLength, "not a PNG picture"},
        {"no width", PngHead(0, 10), "not a PNG picture"},
        {"no height", PngHead(10, 0), "not a PNG picture"},
        {"too wide", PngHead(kMaxPagePictureSide + 1, 10), "the picture is too large"},
        {"a width past 31 bits", PngHead(0xFFFFFFFFu, 10), "the picture is too large"},
        {"too many bytes", PngHead(10, 10) + std::string(kMaxPagePictureBytes, '\0'), "the picture is too large"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        try {
            ParsePagePicture(c.Bytes);
            ADD_FAILURE() << "taken";
        } catch (const EPagePictureError& error) {
            EXPECT_STREQ(error.what(), c.Error);
        }
    }
}

TEST(PagePicture, ReadsTheFileAndSaysWhenItCannot) {
    testing::TTempDir dir("page-picture");
    std::ofstream(dir.File("title.png"), std::ios::binary) << PngHead(7, 5);
    EXPECT_EQ(ReadPagePicture(dir.File("title.png")).Width, 7);
    for (const std::string& path : {dir.File("missing.png"), dir.Path()}) {
        try {
            ReadPagePicture(path);
            ADD_FAILURE() << path << " taken";
        } catch (const EPagePictureError& error) {
            EXPECT_TRUE(std::string(error.what()) == "cannot read the picture" ||
                        std::string(error.what()) == "not a PNG picture")
                << error.what();
        }
    }
}

TEST(PagePicture, TheBuildsTitleArtIsTaken) {
    const std::string path = std::string(QUILLON_BINARY_DIR) + "/page-art/" + kTitlePictureName;
    if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " was not drawn (the data generator is not built)";
    const TPagePicture title = ReadPagePicture(path);
    EXPECT_GT(title.Width, 0);
    EXPECT_GT(title.Height, 0);
}

TEST(PagePicture, TitleArtFoundBesideTheProgramOrInTheInstalledData) {
    testing::TTempDir root("page-art");
    const std::filesystem::path base = root.Path();
    const std::vector<std::string> data{(base / "prefix" / "share" / "quillon-scores").string(),
                                        (base / "system" / "quillon-scores").string()};
    std::filesystem::create_directories(base / "build");
    std::filesystem::create_directories(base / "usr" / "sbin");
    std::filesystem::create_directories(base / "copied");
    const std::string built = (base / "build" / "quillon-scores").string();
    const std::string installed = (base / "usr" / "sbin" / "quillon-scores").string();
    const std::string copied = (base / "copied" / "quillon-scores").string();
    EXPECT_EQ(FindPageArtFolder(built, data), "") << "nothing there yet";

    std::filesystem::create_directories(base / "build" / "page-art");
    std::ofstream((base / "build" / "page-art" / kTitlePictureName).string()) << PngHead(1, 1);
    EXPECT_EQ(FindPageArtFolder(built, data), (base / "build" / "page-art").string());

    std::filesystem::create_directories(base / "usr" / "share" / "quillon-scores");
    std::ofstream((base / "usr" / "share" / "quillon-scores" / kTitlePictureName).string()) << PngHead(1, 1);
    EXPECT_EQ(FindPageArtFolder(installed, data), (base / "usr" / "share" / "quillon-scores").string());

    // A program copied out of its install looks in the data folders, in their order.
    EXPECT_EQ(FindPageArtFolder(copied, data), "");
    std::filesystem::create_directories(data[1]);
    std::ofstream((std::filesystem::path(data[1]) / kTitlePictureName).string()) << PngHead(1, 1);
    EXPECT_EQ(FindPageArtFolder(copied, data), data[1]);
    std::filesystem::create_directories(data[0]);
    std::ofstream((std::filesystem::path(data[0]) / kTitlePictureName).string()) << PngHead(1, 1);
    EXPECT_EQ(FindPageArtFolder(copied, data), data[0]);
    EXPECT_EQ(FindPageArtFolder(installed, data), (base / "usr" / "share" / "quillon-scores").string())
        << "the install around the program comes first";
}

TEST(PagePalette, TheMenusColours) {
    namespace art = assetgen::menuart;
    const struct {
        const char* Name;
        art::TColor Menu;
    } menuColours[] = {
        {"ink", art::kInk},     {"body", art::kBody},   {"body-light", art::kBodyLight},
        {"frame", art::kFrame}, {"frame-dim", art::kFrameDim}, {"cyan", art::kCyan},
        {"white", art::kWhite}, {"steel", art::kSteel}, {"amber", art::kAmber},
        {"green", art::kGreen},
    };
    for (const auto& menu : menuColours) {
        SCOPED_TRACE(menu.Name);
        const TPageColor* page = nullptr;
        for (const TPageColor& colour : kPagePalette)
            if (std::string(colour.Name) == menu.Name) page = &colour;
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->R, std::lround(menu.Menu.R * 255));
        EXPECT_EQ(page->G, std::lround(menu.Menu.G * 255));
        EXPECT_EQ(page->B, std::lround(menu.Menu.B * 255));
    }
}

}  // namespace
}  // namespace quillon::server
