// The range operations on item numbers and timers, at their edges.
#include <gtest/gtest.h>

#include "menus/RangeHelpers.h"

namespace quillon {
namespace {

TEST(RangeHelpers, CyclesWrapAndOutsideValuesJumpToTheEnds) {
    const struct { int32_t v; bool next; int32_t want; bool wrapped; } cases[] = {
        {1, true, 2, false}, {6, true, 1, true}, {0, true, 1, true},  {9, true, 1, true},
        {2, false, 1, false}, {1, false, 6, true}, {0, false, 6, true}, {7, false, 6, true},
    };
    for (const auto& c : cases) {
        int32_t v = c.v;
        bool wrapped = c.next ? CycleNext(v, 1, 6) : CyclePrev(v, 1, 6);
        EXPECT_EQ(v, c.want) << c.v << (c.next ? " next" : " prev");
        EXPECT_EQ(wrapped, c.wrapped) << c.v;
    }
}

TEST(RangeHelpers, StepsStopAtTheBoundsAndClampsPickAnEnd) {
    int32_t v = 11;
    StepUp(v, 11, 1);
    EXPECT_EQ(v, 11);
    StepDown(v, 7, 1);
    EXPECT_EQ(v, 10);
    v = 7;
    StepDown(v, 7, 1);
    EXPECT_EQ(v, 7);
    v = 0;
    ClampOrFirst(v, 11, 12);
    EXPECT_EQ(v, 11);
    v = 0;
    ClampOrLast(v, 11, 12);
    EXPECT_EQ(v, 12);
    v = 12;
    ClampOrFirst(v, 11, 12);
    EXPECT_EQ(v, 12);
}

TEST(RangeHelpers, TrySubtractRefusesToGoBelowTheMinimum) {
    int32_t timer = 22;
    EXPECT_TRUE(TrySubtract(timer, 0, 11));
    EXPECT_TRUE(TrySubtract(timer, 0, 11));
    EXPECT_EQ(timer, 0);
    EXPECT_FALSE(TrySubtract(timer, 0, 11));
    EXPECT_EQ(timer, 0);
    // A 2000 ms timer at 11 ms a frame fails on the 182nd frame.
    timer = 2000;
    int frames = 1;
    while (TrySubtract(timer, 0, 11)) ++frames;
    EXPECT_EQ(frames, 182);
}

}  // namespace
}  // namespace quillon
