// TDXDraw: initialise and finalise the display, notify listeners, present.
#include "engine/DXDraw.h"

#include <algorithm>
#include <string>

#include "engine/EngineError.h"

namespace quillon {

TDXDraw::~TDXDraw() {
    Finalize();
    Notify(TDXDrawNotifyType::Destroying);
}

void TDXDraw::SetBitCount(int bits) {
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
        throw EDirectDrawError("Display requires 8, 16, 24 or 32 bits");
    FBitCount = bits;
}

void TDXDraw::Initialize() {
    Finalize();
    FBusy = true;
    Notify(TDXDrawNotifyType::Initializing);
    if (FPort && !FPort->OpenDisplay(FFullScreen)) {
        FBusy = false;
        Finalize();
        throw EDirectDrawError("Display mode cannot be changed (" + std::to_string(SurfaceWidth) + "x" +
                               std::to_string(SurfaceHeight) + " " + std::to_string(FBitCount) + "bit)");
    }
    FSurface.SetSize(SurfaceWidth, SurfaceHeight);
    FBusy = false;
    FInitialized = true;
    Notify(TDXDrawNotifyType::Initialize);
}

void TDXDraw::Finalize() {
    if (!FInitialized) return;
    FBusy = true;
    Notify(TDXDrawNotifyType::Finalize);
    if (FPort) FPort->CloseDisplay();
    FSurface.SetSize(0, 0);
    FCanvasHeld = false;
    FInitialized = false;
    FBusy = false;
}

void TDXDraw::Flip() {
    if (!CanDraw() || !FPort) return;
    FPort->Present(FSurface);
}

void TDXDraw::AddListener(IDXDrawListener* listener) {
    if (std::find(FListeners.begin(), FListeners.end(), listener) == FListeners.end())
        FListeners.push_back(listener);
}

void TDXDraw::RemoveListener(IDXDrawListener* listener) {
    FListeners.erase(std::remove(FListeners.begin(), FListeners.end(), listener), FListeners.end());
}

void TDXDraw::Notify(TDXDrawNotifyType type) {
    // A listener may unregister itself while being told; walk a copy.
    std::vector<IDXDrawListener*> listeners = FListeners;
    for (IDXDrawListener* listener : listeners) listener->DXDrawNotify(*this, type);
}

}  // namespace quillon
