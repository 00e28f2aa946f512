// The default settings.
#include "save/SavedState.h"

namespace quillon {

void ResetOptions(TSavedState& state) {
    state.GameOptions = TGameOptions{false, true, true, ""};
    state.BossKeyShift = TShiftState{};
    state.BossKeyCode = kKeyF12;
    state.PlayerName.clear();
}

}  // namespace quillon
