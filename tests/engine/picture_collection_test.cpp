// Image collections: cutting pictures into patterns, tiling into surfaces, colour
// keys, drawing, following the display, and files written by the writer.
#include <gtest/gtest.h>

#include "CollectionFixtures.h"
#include "engine/Blit.h"
#include "engine/CollectionFiles.h"
#include "engine/Colors.h"
#include "engine/DXDraw.h"
#include "engine/DXImageList.h"
#include "engine/PictureCollection.h"

namespace quillon {
namespace {

using testing::CoordinatePicture;
using testing::SolidPicture;

uint16_t PictureColour(const TDIBImage& image, int x, int y) {
    uint32_t p = image.At(x, y);
    return PackRGB565(static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p));
}

class PictureCollectionTest : public ::testing::Test {
protected:
    void SetUp() override { Display.Initialize(); }

    TPictureCollectionItem& AddItem(const TDIBImage& picture, int patternWidth, int patternHeight, int skipWidth = 0,
                                    int skipHeight = 0) {
        TPictureCollectionItem& item = Images.Add();
        item.SetPicture(picture);
        item.PatternWidth = patternWidth;
        item.PatternHeight = patternHeight;
        item.SkipWidth = skipWidth;
        item.SkipHeight = skipHeight;
        return item;
    }

    void Upload() {
        Images.Initialize(Display);
        Images.Restore();
    }

    // Every pattern's surface holds exactly the picture rectangle the pattern stands for.
    void ExpectPatternsShowThePicture(const TPictureCollectionItem& item) {
        const TDIBImage& picture = *item.Picture();
        int64_t stepX = item.Width() + int64_t{item.SkipWidth}, stepY = item.Height() + int64_t{item.SkipHeight};
        int columns = static_cast<int>((picture.Width + item.SkipWidth) / stepX);
        for (int k = 0; k < item.PatternCount(); ++k) {
            const TDirectDrawSurface* surface = item.PatternSurface(k);
            ASSERT_NE(surface, nullptr);
            TRect r = item.PatternRect(k);
            ASSERT_EQ(r.Width(), item.Width());
            ASSERT_EQ(r.Height(), item.Height());
            ASSERT_LE(r.Right, surface->Width()) << "pattern " << k;
            ASSERT_LE(r.Bottom, surface->Height()) << "pattern " << k;
            int px = static_cast<int>(k % columns * stepX), py = static_cast<int>(k / columns * stepY);
            for (int y = 0; y < r.Height(); y += std::max(1, r.Height() - 1))
                for (int x = 0; x < r.Width(); x += std::max(1, r.Width() - 1))
                    ASSERT_EQ(surface->Pixel(r.Left + x, r.Top + y), PictureColour(picture, px + x, py + y))
                        << "pattern " << k << " at " << x << "," << y;
        }
    }

