// The frame timer's lag and rate window, and the rules that turn the measured rate
// into SpeedScale and FrameMs.
#include <gtest/gtest.h>

#include "engine/DXTimer.h"
#include "engine/FrameTiming.h"

namespace quillon {
namespace {

TEST(FrameTiming, EffectiveRateFollowsTheSnappingRules) {
    struct Case { int F, R, E; } cases[] = {
        {0, 60, 60},                                   // first second: the refresh rate
        {56, 60, 56}, {57, 60, 60}, {60, 60, 60},      // within three below snaps to R
        {61, 60, 61}, {62, 60, 62},                    // one or two above are believed
        {63, 60, 60}, {200, 60, 60},                   // far above is a broken measurement
        {1, 60, 1}, {84, 85, 85}, {81, 85, 81}, {82, 85, 85},
    };
    for (const Case& c : cases) EXPECT_EQ(EffectiveFrameRate(c.F, c.R), c.E) << "F=" << c.F << " R=" << c.R;
}

TEST(FrameTiming, FrameMsIsTruncatedAndScaleIsRelativeTo85) {
    struct Case { int F, R, FrameMs; double Scale; } cases[] = {
        {85, 85, 11, 1.0}, {60, 60, 16, 85.0 / 60}, {0, 75, 13, 85.0 / 75}, {30, 60, 33, 85.0 / 30},
    };
    for (const Case& c : cases) {
        TFrameTiming timing = ComputeFrameTiming(c.F, c.R);
        EXPECT_EQ(timing.FrameMs, c.FrameMs) << c.F;
        EXPECT_DOUBLE_EQ(timing.SpeedScale, c.Scale) << c.F;
        EXPECT_EQ(timing.FrameRate, c.F);
    }
}

TEST(FrameTiming, ARefreshRateOfZeroStaysFinite) {
    TFrameTiming timing = ComputeFrameTiming(0, 0);
    EXPECT_EQ(timing.FrameMs, 16);
    EXPECT_DOUBLE_EQ(timing.SpeedScale, 85.0 / 60);
}

TEST(DXTimer, LagIsAtLeastOneAndTheRateIsMeasuredOverASecond) {
    TDXTimer timer;
    timer.Reset(1000);
    int lag = 0;
    ASSERT_TRUE(timer.Idle(1000, lag));
    EXPECT_EQ(lag, 1);  // no time passed: still a tick of one millisecond
    EXPECT_EQ(timer.FrameRate(), 0);
    uint32_t now = 1000;
    for (int i = 0; i < 59; ++i) {
        now += 17;
        ASSERT_TRUE(timer.Idle(now, lag));
        EXPECT_EQ(lag, 17);
    }
    EXPECT_EQ(timer.FrameRate(), 60);  // 60 ticks in 1003 ms
}

TEST(DXTimer, ResetMakesTheFirstLagAfterAPauseSmall) {
    TDXTimer timer;
    timer.Reset(0);
    int lag = 0;
    timer.Idle(10, lag);
    timer.Reset(50000);
    ASSERT_TRUE(timer.Idle(50005, lag));
    EXPECT_EQ(lag, 5);
}

TEST(DXTimer, SurvivesTheClockWrapping) {
    TDXTimer timer;
    timer.Reset(0xFFFFFFF0u);
    int lag = 0;
    ASSERT_TRUE(timer.Idle(0x10u, lag));
    EXPECT_EQ(lag, 0x20);
}

}  // namespace
}  // namespace quillon
