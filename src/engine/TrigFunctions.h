// Table sine, cosine, arccosine and arctangent: every angle of the race goes through
// these lookups, so their resolution and rounding are part of how the game plays.
#pragma once

#include <array>

namespace quillon {

constexpr int TrigTableSize = 1001;
using TTrigTable = std::array<double, TrigTableSize>;

// Sine and cosine over -2 pi .. +2 pi in steps of 0.012566372.
const TTrigTable& SinTable();
const TTrigTable& CosTable();
// Arccosine over -1 .. 1 in steps of 0.002; arctangent over -20 .. 20 in steps of 0.04.
const TTrigTable& ArcCosTable();
const TTrigTable& ArcTanTable();

// Fills the tables. They are also filled on first use, so a lookup never sees them empty.
void BuildTrigTables();

double TableSin(double x);  // x in radians; arguments beyond two turns wrap
double TableCos(double x);
double TableArcCos(double x);  // 0 outside -1 .. 1
double TableArcTan(double x);  // +-1.5707965 at and beyond +-20

}  // namespace quillon
