// The data files the build writes into the game folder, as the data inspector reads
// them: every index of the three image collections at the size and pattern count the
// game draws it with, the sound effects and the two songs.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace quillon {
namespace {

const std::filesystem::path GameDir = QUILLON_BINARY_DIR;

struct TInspectedItem {
    int PatternWidth = 0, PatternHeight = 0, Patterns = 0;
    bool Transparent = false;
};

std::string RunInspector(const std::filesystem::path& file) {
    const std::string command = std::string(QUILLON_BINARY_DIR) + "/quillon-data info '" + file.string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {};
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
    pclose(pipe);
    return out;
}

int Field(const std::string& item, const std::string& name) {
    const std::string key = "\"" + name + "\":";
    const size_t at = item.find(key);
    if (at == std::string::npos) return -1;
    return std::atoi(item.c_str() + at + key.size());
}

// The inspector prints one flat object per item, each starting with its name.
std::vector<std::string> JsonItems(const std::string& json) {
    std::vector<std::string> items;
    for (size_t at = json.find("{\"name\""); at != std::string::npos; at = json.find("{\"name\"", at + 1))
        items.push_back(json.substr(at, json.find('}', at) - at + 1));
    return items;
}

std::vector<TInspectedItem> InspectImages(const std::filesystem::path& file) {
    const std::string json = RunInspector(file);
    std::vector<TInspectedItem> items;
    for (const std::string& s : JsonItems(json)) {
        items.push_back({Field(s, "patternWidth"), Field(s, "patternHeight"), Field(s, "patterns"),
                         s.find("\"transparent\":true") != std::string::npos});
    }
    return items;
}

// What the game needs of one index: the pattern size (exact or bounded) and how many
// patterns it must have.
struct TRule {
    int MinW, MaxW, MinH, MaxH;
    int MinPatterns, MaxPatterns;
    bool Keyed;  // the game draws it with transparent pixels
};
constexpr int Big = 100000;
constexpr TRule Exact(int w, int h, int patterns, bool keyed = true) { return {w, w, h, h, patterns, patterns, keyed}; }
constexpr TRule Within(int maxW, int maxH, int patterns = 1) { return {1, maxW, 1, maxH, patterns, patterns, true}; }
constexpr TRule Free(int patterns = 1) { return {1, Big, 1, Big, patterns, patterns, false}; }
constexpr TRule Unused() { return {1, Big, 1, Big, 1, Big, false}; }

std::vector<TRule> Collection1Rules() {
    std::vector<TRule> r(63, Unused());
    r[0] = Within(Big, Big);
    r[1] = Exact(800, 600, 1, false);
    for (int i = 2; i <= 13; ++i) r[i] = Within(348, 70);
    r[14] = r[15] = Within(322, 32);
    for (int i = 16; i <= 19; ++i) r[i] = Within(134, 32);
    r[20] = Within(377, 78);
    r[21] = Within(308, 77);
    r[22] = {1, 20, 18, 30, 1, 1, true};
    r[24] = Within(297, 85);
    r[25] = Within(444, 85);
    r[26] = Within(244, 85);
    r[27] = Within(328, 85);
    for (int i = 28; i <= 32; ++i) r[i] = Within(289, 153);
    r[33] = {300, 340, 120, 160, 1, 1, true};
    r[34] = r[35] = Within(126, 59, 2);
    r[37] = Within(74, Big, 2);
    r[38] = Within(75, Big, 2);
    r[39] = Within(348, 127, 2);
    r[40] = Within(197, 125, 2);
    r[41] = Within(217, 125, 2);
    r[42] = Within(197, 136, 2);
    r[43] = Within(218, 136, 2);
    r[50] = Within(100, Big);
    r[51] = r[52] = Free();
    r[51].MaxW = r[52].MaxW = 452;
    r[51].MaxH = r[52].MaxH = 405;
    r[53] = Within(439, Big);
    r[54] = Within(23, 21);
    const int legendW[8] = {48, 48, 52, 53, 57, 57, 70, 70};
    for (int i = 55; i <= 62; ++i) r[i] = Within(legendW[i - 55], 50);
    return r;
}

std::vector<TRule> Collection2Rules() {
    std::vector<TRule> r(66, Unused());
    r[0] = Unused();
    r[1] = {72, 72, 72, 72, 23, Big, true};
    r[2] = Exact(225, 600, 1, false);
    r[3] = r[4] = {18, 18, 34, 34, 2, 3, true};
    const int shipW[5] = {64, 64, 70, 76, 73}, shipH[5] = {73, 73, 67, 70, 68};
    for (int s = 0; s < 5; ++s) {
        r[5 + s] = Exact(shipW[s], shipH[s], 1);
        r[24 + 3 * s] = r[25 + 3 * s] = Exact(shipW[s], shipH[s], 6);
    }
    for (int b : {11, 13, 14, 15, 59, 60, 61, 62}) r[b] = {34, 34, 34, 34, 4, 5, true};
    r[12] = Exact(36, 31, 8);
    r[23] = Exact(74, 52, 8);
    r[16] = r[17] = r[18] = Exact(32, 32, 17);
    r[26] = r[29] = Exact(10, 25, 1);
    r[32] = Exact(20, 45, 1);
    r[35] = Exact(32, 32, 1);
    const int segmentW[4] = {34, 53, 50, 57};
    for (int i = 0; i < 4; ++i) r[43 + i] = Within(segmentW[i], Big);
    for (int d = 47; d <= 56; ++d) r[d] = Within(11, Big);
    r[57] = Within(Big, Big);
    r[58] = Exact(800, 600, 1, false);
    r[63] = r[64] = r[65] = Exact(64, 64, 17);
    return r;
}

std::vector<TRule> Collection3Rules() {
    std::vector<TRule> r(18, Within(Big, Big));
    for (int i = 0; i <= 9; ++i) r[i] = {1, Big, 18, 18, 1, 1, true};
    r[10] = {1, Big, 8, 12, 1, 1, true};
    r[14] = Within(50, Big);
    r[15] = Within(55, Big);
    r[16] = r[17] = {1, 12, 13, 16, 1, 1, true};
    return r;
}

struct TCollectionCase {
    const char* File;
    std::vector<TRule> (*Rules)();
};

class ImageCollectionFile : public ::testing::TestWithParam<TCollectionCase> {};

TEST_P(ImageCollectionFile, EveryIndexHasTheSizeAndPatternsTheGameDrawsWith) {
    const auto path = GameDir / "Data" / "Res" / GetParam().File;
    ASSERT_TRUE(std::filesystem::exists(path)) << path << " was not generated by the build";
    const std::vector<TInspectedItem> items = InspectImages(path);
    const std::vector<TRule> rules = GetParam().Rules();
    ASSERT_EQ(items.size(), rules.size()) << "index count of " << path;
    for (size_t i = 0; i < rules.size(); ++i) {
        const TRule& r = rules[i];
        const TInspectedItem& it = items[i];
        SCOPED_TRACE(std::string(GetParam().File) + " index " + std::to_string(i));
        EXPECT_GE(it.PatternWidth, r.MinW);
        EXPECT_LE(it.PatternWidth, r.MaxW);
        EXPECT_GE(it.PatternHeight, r.MinH);
        EXPECT_LE(it.PatternHeight, r.MaxH);
        EXPECT_GE(it.Patterns, r.MinPatterns);
        EXPECT_LE(it.Patterns, r.MaxPatterns);
        if (r.Keyed) {
            EXPECT_TRUE(it.Transparent);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(GameFolder, ImageCollectionFile,
                         ::testing::Values(TCollectionCase{"Res1.dxg", Collection1Rules},
                                         TCollectionCase{"Res2.dxg", Collection2Rules},
                                         TCollectionCase{"Res3.dxg", Collection3Rules},
                                         TCollectionCase{"en/Res1.dxg", Collection1Rules},
                                         TCollectionCase{"en/Res2.dxg", Collection2Rules}),
                         [](const auto& info) {
                             const std::string file = info.param.File;
                             return (file.starts_with("en/") ? "English" : "") + file.substr(file.find("Res"), 4);
                         });

TEST(GameDataFiles, SoundsAndSongsAreWritten) {
    const auto sounds = GameDir / "Data" / "Res" / "Sounds.dxw";
    ASSERT_TRUE(std::filesystem::exists(sounds));
    EXPECT_EQ(JsonItems(RunInspector(sounds)).size(), 27u);
    for (const char* song : {"Menu.xm", "Race.xm"}) {
        const auto path = GameDir / "Data" / "Music" / song;
        ASSERT_TRUE(std::filesystem::exists(path)) << path;
        EXPECT_GT(std::filesystem::file_size(path), 1000u) << path;
    }
}

}  // namespace
}  // namespace quillon
