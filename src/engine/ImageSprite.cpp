// TImageSprite: pattern drawing and the animation step.
#include "engine/ImageSprite.h"

#include "engine/Rounding.h"
#include "engine/SpriteEngine.h"

namespace quillon {

void TImageSprite::SetImage(IPatternImage* image) {
    FImage = image;
    Width = image ? image->Width() : 0;
    Height = image ? image->Height() : 0;
}

int TImageSprite::PatternIndex() const {
    return FrameStart + static_cast<int>(Round(FramePos));
}

TRect TImageSprite::DrawRect() const {
    TRect r = GetBounds();
    if (!FImage) return r;
    const int dx = (Width - FImage->Width()) / 2;
    const int dy = (Height - FImage->Height()) / 2;
    return TRect{r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

void TImageSprite::DrawSelf() {
    if (!FImage || !Engine() || !Engine()->Surface()) return;
    const TRect r = DrawRect();
    FImage->Draw(*Engine()->Surface(), r.Left, r.Top, PatternIndex());
}

void TImageSprite::MoveSelf(int moveCount) {
    FramePos += FrameSpeed * moveCount;
    if (FrameLooped) {
        if (FrameCount > 0) {
            FramePos -= static_cast<double>(Round(FramePos / FrameCount)) * FrameCount;
            if (FramePos < 0) FramePos += FrameCount;
        } else {
            FramePos = 0;
        }
    } else {
        // A one-shot animation stops on its last frame.
        if (FramePos >= FrameCount) {
            FramePos = FrameCount - 1;
            FrameSpeed = 0;
        }
        if (FramePos < 0) {
            FramePos = 0;
            FrameSpeed = 0;
        }
    }
}

}  // namespace quillon
