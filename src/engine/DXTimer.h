// TDXTimer: the frame timer. Asked on every idle pass of the main loop, it says
// whether a tick runs now, with the milliseconds since the previous one (LagCount),
// and measures the frame rate over windows of at least one second.
#pragma once

#include <cstdint>

namespace quillon {

class TDXTimer {
public:
    int Interval = 0;
    bool Enabled = true;
    bool ActiveOnly = true;

    // Both time bases start again at now (start-up, and when the window becomes active).
    void Reset(uint32_t now);
    // One idle pass. Returns true when a tick is due and sets lagCount (at least 1).
    bool Idle(uint32_t now, int& lagCount);
    int FrameRate() const { return FFrameRate; }

private:
    uint32_t FLast = 0;
    uint32_t FWindowStart = 0;
    int FFrameCounter = 0;
    int FFrameRate = 0;
};

}  // namespace quillon
