// TMForm: start-up, the frame tick in its fixed order, display modes and shutdown.
#include "app/MainForm.h"

#include <cstdio>
#include <ctime>
#include <exception>
#include <filesystem>

#include "engine/FrameTiming.h"
#include "engine/GameLanguage.h"
#include "engine/PrintableText.h"
#include "engine/WordPictures.h"
#include "save/LinkFile.h"
#include "save/SavePair.h"

namespace quillon {

TMForm* MForm = nullptr;

namespace {
constexpr int SelectionClick = 1;  // the effect played when the selected item changes
}

TMForm::TMForm(IPlatform& platform, const TFormServices& services)
    : FPlatform(platform),
      FScores(services.Scores),
      FWaves(MDXWaveList, MDXSound),
      FEffects(State.GameOptions.SoundOn, [this](int index) { return FWaves.Item(index); }),
      FMusic(services.Music, State.GameOptions.MusicOn),
      FCanvas(*services.Fonts),
      FText(FCanvas) {
    MForm = this;
    MDXDraw.SetPort(&platform);
    MDXImageList1.SetDXDraw(&MDXDraw);
    MDXImageList2.SetDXDraw(&MDXDraw);
    MDXImageList3.SetDXDraw(&MDXDraw);
    MDXSpriteEngine.SetDXDraw(&MDXDraw);
    FCanvas.SetDisplay(&MDXDraw);
    SpriteWorld.Root = MDXSpriteEngine.Engine();
    SpriteWorld.Lists[0] = &MDXImageList1.Items();
    SpriteWorld.Lists[1] = &MDXImageList2.Items();
    SpriteWorld.Lists[2] = &MDXImageList3.Items();
    SpriteWorld.FrameMs = &FrameMs;
    ResetOptions(State);
    ResetHighScores(State.HighScores);
    // The sound device starts with the form; without a device the game stays silent.
    MDXSound.SetOutput(services.Audio);
    MDXSound.SetMusic(services.Music);
    MDXSound.Initialize();
}

TMForm::~TMForm() {
    FMusic.StopMusic();
    MDXSound.Finalize();
    MDXSpriteEngine.Engine()->Clear();
    MDXSpriteEngine.SetDXDraw(nullptr);
    if (SpriteWorld.Root == MDXSpriteEngine.Engine()) SpriteWorld = TSpriteWorld{};
    if (MForm == this) MForm = nullptr;
}

void TMForm::RunHandler(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        FPlatform.ShowError(error.what());
    }
}

void TMForm::FormCreate() {
    FPlatform.RaisePriority();
    FSeedUsed = StartSeed ? *StartSeed : static_cast<uint64_t>(std::time(nullptr)) ^ FPlatform.Milliseconds();
    SeedRandom(FSeedUsed);
    LoadCollections();
    FWaves.Reload();
    LoadSavedState();
    ApplyDisplayMode();
    CurrentScreen = TScreen::None;
    BuildMainMenu(true, 1, true);
}

// The collections of the run's language. A missing English copy (a partial install) leaves
// that collection's words Russian, with one warning for the run: its pictures have the same
// sizes, so menus and races work alike. A damaged copy fails like any collection.
void TMForm::LoadCollections() {
    bool warned = false;
    auto path = [&](std::string_view file) {
        const std::filesystem::path russian = CollectionPath(file, TLanguage::Russian);
        const std::filesystem::path wanted = CollectionPath(file, GameLanguage());
        std::error_code error;
        if (wanted == russian || std::filesystem::exists(wanted, error)) return wanted.generic_string();
        if (!warned)
            std::fprintf(stderr, "quillon: %s is missing; the pictures show their words in Russian\n",
                         PrintableText(wanted.generic_string()).c_str());
        warned = true;
        return russian.generic_string();
    };
    MDXImageList1.LoadFromFile(path("Res1.dxg"));
    MDXImageList2.LoadFromFile(path("Res2.dxg"));
    MDXImageList3.LoadFromFile(path("Res3.dxg"));
    MDXWaveList.LoadFromFile("Data/Res/Sounds.dxw");
}

// Data/Save of the game folder, which is the working directory of the run, unless the
// installed game keeps its saves in the player's data folder.
std::filesystem::path TMForm::SaveFolder() const {
    return SaveFolderPath.empty() ? SaveDirectory(std::filesystem::current_path()) : SaveFolderPath;
}

// The screen mode given on the command line is not saved; one the player chose during the run is.
TSavedState TMForm::StateToSave() const {
    TSavedState saved = State;
    if (FullScreenThisRun && saved.GameOptions.FullScreen == *FullScreenThisRun)
        saved.GameOptions.FullScreen = FSavedFullScreen;
    return saved;
}

// The display initialises itself when the window is shown, so a start-up that failed
// half way still gets a window with frames.
void TMForm::Show() {
    if (!MDXDraw.Initialized()) MDXDraw.Initialize();
}

// The table, the options and the check between them. A file that cannot be read is
// reported, and start-up goes on with what was read and defaults for the rest.
void TMForm::LoadSavedState() {
    TLoadReport report = LoadOptionsAndHighScores(State, SaveFolder());
    FSavedStateLoaded = true;
    FDamagedSaves = report.Damaged;
    for (const std::string& error : report.Errors) FPlatform.ShowError(error);
    FSavedFullScreen = State.GameOptions.FullScreen;
    if (FullScreenThisRun) State.GameOptions.FullScreen = *FullScreenThisRun;
}

