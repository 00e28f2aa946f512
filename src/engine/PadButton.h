// The buttons of a gamepad as the game knows them: the standard pad's fifteen buttons
// in SDL's order, and the left stick's four directions as buttons of their own.
#pragma once

namespace quillon {

enum class TPadButton : int {
    A, B, X, Y, Back, Guide, Start, LeftStick, RightStick, LeftShoulder, RightShoulder,
    DpadUp, DpadDown, DpadLeft, DpadRight,
    StickUp, StickDown, StickLeft, StickRight,
    Count
};

constexpr int PadButtonCount = static_cast<int>(TPadButton::Count);

}  // namespace quillon
