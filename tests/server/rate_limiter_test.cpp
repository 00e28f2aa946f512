// Per-address token buckets of the world table server.
#include <gtest/gtest.h>

#include <string>

#include "server/RateLimiter.h"

namespace quillon::server {
namespace {

TEST(RateLimiter, BurstThenSteadyRatePerAddress) {
    TRateLimiter limiter(60, 3);  // one a second, three at once
    struct Step {
        double time;
        const char* address;
        bool allowed;
    } steps[] = {
        {0.0, "a", true}, {0.0, "a", true}, {0.0, "a", true},
        {0.1, "a", false},              // burst spent
        {0.1, "b", true},               // another address has its own bucket
        {0.9, "a", false},
        {1.0, "a", true},               // one token back after a second
        {1.0, "a", false},
        {10.0, "a", true}, {10.0, "a", true}, {10.0, "a", true},
        {10.0, "a", false},             // refills to the burst, no further
        {5.0, "a", false},              // a clock step backwards gives nothing
    };
    for (const Step& s : steps) EXPECT_EQ(limiter.Allow(s.address, s.time), s.allowed) << s.address << " at " << s.time;
}

TEST(RateLimiter, TellsHowLongToWait) {
    TRateLimiter limiter(30, 1);  // one every two seconds
    EXPECT_EQ(limiter.WaitFor("a", 0), 0);
    EXPECT_TRUE(limiter.Allow("a", 0));
    EXPECT_FALSE(limiter.Allow("a", 0.5));
    EXPECT_NEAR(limiter.WaitFor("a", 0.5), 1.5, 1e-9);
    EXPECT_TRUE(limiter.Allow("a", 2.0));
}

TEST(RateLimiter, ZeroRateLetsEverythingThrough) {
    TRateLimiter limiter(0, 1);
    for (int i = 0; i < 1000; ++i) ASSERT_TRUE(limiter.Allow("a", 0));
    EXPECT_EQ(limiter.TrackedAddresses(), 0u);
}

TEST(RateLimiter, ForgetsIdleAddressesInsteadOfGrowing) {
    TRateLimiter limiter(60, 2, 100);
    for (int i = 0; i < 100; ++i) limiter.Allow("10.0.0." + std::to_string(i), 0);
    EXPECT_EQ(limiter.TrackedAddresses(), 100u);
    // All of them have refilled by t=10: the next new address makes room by dropping them.
    EXPECT_TRUE(limiter.Allow("new", 10));
    EXPECT_EQ(limiter.TrackedAddresses(), 1u);
    // A flood of addresses that are all busy still stays bounded.
    for (int i = 0; i < 1000; ++i) limiter.Allow("flood" + std::to_string(i), 10);
    EXPECT_LE(limiter.TrackedAddresses(), 100u);
}

}  // namespace
}  // namespace quillon::server