    TDXDraw Display;
    TPictureCollection Images;
};

TEST_F(PictureCollectionTest, PatternCountFollowsSizesAndSkips) {
    struct Case { int pictureW, pictureH, patternW, patternH, skipW, skipH, columns, rows; } cases[] = {
        {100, 10, 30, 0, 5, 0, 3, 1},      // (100 + 5) div 35
        {99, 10, 30, 0, 5, 0, 2, 1},       // (99 + 5) div 35
        {100, 10, 0, 0, 0, 0, 1, 1},       // whole picture
        {100, 10, 0, 0, 7, 7, 1, 1},       // whole picture whatever the skips
        {100, 60, 25, 20, 0, 0, 4, 3},
        {100, 60, 25, 20, 0, 5, 4, 2},     // (60 + 5) div 25
        {100, 10, 101, 0, 0, 0, 0, 1},     // a pattern wider than the picture
        {100, 10, 10, 0, -10, 0, 0, 1},    // a step of zero
        {100, 10, 20, 0, -15, 0, 17, 1},   // overlapping patterns: (100 - 15) div 5
    };
    for (const Case& c : cases) {
        TPictureCollection images;
        TPictureCollectionItem& item = images.Add();
        item.SetPicture(SolidPicture(c.pictureW, c.pictureH, 0));
        item.PatternWidth = c.patternW;
        item.PatternHeight = c.patternH;
        item.SkipWidth = c.skipW;
        item.SkipHeight = c.skipH;
        int expected = c.columns * c.rows;
        EXPECT_EQ(item.PatternCount(), expected) << c.pictureW << " " << c.patternW << " " << c.skipW;
        images.Initialize(Display);
        images.Restore();
        EXPECT_EQ(item.PatternCount(), expected) << "after restore " << c.pictureW << " " << c.patternW;
        if (expected > 0) ExpectPatternsShowThePicture(item);
    }
}

TEST_F(PictureCollectionTest, PatternsRunLeftToRightThenDown) {
    TPictureCollectionItem& item = AddItem(CoordinatePicture(100, 66), 30, 20, 5, 2);
    item.SystemMemory = true;
    Upload();
    ASSERT_EQ(item.PatternCount(), 9);  // 3 columns, 3 rows
    EXPECT_EQ(item.PatternRect(0), Bounds(0, 0, 30, 20));
    EXPECT_EQ(item.PatternRect(2), Bounds(70, 0, 30, 20));
    EXPECT_EQ(item.PatternRect(3), Bounds(0, 22, 30, 20));
    EXPECT_EQ(item.PatternRect(8), Bounds(70, 44, 30, 20));
    EXPECT_EQ(item.PatternRect(9), TRect{});
    EXPECT_EQ(item.PatternRect(-1), TRect{});
    EXPECT_EQ(item.PatternSurface(9), nullptr);
    EXPECT_EQ(item.Surfaces().size(), 1u);
    ExpectPatternsShowThePicture(item);
}

TEST_F(PictureCollectionTest, WidePicturesAreCutIntoTilesOfWholeSteps) {
    TPictureCollectionItem& item = AddItem(CoordinatePicture(1000, 100), 100, 0);
    Upload();
    ASSERT_EQ(item.Surfaces().size(), 2u);
    EXPECT_EQ(item.Surfaces()[0]->Width(), 600);  // 100 x ceil(512 / 100)
    EXPECT_EQ(item.Surfaces()[1]->Width(), 400);
    EXPECT_EQ(item.Surfaces()[1]->Height(), 100);
    EXPECT_EQ(item.PatternSurface(5), item.Surfaces()[0].get());
    EXPECT_EQ(item.PatternRect(5), Bounds(500, 0, 100, 100));
    EXPECT_EQ(item.PatternSurface(6), item.Surfaces()[1].get());
    EXPECT_EQ(item.PatternRect(6), Bounds(0, 0, 100, 100));
    ExpectPatternsShowThePicture(item);
}

TEST_F(PictureCollectionTest, TilingInBothDirectionsWithSkips) {
    // Steps of 110 x 75: tiles of 550 x 525, two across and three down.
    TPictureCollectionItem& item = AddItem(CoordinatePicture(1100, 1200), 100, 70, 10, 5);
    Upload();
    ASSERT_EQ(item.PatternCount(), 10 * 16);
    ASSERT_EQ(item.Surfaces().size(), 6u);
    EXPECT_EQ(item.Surfaces()[0]->Width(), 550);
    EXPECT_EQ(item.Surfaces()[0]->Height(), 525);
    EXPECT_EQ(item.Surfaces()[5]->Width(), 550);
    EXPECT_EQ(item.Surfaces()[5]->Height(), 150);
    EXPECT_EQ(item.PatternSurface(5), item.Surfaces()[1].get());  // row 0, column 5
    EXPECT_EQ(item.PatternRect(5), Bounds(0, 0, 100, 70));
    EXPECT_EQ(item.PatternSurface(7 * 10 + 6), item.Surfaces()[3].get());  // row 7 starts the second tile row
    EXPECT_EQ(item.PatternRect(7 * 10 + 6), Bounds(110, 0, 100, 70));
    ExpectPatternsShowThePicture(item);
}

TEST_F(PictureCollectionTest, WholePictureAndSystemMemoryKeepOneSurface) {
    TPictureCollectionItem& whole = AddItem(CoordinatePicture(1000, 700), 0, 0);
    TPictureCollectionItem& system = AddItem(CoordinatePicture(1000, 100), 100, 0);
    system.SystemMemory = true;
    TPictureCollectionItem& overlapping = AddItem(CoordinatePicture(1000, 100), 100, 0, -50);
    Upload();
    EXPECT_EQ(whole.Surfaces().size(), 1u);
    EXPECT_EQ(whole.PatternCount(), 1);
    ASSERT_EQ(system.Surfaces().size(), 1u);
    EXPECT_EQ(system.PatternRect(6), Bounds(600, 0, 100, 100));
    ASSERT_EQ(overlapping.Surfaces().size(), 1u);  // overlapping patterns cannot be tiled
    EXPECT_EQ(overlapping.PatternCount(), 19);
    ExpectPatternsShowThePicture(system);
    ExpectPatternsShowThePicture(overlapping);
}

TEST_F(PictureCollectionTest, ColourKeysFollowTheTransparentColour) {
    // Red and green halves; the key decides which half is skipped.
    TDIBImage picture = SolidPicture(4, 1, 0xFF0000);
    picture.Pixels[2] = picture.Pixels[3] = 0x00FF00;
    TPictureCollectionItem& item = AddItem(picture, 0, 0);
    item.SetTransparentColor(0x0000FF);  // red, stored blue-green-red
    Upload();
    EXPECT_EQ(item.ColorKey(), 0xF800);
    EXPECT_EQ(item.ColorKey(), ColorToRGB565(0x0000FF));

    const uint16_t blue = PackRGB565(0, 0, 255), red = PackRGB565(255, 0, 0), green = PackRGB565(0, 255, 0);
    TDirectDrawSurface dest(4, 1);
    auto drawn = [&] {
        dest.Fill(blue);
        item.Draw(dest, 0, 0, 0);
        return std::vector<uint16_t>{dest.Pixel(0, 0), dest.Pixel(1, 0), dest.Pixel(2, 0), dest.Pixel(3, 0)};
    };
    EXPECT_EQ(drawn(), (std::vector<uint16_t>{blue, blue, green, green}));
    item.SetTransparentColor(0x00FF00);  // re-keys the surfaces at once
    EXPECT_EQ(drawn(), (std::vector<uint16_t>{red, red, blue, blue}));
    item.SetTransparentColor(0xFF00000F);  // a system colour: the scheme's grey
    EXPECT_EQ(item.ColorKey(), ColorToRGB565(0xC0C0C0));
    item.SetTransparentColor(0x00FF00);
    item.Transparent = false;
    EXPECT_EQ(drawn(), (std::vector<uint16_t>{red, red, green, green}));
}

TEST_F(PictureCollectionTest, DrawingOutsideThePatternsOrUninitialisedDoesNothing) {
    TPictureCollectionItem& item = AddItem(SolidPicture(8, 4, 0xFFFFFF), 4, 4);
    TDirectDrawSurface dest(8, 8);
    item.Draw(dest, 0, 0, 0);  // not uploaded yet
    EXPECT_EQ(dest.Pixel(0, 0), 0);
    Upload();
    for (int index : {-1, 2, 1000}) {
        item.Draw(dest, 0, 0, index);
        item.DrawBlended(dest, Bounds(0, 0, 8, 8), index, 255);
        item.DrawRotated(dest, 4, 4, 8, 8, index, 0.5, 0.5, 0);
    }
    for (uint16_t p : dest.Pixels()) ASSERT_EQ(p, 0);
    item.Draw(dest, 4, 4, 1);
    EXPECT_EQ(dest.Pixel(4, 4), 0xFFFF);
    EXPECT_EQ(dest.Pixel(3, 3), 0);
    Images.Finalize();
    EXPECT_FALSE(item.Initialized());
    EXPECT_EQ(item.PatternSurface(0), nullptr);
    dest.Fill(0);
    item.Draw(dest, 0, 0, 0);
    EXPECT_EQ(dest.Pixel(0, 0), 0);
}

TEST_F(PictureCollectionTest, BlendedAndRotatedDrawingUseThePatternsOwnTile) {
    // Seven 100-wide patterns of their own colours: pattern 6 lies in the second tile.
    TDIBImage picture = SolidPicture(700, 4, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 700; ++x)
            picture.Pixels[static_cast<size_t>(y) * 700 + x] = 0x102030u * static_cast<uint32_t>(x / 100 + 1);
    TPictureCollectionItem& item = AddItem(picture, 100, 4);
    Upload();
    ASSERT_EQ(item.Surfaces().size(), 2u);
    const uint16_t six = PictureColour(picture, 600, 0);

    TDirectDrawSurface dest(10, 10);
    item.DrawBlended(dest, Bounds(0, 0, 10, 10), 6, 0);  // alpha 0: nothing
    EXPECT_EQ(dest.Pixel(5, 5), 0);
    item.DrawBlended(dest, Bounds(0, 0, 10, 10), 6, 255);  // scaled to the whole surface
    EXPECT_EQ(dest.Pixel(0, 0), six);
    EXPECT_EQ(dest.Pixel(9, 9), six);

    dest.Fill(0);
    item.DrawRotated(dest, 5, 5, 4, 4, 6, 0.5, 0.5, 0);
    EXPECT_EQ(dest.Pixel(3, 3), six);
    EXPECT_EQ(dest.Pixel(6, 6), six);
    EXPECT_EQ(dest.Pixel(1, 1), 0);
    item.DrawRotated(dest, 5, 5, 0, 4, 5, 0.5, 0.5, 0);  // no width: nothing
    EXPECT_EQ(dest.Pixel(5, 5), six);
}

TEST_F(PictureCollectionTest, InitialisingAgainstADisplayThatIsNotUpFails) {
    TDXDraw off;
    Images.Add();
    try {
        Images.Initialize(off);
        FAIL() << "no error";
    } catch (const EPictureCollectionError& e) {
        EXPECT_STREQ(e.what(), "TPictureCollection cannot be initialized");
    }
    EXPECT_FALSE(Images.Items(0).Initialized());
}

TEST(DXImageList, FollowsTheDisplay) {
    testing::TTempFile file("list.dxg");
    TPictureItemData data;
    data.Picture = CoordinatePicture(64, 32);
    data.PatternWidth = 32;
    WriteImageCollectionFile(file.Path(), {data});

    TDXDraw display;
    TDXImageList list;
    list.SetDXDraw(&display);
    list.LoadFromFile(file.Path());
    ASSERT_EQ(list.Items().Count(), 1);
    TPictureCollectionItem& item = list.Items().Items(0);
    EXPECT_EQ(item.PatternSurface(0), nullptr);  // display not up: nothing uploaded

    display.Initialize();
    EXPECT_TRUE(item.Initialized());
    ASSERT_NE(item.PatternSurface(1), nullptr);
    list.LoadFromFile(file.Path());  // with the display up, a load uploads at once
    ASSERT_NE(list.Items().Items(0).PatternSurface(1), nullptr);

    display.Finalize();
    EXPECT_EQ(list.Items().Items(0).PatternSurface(1), nullptr);
    EXPECT_EQ(list.Items().DXDraw(), nullptr);

    // A list given a display that is already up joins it at once.
    TDXImageList late;
    display.Initialize();
    late.LoadFromFile(file.Path());
    late.SetDXDraw(&display);
    EXPECT_NE(late.Items().Items(0).PatternSurface(0), nullptr);
}

TEST(DXImageList, OutlivingItsDisplayIsSafe) {
    TDXImageList list;
    {
        TDXDraw display;
        display.Initialize();
        list.SetDXDraw(&display);
    }
    EXPECT_EQ(list.DXDraw(), nullptr);
    EXPECT_EQ(list.Items().DXDraw(), nullptr);
}

TEST(PictureCollectionFile, WhatIsWrittenReadsBack) {
    std::vector<TPictureItemData> items(4);
    items[0].Name = "\xCA\xEE\xF0\xE0\xE1\xEB\xFC";  // "Корабль"
    items[0].Picture = CoordinatePicture(96, 40);
    items[0].PatternWidth = 30;
    items[0].PatternHeight = 40;
    items[0].SkipWidth = 3;
    items[0].TransparentColor = 0xFF00FF;
    items[1].Name = "tiles";
    items[1].Picture = CoordinatePicture(20, 50);
    items[1].PatternHeight = 10;
    items[1].SkipHeight = 2;
    items[1].SystemMemory = true;
    items[1].Transparent = false;
    items[1].TransparentColor = 0x123456;
    items[2].Name = std::string(300, 'n');  // longer than a short string
    items[2].Picture = SolidPicture(1, 1, 0xABCDEF);
    items[2].PatternWidth = -4;
    items[2].TransparentColor = 0xFF000005;
    items[3].Name = "no picture";

    testing::TTempFile file("round.dxg");
    WriteImageCollectionFile(file.Path(), items);
    TPictureCollection images;
    images.LoadFromFile(file.Path());
    ASSERT_EQ(images.Count(), 4);
    for (int i = 0; i < 4; ++i) {
        const TPictureItemData& want = items[static_cast<size_t>(i)];
        const TPictureCollectionItem& got = images.Items(i);
        EXPECT_EQ(got.Name, want.Name);
        EXPECT_EQ(got.PatternWidth, want.PatternWidth);
        EXPECT_EQ(got.PatternHeight, want.PatternHeight);
        EXPECT_EQ(got.SkipWidth, want.SkipWidth);
        EXPECT_EQ(got.SkipHeight, want.SkipHeight);
        EXPECT_EQ(got.SystemMemory, want.SystemMemory);
        EXPECT_EQ(got.Transparent, want.Transparent);
        EXPECT_EQ(got.TransparentColor(), want.TransparentColor);
        if (want.Picture.Width == 0) {
            EXPECT_FALSE(got.HasPicture());
            continue;
        }
        ASSERT_TRUE(got.HasPicture());
        EXPECT_EQ(got.Picture()->Width, want.Picture.Width);
        EXPECT_EQ(got.Picture()->Height, want.Picture.Height);
        EXPECT_EQ(got.Picture()->Pixels, want.Picture.Pixels);
    }
    EXPECT_EQ(images.Items(0).PatternCount(), 3);
    EXPECT_EQ(images.Items(1).PatternCount(), 4);
}

}  // namespace
}  // namespace quillon
