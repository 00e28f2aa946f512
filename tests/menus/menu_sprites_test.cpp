// The game's sprite base and the menu sprites: image selection, the rate-based animation,
// the cycle-end actions, faded drawing, Kill once, the buttons' looks and the blinking cursor.
#include <gtest/gtest.h>

#include "../engine/CollectionFixtures.h"
#include "engine/DXDraw.h"
#include "engine/PictureCollection.h"
#include "engine/SpriteEngine.h"
#include "menus/MenuButton.h"
#include "menus/MyCursor.h"
#include "menus/MyImageSprite.h"

namespace quillon {
namespace {

using testing::SolidPicture;

class MenuSpritesTest : public ::testing::Test {
protected:
    void SetUp() override {
        Display.Initialize();
        Add(SolidPicture(10, 8, 0xFF0000), 0);        // 0: one pattern, 10 x 8
        Add(SolidPicture(32, 8, 0x00FF00), 8);        // 1: four patterns, 8 x 8
        Add(SolidPicture(20, 30, 0x0000FF), 0);       // 2: one pattern, 20 x 30
        Add(SolidPicture(16, 6, 0x808080), 8);        // 3: two patterns: 0 hot, 1 normal
        Images.Initialize(Display);
        Images.Restore();
        Engine.SetSurface(&Display.Surface());
        SpriteWorld = TSpriteWorld{&Engine, {&Images, nullptr}, &FrameMs};
    }
    void TearDown() override {
        Engine.Clear();
        SpriteWorld = TSpriteWorld{};
    }
    void Add(const TDIBImage& picture, int patternWidth) {
        TPictureCollectionItem& item = Images.Add();
        item.SetPicture(picture);
        item.PatternWidth = patternWidth;
        item.Transparent = false;
    }

