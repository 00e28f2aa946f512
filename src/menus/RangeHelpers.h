// The small range operations on item numbers and count-down timers that every screen,
// dialog and blinking cursor uses.
#pragma once

#include <cstdint>

namespace quillon {

// Next value in lo..hi; from hi (or from outside the range) back to lo. True when it wrapped.
inline bool CycleNext(int32_t& v, int32_t lo, int32_t hi) {
    if (v < lo || v >= hi) {
        v = lo;
        return true;
    }
    ++v;
    return false;
}

// Previous value in lo..hi; from lo (or from outside the range) round to hi. True when it wrapped.
inline bool CyclePrev(int32_t& v, int32_t lo, int32_t hi) {
    if (v <= lo || v > hi) {
        v = hi;
        return true;
    }
    --v;
    return false;
}

inline void StepUp(int32_t& v, int32_t hi, int32_t step) {
    if (static_cast<int64_t>(v) + step <= hi) v += step;
}

inline void StepDown(int32_t& v, int32_t lo, int32_t step) {
    if (static_cast<int64_t>(v) - step >= lo) v -= step;
}

inline void ClampOrFirst(int32_t& v, int32_t lo, int32_t hi) {
    if (v < lo || v > hi) v = lo;
}

inline void ClampOrLast(int32_t& v, int32_t lo, int32_t hi) {
    if (v < lo || v > hi) v = hi;
}

// Takes amount off v unless that would go below min; false (and v unchanged) then.
inline bool TrySubtract(int32_t& v, int32_t min, int32_t amount) {
    if (static_cast<int64_t>(v) - amount < min) return false;
    v -= amount;
    return true;
}

}  // namespace quillon
