// The player's settings: screen mode, music, sound, country, and the boss key's modifier set
// and function key.
#pragma once

#include <cstdint>
#include <string>

namespace quillon {

struct TGameOptions {
    bool FullScreen = false;
    bool MusicOn = false;
    bool SoundOn = false;
    std::string Country;  // Windows-1251, at most kCountryLimit characters when typed
};

enum class TShiftKey : std::uint8_t { Shift = 1, Alt = 2, Ctrl = 4 };

// A set of modifier keys; the game only ever puts at most one member in it.
struct TShiftState {
    std::uint8_t Bits = 0;

    static TShiftState Of(TShiftKey key) { return TShiftState{static_cast<std::uint8_t>(key)}; }
    bool Contains(TShiftKey key) const { return (Bits & static_cast<std::uint8_t>(key)) != 0; }
    bool Empty() const { return Bits == 0; }
    friend bool operator==(TShiftState, TShiftState) = default;
};

// The modifier's name as the options screen and the state dump show it: "Alt", "Ctrl" or
// "Shift" (first match in that order), "" for none.
std::string ShiftStateName(TShiftState shift);

// Virtual-key codes of the function keys; a boss key is 0 (none) or one of these.
inline constexpr std::uint16_t kKeyF1 = 112;
inline constexpr std::uint16_t kKeyF12 = 123;

}  // namespace quillon
