// Checks of the menu (collection 1) and radar (collection 3) art: every index present,
// the sizes and pattern counts the screens rely on, keys that cut cleanly, and the words
// on pictures in both languages: inside their boxes, and nowhere else different.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "art/ArtWords.h"
#include "art/Collections.h"
#include "art/LabelLog.h"
#include "art/RaceArt.h"
#include "engine/Surface.h"
#include "engine/WordPictures.h"
#include "support/Rgb565.h"

namespace quillon::assetgen {
namespace {

using testing::To565;

uint32_t KeyRGB(const TPictureItemData& item) {
    uint32_t k = item.TransparentColor;  // stored as 0x00BBGGRR
    return (k & 0xFF) << 16 | (k & 0xFF00) | (k >> 16 & 0xFF);
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

// Sizes and pattern counts per index are checked over the written files; these are the
// relations between pictures that the screens rely on.
TEST_F(MenuArtTest, PairedPicturesAgreeAndTitlesEndOnScreen) {
    // A tab's two looks share one hit rectangle.
    for (int slot = 0; slot < 6; ++slot) {
        EXPECT_EQ((*Menu)[2 + slot].Picture.Width, (*Menu)[8 + slot].Picture.Width);
        EXPECT_EQ((*Menu)[2 + slot].Picture.Height, (*Menu)[8 + slot].Picture.Height);
    }
    // The ship views cross-fade over one another, so they share one size.
    for (int ship = 29; ship <= 32; ++ship) {
        EXPECT_EQ((*Menu)[ship].Picture.Width, (*Menu)[28].Picture.Width);
        EXPECT_EQ((*Menu)[ship].Picture.Height, (*Menu)[28].Picture.Height);
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

TEST_F(MenuArtTest, RadarMasksCoverTheRowsScrollingInAndOut) {
    // Slices are drawn from y 14 to 230; the top mask (at y 0) and the bottom one (at y 208)
    // must hide the parts outside the radar window.
    EXPECT_GE(0 + (*Radar)[12].Picture.Height, 32);
    EXPECT_GE(208 + (*Radar)[13].Picture.Height, 230);
}

// Keys that clash in 16 bits are checked for every collection with the race art; here,
// the two pictures that must have no hole at all.
TEST_F(MenuArtTest, BackdropAndDialogBodyAreSolid) {
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

// The pictures with words in both languages, in one test (the tests run one process each, and
// the menus in two languages are the costly part): every word's ink lies inside the box its
// picture gives it (the plate's face clear of its stripes, the capsule right of its lamp, the
// title above its underline, the row left of its cells) and inside the picture, so no word is
// cut by the picture's edge; every word of both languages was painted and so measured; and
// the English menus are the Russian ones item for item, differing only in those pictures.
TEST(PicturesWithWords, EveryWordFitsItsBoxAndOnlyThesePicturesDifferByLanguage) {
    TLabelLog log;
    const TBothLanguages menus = BuildCollection1BothLanguages();
    // The race's pictures with words are drawn alone: the rest of the race art is not needed.
    for (TLanguage language : {TLanguage::Russian, TLanguage::English}) {
        BuildHudPanel(ArtWords(language));
        BuildSpeedLabel(ArtWords(language));
    }

    // The ink box is rounded out to whole pixels, and a turned label's is the box around the
    // turned rectangle, whose corners hold no ink: half a pixel past an edge is no cut.
    const double slack = 0.5;
    ASSERT_FALSE(log.Labels.empty());
    for (const TPaintedLabel& l : log.Labels) {
        SCOPED_TRACE(l.Text);
        EXPECT_GT(l.InkRight - l.InkLeft, 2);
        EXPECT_GE(l.InkLeft + slack, std::max(l.BoxLeft, 0.0));
        EXPECT_GE(l.InkTop + slack, std::max(l.BoxTop, 0.0));
        EXPECT_LE(l.InkRight - slack, std::min<double>(l.BoxRight, l.CanvasWidth));
        EXPECT_LE(l.InkBottom - slack, std::min<double>(l.BoxBottom, l.CanvasHeight));
    }

    for (TLanguage language : {TLanguage::Russian, TLanguage::English}) {
        const TArtWords& w = ArtWords(language);
        std::vector<const char*> words = {w.GameName, w.Tagline, w.Window, w.FullScreen, w.On, w.Off, w.Yes, w.No,
                                          w.Start, w.ClearScores, w.WorldTable, w.HelpBack, w.HelpNext, w.HudPlace,
                                          w.HudTime, w.HudScore, w.HudSpeed, w.HudEnergy, w.HudLives, w.SpeedUnit};
        words.insert(words.end(), w.MenuTabs.begin(), w.MenuTabs.end());
        words.insert(words.end(), w.Titles.begin(), w.Titles.end());
        words.insert(words.end(), w.Ratings.begin(), w.Ratings.end());
        for (const char* word : words)
            EXPECT_TRUE(std::any_of(log.Labels.begin(), log.Labels.end(),
                                    [&](const TPaintedLabel& l) { return l.Text == word; }))
                << word;
    }

    ASSERT_EQ(menus.English.size(), menus.Russian.size());
    const std::span<const int> withWords = WordItems("Res1.dxg");
    for (size_t i = 0; i < menus.English.size(); ++i) {
        const TPictureItemData& ru = menus.Russian[i];
        const TPictureItemData& en = menus.English[i];
        SCOPED_TRACE(ru.Name + " " + std::to_string(i));
        EXPECT_EQ(en.Name, ru.Name);
        EXPECT_EQ(en.Picture.Width, ru.Picture.Width);
        EXPECT_EQ(en.Picture.Height, ru.Picture.Height);
        EXPECT_EQ(en.PatternWidth, ru.PatternWidth);
        EXPECT_EQ(en.PatternHeight, ru.PatternHeight);
        EXPECT_EQ(en.TransparentColor, ru.TransparentColor);
        const bool hasWords = std::find(withWords.begin(), withWords.end(), static_cast<int>(i)) != withWords.end();
        EXPECT_EQ(en.Picture.Pixels != ru.Picture.Pixels, hasWords);
    }
}

}  // namespace
}  // namespace quillon::assetgen
