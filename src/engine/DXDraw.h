// TDXDraw: the display component. Owns the 800 x 600 RGB565 back surface every
// frame is composed on, tells its listeners (image collections, sprite engine)
// when the surface is made, lost or released, and presents each frame.
#pragma once

#include <vector>

#include "engine/DisplayPort.h"
#include "engine/Surface.h"

namespace quillon {

class TDXDraw;

enum class TDXDrawNotifyType {
    Destroying,   // the display object goes away
    Initializing, // about to make its surfaces
    Initialize,   // surfaces made and cleared
    Finalize,     // surfaces about to be released
    Restore,      // lost surfaces were recovered; listeners restore theirs
};

class IDXDrawListener {
public:
    virtual ~IDXDrawListener() = default;
    virtual void DXDrawNotify(TDXDraw& sender, TDXDrawNotifyType type) = 0;
};

class TDXDraw {
public:
    static constexpr int SurfaceWidth = 800;
    static constexpr int SurfaceHeight = 600;

    TDXDraw() = default;
    ~TDXDraw();
    TDXDraw(const TDXDraw&) = delete;
    TDXDraw& operator=(const TDXDraw&) = delete;

    void SetPort(IDisplayPort* port) { FPort = port; }
    IDisplayPort* Port() const { return FPort; }

    void SetFullScreen(bool on) { FFullScreen = on; }  // the doFullScreen option
    bool FullScreen() const { return FFullScreen; }
    void SetBitCount(int bits);                        // 8, 16, 24 or 32

    void Initialize();  // raises EDirectDrawError with the display's fixed texts
    void Finalize();    // safe when not initialised
    bool Initialized() const { return FInitialized; }
    bool CanDraw() const { return FInitialized && !FBusy && FSurface.Width() > 0; }

    void Fill(uint16_t colour) { FSurface.Fill(colour); }
    TDirectDrawSurface& Surface() { return FSurface; }

    // The text canvas is taken by the first text output of a frame and given
    // back once per frame before presenting.
    void AcquireCanvas() { FCanvasHeld = true; }
    void ReleaseCanvas() { FCanvasHeld = false; }
    bool CanvasHeld() const { return FCanvasHeld; }

    void Flip();  // hands the back surface to the port; nothing when not drawable

    void AddListener(IDXDrawListener* listener);
    void RemoveListener(IDXDrawListener* listener);

private:
    void Notify(TDXDrawNotifyType type);

    IDisplayPort* FPort = nullptr;
    bool FFullScreen = false;
    int FBitCount = 16;
    bool FInitialized = false;
    bool FBusy = false;
    bool FCanvasHeld = false;
    TDirectDrawSurface FSurface;
    std::vector<IDXDrawListener*> FListeners;
};

}  // namespace quillon
