// The boss key's name: modifier, function key, and "?" where either is still missing.
#include "menus/BossKeyName.h"

namespace quillon {

std::string BossKeyName(TShiftState shift, std::uint16_t code) {
    std::string name;
    if (shift.Contains(TShiftKey::Alt))
        name = "ALT+";
    else if (shift.Contains(TShiftKey::Ctrl))
        name = "CTRL+";
    else if (shift.Contains(TShiftKey::Shift))
        name = "SHIFT+";
    if (code >= kKeyF1 && code <= kKeyF12) name += "F" + std::to_string(code - kKeyF1 + 1);
    if (name.empty() || name.back() == '+') name += "?";
    return name;
}

}  // namespace quillon
