// Keyboard and mouse: the polled key edges, hover and hit tests, the window's key,
// character and mouse events, Alt+Enter, the Shift/Ctrl latches and the boss key.
#include <string>

#include "app/MainForm.h"
#include "engine/Cp1251.h"
#include "engine/KeyCodes.h"
#include "menus/Text.h"

namespace quillon {

void TMForm::PollInput() {
    if (GivenTick) {
        const TInputStates held(GivenTick->Held);
        FPressed = held & ~FHeld;
        FHeld = held;
        return;
    }
    uint8_t keys[256];
    FPlatform.GetKeyboardState(keys);
    MDXInput.UpdateInput(keys, FPlatform.IsActive());
    FPressed = MDXInput.InputStates & ~FHeld;
    FHeld = MDXInput.InputStates;
}

bool TMForm::AnyArrowPressed() const {
    return KeyPressed(StateUp) || KeyPressed(StateDown) || KeyPressed(StateLeft) || KeyPressed(StateRight);
}

// The first item in number order whose rectangle holds the mouse wins.
void TMForm::HitTestItems(bool keep) {
    if (!keep) HotItem = 0;
    for (int i = FirstItem; i <= LastItem; ++i) {
        if (i < 1 || i > 17 || !MenuItems[static_cast<size_t>(i)]) continue;
        if (Button(i)->Contains(MouseX, MouseY)) {
            HotItem = i;
            return;
        }
    }
}

void TMForm::UpdateHover(bool findTab) {
    for (int i = FirstItem; i <= LastItem; ++i) {
        if (i == HotItem || i < 1 || i > 17 || !MenuItems[static_cast<size_t>(i)]) continue;
        Button(i)->ShowNormal();
        Button(i)->IsHot = false;
    }
    if (HotItem != 0 && HotItem >= FirstItem && HotItem <= LastItem && HotItem <= 17 &&
        MenuItems[static_cast<size_t>(HotItem)] && !Button(HotItem)->IsHot) {
        Button(HotItem)->ShowHot();
        Button(HotItem)->IsHot = true;
        // Moving the selection on the options screen ends a pending capture or country edit.
        if (CurrentScreen == TScreen::Options) {
            if (CapturingBossKey) ToggleBossKeyCapture();
            if (EditingCountry) {
                EditingCountry = false;
                if (TextCursor) TextCursor->Blinking = false;
            }
        }
    }
    HoverTab = 0;
    if (findTab) {
        for (int i = 1; i <= 6; ++i) {
            if (MenuItems[static_cast<size_t>(i)] && Button(i)->Contains(MouseX, MouseY)) {
                HoverTab = i;
                break;
            }
        }
    }
}

void TMForm::MDXDrawMouseMove(int x, int y) {
    MouseX = x;
    MouseY = y;
    const int before = HotItem;
    HitTestItems(CurrentScreen == TScreen::MainMenu);
    if (HotItem != before && HotItem > 0 && !(CurrentScreen == TScreen::MainMenu && MenuIntro)) PlaySound(1);
}

void TMForm::MDXDrawClick() { ActivateItem(); }

void TMForm::FormKeyDown(int key, uint8_t shift) {
    // Any key during the demo hands the ship to the player.
    if (DemoMode) {
        DemoMode = false;
        PilotOn = false;
    }
    if (CapturingBossKey)
        FormKeyBoss(key, shift, true);
    else if (shift == State.BossKeyShift.Bits && key == State.BossKeyCode)
        BossKeyAction();
    if (key == KeyShift) ShiftHeld = true;
    if (key == KeyCtrl) CtrlHeld = true;
    if ((shift & AltBit) && key == KeyEnter) {
        State.GameOptions.FullScreen = !State.GameOptions.FullScreen;
        if (CurrentScreen == TScreen::Race) OpenDialog(TDialog::Pause);
        ApplyDisplayMode();
    }
}

void TMForm::FormKeyUp(int key, uint8_t shift) {
    if (CapturingBossKey) FormKeyBoss(key, shift, false);
    if (key == KeyShift) ShiftHeld = false;
    if (key == KeyCtrl) CtrlHeld = false;
}

void TMForm::FormKeyPress(char key) {
    if (ActiveDialog == TDialog::NameEntry) TypedKey = key;
    if (CurrentScreen == TScreen::Options && EditingCountry) {
        std::string& country = State.GameOptions.Country;
        if (key == KeyBackspace)
            DeleteLastNameChar(country);
        else if (IsNameChar(key) && FText.GetFontTextWidth(country, 4) <= 345)
            AppendNameChar(country, key, kCountryLimit);
    }
    if (ActiveDialog == TDialog::NameEntry) {
        if (key == KeyBackspace)
            DeleteLastNameChar(State.PlayerName);
        else if (IsNameChar(key) && FText.GetFontTextWidth(State.PlayerName, 10) <= 240)
            AppendNameChar(State.PlayerName, key, kPlayerNameLimit);
    }
    if (key == KeyEnter) ActivateItemNumber(HotItem);
}

void TMForm::ToggleBossKeyCapture() {
    if (!CapturingBossKey) {
        FSavedBossShift = State.BossKeyShift;
        FSavedBossCode = State.BossKeyCode;
        State.BossKeyShift = TShiftState{};
        State.BossKeyCode = 0;
        CapturingBossKey = true;
    } else {
        if (State.BossKeyCode == 0) {
            State.BossKeyShift = FSavedBossShift;
            State.BossKeyCode = FSavedBossCode;
        }
        CapturingBossKey = false;
    }
}

// One modifier at most: Alt over Ctrl over Shift.
void TMForm::FormKeyBoss(int key, uint8_t shift, bool down) {
    if (shift & AltBit)
        State.BossKeyShift = TShiftState::Of(TShiftKey::Alt);
    else if (shift & CtrlBit)
        State.BossKeyShift = TShiftState::Of(TShiftKey::Ctrl);
    else if (shift & ShiftBit)
        State.BossKeyShift = TShiftState::Of(TShiftKey::Shift);
    else
        State.BossKeyShift = TShiftState{};
    const bool functionKey = key >= kKeyF1 && key <= kKeyF12;
    if (down) {
        State.BossKeyCode = functionKey ? static_cast<uint16_t>(key) : 0;
        if (State.BossKeyCode != 0) ToggleBossKeyCapture();
    } else if (functionKey) {
        State.BossKeyCode = 0;
    }
}

void TMForm::BossKeyAction() {
    StopMusic();
    PauseRaceOnMinimize();
    ResumeMusic = true;
    if (State.GameOptions.FullScreen) {
        State.GameOptions.FullScreen = false;
        EnterWindowed();
    }
    FPlatform.MinimizeWindow();
}

// The window's events in the order they came. Enter and Backspace also arrive as typed
// characters, as the window's character messages carry them; Alt+Enter does not.
void TMForm::HandleEvent(const TWindowEvent& event) {
    RunHandler([&] {
        switch (event.Type) {
            case TWindowEvent::TType::CloseRequest: {
                bool canClose = true;
                FormCloseQuery(canClose);
                break;
            }
            case TWindowEvent::TType::Minimize:
                PauseRaceOnMinimize();
                break;
            case TWindowEvent::TType::Restore:
                MDXDraw.Initialize();
                break;
            case TWindowEvent::TType::KeyDown:
                FormKeyDown(event.Key, event.Shift);
                if (!(event.Shift & AltBit) && (event.Key == KeyEnter || event.Key == KeyBackspace))
                    FormKeyPress(static_cast<char>(event.Key));
                break;
            case TWindowEvent::TType::KeyUp:
                FormKeyUp(event.Key, event.Shift);
                break;
            case TWindowEvent::TType::Char: {
                const std::string text = Utf8ToCp1251(event.Text);
                for (char c : text)
                    if (c != KeyEnter && c != KeyBackspace) FormKeyPress(c);
                break;
            }
            case TWindowEvent::TType::MouseMove:
                MDXDrawMouseMove(event.X, event.Y);
                break;
            case TWindowEvent::TType::Click:
                MouseX = event.X;
                MouseY = event.Y;
                MDXDrawClick();
                break;
            default:
                break;
        }
    });
}

}  // namespace quillon
