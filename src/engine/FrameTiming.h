// How the measured frame rate becomes the movement scale and the frame's milliseconds.
#pragma once

namespace quillon {

struct TFrameTiming {
    int FrameRate = 0;        // F, as measured (0 during the first second)
    double SpeedScale = 1.0;  // 85 / E: movement is tuned for 85 frames per second
    int FrameMs = 11;         // 1000 / E, truncated
};

// E from the measured rate F and the display's refresh rate R. Rates close to R
// snap to it so the scale does not jitter; rates far above R mean a broken
// measurement and fall back to R as well.
int EffectiveFrameRate(int measured, int refreshRate);

TFrameTiming ComputeFrameTiming(int measured, int refreshRate);

}  // namespace quillon
