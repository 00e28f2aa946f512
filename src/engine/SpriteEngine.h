// TSpriteEngine: the root of the scene tree, with the queue of sprites to free and the
// surface it draws on. TDXSpriteEngine: the form component that holds it and takes the
// surface from the display.
#pragma once

#include <vector>

#include "engine/DXDraw.h"
#include "engine/Geometry.h"
#include "engine/Sprite.h"
#include "engine/Surface.h"

namespace quillon {

class TSpriteEngine : public TSprite {
public:
    TSpriteEngine();
    ~TSpriteEngine() override;

    // Destroys the queued sprites, the latest marked first.
    void FreeDead();

    // The surface is not owned. Without one, SurfaceRect keeps its last value.
    void SetSurface(TDirectDrawSurface* surface);
    TDirectDrawSurface* Surface() const { return FSurface; }
    const TRect& SurfaceRect() const { return FSurfaceRect; }

    const std::vector<TSprite*>& PendingFree() const { return FPendingFree; }

private:
    friend class TSprite;  // MarkDead and the sprite's destruction keep the queue
    std::vector<TSprite*> FPendingFree;
    TDirectDrawSurface* FSurface = nullptr;
    TRect FSurfaceRect;
};

class TDXSpriteEngine : public IDXDrawListener {
public:
    TDXSpriteEngine() = default;
    ~TDXSpriteEngine() override;
    TDXSpriteEngine(const TDXSpriteEngine&) = delete;
    TDXSpriteEngine& operator=(const TDXSpriteEngine&) = delete;

    TSpriteEngine* Engine() { return &FEngine; }  // never null

    // Links the display whose back surface the sprites are drawn on (nullptr unlinks).
    void SetDXDraw(TDXDraw* display);
    TDXDraw* DXDraw() const { return FDXDraw; }

    void Draw();  // only while a display is linked and initialised
    void Move(int moveCount) { FEngine.Move(moveCount); }
    void FreeDead() { FEngine.FreeDead(); }

    void DXDrawNotify(TDXDraw& sender, TDXDrawNotifyType type) override;

private:
    TSpriteEngine FEngine;
    TDXDraw* FDXDraw = nullptr;
};

}  // namespace quillon
