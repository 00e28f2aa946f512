// TMyImageSprite: the game's sprite base. Images chosen by collection number and index,
// faded drawing, animation given as a rate that follows the frame time, and a once-only Kill.
#pragma once

#include <cstdint>

#include "engine/ImageSprite.h"
#include "engine/PictureCollection.h"

namespace quillon {

// Where the game's sprites live: the sprite engine's root, the image collections 1 to 3,
// and the milliseconds one frame stands for. The main form fills it in when it is made.
struct TSpriteWorld {
    TSprite* Root = nullptr;
    TPictureCollection* Lists[3] = {nullptr, nullptr, nullptr};
    const int* FrameMs = nullptr;

    TPictureCollection* List(int number) const {
        return number >= 1 && number <= 3 ? Lists[number - 1] : nullptr;
    }
    int FrameMsNow() const { return FrameMs ? *FrameMs : 11; }
};

extern TSpriteWorld SpriteWorld;

class TMyImageSprite : public TImageSprite {
public:
    // An empty sprite in the world's root, its images taken from collection listNo.
    explicit TMyImageSprite(int listNo);

    // Made with new; the sprite engine owns them.
    static TMyImageSprite* CreateAt(int listNo, int image, double x, double y, int z);
    // (x, y) is the sprite's centre.
    static TMyImageSprite* CreateCentred(int listNo, int image, double x, double y, int z);

    // Item index of collection ImageListNo; takes its pattern size and count and rewinds.
    void SelectImage(int index);
    void StartAnimation(int index, int rate);
    // Marks the sprite dead once; later calls do nothing.
    void Kill();

    void MoveSelf(int moveCount) override;
    void DrawSelf() override;

    TPictureCollectionItem* Item() const { return FItem; }
    int ImageIndex() const { return FImageIndex; }

    bool UseAlpha = false;
    int32_t Alpha = 255;
    int32_t AnimRate = 0;  // hundredths of a pattern per frame; 0 leaves FrameSpeed alone
    uint8_t ImageListNo = 0;
    bool DieAtCycleEnd = false;
    bool HideAtCycleEnd = false;
    double PrevFramePos = 0;
    double FramePosBefore = 0;
    int32_t CentreX = 0;
    int32_t CentreY = 0;
    bool Killed = false;

private:
    TPictureCollectionItem* FItem = nullptr;
    int FImageIndex = -1;
};

}  // namespace quillon
