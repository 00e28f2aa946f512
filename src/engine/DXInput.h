// TDXInput: the game's controls as 36 input states bound to keys. Once per frame
// UpdateInput reads which virtual keys are down and merges them into InputStates.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>

namespace quillon {

enum TInputState : int {
    StateUp = 0,
    StateDown = 1,
    StateLeft = 2,
    StateRight = 3,
    StateButton1 = 4,  // StateButton(n) is state n + 3, up to StateButton32 = 35
};

constexpr int StateButton(int n) { return n + 3; }
constexpr int InputStateCount = 36;

using TInputStates = std::bitset<InputStateCount>;

// The keyboard device: its key table and the three keys bound to each state.
class TKeyboard {
public:
    TKeyboard();

    bool Enabled = true;
    bool BindInputStates = true;
    bool Ready = true;  // acquired; a device that could not be acquired reports nothing
    std::array<std::array<int32_t, 3>, InputStateCount> Assigns{};

    // Fills the key table and the device's states from 256 key bytes (bit 7 = down).
    // With foreground false (another window in front, ActiveOnly set) every state is off.
    void Poll(const uint8_t keys[256], bool foreground, bool activeOnly);

    const TInputStates& States() const { return FStates; }
    bool KeyDown(int virtualKey) const { return virtualKey > 0 && virtualKey < 256 && (FKeys[virtualKey] & 0x80); }

private:
    std::array<uint8_t, 256> FKeys{};
    TInputStates FStates;
};

class TDXInput {
public:
    bool ActiveOnly = true;
    TKeyboard Keyboard;
    TInputStates InputStates;

    // Once per frame, before any state is read.
    void UpdateInput(const uint8_t keys[256], bool foreground);
    bool Has(int state) const { return InputStates.test(static_cast<size_t>(state)); }

private:
    TInputStates FLastUnion;
};

}  // namespace quillon
