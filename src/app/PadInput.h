// TPadInput: a gamepad played as the keyboard. Each pad button stands for the key the
// same control has on the keyboard, chosen by where the game is when the button goes
// down; the game then sees that key's events and, while the button is held, that key
// held in its polled states. A button lets go of the key it pressed, wherever the game
// has moved to in the meantime.
#pragma once

#include <array>
#include <cstdint>

#include "app/Settings.h"
#include "engine/PadButton.h"

namespace quillon {

enum class TPadContext {
    Menu,   // menus, the ship selection and dialogs outside the race
    YesNo,  // the yes/no questions: A is yes, B is no
    Race,   // the race and its dialogs other than the questions
};

class TPadInput {
public:
    // The game's own buttons, or the settings file's (the actions' buttons).
    TPadInput() : TPadInput(TSettings().Pad) {}
    explicit TPadInput(const std::array<std::vector<TPadButton>, ActionCount>& buttons);

    // The virtual-key code a button stands for in a context; 0 when it has no use there.
    int KeyFor(TPadButton button, TPadContext context) const;

    // The key to send down now, or 0 (no use here, or another held button already holds it).
    int Press(TPadButton button, TPadContext context);
    // The key to send up now, or 0 (the button held nothing, or another button still holds it).
    int Release(TPadButton button);
    // Marks the keys held by pad buttons as down (bit 0x80) in a 256-byte key table.
    void AddHeldKeys(uint8_t keys[256]) const;

private:
    bool Holds(int key) const;

    std::array<int, PadButtonCount> FKeyOf{};  // the key each held button pressed, 0 when up
    std::array<std::array<int, 3>, PadButtonCount> FKeys{};  // each button's key in each context
};

}  // namespace quillon
