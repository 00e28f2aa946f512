// Quadrilateral contact tests on the table arccosine.
#include "race/Quad.h"

#include <cmath>

#include "engine/TrigFunctions.h"

namespace quillon {

namespace {
constexpr double Degrees = 57.295773195318426;
}

bool PointInQuad(const TVec& p, const TQuad& q) {
    TVec unit[4];
    for (int k = 0; k < 4; ++k) {
        const double dx = q[k].X - p.X, dy = q[k].Y - p.Y;
        const double length = std::sqrt(dx * dx + dy * dy);
        if (length == 0) return true;  // the point is this corner
        unit[k] = {dx / length, dy / length};
    }
    double sum = 0;
    for (int k = 0; k < 4; ++k) {
        const TVec& a = unit[k];
        const TVec& b = unit[(k + 1) % 4];
        sum += TableArcCos(a.X * b.X + a.Y * b.Y) * Degrees;
    }
    return sum >= 355;
}

bool QuadOverlap(const TQuad& a, const TQuad& b) {
    for (const TVec& corner : b)
        if (PointInQuad(corner, a)) return true;
    for (const TVec& corner : a)
        if (PointInQuad(corner, b)) return true;
    return false;
}

TQuad SquareAround(double x, double y, double side) {
    const double h = side / 2;
    return {TVec{x - h, y - h}, TVec{x + h, y - h}, TVec{x + h, y + h}, TVec{x - h, y + h}};
}

}  // namespace quillon
