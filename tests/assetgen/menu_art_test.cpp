// Checks of the menu (collection 1) and radar (collection 3) art: every index present,
// the sizes and pattern counts the screens rely on, and keys that cut cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "art/Collections.h"
#include "art/FontCaches.h"
#include "engine/Surface.h"

namespace quillon::assetgen {
namespace {

uint16_t To565(uint32_t rgb) {
    return PackRGB565(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb));
}

uint32_t KeyRGB(const TPictureItemData& item) {
    uint32_t k = item.TransparentColor;  // stored as 0x00BBGGRR
    return (k & 0xFF) << 16 | (k & 0xFF00) | (k >> 16 & 0xFF);
}

int PatternCount(const TPictureItemData& item) {
    const int pw = item.PatternWidth > 0 ? item.PatternWidth : item.Picture.Width;
    const int ph = item.PatternHeight > 0 ? item.PatternHeight : item.Picture.Height;
    return ((item.Picture.Width + item.SkipWidth) / (pw + item.SkipWidth)) *
           ((item.Picture.Height + item.SkipHeight) / (ph + item.SkipHeight));
}

class MenuArtTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Menu = new std::vector<TPictureItemData>(BuildCollection1());
        Radar = new std::vector<TPictureItemData>(BuildCollection3());
    }
    static void TearDownTestSuite() {
        delete Menu;
        delete Radar;
        ReleaseFontCaches();
    }
    static std::vector<TPictureItemData>* Menu;
    static std::vector<TPictureItemData>* Radar;
};

std::vector<TPictureItemData>* MenuArtTest::Menu = nullptr;
std::vector<TPictureItemData>* MenuArtTest::Radar = nullptr;

TEST_F(MenuArtTest, EveryIndexExistsWithAWholePicture) {
    ASSERT_EQ(Menu->size(), 63u);
    ASSERT_EQ(Radar->size(), 18u);
    for (const auto* list : {Menu, Radar})
        for (const TPictureItemData& item : *list) {
            SCOPED_TRACE(item.Name);
            EXPECT_GT(item.Picture.Width, 0);
            EXPECT_GT(item.Picture.Height, 0);
            EXPECT_EQ(item.Picture.Pixels.size(), static_cast<size_t>(item.Picture.Width) * item.Picture.Height);
        }
}

// Pattern size limits come from where the screens place each picture: neighbours must
// not overlap, and pictures drawn with their own size must have it.
TEST_F(MenuArtTest, MenuPicturesFitTheirPlaces) {
    struct TCase {
        int Index;
        int MaxW, MaxH;
        int Patterns;
    };
    const TCase cases[] = {
        {1, 800, 600, 1},   {2, 348, 70, 1},    {7, 348, 70, 1},    {8, 348, 70, 1},    {13, 348, 70, 1},
        {14, 322, 32, 1},   {15, 322, 32, 1},   {16, 134, 32, 1},   {19, 134, 32, 1},   {20, 366, 44, 1},
        {21, 298, 46, 1},   {22, 8, 24, 1},     {24, 297, 85, 1},   {25, 444, 85, 1},   {26, 244, 85, 1},
        {27, 328, 85, 1},   {28, 289, 153, 1},  {32, 289, 153, 1},  {33, 322, 146, 1},  {34, 126, 59, 2},
        {35, 126, 59, 2},   {37, 74, 160, 2},   {38, 75, 160, 2},   {39, 348, 127, 2},  {40, 197, 125, 2},
        {41, 217, 125, 2},  {42, 197, 136, 2},  {43, 218, 136, 2},  {50, 100, 120, 1},  {51, 452, 405, 1},
        {52, 452, 405, 1},  {53, 439, 286, 1},  {54, 23, 21, 1},
    };
    for (const TCase& c : cases) {
        const TPictureItemData& item = (*Menu)[c.Index];
        SCOPED_TRACE(c.Index);
        EXPECT_LE(item.PatternWidth, c.MaxW);
        EXPECT_LE(item.PatternHeight, c.MaxH);
        EXPECT_EQ(PatternCount(item), c.Patterns);
    }
    EXPECT_EQ((*Menu)[1].Picture.Width, 800);
    EXPECT_EQ((*Menu)[1].Picture.Height, 600);
    // A tab's two looks share one hit rectangle.
    for (int slot = 0; slot < 6; ++slot) {
        EXPECT_EQ((*Menu)[2 + slot].Picture.Width, (*Menu)[8 + slot].Picture.Width);
        EXPECT_EQ((*Menu)[2 + slot].Picture.Height, (*Menu)[8 + slot].Picture.Height);
    }
    // Titles end at the screen's right edge or before it.
    const int titleX[4] = {503, 356, 556, 472};
    for (int t = 0; t < 4; ++t) EXPECT_LE(titleX[t] + (*Menu)[24 + t].Picture.Width, 800);
}

