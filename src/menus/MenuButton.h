// TMenuButton: a selectable menu item with a normal and a highlighted look, its own
// mouse-sensitive rectangle and optional depth changes while highlighted.
#pragma once

#include "menus/MyImageSprite.h"

namespace quillon {

class TMenuButton : public TMyImageSprite {
public:
    // Normal look selected, at (x, y), Z 4.
    TMenuButton(int listNo, int hotImage, int normalImage, int hotPattern, int normalPattern, double x, double y);

    void ShowHot();
    void ShowNormal();

    // The mouse-sensitive size: HitWidth/HitHeight, or the sprite's size where they are -1.
    int HitW() const { return HitWidth == -1 ? Width : HitWidth; }
    int HitH() const { return HitHeight == -1 ? Height : HitHeight; }
    // Both edges included.
    bool Contains(int x, int y) const;

    int32_t HotImage = 0;
    int32_t NormalImage = 0;
    int32_t HotPattern = 0;
    int32_t NormalPattern = 0;
    int32_t HitWidth = -1;
    int32_t HitHeight = -1;
    bool IsHot = false;
    bool RaiseWhenHot = false;
    bool SwapZ = false;
    int32_t NormalZ = 4;
    int32_t HotZ = 5;
};

}  // namespace quillon
