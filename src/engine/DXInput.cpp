// TDXInput and TKeyboard: the stored key bindings and the per-frame merge of states.
#include "engine/DXInput.h"

namespace quillon {

TKeyboard::TKeyboard() {
    // The bindings stored with the form: only the first key of each state is used.
    const struct { int state; int key; } bindings[] = {
        {StateUp, 38},          {StateDown, 40},         {StateLeft, 37},         {StateRight, 39},
        {StateButton(5), 'H'},  {StateButton(6), 'P'},   {StateButton(7), 'Y'},   {StateButton(8), 'N'},
        {StateButton(9), 27},   {StateButton(10), 32},   {StateButton(11), 13},   {StateButton(12), 'Z'},
        {StateButton(13), 'X'}, {StateButton(14), 'C'},  {StateButton(15), 'V'},  {StateButton(16), 'B'},
        {StateButton(26), '0'},
    };
    for (const auto& binding : bindings) Assigns[binding.state][0] = binding.key;
    for (int digit = 1; digit <= 9; ++digit) Assigns[StateButton(16 + digit)][0] = '0' + digit;
}

void TKeyboard::Poll(const uint8_t keys[256], bool foreground, bool activeOnly) {
    FKeys.fill(0);
    FStates.reset();
    if (!Ready || (activeOnly && !foreground)) return;
    for (int code = 1; code < 256; ++code)
        if (keys[code] & 0x80) FKeys[code] = 0x80;
    for (int state = 0; state < InputStateCount; ++state) {
        for (int32_t key : Assigns[state]) {
            if (key >= 1 && key <= 255 && (FKeys[key] & 0x80)) {
                FStates.set(state);
                break;
            }
        }
    }
}

void TDXInput::UpdateInput(const uint8_t keys[256], bool foreground) {
    TInputStates merged;
    if (Keyboard.Enabled) {
        Keyboard.Poll(keys, foreground, ActiveOnly);
        if (Keyboard.BindInputStates) merged |= Keyboard.States();
    }
    // A state changes only when its merged key state changes.
    InputStates |= merged & ~FLastUnion;
    InputStates &= ~(~merged & FLastUnion);
    FLastUnion = merged;
}

}  // namespace quillon
