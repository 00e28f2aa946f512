// TImageSprite: a sprite drawn as one pattern of an image collection item, with a
// frame animation that runs looped or once.
#pragma once

#include "engine/PatternImage.h"
#include "engine/Sprite.h"

namespace quillon {

class TImageSprite : public TSprite {
public:
    explicit TImageSprite(TSprite* parent) : TSprite(parent) {}

    // Takes the item's pattern size as the sprite's size (0 x 0 with no item). Not owned.
    virtual void SetImage(IPatternImage* image);
    IPatternImage* Image() const { return FImage; }

    int PatternIndex() const;  // FrameStart + Round(FramePos)
    // GetBounds with the pattern centred in the sprite when the sprite is bigger.
    TRect DrawRect() const;

    void DrawSelf() override;
    void MoveSelf(int moveCount) override;  // the animation step

    int FrameCount = 0;
    bool FrameLooped = false;
    double FramePos = 0;
    double FrameSpeed = 0;  // patterns per unit of moveCount
    int FrameStart = 0;

private:
    IPatternImage* FImage = nullptr;
};

}  // namespace quillon
