// The pad's keys. The game's own: the d-pad and the left stick are the arrows everywhere; A is
// Enter in the menus, yes in the questions and fire (Z) in the race; B is Escape, and no in the
// questions; X is nitro, Y the horn, the right shoulder the hard brake (Space) and Start the
// pause (P). The settings file may give each action other buttons.
#include "app/PadInput.h"

#include <cstddef>

#include "engine/KeyCodes.h"

namespace quillon {

// The menus hear the arrows, the pause and Enter and Escape (yes and no in the questions); the
// race hears its own controls first and Escape from the buttons that have none of the race's.
TPadInput::TPadInput(const std::array<std::vector<TPadButton>, ActionCount>& buttons) {
    auto set = [&](TAction action, TPadContext context, int key) {
        for (TPadButton button : buttons[static_cast<size_t>(action)]) {
            const size_t index = static_cast<size_t>(button);
            if (index < FKeys.size()) FKeys[index][static_cast<size_t>(context)] = key;
        }
    };
    for (TPadContext context : {TPadContext::Menu, TPadContext::YesNo}) {
        const bool question = context == TPadContext::YesNo;
        for (TAction action : {TAction::Left, TAction::Right, TAction::Accelerate, TAction::SlowDown, TAction::Pause})
            set(action, context, ActionGameKey(action));
        set(TAction::Enter, context, question ? 'Y' : KeyEnter);
        set(TAction::Escape, context, question ? 'N' : KeyEscape);
    }
    set(TAction::Escape, TPadContext::Race, KeyEscape);
    for (int action = 0; action <= static_cast<int>(TAction::Pause); ++action)
        set(static_cast<TAction>(action), TPadContext::Race, ActionGameKey(static_cast<TAction>(action)));
}

int TPadInput::KeyFor(TPadButton button, TPadContext context) const {
    const size_t index = static_cast<size_t>(button);
    return index < FKeys.size() ? FKeys[index][static_cast<size_t>(context)] : 0;
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
