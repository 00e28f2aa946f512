// The virtual-key codes the game's input works in: the numbers key bindings, the boss key
// and the options file use. Letters and digits are their own capitals ('Y', '5').
#pragma once

namespace quillon {

inline constexpr int KeyBackspace = 8;
inline constexpr int KeyEnter = 13;
inline constexpr int KeyShift = 16;
inline constexpr int KeyCtrl = 17;
inline constexpr int KeyAlt = 18;
inline constexpr int KeyEscape = 27;
inline constexpr int KeySpace = 32;
inline constexpr int KeyLeft = 37, KeyUp = 38, KeyRight = 39, KeyDown = 40;

// The bits of a key event's shift state: the modifiers, then the mouse buttons held.
inline constexpr unsigned char ShiftBit = 1, AltBit = 2, CtrlBit = 4;

}  // namespace quillon
