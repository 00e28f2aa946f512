// TInputDoor: the keyboard's keys to the game's, the pad's buttons to keys.
#include "app/InputDoor.h"

#include <algorithm>

namespace quillon {

// Every key stands for itself, except the game's keys of the actions: those stand for
// nothing unless the settings give them an action. A key given an action stands for the
// action's key; one of the action's own keys (Ctrl for fire) stays itself, as the game
// gives it more than one meaning.
TInputDoor::TInputDoor(IPlatform& platform, const TSettings& settings)
    : FPlatform(platform), FPad(settings.Pad) {
    const TSettings defaults;
    for (size_t key = 0; key < FKeyMap.size(); ++key) FKeyMap[key] = static_cast<int>(key);
    for (const std::vector<int>& keys : defaults.Keys)
        for (int key : keys) FKeyMap[static_cast<size_t>(key & 0xFF)] = 0;
    for (size_t action = 0; action < settings.Keys.size(); ++action) {
        const std::vector<int>& own = defaults.Keys[action];
        for (int key : settings.Keys[action]) {
            const bool itself = std::find(own.begin(), own.end(), key) != own.end();
            FKeyMap[static_cast<size_t>(key & 0xFF)] = itself ? key : ActionGameKey(static_cast<TAction>(action));
        }
    }
}

bool TInputDoor::PollEvent(TWindowEvent& event) {
    while (FPlatform.PollEvent(event)) {
        using T = TWindowEvent::TType;
        if (event.Type == T::KeyDown || event.Type == T::KeyUp) {
            event.Key = GameKey(event.Key);
        } else if (event.Type == T::PadDown || event.Type == T::PadUp) {
            const TPadButton button = static_cast<TPadButton>(event.Key);
            const bool down = event.Type == T::PadDown;
            event.Type = down ? T::KeyDown : T::KeyUp;
            event.Key = down ? FPad.Press(button, FPadContext ? FPadContext() : TPadContext::Menu)
                             : FPad.Release(button);
        } else {
            return true;
        }
        if (event.Key != 0) return true;  // a key that stands for nothing here goes no further
    }
    return false;
}

void TInputDoor::GetKeyboardState(uint8_t states[256]) {
    uint8_t keys[256];
    FPlatform.GetKeyboardState(keys);
    std::fill(states, states + 256, uint8_t{0});
    for (size_t key = 1; key < 256; ++key)
        if ((keys[key] & 0x80) && FKeyMap[key] != 0) states[FKeyMap[key]] |= 0x80;
    FPad.AddHeldKeys(states);
}

}  // namespace quillon
