// Table trigonometry: the four tables, built once, and the index rules of the lookups.
#include "engine/TrigFunctions.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/Rounding.h"

namespace quillon {
namespace {

struct TTrigTables {
    TTrigTable Sin, Cos, ArcCos, ArcTan;
};

// Filled at extended precision, then stored as doubles.
TTrigTables MakeTables() {
    TTrigTables t;
    for (int i = 0; i < TrigTableSize; ++i) {
        const long double angle = static_cast<long double>(i) * 0.012566372L - 6.283185307179586L;
        t.Sin[i] = static_cast<double>(std::sin(angle));
        t.Cos[i] = static_cast<double>(std::cos(angle));
        const long double c = static_cast<long double>(i) * 0.002L - 1.0L;
        t.ArcCos[i] = static_cast<double>(std::atan2(std::sqrt(1.0L - c * c), c));
        const long double a = static_cast<long double>(i) * 0.04L - 20.0L;
        t.ArcTan[i] = static_cast<double>(std::atan(a));
    }
    return t;
}

const TTrigTables& Tables() {
    static const TTrigTables tables = MakeTables();
    return tables;
}

// Tables ready before any game code runs, not only on first use.
[[maybe_unused]] const bool TablesBuiltAtStart = (BuildTrigTables(), true);

// Entry 500 is angle 0, one entry is 0.012566 rad and 1000 entries are two full turns.
// Indexes past 1000 wrap by 1000; negative ones (arguments below about -6.2895) wrap
// the same way instead of reading before the table.
int AngleIndex(double x) {
    double i = std::nearbyint((x + 6.283186) * 79.5774627712756);  // halves to even
    if (i > 1000.0 || i < 0.0) {
        i = std::fmod(i, 1000.0);
        if (i < 0.0) i += 1000.0;
    }
    return static_cast<int>(i);
}

constexpr double HalfPi = std::bit_cast<double>(UINT64_C(0x3FF921FB82C2BD7F));  // 1.5707965
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

const TTrigTable& SinTable() { return Tables().Sin; }
const TTrigTable& CosTable() { return Tables().Cos; }
const TTrigTable& ArcCosTable() { return Tables().ArcCos; }
const TTrigTable& ArcTanTable() { return Tables().ArcTan; }

void BuildTrigTables() {
    (void)Tables();
}

double TableSin(double x) {
    if (!std::isfinite(x)) return NaN;
    return Tables().Sin[AngleIndex(x)];
}

double TableCos(double x) {
    if (!std::isfinite(x)) return NaN;
    return Tables().Cos[AngleIndex(x)];
}

double TableArcCos(double x) {
    if (!(x >= -1.0 && x <= 1.0)) return 0.0;
    return Tables().ArcCos[static_cast<int>(Round((x + 1.0) * 500.0))];
}

double TableArcTan(double x) {
    if (std::isnan(x)) return NaN;
    if (x >= 20.0) return HalfPi;
    if (x <= -20.0) return -HalfPi;
    return Tables().ArcTan[static_cast<int>(Round((x + 20.0) * 25.0))];
}

}  // namespace quillon
