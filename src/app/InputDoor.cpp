// TInputDoor: the keyboard's keys to the game's, the pad's buttons to keys.
#include "app/InputDoor.h"

#include <algorithm>

#include "engine/KeyCodes.h"

namespace quillon {

namespace {
// The shift-state bit of a mouse button: left, right and middle as the window reports them; any
// other button gets a bit of its own, so that it too keeps the boss key from firing.
uint8_t MouseButtonBit(int button) {
    switch (button) {
        case 1: return 8;
        case 3: return 16;
        case 2: return 32;
        default: return 128;
    }
}
}  // namespace

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
        }
        // A key that stands for nothing here goes no further.
        if ((event.Type != T::KeyDown && event.Type != T::KeyUp) || event.Key != 0) {
            TrackShiftState(event);
            if (FWatch) FWatch->Passed(event);
            return true;
        }
    }
    return false;
}

// The modifiers as the key events left them, each confirmed by the keyboard's state, so
// that a key released while the window was in the background does not stay held here.
void TInputDoor::TrackShiftState(TWindowEvent& event) {
    using T = TWindowEvent::TType;
    const bool down = event.Type == T::KeyDown;
    if (event.Type == T::MouseDown) FMouseButtons |= MouseButtonBit(event.Button);
    if (event.Type == T::MouseUp) FMouseButtons &= static_cast<uint8_t>(~MouseButtonBit(event.Button));
    if (!down && event.Type != T::KeyUp) return;
    if (event.Key == KeyShift) FShiftDown = down;
    if (event.Key == KeyCtrl) FCtrlDown = down;
    if (event.Key == KeyAlt) FAltDown = down;
    if (down) FAltDown = FAltDown || event.Alt;
    uint8_t keys[256];
    GetKeyboardState(keys);
    auto held = [&](bool tracked, int key) { return tracked && (keys[key] & 0x80) != 0; };
    event.Shift = static_cast<uint8_t>((held(FShiftDown, KeyShift) ? ShiftBit : 0) | (held(FAltDown, KeyAlt) ? AltBit : 0) |
                                       (held(FCtrlDown, KeyCtrl) ? CtrlBit : 0) | FMouseButtons);
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
