// TSpriteEngine: the free queue and the surface; TDXSpriteEngine: the link to the display.
#include "engine/SpriteEngine.h"

namespace quillon {

TSpriteEngine::TSpriteEngine() : TSprite(nullptr) {}

TSpriteEngine::~TSpriteEngine() {
    // The children leave the free queue as they go, so it must still exist here.
    Clear();
}

void TSpriteEngine::FreeDead() {
    while (!FPendingFree.empty()) {
        TSprite* sprite = FPendingFree.back();
        FPendingFree.pop_back();
        delete sprite;
    }
}

void TSpriteEngine::SetSurface(TDirectDrawSurface* surface) {
    FSurface = surface;
    if (surface) {
        FSurfaceRect = surface->ClientRect();
        Width = surface->Width();
        Height = surface->Height();
    }
}

TDXSpriteEngine::~TDXSpriteEngine() {
    if (FDXDraw) FDXDraw->RemoveListener(this);
}

// The surface normally arrives with the display's Initialize notice; a display that is
// already up when linked hands it over at once, and unlinking drops it, so the engine
// never keeps a surface of a display it no longer hears from.
void TDXSpriteEngine::SetDXDraw(TDXDraw* display) {
    if (display == FDXDraw) return;
    if (FDXDraw) FDXDraw->RemoveListener(this);
    FDXDraw = display;
    if (FDXDraw) FDXDraw->AddListener(this);
    FEngine.SetSurface(FDXDraw && FDXDraw->Initialized() ? &FDXDraw->Surface() : nullptr);
}

void TDXSpriteEngine::Draw() {
    if (FDXDraw && FDXDraw->Initialized()) FEngine.Draw();
}

void TDXSpriteEngine::DXDrawNotify(TDXDraw& sender, TDXDrawNotifyType type) {
    switch (type) {
        case TDXDrawNotifyType::Destroying:
            if (&sender == FDXDraw) {
                sender.RemoveListener(this);
                FDXDraw = nullptr;
                FEngine.SetSurface(nullptr);
            }
            break;
        case TDXDrawNotifyType::Initialize:
            FEngine.SetSurface(&sender.Surface());
            break;
        case TDXDrawNotifyType::Finalize:
            FEngine.SetSurface(nullptr);
            break;
        default:
            break;
    }
}

}  // namespace quillon
