// The sprite tree: depth order, culling, the move and draw passes, the point query,
// freeing dead sprites, the animation step and the link to the display.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "RecordingImage.h"
#include "engine/DXDraw.h"
#include "engine/ImageSprite.h"
#include "engine/SpriteEngine.h"
#include "engine/SpriteError.h"

namespace quillon {
namespace {

using testing::TDrawCall;
using testing::TRecordingImage;

class SpriteTest : public ::testing::Test {
protected:
    SpriteTest() { Engine.SetSurface(&Surface); }

    // An image sprite drawn with its own tagged image, so the log tells who drew.
    TImageSprite* MakeSprite(int tag, double x, double y, int size = 10, TSprite* parent = nullptr) {
        Images.push_back(std::make_unique<TRecordingImage>(Log, tag, size, size));
        auto* sprite = new TImageSprite(parent ? parent : &Engine);
        sprite->SetImage(Images.back().get());
        sprite->X = x;
        sprite->Y = y;
        return sprite;
    }

    std::vector<int> DrawnTags() {
        Log.clear();
        Engine.Draw();
        std::vector<int> tags;
        for (const TDrawCall& call : Log) tags.push_back(call.Tag);
        return tags;
    }

    TDirectDrawSurface Surface{800, 600};
    std::vector<TDrawCall> Log;
    std::vector<std::unique_ptr<TRecordingImage>> Images;  // outlive the engine
    std::vector<int> Destroyed;                            // so does the destruction log
    TSpriteEngine Engine;
};

TEST_F(SpriteTest, EqualZDrawsNewestFirstAndSetZReordersAgainstTheShared) {
    TImageSprite* a = MakeSprite(1, 0, 0);
    TImageSprite* b = MakeSprite(2, 0, 0);
    MakeSprite(3, 0, 0);
    EXPECT_EQ(DrawnTags(), (std::vector<int>{3, 2, 1}));

    b->SetZ(5);
    EXPECT_EQ(DrawnTags(), (std::vector<int>{3, 1, 2}));
    b->SetZ(0);  // back to the shared value: goes underneath all of them
    EXPECT_EQ(DrawnTags(), (std::vector<int>{2, 3, 1}));

    a->SetZ(-1);
    EXPECT_EQ(DrawnTags(), (std::vector<int>{1, 2, 3}));
    a->SetZ(-1);  // same value: order untouched
    EXPECT_EQ(DrawnTags(), (std::vector<int>{1, 2, 3}));
}

TEST_F(SpriteTest, DrawOrderStaysSortedWithManyDepths) {
    const int depths[] = {5, -3, 9, 0, 5, 2, -3, 7};
    for (int i = 0; i < 8; ++i) MakeSprite(i, 0, 0)->SetZ(depths[i]);
    // Ascending Z; among equal Z the one put there last comes first.
    EXPECT_EQ(DrawnTags(), (std::vector<int>{6, 1, 3, 5, 4, 0, 7, 2}));
}

TEST_F(SpriteTest, CullsAgainstSurfaceWithTouchingEdgesLeftOut) {
    struct Case {
        double x, y;
        bool drawn;
    };
    const Case cases[] = {
        {-10, 0, false}, {-9, 0, true},   {800, 0, false}, {799, 0, true},  {0, -10, false},
        {0, -9, true},   {0, 600, false}, {0, 599, true},  {-9.5, 0, false},  // rounds to -10
        {-10.5, 0, false}, {-8.5, 0, true}, {400, 300, true},
    };
    for (const Case& c : cases) {
        TImageSprite* sprite = MakeSprite(1, c.x, c.y);
        EXPECT_EQ(DrawnTags().size(), c.drawn ? 1u : 0u) << "at " << c.x << ", " << c.y;
        delete sprite;
    }
}

TEST_F(SpriteTest, ChildrenDrawAfterParentAndAreNotCulledWithIt) {
    TImageSprite* parent = MakeSprite(1, -100, 0);
    MakeSprite(2, 150, 10, 10, parent);  // absolute x 50
    parent->SetZ(10);
    MakeSprite(3, 0, 0);
    EXPECT_EQ(DrawnTags(), (std::vector<int>{3, 2}));
    EXPECT_EQ(Log[1].X, 50);
    EXPECT_EQ(Log[1].Y, 10);

    parent->Visible = false;  // hides the whole subtree
    EXPECT_EQ(DrawnTags(), (std::vector<int>{3}));
}

TEST_F(SpriteTest, DrawRectCentresThePatternInTheSprite) {
    TImageSprite* sprite = MakeSprite(1, 100.5, 41.5);  // rounds to 100, 42
    sprite->Width = 21;
    sprite->Height = 5;  // smaller than the pattern: shifts up, cut toward zero
    EXPECT_EQ(sprite->DrawRect(), (TRect{105, 40, 126, 45}));
    DrawnTags();
    ASSERT_EQ(Log.size(), 1u);
    EXPECT_EQ(Log[0], (TDrawCall{1, 105, 40, 0}));
}

TEST_F(SpriteTest, SetImageTakesPatternSize) {
    TImageSprite* sprite = MakeSprite(1, 0, 0, 24);
    EXPECT_EQ(sprite->Width, 24);
    EXPECT_EQ(sprite->Height, 24);
    sprite->SetImage(nullptr);
    EXPECT_EQ(sprite->Width, 0);
    EXPECT_EQ(sprite->Height, 0);
    EXPECT_TRUE(DrawnTags().empty());
}

TEST_F(SpriteTest, SpriteAtFindsHighestZWithEdgesIncluded) {
    MakeSprite(1, 10, 10, 20);                      // A: closed 10..30
    MakeSprite(2, 100, 10, 20)->SetZ(1);            // B
    MakeSprite(3, 110, 10, 20)->SetZ(1);            // C, same Z as B, made later
    MakeSprite(4, 200, 10, 20);                     // D
    MakeSprite(5, 210, 10, 20)->SetZ(2);            // E over D
    TImageSprite* hidden = MakeSprite(6, 300, 0, 50);
    hidden->Visible = false;
    MakeSprite(7, 10, 10, 10, hidden);              // absolute 310..320
    TImageSprite* half = MakeSprite(8, 400.5, 10, 10);  // left edge rounds to 400

    struct Case {
        int x, y;
        int tag;  // 0 = nothing
    };
    const Case cases[] = {
        {10, 10, 1},  {30, 30, 1},  {31, 30, 0},  {30, 31, 0},  {9, 20, 0},
        {115, 15, 2}, {125, 15, 3}, {205, 15, 4}, {215, 15, 5}, {305, 5, 0},
        {315, 15, 7}, {320, 20, 7}, {400, 10, 8}, {410, 20, 8}, {411, 20, 0},
    };
    for (const Case& c : cases) {
        TSprite* hit = Engine.SpriteAt(c.x, c.y);
        if (c.tag == 0) {
            EXPECT_EQ(hit, nullptr) << c.x << ", " << c.y;
        } else {
            ASSERT_NE(hit, nullptr) << c.x << ", " << c.y;
            EXPECT_EQ(static_cast<TImageSprite*>(hit)->Image(), Images[c.tag - 1].get()) << c.x << ", " << c.y;
        }
    }
    EXPECT_EQ(Engine.SpriteAt(400, 10), half);
}

// A sprite that counts its moves and can make a sibling while moving.
class TCountingSprite : public TSprite {
public:
    TCountingSprite(TSprite* parent, std::vector<TCountingSprite*>* log, bool spawn)
        : TSprite(parent), FLog(log), FSpawn(spawn) {}
    void MoveSelf(int moveCount) override {
        LastMove = moveCount;
        ++Moves;
        if (FLog) FLog->push_back(this);
        if (FSpawn) {
            FSpawn = false;
            new TCountingSprite(Parent(), FLog, false);
        }
    }
    int Moves = 0;
    int LastMove = 0;

private:
    std::vector<TCountingSprite*>* FLog;
    bool FSpawn;
};

TEST_F(SpriteTest, MoveRunsInInsertionOrderAndSkipsSpritesMadeDuringThePass) {
    std::vector<TCountingSprite*> order;
    auto* a = new TCountingSprite(&Engine, &order, true);
    auto* b = new TCountingSprite(&Engine, &order, false);
    a->SetZ(3);  // depth does not affect the move order
    auto* child = new TCountingSprite(b, &order, false);

    Engine.Move(17);
    ASSERT_EQ(Engine.Count(), 3);
    auto* spawned = static_cast<TCountingSprite*>(Engine.Items(2));
    EXPECT_EQ(order, (std::vector<TCountingSprite*>{a, b, child}));
    EXPECT_EQ(spawned->Moves, 0);
    EXPECT_EQ(child->LastMove, 17);

    Engine.Move(1);
    EXPECT_EQ(spawned->Moves, 1);
}

TEST_F(SpriteTest, TreeMembershipAndEngine) {
    TImageSprite* parent = MakeSprite(1, 5, 7);
    TImageSprite* child = MakeSprite(2, 1.5, 2.25, 10, parent);
    EXPECT_EQ(parent->Engine(), &Engine);
    EXPECT_EQ(child->Engine(), &Engine);
    EXPECT_EQ(child->Parent(), parent);
    EXPECT_EQ(Engine.Engine(), nullptr);
    EXPECT_DOUBLE_EQ(child->AbsoluteX(), 6.5);
    EXPECT_DOUBLE_EQ(child->AbsoluteY(), 9.25);
    EXPECT_EQ(child->GetBounds(), (TRect{6, 9, 16, 19}));  // 6.5 rounds to even

    TSprite loose(nullptr);
    TSprite looseChild(&loose);
    EXPECT_EQ(looseChild.Engine(), nullptr);
    looseChild.MarkDead();  // no engine: nothing to queue
    EXPECT_FALSE(looseChild.DeadMarked());
}

TEST_F(SpriteTest, ItemsWithoutChildrenRaisesSpriteError) {
    try {
        Engine.Items(3);
        FAIL() << "no error raised";
    } catch (const ESpriteError& e) {
        EXPECT_STREQ(e.what(), "Index of the list exceeds the range. (3)");
    }
    EXPECT_THROW(Engine.Items(-1), EEngineError);

    MakeSprite(1, 0, 0);
    EXPECT_NO_THROW(Engine.Items(0));
    EXPECT_THROW(Engine.Items(1), std::out_of_range);
    EXPECT_THROW(Engine.Items(-1), std::out_of_range);
}

// A sprite that notes its destruction.
class TNotingSprite : public TSprite {
public:
    TNotingSprite(TSprite* parent, std::vector<int>& log, int id) : TSprite(parent), FLog(log), FId(id) {}
    ~TNotingSprite() override { FLog.push_back(FId); }

private:
    std::vector<int>& FLog;
    int FId;
};

TEST_F(SpriteTest, MarkDeadQueuesOnceAndFreeDeadDestroysLatestFirst) {
    auto* a = new TNotingSprite(&Engine, Destroyed, 1);
    auto* b = new TNotingSprite(&Engine, Destroyed, 2);
    new TNotingSprite(&Engine, Destroyed, 3);

    Engine.FreeDead();  // nothing queued
    EXPECT_EQ(Engine.Count(), 3);
    EXPECT_TRUE(Destroyed.empty());

    a->MarkDead();
    b->MarkDead();
    a->MarkDead();
    EXPECT_TRUE(a->DeadMarked());
    EXPECT_EQ(Engine.PendingFree().size(), 2u);

    Engine.FreeDead();
    EXPECT_EQ(Destroyed, (std::vector<int>{2, 1}));
    EXPECT_TRUE(Engine.PendingFree().empty());
    ASSERT_EQ(Engine.Count(), 1);
}

TEST_F(SpriteTest, FreeingAParentTakesItsQueuedChildrenAlong) {
    auto* parent = new TNotingSprite(&Engine, Destroyed, 1);
    auto* first = new TNotingSprite(parent, Destroyed, 2);
    new TNotingSprite(parent, Destroyed, 3);
    first->MarkDead();
    parent->MarkDead();

    Engine.FreeDead();  // the parent goes first and clears its children last first
    EXPECT_EQ(Destroyed, (std::vector<int>{1, 3, 2}));
    EXPECT_EQ(Engine.Count(), 0);
    EXPECT_TRUE(Engine.PendingFree().empty());
    EXPECT_THROW(Engine.Items(0), ESpriteError);  // the list went with the last child
}

TEST_F(SpriteTest, ClearDestroysLastFirst) {
    for (int id = 1; id <= 4; ++id) new TNotingSprite(&Engine, Destroyed, id);
    Engine.Items(1)->MarkDead();
    Engine.Clear();
    EXPECT_EQ(Destroyed, (std::vector<int>{4, 3, 2, 1}));
    EXPECT_TRUE(Engine.PendingFree().empty());
}

TEST(ImageSpriteAnimation, StepsLoopedAndOneShot) {
    struct Case {
        const char* name;
        int frameCount;
        bool looped;
        double pos, speed;
        int moveCount, steps;
        double wantPos, wantSpeed;
    };
    const Case cases[] = {
        {"one-shot stops on its last frame", 4, false, 0, 0.5, 1, 20, 3, 0},
        {"one-shot still running", 4, false, 0, 0.5, 1, 7, 3.5, 0.5},
        {"one-shot backwards stops at 0", 4, false, 2, -1, 3, 1, 0, 0},
        {"looped with no frames stays at 0", 0, true, 0, 0.5, 10, 3, 0, 0.5},
        {"looped wraps forward", 4, true, 0, 1.5, 3, 1, 0.5, 1.5},
        {"looped wraps several turns", 4, true, 0, 1, 14, 1, 2, 1},
        {"looped wraps backward", 4, true, 0, -1, 1, 1, 3, -1},
        {"looped keeps values inside", 4, true, 1, 0.25, 4, 1, 2, 0.25},
    };
    for (const Case& c : cases) {
        TImageSprite sprite(nullptr);
        sprite.FrameCount = c.frameCount;
        sprite.FrameLooped = c.looped;
        sprite.FramePos = c.pos;
        sprite.FrameSpeed = c.speed;
        for (int i = 0; i < c.steps; ++i) sprite.Move(c.moveCount);
        EXPECT_DOUBLE_EQ(sprite.FramePos, c.wantPos) << c.name;
        EXPECT_DOUBLE_EQ(sprite.FrameSpeed, c.wantSpeed) << c.name;
    }
}

TEST(ImageSpriteAnimation, PatternIndexRoundsHalvesToEven) {
    TImageSprite sprite(nullptr);
    sprite.FrameStart = 10;
    const double positions[] = {0, 0.5, 1.5, 2.5, 3.5, 2.49};
    const int patterns[] = {10, 10, 12, 12, 14, 12};
    for (int i = 0; i < 6; ++i) {
        sprite.FramePos = positions[i];
        EXPECT_EQ(sprite.PatternIndex(), patterns[i]) << positions[i];
    }
}

TEST(DXSpriteEngine, TakesTheSurfaceFromTheDisplay) {
    std::vector<TDrawCall> log;
    TRecordingImage image(log, 1, 10, 10);
    TDXSpriteEngine component;
    auto* sprite = new TImageSprite(component.Engine());
    sprite->SetImage(&image);

    component.Draw();  // no display linked
    EXPECT_TRUE(log.empty());

    {
        TDXDraw display;
        component.SetDXDraw(&display);
        component.Draw();  // linked but not initialised
        EXPECT_TRUE(log.empty());
        EXPECT_EQ(component.Engine()->Surface(), nullptr);

        display.Initialize();
        EXPECT_EQ(component.Engine()->Surface(), &display.Surface());
        EXPECT_EQ(component.Engine()->SurfaceRect(), (TRect{0, 0, 800, 600}));
        EXPECT_EQ(component.Engine()->Width, 800);
        EXPECT_EQ(component.Engine()->Height, 600);
        component.Draw();
        EXPECT_EQ(log.size(), 1u);

        display.Finalize();
        EXPECT_EQ(component.Engine()->Surface(), nullptr);
        EXPECT_EQ(component.Engine()->SurfaceRect(), (TRect{0, 0, 800, 600}));  // kept
        component.Draw();
        EXPECT_EQ(log.size(), 1u);
        display.Initialize();
    }
    EXPECT_EQ(component.DXDraw(), nullptr);
    EXPECT_EQ(component.Engine()->Surface(), nullptr);
    component.Draw();
    EXPECT_EQ(log.size(), 1u);
}

TEST(DXSpriteEngine, LinkingAnInitialisedDisplayTakesItsSurfaceAndUnlinkingDropsIt) {
    TDXDraw first, second;
    second.Initialize();
    {
        TDXSpriteEngine component;
        component.SetDXDraw(&first);
        component.SetDXDraw(&second);
        EXPECT_EQ(component.Engine()->Surface(), &second.Surface());
        first.Initialize();  // no longer listened to
        EXPECT_EQ(component.Engine()->Surface(), &second.Surface());
        component.SetDXDraw(nullptr);
        EXPECT_EQ(component.Engine()->Surface(), nullptr);
        component.SetDXDraw(&first);
    }
    // The component is gone; the display must not call it any more.
    first.Finalize();
}

}  // namespace
}  // namespace quillon
