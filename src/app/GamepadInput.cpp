// The form's side of the gamepad: where the game is, which decides the keys the input
// door turns the pad's buttons into.
#include "app/MainForm.h"

namespace quillon {

TPadContext TMForm::PadContext() const {
    if (ActiveDialog == 1 || ActiveDialog == 2 || ActiveDialog == 4 || ActiveDialog == 9) return TPadContext::YesNo;
    if (CurrentScreen == 6) return TPadContext::Race;
    return TPadContext::Menu;
}

}  // namespace quillon
