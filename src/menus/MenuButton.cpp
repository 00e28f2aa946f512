// TMenuButton: the two looks and the hit rectangle.
#include "menus/MenuButton.h"

namespace quillon {

TMenuButton::TMenuButton(int listNo, int hotImage, int normalImage, int hotPattern, int normalPattern, double x,
                         double y)
    : TMyImageSprite(listNo),
      HotImage(hotImage),
      NormalImage(normalImage),
      HotPattern(hotPattern),
      NormalPattern(normalPattern) {
    SelectImage(normalImage);
    FramePos = normalPattern;
    X = x;
    Y = y;
    SetZ(4);
}

void TMenuButton::ShowHot() {
    if (RaiseWhenHot) SetZ(17);
    SelectImage(HotImage);
    FramePos = HotPattern;
    if (SwapZ) SetZ(HotZ);
}

void TMenuButton::ShowNormal() {
    if (RaiseWhenHot) SetZ(15);
    SelectImage(NormalImage);
    FramePos = NormalPattern;
    if (SwapZ) SetZ(NormalZ);
}

bool TMenuButton::Contains(int x, int y) const {
    return X <= x && x <= X + HitW() && Y <= y && y <= Y + HitH();
}

}  // namespace quillon
