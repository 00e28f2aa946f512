// TDXTimer: lag counting and the one-second frame-rate window.
#include "engine/DXTimer.h"

#include <cmath>

namespace quillon {

void TDXTimer::Reset(uint32_t now) {
    FLast = now;
    FWindowStart = now;
    FFrameCounter = 0;
}

bool TDXTimer::Idle(uint32_t now, int& lagCount) {
    if (!Enabled) return false;
    uint32_t elapsed = now - FLast;  // unsigned: survives the clock wrapping
    if (elapsed < static_cast<uint32_t>(Interval)) return false;
    lagCount = elapsed < 1 ? 1 : static_cast<int>(elapsed);
    FLast = now;
    ++FFrameCounter;
    uint32_t windowLength = now - FWindowStart;
    if (windowLength >= 1000) {
        FFrameRate = static_cast<int>(std::nearbyint(FFrameCounter * 1000.0 / windowLength));
        FFrameCounter = 0;
        FWindowStart = now;
    }
    return true;
}

}  // namespace quillon