    TDXDraw Display;
    TPictureCollection Images;
    TSpriteEngine Engine;
    int FrameMs = 11;
};

TEST_F(MenuSpritesTest, SelectImageTakesSizeAndCountAndCentreFollowsOnTheNextMove) {
    TMyImageSprite* s = TMyImageSprite::CreateAt(1, 0, 100, 50, 3);
    EXPECT_EQ(s->Width, 10);
    EXPECT_EQ(s->Height, 8);
    EXPECT_EQ(s->FrameCount, 1);
    EXPECT_EQ(s->Z(), 3);
    s->SelectImage(2);
    EXPECT_EQ(s->Width, 20);
    EXPECT_EQ(s->Height, 30);
    s->Move(11);
    EXPECT_EQ(s->CentreX, 110);
    EXPECT_EQ(s->CentreY, 65);

    TMyImageSprite* c = TMyImageSprite::CreateCentred(1, 2, 100, 100, 1);
    EXPECT_DOUBLE_EQ(c->X, 90);
    EXPECT_DOUBLE_EQ(c->Y, 85);
}

TEST_F(MenuSpritesTest, AnimationRateAdvancesPatternsPerFrameWhateverTheFrameTime) {
    for (int frameMs : {11, 16}) {
        FrameMs = frameMs;
        TMyImageSprite* s = TMyImageSprite::CreateAt(1, 1, 0, 0, 1);
        s->StartAnimation(1, 75);  // three quarters of a pattern per frame
        s->Move(frameMs);          // the first move only sets the speed
        EXPECT_DOUBLE_EQ(s->FramePos, 0);
        for (double expected : {0.75, 1.5, 2.25, 3.0}) {
            s->Move(frameMs);
            EXPECT_NEAR(s->FramePos, expected, 1e-9) << frameMs;
        }
        // 3.75 would round one past the last pattern: back to 0.
        s->Move(frameMs);
        EXPECT_DOUBLE_EQ(s->FramePos, 0);
        s->Kill();
    }
    Engine.FreeDead();
}

TEST_F(MenuSpritesTest, CycleEndKillsOrHides) {
    TMyImageSprite* dies = TMyImageSprite::CreateAt(1, 1, 0, 0, 1);
    TMyImageSprite* hides = TMyImageSprite::CreateAt(1, 1, 0, 0, 1);
    dies->StartAnimation(1, 100);
    hides->StartAnimation(1, 100);
    dies->DieAtCycleEnd = true;
    hides->HideAtCycleEnd = true;
    for (int i = 0; i < 4; ++i) Engine.Move(11);
    EXPECT_FALSE(dies->Killed);
    EXPECT_TRUE(hides->Visible);
    Engine.Move(11);  // 3 -> wraps
    EXPECT_TRUE(dies->Killed);
    EXPECT_FALSE(hides->Visible);
    Engine.FreeDead();
    EXPECT_EQ(Engine.Count(), 1);
}

TEST_F(MenuSpritesTest, KillTwiceQueuesTheSpriteOnce) {
    TMyImageSprite* s = TMyImageSprite::CreateAt(1, 0, 0, 0, 1);
    s->Kill();
    s->Kill();
    EXPECT_EQ(Engine.PendingFree().size(), 1u);
    Engine.FreeDead();
    EXPECT_EQ(Engine.Count(), 0);
}

TEST_F(MenuSpritesTest, AlphaDrawingBlendsAndFullAlphaDrawsAsPlain) {
    auto drawOnce = [&](bool useAlpha, int alpha) {
        Display.Fill(0);
        TMyImageSprite* s = TMyImageSprite::CreateAt(1, 0, 5, 5, 1);
        s->UseAlpha = useAlpha;
        s->Alpha = alpha;
        Engine.Draw();
        uint16_t pixel = Display.Surface().Pixel(6, 6);
        s->Kill();
        Engine.FreeDead();
        return pixel;
    };
    const uint16_t plain = drawOnce(false, 255);
    EXPECT_EQ(plain, PackRGB565(255, 0, 0));
    EXPECT_EQ(drawOnce(true, 255), plain);
    EXPECT_EQ(drawOnce(true, 0), 0);
    const uint16_t half = drawOnce(true, 128);
    EXPECT_NE(half, plain);
    EXPECT_NE(half, 0);
}

TEST_F(MenuSpritesTest, ButtonLooksAndDepths) {
    auto* b = new TMenuButton(1, 3, 3, 0, 1, 10, 20);
    EXPECT_EQ(b->Z(), 4);
    EXPECT_DOUBLE_EQ(b->FramePos, 1);
    b->RaiseWhenHot = true;
    b->SwapZ = true;
    b->HotZ = 9;
    b->NormalZ = 2;
    b->ShowHot();
    EXPECT_EQ(b->Z(), 9);  // SwapZ comes last
    EXPECT_DOUBLE_EQ(b->FramePos, 0);
    b->ShowNormal();
    EXPECT_EQ(b->Z(), 2);
    EXPECT_DOUBLE_EQ(b->FramePos, 1);

    // The hit rectangle includes its right and bottom edges; -1 means the sprite's size.
    EXPECT_TRUE(b->Contains(18, 26));
    EXPECT_FALSE(b->Contains(19, 26));
    b->HitWidth = 100;
    b->HitHeight = 1;
    EXPECT_TRUE(b->Contains(110, 21));
    EXPECT_FALSE(b->Contains(110, 22));
}

TEST_F(MenuSpritesTest, CursorBlinksEveryPeriodAndHidesWhenStopped) {
    auto* cursor = new TMyCursor(1, 0, 0, 0, 5, 600);
    EXPECT_FALSE(cursor->Visible);
    cursor->Blinking = true;
    // At 11 ms a frame a 600 ms period flips every 55 frames.
    std::vector<int> flips;
    bool last = cursor->Visible;
    for (int frame = 1; frame <= 120; ++frame) {
        cursor->Move(11);
        if (cursor->Visible != last) flips.push_back(frame);
        last = cursor->Visible;
    }
    EXPECT_EQ(flips, (std::vector<int>{1, 56, 111}));
    cursor->Blinking = false;
    cursor->Move(11);
    EXPECT_FALSE(cursor->Visible);
}

}  // namespace
}  // namespace quillon
