// The race screen of the form: starting a game from the ship selection, the race frame
// with the player's keys (or the demo pilot), and every way back to the main menu.
#include "app/FormRaceHost.h"
#include "app/MainForm.h"
#include "race/DemoPilot.h"
#include "race/Player.h"

namespace quillon {

void TFormRaceHost::PlaySound(int index) { FForm.PlaySound(index); }
void TFormRaceHost::StopSound(int index) { FForm.StopSound(index); }
void TFormRaceHost::OpenDialog(TDialog kind) { FForm.OpenDialog(kind); }
int TFormRaceHost::Random(int n) { return FForm.Random(n); }
int TFormRaceHost::FrameMs() const { return FForm.FrameMs; }
double TFormRaceHost::SpeedScale() const { return FForm.SpeedScale; }
void TFormRaceHost::MoveSprites(int moveCount) { FForm.MDXSpriteEngine.Move(moveCount); }
void TFormRaceHost::FreeDeadSprites() { FForm.MDXSpriteEngine.FreeDead(); }

void TMForm::StartRace(int level) {
    CurrentScreen = TScreen::Race;
    PlayScreenMusic();
    HideSystemCursor();
    FirstItem = 1;
    LastItem = 0;
    HotItem = 0;
    Race.SelectedShip = SelectedShip;
    GameStartRandomState = FRandom.State();
    TableEntryName.reset();
    Race.StartRace(level);
    DrawHud();
}

// What the headless driver's "race SHIP LEVEL" does: the ship chosen and started as on
// the ship selection, at any level.
bool TMForm::StartRaceFromMenu(int ship, int level) {
    if (CurrentScreen != TScreen::MainMenu || MenuIntro || ActiveDialog != TDialog::None || ship < 1 || ship > 5 ||
        level < 1 || level > 10)
        return false;
    SelectedShip = ship;
    CloseMainMenu();
    StartRace(level);
    return true;
}

// The demo: a race on a random ship, driven by the pilot until the player takes over.
void TMForm::StartDemo() {
    DemoRequested = false;
    if (!StartRaceFromMenu(Random(5) + 1, 1)) return;
    PilotOn = true;
    DemoMode = true;
    DemoGame = true;
}

void TMForm::EndRace() {
    CurrentScreen = TScreen::None;
    Race.EndRace();
    PilotOn = false;
    DemoMode = false;
    DemoGame = false;
}

// Every way out of a game ends here: a score good enough for the table is first entered
// under the player's name; otherwise straight back to the main menu. The points of a
// game the demo pilot drove are not the player's, whoever finished it.
void TMForm::LeaveRace() {
    if (!DemoGame && QualifiesForHighScores(State.HighScores, Race.State.Score)) {
        OpenDialog(TDialog::NameEntry);
        return;
    }
    EndRace();
    BuildMainMenu(false, 1, true);
}

// After the name entry and the world-table question: the main menu with the high-score
// screen over it.
void TMForm::LeaveRaceToHighScores(int hotItem) {
    EndRace();
    BuildMainMenu(false, hotItem, true);
    ShowHighScores();
}

TRaceControls TMForm::KeyControls() const {
    TRaceControls controls;
    controls.Left = KeyHeld(StateLeft);
    controls.Right = KeyHeld(StateRight);
    controls.Accelerate = KeyHeld(StateUp);
    controls.SlowDown = KeyHeld(StateDown);
    controls.Brake = KeyHeld(StateButton(10));
    controls.Fire = KeyHeld(StateButton(12)) || CtrlHeld;
    controls.Nitro = KeyHeld(StateButton(13)) || ShiftHeld;
    controls.Horn = KeyHeld(StateButton(5));
    return controls;
}

void TMForm::RaceFrame(int lagCount) {
    // A given tick drives as the race was driven, the pilot's moves included.
    const TRaceControls controls = GivenTick ? GivenTick->Controls : PilotOn ? PilotControls(Race) : KeyControls();
    Race.RaceFrame(lagCount, controls, KeyPressed(StateButton(9)), KeyPressed(StateButton(6)));
    DrawHud();
}


}  // namespace quillon
