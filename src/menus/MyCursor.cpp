// TMyCursor: shown for one period, hidden for the next.
#include "menus/MyCursor.h"

#include "menus/RangeHelpers.h"

namespace quillon {

TMyCursor::TMyCursor(int listNo, int image, double x, double y, int z, int32_t blinkPeriod)
    : TMyImageSprite(listNo), BlinkPeriod(blinkPeriod) {
    SelectImage(image);
    X = x;
    Y = y;
    SetZ(z);
    Visible = false;
}

void TMyCursor::MoveSelf(int moveCount) {
    TMyImageSprite::MoveSelf(moveCount);
    if (!Blinking) {
        Visible = false;
        return;
    }
    if (!TrySubtract(BlinkLeft, 0, SpriteWorld.FrameMsNow())) {
        BlinkLeft = BlinkPeriod;
        Visible = !Visible;
    }
}

}  // namespace quillon
