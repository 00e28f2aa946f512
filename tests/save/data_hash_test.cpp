// The data hash names what the race reads: the same for pictures that differ only in their
// words, different for anything else. The former whole-file hash still names the same data.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine/CollectionFiles.h"
#include "save/DataHash.h"
#include "support/TempDir.h"

namespace quillon {
namespace {

TPictureItemData SmallPicture(uint32_t colour, int width = 4, int height = 3) {
    TPictureItemData item;
    item.Name = "Item";
    item.Picture.Width = width;
    item.Picture.Height = height;
    item.Picture.Pixels.assign(static_cast<size_t>(width) * height, colour);
    return item;
}

// A game folder with three-item collections: in Res1.dxg item 1 carries words, items 0 and 2
// do not; in Res2.dxg item 2 carries words.
struct TDataFolder {
    std::vector<TPictureItemData> Menus{SmallPicture(0x102030), SmallPicture(0x405060), SmallPicture(0x708090)};
    std::vector<TPictureItemData> Race{SmallPicture(0x111111), SmallPicture(0x222222), SmallPicture(0x333333)};

    void Write(const std::filesystem::path& game) const {
        const auto res = game / "Data" / "Res";
        std::filesystem::create_directories(res);
        WriteImageCollectionFile((res / "Res1.dxg").string(), Menus);
        WriteImageCollectionFile((res / "Res2.dxg").string(), Race);
        WriteImageCollectionFile((res / "Res3.dxg").string(), {SmallPicture(0x445566)});
        WriteWaveCollectionFile((res / "Sounds.dxw").string(), {TWaveItemData{"Beep", false, 1, 1, 22050, 16, {1, 2}}});
    }
};

TEST(DataHash, OnlyTheWordsOnPicturesAreLeftOut) {
    testing::TTempDir dir("data-hash");
    const auto base = std::filesystem::path(dir.Path()) / "base";
    TDataFolder{}.Write(base);
    const uint64_t hash = HashDataFiles(base);
    const uint64_t whole = HashDataFilesWhole(base);

    struct TCase {
        const char* What;
        std::function<void(TDataFolder&)> Change;
        bool SameHash;
    };
    const TCase cases[] = {
        {"other words on a menu picture", [](TDataFolder& d) { d.Menus[1].Picture.Pixels[5] = 0xFFFFFF; }, true},
        {"other words on the race panel", [](TDataFolder& d) { d.Race[2].Picture.Pixels[0] = 0xFFFFFF; }, true},
        {"a menu picture without words", [](TDataFolder& d) { d.Menus[0].Picture.Pixels[5] = 0xFFFFFF; }, false},
        {"a race picture without words", [](TDataFolder& d) { d.Race[1].Picture.Pixels[0] = 0xFFFFFF; }, false},
        {"a picture with words of another size", [](TDataFolder& d) { d.Menus[1] = SmallPicture(0x405060, 5, 3); }, false},
        {"more patterns in a picture with words", [](TDataFolder& d) { d.Race[2].PatternHeight = 1; }, false},
        {"another key colour", [](TDataFolder& d) { d.Menus[1].TransparentColor = 0xFF00FF; }, false},
        {"one more item", [](TDataFolder& d) { d.Race.push_back(SmallPicture(0)); }, false},
    };
    for (const TCase& c : cases) {
        TDataFolder data;
        c.Change(data);
        const auto game = std::filesystem::path(dir.Path()) / c.What;
        data.Write(game);
        EXPECT_EQ(HashDataFiles(game) == hash, c.SameHash) << c.What;
        EXPECT_NE(HashDataFilesWhole(game), whole) << c.What;
    }

    // A collection that cannot be read still hashes, as something no real data matches.
    const auto damaged = std::filesystem::path(dir.Path()) / "damaged";
    TDataFolder{}.Write(damaged);
    std::ofstream(damaged / "Data" / "Res" / "Res1.dxg", std::ios::binary) << "not a collection";
    EXPECT_NE(HashDataFiles(damaged), hash);
    EXPECT_NE(HashDataFiles(std::filesystem::path(dir.Path()) / "missing"), hash);

    const TReplayExpectation expect = DataExpectation("1.0", base);
    EXPECT_EQ(expect.DataHash, hash);
    EXPECT_EQ(expect.FormerDataHash, whole);
}

}  // namespace
}  // namespace quillon
