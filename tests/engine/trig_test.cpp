// Table trigonometry: which entry each lookup reads, the range rules, and that the
// lookups stay close to the true functions over the arguments the race uses and beyond.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "engine/TrigFunctions.h"

namespace quillon {
namespace {

constexpr double Pi = std::numbers::pi;

TEST(TrigTables, EntriesHoldTheFunctionsAtTheirSteps) {
    EXPECT_NEAR(SinTable()[500], std::sin(500 * 0.012566372 - 6.283185307179586), 1e-15);
    EXPECT_NE(SinTable()[500], 0.0);  // the step is not exactly 2 pi / 500
    EXPECT_NEAR(SinTable()[0], 0.0, 1e-15);
    EXPECT_NEAR(CosTable()[250], -1.0, 1e-9);
    EXPECT_NEAR(ArcCosTable()[0], Pi, 1e-15);
    EXPECT_NEAR(ArcCosTable()[500], Pi / 2, 1e-15);
    // 1000 x 0.002 - 1 falls just short of 1 at extended precision.
    EXPECT_NEAR(ArcCosTable()[1000], 0.0, 1e-9);
    EXPECT_NEAR(ArcTanTable()[1000], std::atan(20.0), 1e-15);
    EXPECT_EQ(ArcTanTable()[500], 0.0);
    for (int i = 0; i < TrigTableSize; ++i) {
        ASSERT_TRUE(std::isfinite(ArcCosTable()[i])) << i;  // never the root of a negative
        ASSERT_LE(std::abs(SinTable()[i]), 1.0) << i;
    }
}

TEST(TrigLookups, ReadTheExpectedEntries) {
    struct Case {
        const char* name;
        double (*lookup)(double);
        const TTrigTable& (*table)();
        double x;
        int entry;
    };
    const Case cases[] = {
        {"sin 0", TableSin, SinTable, 0.0, 500},
        {"cos 0", TableCos, CosTable, 0.0, 500},
        {"sin pi/2 (product 624.99999)", TableSin, SinTable, Pi / 2, 625},
        {"sin -2 pi", TableSin, SinTable, -2 * Pi, 0},
        {"sin 2 pi", TableSin, SinTable, 2 * Pi, 1000},
        {"sin 2 pi + 0.006 stays on the last entry", TableSin, SinTable, 2 * Pi + 0.006, 1000},
        {"sin 2 pi + 0.0065 wraps to entry 1", TableSin, SinTable, 2 * Pi + 0.0065, 1},
        {"cos 2 pi + 0.0065 wraps to entry 1", TableCos, CosTable, 2 * Pi + 0.0065, 1},
        {"sin at index 2000 wraps to 0", TableSin, SinTable, 2000 / 79.5774627712756 - 6.283186, 0},
        {"sin at index 1500 wraps to 500", TableSin, SinTable, 1500 / 79.5774627712756 - 6.283186, 500},
        {"sin at index -8 wraps to 992", TableSin, SinTable, -2 * Pi - 0.1, 992},
        {"sin at index -1000 wraps to 0", TableSin, SinTable, -1000 / 79.5774627712756 - 6.283186, 0},
        {"sin at index -1001 wraps to 999", TableSin, SinTable, -1001 / 79.5774627712756 - 6.283186, 999},
        {"arccos -1", TableArcCos, ArcCosTable, -1.0, 0},
        {"arccos 1", TableArcCos, ArcCosTable, 1.0, 1000},
        {"arccos -0.883 (index 58.5) ties to even", TableArcCos, ArcCosTable, -0.883, 58},
        {"arccos -0.881 (index 59.5) ties to even", TableArcCos, ArcCosTable, -0.881, 60},
        {"arctan 19.99", TableArcTan, ArcTanTable, 19.99, 1000},
        {"arctan -19.99", TableArcTan, ArcTanTable, -19.99, 0},
        {"arctan 0.02 (index 500.5) ties to even", TableArcTan, ArcTanTable, 0.02, 500},
        {"arctan -0.02 (index 499.5) ties to even", TableArcTan, ArcTanTable, -0.02, 500},
        {"arctan 1.02 (index 525.5) ties to even", TableArcTan, ArcTanTable, 1.02, 526},
        {"arctan 1", TableArcTan, ArcTanTable, 1.0, 525},
    };
    for (const Case& c : cases) EXPECT_EQ(c.lookup(c.x), c.table()[c.entry]) << c.name;
}

TEST(TrigLookups, RangeLimits) {
    const double limit = std::bit_cast<double>(UINT64_C(0x3FF921FB82C2BD7F));
    EXPECT_EQ(limit, 1.5707965);
    EXPECT_EQ(TableArcTan(20.0), limit);
    EXPECT_EQ(TableArcTan(1e300), limit);
    EXPECT_EQ(TableArcTan(-20.0), -limit);
    EXPECT_EQ(TableArcTan(-1e300), -limit);

    EXPECT_EQ(TableArcCos(1.0001), 0.0);
    EXPECT_EQ(TableArcCos(-1.0001), 0.0);
    EXPECT_EQ(TableArcCos(NAN), 0.0);
    EXPECT_NEAR(TableArcCos(-1.0), Pi, 1e-15);

    EXPECT_TRUE(std::isnan(TableSin(NAN)));
    EXPECT_TRUE(std::isnan(TableCos(INFINITY)));
    EXPECT_TRUE(std::isnan(TableArcTan(NAN)));
}

// The tables step 0.0126 rad, so a lookup is within half a step of the true value, also
// for arguments far outside -2 pi .. 2 pi that wrap around.
TEST(TrigLookups, StayCloseToTheTrueFunctionsForAnyArgument) {
    for (double x = -100.0; x <= 100.0; x += 0.0137) {
        ASSERT_NEAR(TableSin(x), std::sin(x), 0.0065) << x;
        ASSERT_NEAR(TableCos(x), std::cos(x), 0.0065) << x;
    }
    for (double x = -1.0; x <= 1.0; x += 0.0013) ASSERT_NEAR(std::cos(TableArcCos(x)), x, 0.0032) << x;
    for (double x = -19.99; x < 20.0; x += 0.011) ASSERT_NEAR(std::tan(TableArcTan(x)), x, 0.03 * (1 + x * x)) << x;
}

}  // namespace
}  // namespace quillon
