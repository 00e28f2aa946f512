// The form's side of the gamepad: where the game is, which decides the keys the input
// door turns the pad's buttons into.
#include "app/MainForm.h"

namespace quillon {

TPadContext TMForm::PadContext() const {
    if (IsYesNoDialog(ActiveDialog)) return TPadContext::YesNo;
    if (CurrentScreen == TScreen::Race) return TPadContext::Race;
    return TPadContext::Menu;
}

}  // namespace quillon
