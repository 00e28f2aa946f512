// The port through which the display component reaches the screen. The desktop
// platform presents to an SDL window; the headless one keeps the last frame.
#pragma once

#include "engine/Surface.h"

namespace quillon {

class IDisplayPort {
public:
    virtual ~IDisplayPort() = default;
    // Prepares the screen for 800 x 600 frames, in full screen or in a window.
    // Returns false when the mode cannot be set.
    virtual bool OpenDisplay(bool fullScreen) = 0;
    virtual void CloseDisplay() = 0;
    // Hands one finished frame to the screen after the vertical blank.
    virtual void Present(const TDirectDrawSurface& frame) = 0;
    // Display refresh rate in Hz; 60 when the display reports none.
    virtual int RefreshRate() = 0;
};

}  // namespace quillon
