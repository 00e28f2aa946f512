// The screen state machine: opening and closing dialogs, the activation of the selected
// item on every screen and dialog, the tab switch and the system cursor.
#include "app/MainForm.h"
#include "race/Player.h"
#include "menus/RangeHelpers.h"
#include "save/LinkFile.h"

namespace quillon {

namespace {
// The dialogs drawn on the panel: the yes/no questions and those from the name entry on.
bool HasPanel(TDialog kind) {
    return IsYesNoDialog(kind) || kind == TDialog::NameEntry || kind == TDialog::Sending ||
           kind == TDialog::LevelResult || kind == TDialog::Congratulations;
}
// The main-menu button that leads to each menu sub-screen.
int TabOfScreen(TScreen screen) {
    switch (screen) {
        case TScreen::ShipSelection: return 1;
        case TScreen::Options: return 3;
        case TScreen::HighScores: return 4;
        case TScreen::Help: return 2;
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

void TMForm::OpenDialog(TDialog kind) {
    if (ActiveDialog != TDialog::None) return;
    StopShipSounds();
    ActiveDialog = kind;
    FSavedHot = HotItem;
    FSavedFirst = FirstItem;
    FSavedLast = LastItem;
    if (HasPanel(kind)) DialogPanel = TMyImageSprite::CreateAt(1, 33, 239, 227, 14);
    if (kind == TDialog::NameEntry) ShowSystemCursor();
    if (IsYesNoDialog(kind)) {
        ShowSystemCursor();
        FirstItem = 11;
        LastItem = 12;
        HotItem = kind == TDialog::SendScore ? 11 : 12;
        auto* yes = new TMenuButton(1, 34, 34, 0, 1, 275, 314);
        auto* no = new TMenuButton(1, 35, 35, 0, 1, 401, 314);
        for (TMenuButton* button : {yes, no}) {
            button->SetZ(15);
            button->RaiseWhenHot = kind == TDialog::ExitGame;
        }
        MenuItems[11] = yes;
        MenuItems[12] = no;
    }
    if (kind == TDialog::LevelBanner) DialogTimer = 2000;
    if (kind == TDialog::TimeUp || kind == TDialog::GameOver) DialogTimer = 3000;
    if (kind == TDialog::NameEntry) {
        TextCursor = new TMyCursor(1, 22, 275, 322, 15, 600);
        TextCursor->Blinking = true;
    }
    if (kind == TDialog::Pause || kind == TDialog::ExitToMenu) StopShipSounds();
    DialogSending = false;
}

void TMForm::CloseDialog() {
    const TDialog kind = ActiveDialog;
    HotItem = FSavedHot;
    FirstItem = FSavedFirst;
    LastItem = FSavedLast;
    if (HasPanel(kind) && DialogPanel) {
        DialogPanel->Kill();
        DialogPanel = nullptr;
    }
    if (kind == TDialog::NameEntry) HideSystemCursor();
    if (IsYesNoDialog(kind)) {
        if (CurrentScreen == TScreen::Race) HideSystemCursor();
        KillItem(11);
        KillItem(12);
    }
    if (kind == TDialog::NameEntry && TextCursor) {
        TextCursor->Blinking = false;
        TextCursor->Visible = false;
        TextCursor->Kill();
        TextCursor = nullptr;
    }
    // The pause and the race's exit question open only during a race: the engine sounds come back.
    if ((kind == TDialog::Pause || kind == TDialog::ExitToMenu) && Race.Player()) Race.Player()->ResumeShipSounds();
    ActiveDialog = TDialog::None;
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
    if (!(CurrentScreen == TScreen::Race && ActiveDialog == TDialog::None))
        PlaySound(CurrentScreen == TScreen::ShipSelection && (HotItem == 7 || HotItem == 8) ? 3 : 2);

    if (ActiveDialog != TDialog::None) {
        switch (ActiveDialog) {
            case TDialog::ExitGame:
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
            case TDialog::ClearTable:
                if (HotItem == 11) {
                    CloseDialog();
                    ResetHighScores(State.HighScores);
                    SaveStateNow();
                } else if (HotItem == 12) {
                    CloseDialog();
                }
                break;
            case TDialog::ExitToMenu:
                if (HotItem == 11) {
                    CloseDialog();
                    LeaveRace();
                } else if (HotItem == 12) {
                    CloseDialog();
                }
                break;
            case TDialog::SendScore:
                if (HotItem == 11) {
                    CloseDialog();
                    OpenDialog(TDialog::Sending);
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

    const TScreen screenBefore = CurrentScreen;
    switch (CurrentScreen) {
        case TScreen::MainMenu:
            if (!MenuIntro) ActivateMainMenuItem(HotItem);
            break;
        case TScreen::ShipSelection:
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
        case TScreen::Options:
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
        case TScreen::HighScores:
            switch (HotItem) {
                case 7: OpenDialog(TDialog::ClearTable); break;
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
        case TScreen::Help:
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
    if (screenBefore == CurrentScreen && IsMenuSubScreen(CurrentScreen) && HoverTab != 0 && HotItem == 0) {
        const int tab = TabOfScreen(CurrentScreen);
        if (HoverTab == tab) return;
        const int target = HoverTab;
        switch (CurrentScreen) {
            case TScreen::ShipSelection: CloseShipSelection(); break;
            case TScreen::Options: CloseOptions(); break;
            case TScreen::HighScores: CloseHighScores(); break;
            case TScreen::Help: CloseHelp(); break;
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
        case 6: OpenDialog(TDialog::ExitGame); break;
        default: break;
    }
}

}  // namespace quillon
