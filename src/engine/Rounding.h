// Rounding rules the game relies on: Round is to nearest with halves to even,
// Trunc cuts toward zero, and Wrap brings a value into 0 .. n-1.
#pragma once

#include <cmath>
#include <cstdint>

namespace quillon {

// Half-to-even rounding, the rule every position and table index of the game uses.
inline int64_t Round(double value) {
    return static_cast<int64_t>(std::nearbyint(value));  // default FP mode rounds halves to even
}

inline int64_t Trunc(double value) {
    return static_cast<int64_t>(std::trunc(value));
}

// a mod n brought into 0 .. n-1 (n > 0).
inline int Wrap(int a, int n) {
    int r = a % n;
    return r < 0 ? r + n : r;
}

}  // namespace quillon
