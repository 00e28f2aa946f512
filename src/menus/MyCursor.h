// TMyCursor: a sprite that blinks with a fixed period while Blinking is on and stays
// hidden while it is off; the text cursor of the options screen and the name entry.
#pragma once

#include "menus/MyImageSprite.h"

namespace quillon {

class TMyCursor : public TMyImageSprite {
public:
    // Hidden and not blinking at first.
    TMyCursor(int listNo, int image, double x, double y, int z, int32_t blinkPeriod);

    void MoveSelf(int moveCount) override;

    int32_t BlinkPeriod = 600;
    int32_t BlinkLeft = 0;
    bool Blinking = false;
};

}  // namespace quillon