// A start that stopped before loading has nothing of the player's to save: the files on
// disk stay as they are.
void TMForm::SaveLoadedState() {
    if (!FSavedStateLoaded || SaveNothing) return;
    // Once the new pair is committed the damaged files are gone: a later save keeps no copy.
    const TDamagedFiles damaged = FDamagedSaves;
    SaveOptionsAndHighScores(StateToSave(), SaveFolder(), [this](TSaveStep step) {
        if (step == TSaveStep::Committed) FDamagedSaves = TDamagedFiles{};
    }, damaged);
}

void TMForm::ApplyDisplayMode() {
    MDXDraw.SetBitCount(16);
    if (State.GameOptions.FullScreen)
        EnterFullScreen();
    else
        EnterWindowed();
    RefreshRate = FPlatform.RefreshRate();
}

// The platform keeps the window's former placement across the switch.
void TMForm::EnterFullScreen() {
    MDXDraw.Finalize();
    MDXDraw.SetFullScreen(true);
    MDXDraw.Initialize();
}

void TMForm::EnterWindowed() {
    MDXDraw.Finalize();
    MDXDraw.SetFullScreen(false);
    MDXDraw.Initialize();
}

void TMForm::MDXTimerTimer(int lagCount) {
    int hotItemBefore = HotItem;
    if (!MDXDraw.CanDraw()) return;
    MDXDraw.Fill(0);
    // Sprites are drawn before the frame's logic runs, so what the logic moves
    // shows in the next frame and text drawn by it lies over every sprite.
    MDXSpriteEngine.Draw();
    PollInput();
    RunFrameOperation(lagCount);
    if (HotItem != hotItemBefore) PlaySound(SelectionClick);
    MDXSpriteEngine.FreeDead();
    UpdateFrameTiming();
    MDXDraw.ReleaseCanvas();
    MDXDraw.Flip();
}

// The open dialog's frame, else the current screen's. The options, high scores, help and
// race move the sprites inside their frame; the main menu and ship selection stand still.
void TMForm::RunFrameOperation(int lagCount) {
    if (ActiveDialog != TDialog::None) {
        DialogFrame(lagCount);
        if (CurrentScreen == TScreen::Options) DrawOptionsTexts();
        return;
    }
    switch (CurrentScreen) {
        case TScreen::MainMenu: MainMenuFrame(); break;
        case TScreen::ShipSelection: ShipSelectionFrame(); break;
        case TScreen::Options: OptionsFrame(lagCount); break;
        case TScreen::HighScores: HighScoreFrame(lagCount); break;
        case TScreen::Help: HelpFrame(lagCount); break;
        case TScreen::Race: RaceFrame(lagCount); break;
        default: break;
    }
}

void TMForm::UpdateFrameTiming() {
    TFrameTiming timing = ComputeFrameTiming(MDXTimer.FrameRate(), RefreshRate);
    FrameRate = timing.FrameRate;
    SpeedScale = timing.SpeedScale;
    FrameMs = timing.FrameMs;
}

// The window never closes directly; the exit dialogs decide.
void TMForm::FormCloseQuery(bool& canClose) {
    canClose = false;
    if (FExitSaveFailed)
        Shutdown();
    else if (CurrentScreen == TScreen::Race)
        OpenDialog(TDialog::ExitToMenu);
    else if (CurrentScreen == TScreen::MainMenu)
        OpenDialog(TDialog::ExitGame);
}

void TMForm::FormClose() { Shutdown(); }

// A failed save is raised to the handler, which reports it, and the game keeps running with
// the old files untouched; the next try to leave saves again and ends the game even if it fails.
void TMForm::Shutdown() {
    MDXSpriteEngine.FreeDead();
    try {
        SaveLoadedState();
    } catch (const std::exception& error) {
        if (!FExitSaveFailed) {
            FExitSaveFailed = true;
            throw;
        }
        FPlatform.ShowError(error.what());
    }
    OpenPlayLink();
    Terminate();
}

// A signal is not the player leaving: no play link and no exit launcher, but the game ends
// even when the save fails (the handler reports it).
void TMForm::CloseBySignal() {
    Terminate();
    MDXSpriteEngine.FreeDead();
    SaveLoadedState();
}

void TMForm::PauseRaceOnMinimize() {
    if (CurrentScreen != TScreen::Race) return;
    if (ActiveDialog == TDialog::LevelBanner) CloseDialog();
    OpenDialog(TDialog::Pause);
}

void TMForm::SaveStateNow() {
    try {
        SaveLoadedState();
    } catch (const std::exception& error) {
        FPlatform.ShowError(error.what());
    }
}

// Only web addresses reach the desktop: a link file is read for its URL, and a missing
// or odd one opens nothing.
void TMForm::OpenLink(const std::string& target) {
    if (std::optional<std::string> url = ResolveLinkTarget(target, std::filesystem::current_path()))
        FPlatform.OpenTarget(*url);
}

void TMForm::OpenPlayLink() {
    if (std::filesystem::exists(kPlayLink)) OpenLink(kPlayLink);
}

void TMForm::RunExitLauncher() {
    std::error_code error;
    std::filesystem::path launcher = std::filesystem::current_path(error) / kExitLauncher;
    if (!error && std::filesystem::is_regular_file(launcher, error)) FPlatform.OpenTarget(launcher.string());
}

}  // namespace quillon
