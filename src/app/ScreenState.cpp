// The screen state machine: opening and closing dialogs, the activation of the selected
// item on every screen and dialog, the tab switch and the system cursor.
#include "app/MainForm.h"
#include "race/Player.h"
#include "menus/RangeHelpers.h"
#include "save/LinkFile.h"

namespace quillon {

namespace {
bool HasPanel(int kind) { return kind == 1 || kind == 2 || kind == 4 || (kind >= 8 && kind <= 12); }
// The main-menu button that leads to each sub-screen 2..5.
int TabOfScreen(int screen) {
    switch (screen) {
        case 2: return 1;
        case 3: return 3;
        case 4: return 4;
        case 5: return 2;
        default: return 0;
    }
}
}  // namespace

void TMForm::ShowSystemCursor() {
    while (FCursorCount < 0) ++FCursorCount;
    FPlatform.ShowCursor(true);
}

void TMForm::HideSystemCursor() {
    while (FCursorCount >= 0) --FCursorCount;
    FPlatform.ShowCursor(false);
}

// The ship's engine, horn and effect sounds; safe on the menus, where none plays.
void TMForm::StopShipSounds() {
    for (int index : {4, 9, 10, 11, 12, 5, 6, 13, 7, 22, 8, 14, 15, 16, 17}) StopSound(index);
}

void TMForm::KillItem(int slot) {
    TMyImageSprite*& item = MenuItems[static_cast<size_t>(slot)];
    if (item) item->Kill();
    item = nullptr;
}

void TMForm::OpenDialog(int kind) {
    if (ActiveDialog != 0) return;
    StopShipSounds();
    ActiveDialog = static_cast<uint8_t>(kind);
    FRecorder.DialogOpened(kind);
    FSavedHot = HotItem;
    FSavedFirst = FirstItem;
    FSavedLast = LastItem;
    if (HasPanel(kind)) DialogPanel = TMyImageSprite::CreateAt(1, 33, 239, 227, 14);
    if (kind == 8) ShowSystemCursor();
    if (IsYesNoDialog(kind)) {
        ShowSystemCursor();
        FirstItem = 11;
        LastItem = 12;
        HotItem = kind == 9 ? 11 : 12;
        auto* yes = new TMenuButton(1, 34, 34, 0, 1, 275, 314);
        auto* no = new TMenuButton(1, 35, 35, 0, 1, 401, 314);
        for (TMenuButton* button : {yes, no}) {
            button->SetZ(15);
            button->RaiseWhenHot = kind == 1;
        }
        MenuItems[11] = yes;
        MenuItems[12] = no;
    }
    if (kind == 6) DialogTimer = 2000;
    if (kind == 3 || kind == 7) DialogTimer = 3000;
    if (kind == 8) {
        TextCursor = new TMyCursor(1, 22, 275, 322, 15, 600);
        TextCursor->Blinking = true;
    }
    if (kind == 5 || kind == 2) StopShipSounds();
    DialogSending = false;
}

void TMForm::CloseDialog() {
    const int kind = ActiveDialog;
    HotItem = FSavedHot;
    FirstItem = FSavedFirst;
    LastItem = FSavedLast;
    if (HasPanel(kind) && DialogPanel) {
        DialogPanel->Kill();
        DialogPanel = nullptr;
    }
    if (kind == 8) HideSystemCursor();
    if (IsYesNoDialog(kind)) {
        if (CurrentScreen == 6) HideSystemCursor();
        KillItem(11);
        KillItem(12);
    }
    if (kind == 8 && TextCursor) {
        TextCursor->Blinking = false;
        TextCursor->Visible = false;
        TextCursor->Kill();
        TextCursor = nullptr;
    }
    // Kinds 5 and 2 open only during a race: the engine sounds come back.
    if ((kind == 5 || kind == 2) && Race.Player()) Race.Player()->ResumeShipSounds();
    ActiveDialog = 0;
    if (ResumeMusic) {
        ResumeMusic = false;
        PlayScreenMusic();
    }
    MDXSpriteEngine.FreeDead();
}

void TMForm::ActivateItemNumber(int n) {
    HotItem = n;
    ActivateItem();
}

void TMForm::ActivateItem() {
    if (!(CurrentScreen == 6 && ActiveDialog == 0))
        PlaySound(CurrentScreen == 2 && (HotItem == 7 || HotItem == 8) ? 3 : 2);

    if (ActiveDialog != 0) {
        switch (ActiveDialog) {
            case 1:
                if (HotItem == 11) {
                    CloseDialog();
                    KillMenuBackground();
                    CloseMainMenu();
                    // A save that fails keeps the game running; the menu comes back so that
                    // the player is not left on an empty screen with no way out.
                    try {
                        Shutdown();
                    } catch (...) {
                        BuildMainMenu(false, 6, true);
                        throw;
                    }
                } else if (HotItem == 12) {
                    CloseDialog();
                }
                break;
            case 4:
                if (HotItem == 11) {
                    CloseDialog();
                    ResetHighScores(State.HighScores);
                    SaveStateNow();
                } else if (HotItem == 12) {
                    CloseDialog();
                }
                break;
            case 2:
                if (HotItem == 11) {
                    CloseDialog();
                    LeaveRace();
                } else if (HotItem == 12) {
                    CloseDialog();
                }
                break;
            case 9:
                if (HotItem == 11) {
                    CloseDialog();
                    OpenDialog(10);
                } else if (HotItem == 12) {
                    CloseDialog();
                    LeaveRaceToHighScores(4);
                }
                break;
            default:
                break;
        }
        return;
    }

    const int screenBefore = CurrentScreen;
    switch (CurrentScreen) {
        case 1:
            if (!MenuIntro) ActivateMainMenuItem(HotItem);
            break;
        case 2:
            if (ShipSwitch != 0) break;
            switch (HotItem) {
                case 7: SwitchShip(false); break;
                case 8: SwitchShip(true); break;
                case 9:
                    CloseShipSelection();
                    BuildMainMenu(false, 1, false);
                    CloseMainMenu();
                    StartRace();
                    break;
                case 10:
                    CloseShipSelection();
                    BuildMainMenu(false, 1, false);
                    break;
                default: break;
            }
            break;
        case 3:
            switch (HotItem) {
                case 7:
                    State.GameOptions.FullScreen = !State.GameOptions.FullScreen;
                    ApplyDisplayMode();
                    break;
                case 8:
                    State.GameOptions.MusicOn = !State.GameOptions.MusicOn;
                    StopMusic();
                    PlayScreenMusic();
                    break;
                case 9: State.GameOptions.SoundOn = !State.GameOptions.SoundOn; break;
                case 10:
                    EditingCountry = !EditingCountry;
                    if (TextCursor) TextCursor->Blinking = EditingCountry;
                    break;
                case 11: ToggleBossKeyCapture(); break;
                case 12:
                    CloseOptions();
                    BuildMainMenu(false, 3, false);
                    break;
                default: break;
            }
            break;
        case 4:
            switch (HotItem) {
                case 7: OpenDialog(4); break;
                case 8:
                    if (const std::optional<std::string> page = WorldTableUrl()) OpenLink(*page);
                    break;
                case 9:
                    CloseHighScores();
                    BuildMainMenu(false, 4, false);
                    break;
                default: break;
            }
            break;
        case 5:
            switch (HotItem) {
                case 7: CyclePrev(HelpPage, 1, 5); break;
                case 8: CycleNext(HelpPage, 1, 5); break;
                case 9:
                    CloseHelp();
                    BuildMainMenu(false, 2, false);
                    break;
                default: break;
            }
            break;
        default:
            break;
    }

    // A click on a main-menu button while a sub-screen shows switches to that button's screen.
    if (screenBefore == CurrentScreen && CurrentScreen >= 2 && CurrentScreen <= 5 && HoverTab != 0 &&
        HotItem == 0) {
        const int tab = TabOfScreen(CurrentScreen);
        if (HoverTab == tab) return;
        const int target = HoverTab;
        switch (CurrentScreen) {
            case 2: CloseShipSelection(); break;
            case 3: CloseOptions(); break;
            case 4: CloseHighScores(); break;
            case 5: CloseHelp(); break;
            default: break;
        }
        BuildMainMenu(false, 1, false);
        Button(tab)->ShowNormal();
        Button(target)->ShowHot();
        ActivateMainMenuItem(target);
    }
}

void TMForm::ActivateMainMenuItem(int item) {
    switch (item) {
        case 1: ShowShipSelection(); break;
        case 2: ShowHelp(); break;
        case 3: ShowOptions(); break;
        case 4: ShowHighScores(); break;
        case 5: OpenLink(kMoreGamesLink); break;
        case 6: OpenDialog(1); break;
        default: break;
    }
}

}  // namespace quillon
