// The form's side of the gamepad: which controls the pad stands for where the game is,
// and its buttons turned into the key events the keyboard would send.
#include "app/MainForm.h"

namespace quillon {

TPadContext TMForm::PadContext() const {
    if (IsYesNoDialog(ActiveDialog)) return TPadContext::YesNo;
    if (CurrentScreen == TScreen::Race) return TPadContext::Race;
    return TPadContext::Menu;
}

void TMForm::HandlePadEvent(const TWindowEvent& event) {
    const TPadButton button = static_cast<TPadButton>(event.Key);
    TWindowEvent key;
    if (event.Type == TWindowEvent::TType::PadDown) {
        key.Type = TWindowEvent::TType::KeyDown;
        key.Key = FPad.Press(button, PadContext());
    } else {
        key.Type = TWindowEvent::TType::KeyUp;
        key.Key = FPad.Release(button);
    }
    if (key.Key != 0) HandleEvent(key);
}

}  // namespace quillon
