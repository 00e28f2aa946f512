// The pad's keys: the d-pad and the left stick are the arrows everywhere; A is Enter in
// the menus, yes in the questions and fire (Z) in the race; B is Escape, and no in the
// questions; X is nitro, Y the horn, the right shoulder the hard brake (Space) and Start
// the pause (P).
#include "app/PadInput.h"

#include <cstddef>

#include "engine/KeyCodes.h"

namespace quillon {

namespace {
constexpr int KeyH = 'H', KeyN = 'N', KeyP = 'P', KeyX = 'X', KeyY = 'Y', KeyZ = 'Z';
}  // namespace

int TPadInput::KeyFor(TPadButton button, TPadContext context) {
    const bool race = context == TPadContext::Race;
    const bool question = context == TPadContext::YesNo;
    switch (button) {
        case TPadButton::DpadUp:
        case TPadButton::StickUp: return KeyUp;
        case TPadButton::DpadDown:
        case TPadButton::StickDown: return KeyDown;
        case TPadButton::DpadLeft:
        case TPadButton::StickLeft: return KeyLeft;
        case TPadButton::DpadRight:
        case TPadButton::StickRight: return KeyRight;
        case TPadButton::A: return question ? KeyY : race ? KeyZ : KeyEnter;
        case TPadButton::B: return question ? KeyN : KeyEscape;
        case TPadButton::X: return race ? KeyX : 0;
        case TPadButton::Y: return race ? KeyH : 0;
        case TPadButton::RightShoulder: return race ? KeySpace : 0;
        case TPadButton::Start: return KeyP;
        default: return 0;
    }
}

bool TPadInput::Holds(int key) const {
    for (int held : FKeyOf)
        if (held == key) return true;
    return false;
}

int TPadInput::Press(TPadButton button, TPadContext context) {
    const int index = static_cast<int>(button);
    if (index < 0 || index >= PadButtonCount || FKeyOf[static_cast<std::size_t>(index)] != 0) return 0;
    const int key = KeyFor(button, context);
    if (key == 0) return 0;
    const bool alreadyDown = Holds(key);
    FKeyOf[static_cast<std::size_t>(index)] = key;
    return alreadyDown ? 0 : key;
}

int TPadInput::Release(TPadButton button) {
    const int index = static_cast<int>(button);
    if (index < 0 || index >= PadButtonCount) return 0;
    const int key = FKeyOf[static_cast<std::size_t>(index)];
    FKeyOf[static_cast<std::size_t>(index)] = 0;
    return key != 0 && !Holds(key) ? key : 0;
}

void TPadInput::AddHeldKeys(uint8_t keys[256]) const {
    for (int key : FKeyOf)
        if (key > 0 && key < 256) keys[key] |= 0x80;
}

}  // namespace quillon
