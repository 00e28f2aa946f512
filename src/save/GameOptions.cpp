// Names of the boss key's modifiers.
#include "save/GameOptions.h"

namespace quillon {

std::string ShiftStateName(TShiftState shift) {
    if (shift.Contains(TShiftKey::Alt)) return "Alt";
    if (shift.Contains(TShiftKey::Ctrl)) return "Ctrl";
    if (shift.Contains(TShiftKey::Shift)) return "Shift";
    return "";
}

}  // namespace quillon
