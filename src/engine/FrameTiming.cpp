// The rules that turn the measured frame rate into SpeedScale and FrameMs.
#include "engine/FrameTiming.h"

namespace quillon {

int EffectiveFrameRate(int measured, int refreshRate) {
    // Each later rule overrides the earlier ones.
    int effective = refreshRate;
    if (measured > 0) effective = measured;
    if (refreshRate - 3 <= measured && measured <= refreshRate) effective = refreshRate;
    if (measured > refreshRate + 2) effective = refreshRate;
    return effective;
}

TFrameTiming ComputeFrameTiming(int measured, int refreshRate) {
    TFrameTiming timing;
    timing.FrameRate = measured;
    int effective = EffectiveFrameRate(measured, refreshRate);
    if (effective <= 0) effective = 60;  // a display that reports nothing usable
    timing.SpeedScale = 85.0 / effective;
    timing.FrameMs = static_cast<int>(1000.0 / effective);
    return timing;
}

}  // namespace quillon
