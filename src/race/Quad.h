// The race's contact tests: a point inside a quadrilateral by the sum of the angles it
// sees the corners under, and the overlap of two quadrilaterals by their corners.
#pragma once

#include <array>

namespace quillon {

struct TVec {
    double X = 0;
    double Y = 0;
};

using TQuad = std::array<TVec, 4>;  // corners in order around the shape

// Inside when the angles between the directions to consecutive corners add up to at
// least 355 degrees. A point lying on a corner counts as inside.
bool PointInQuad(const TVec& p, const TQuad& q);
// Any corner of b inside a, or any corner of a inside b.
bool QuadOverlap(const TQuad& a, const TQuad& b);
// The axis-aligned square of side `side` centred on (x, y), corners clockwise.
TQuad SquareAround(double x, double y, double side);

}  // namespace quillon
