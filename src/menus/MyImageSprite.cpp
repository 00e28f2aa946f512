// TMyImageSprite: image selection, the rate-based animation step and the faded drawing.
#include "menus/MyImageSprite.h"

#include "engine/SpriteEngine.h"

namespace quillon {

TSpriteWorld SpriteWorld;

TMyImageSprite::TMyImageSprite(int listNo) : TImageSprite(SpriteWorld.Root) {
    ImageListNo = static_cast<uint8_t>(listNo);
    FramePos = 0;
    if (Image()) FrameCount = Image()->PatternCount();
    FrameSpeed = 0;
    FrameLooped = true;
}

TMyImageSprite* TMyImageSprite::CreateAt(int listNo, int image, double x, double y, int z) {
    auto* sprite = new TMyImageSprite(listNo);
    sprite->SelectImage(image);
    sprite->X = x;
    sprite->Y = y;
    sprite->SetZ(z);
    return sprite;
}

TMyImageSprite* TMyImageSprite::CreateCentred(int listNo, int image, double x, double y, int z) {
    TMyImageSprite* sprite = CreateAt(listNo, image, x, y, z);
    sprite->X = x - sprite->Width / 2.0;
    sprite->Y = y - sprite->Height / 2.0;
    return sprite;
}

void TMyImageSprite::SelectImage(int index) {
    TPictureCollection* list = SpriteWorld.List(ImageListNo);
    if (!list) return;
    TPictureCollectionItem& item = list->Items(index);
    FItem = &item;
    FImageIndex = index;
    SetImage(&item);
    Width = item.Width();
    Height = item.Height();
    FramePos = 0;
    PrevFramePos = 0;
    FramePosBefore = 0;
    FrameCount = item.PatternCount();
}

void TMyImageSprite::StartAnimation(int index, int rate) {
    SelectImage(index);
    FramePos = 0;
    PrevFramePos = 0;
    FramePosBefore = 0;
    FrameLooped = true;
    FrameCount = FItem ? FItem->PatternCount() : FrameCount;
    AnimRate = rate;
}

void TMyImageSprite::Kill() {
    if (Killed) return;
    MarkDead();
    Killed = true;
}

void TMyImageSprite::MoveSelf(int moveCount) {
    FramePosBefore = FramePos;
    TImageSprite::MoveSelf(moveCount);
    // The rounded pattern never runs one past the cycle.
    if (FramePos > FrameCount - 0.5) FramePos = 0;
    CentreX = static_cast<int32_t>(X + Width / 2.0);
    CentreY = static_cast<int32_t>(Y + Height / 2.0);
    const bool wrapped = FramePos < PrevFramePos;
    if (DieAtCycleEnd && wrapped) Kill();
    if (HideAtCycleEnd && wrapped) Visible = false;
    PrevFramePos = FramePos;
    if (AnimRate > 0) FrameSpeed = (1.0 / SpriteWorld.FrameMsNow()) * AnimRate / 100.0;
}

// The faded path takes FramePos itself as the pattern, cut rather than rounded.
void TMyImageSprite::DrawSelf() {
    if (!Visible) return;
    if (UseAlpha && Alpha != 255) {
        if (!FItem || !Engine() || !Engine()->Surface()) return;
        const TRect rect{static_cast<int>(X), static_cast<int>(Y), static_cast<int>(X + Width),
                         static_cast<int>(Y + Height)};
        FItem->DrawBlended(*Engine()->Surface(), rect, static_cast<int>(FramePos), Alpha);
        return;
    }
    TImageSprite::DrawSelf();
}

}  // namespace quillon