TEST_F(MenuArtTest, HotZoneLookAndPlaceholdersShowNothingLegendShowsRaceArt) {
    // The legend pictures come from the race art and must not be left empty.
    for (int index = 55; index <= 62; ++index) EXPECT_GT((*Menu)[index].Picture.Width, 1) << index;
    for (int index : {0, 23, 36, 44, 45, 46, 47, 48, 49}) {
        const TPictureItemData& item = (*Menu)[index];
        SCOPED_TRACE(index);
        EXPECT_TRUE(item.Transparent);
        for (uint32_t p : item.Picture.Pixels) EXPECT_EQ(To565(p), To565(KeyRGB(item)));
    }
}

TEST_F(MenuArtTest, RadarPiecesStackAndMarkersFit) {
    for (int i = 0; i <= 9; ++i) EXPECT_EQ((*Radar)[i].Picture.Height, 18) << i;
    EXPECT_LE(std::abs((*Radar)[10].Picture.Height - 10), 2);
    EXPECT_LE((*Radar)[14].Picture.Width, 50);
    EXPECT_LE((*Radar)[15].Picture.Width, 55);
    for (int i : {16, 17}) {
        EXPECT_LE((*Radar)[i].Picture.Width, 12);
        EXPECT_GE((*Radar)[i].Picture.Height, 12);
        EXPECT_LE((*Radar)[i].Picture.Height, 16);
    }
    // The slices overlap rows below the top mask and above the bottom one: rows span y 14..230.
    EXPECT_GE(0 + (*Radar)[12].Picture.Height, 32);
    EXPECT_GE(208 + (*Radar)[13].Picture.Height, 230);
}

// The key is compared after conversion to 16 bits: an opaque pixel that lands on it
// would be punched out of the picture.
TEST_F(MenuArtTest, NoOpaquePixelTurnsIntoTheKey) {
    for (const auto* list : {Menu, Radar})
        for (const TPictureItemData& item : *list) {
            if (!item.Transparent) continue;
            const uint32_t key = KeyRGB(item);
            const uint16_t key565 = To565(key);
            size_t bad = 0;
            for (uint32_t p : item.Picture.Pixels)
                if (p != key && To565(p) == key565) ++bad;
            EXPECT_EQ(bad, 0u) << item.Name;
        }
    // The backdrop and the dialog panel's body must be fully opaque.
    const TPictureItemData& background = (*Menu)[1];
    for (uint32_t p : background.Picture.Pixels) ASSERT_NE(To565(p), To565(KeyRGB(background)));
    const TPictureItemData& dialog = (*Menu)[33];
    EXPECT_NE(dialog.Picture.At(dialog.Picture.Width / 2, dialog.Picture.Height / 2), KeyRGB(dialog));
}

TEST_F(MenuArtTest, EveryRunDrawsTheSamePictures) {
    const std::vector<TPictureItemData> again = BuildCollection1();
    const std::vector<TPictureItemData> radarAgain = BuildCollection3();
    for (size_t i = 0; i < Menu->size(); ++i) EXPECT_EQ(again[i].Picture.Pixels, (*Menu)[i].Picture.Pixels) << i;
    for (size_t i = 0; i < Radar->size(); ++i)
        EXPECT_EQ(radarAgain[i].Picture.Pixels, (*Radar)[i].Picture.Pixels) << i;
}

}  // namespace
}  // namespace quillon::assetgen
