// TMForm: the main form. Owns the engine components and all program-wide game
// state; its handlers are the game's start-up, frame tick, window events and shutdown.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/DXDraw.h"
#include "engine/DXImageList.h"
#include "engine/DXInput.h"
#include "engine/DXSound.h"
#include "engine/DXTimer.h"
#include "engine/FontPort.h"
#include "engine/MusicDirector.h"
#include "engine/MusicPort.h"
#include "engine/Platform.h"
#include "engine/Random.h"
#include "engine/SoundEffects.h"
#include "engine/SpriteEngine.h"
#include "engine/TextCanvas.h"
#include "engine/WaveCollection.h"
#include "engine/WaveListPlayer.h"
#include "menus/MenuButton.h"
#include "menus/MyCursor.h"
#include "menus/MyImageSprite.h"
#include "menus/Text.h"
#include "app/FormRaceHost.h"
#include "app/PadInput.h"
#include "race/GameScreens.h"
#include "race/Race.h"
#include "save/SavePair.h"
#include "save/SavedState.h"
#include "save/ScoreCodec.h"
#include "save/ScoreSender.h"

namespace quillon {

// What the platform lends the form besides itself: the sound output (none when
// headless: the driver pulls the mix), the module player and the font rasteriser.
struct TFormServices {
    IAudioOutput* Audio = nullptr;
    IMusicPlayer* Music = nullptr;
    IFontRasterizer* Fonts = nullptr;
    IScoreSender* Scores = nullptr;  // none: scores are not sent
};

class TMForm {
public:
    TMForm(IPlatform& platform, const TFormServices& services);
    ~TMForm();
    TMForm(const TMForm&) = delete;
    TMForm& operator=(const TMForm&) = delete;

    // Components, created with the form.
    TDXDraw MDXDraw;
    TDXImageList MDXImageList1;
    TDXImageList MDXImageList2;
    TDXImageList MDXImageList3;
    TDXSpriteEngine MDXSpriteEngine;
    TDXTimer MDXTimer;
    TDXInput MDXInput;
    TDXSound MDXSound;
    TDXWaveList MDXWaveList;

    // Frame timing.
    int RefreshRate = 60;
    int FrameRate = 0;
    double SpeedScale = 1.0;
    int FrameMs = 11;

    // Screen state.
    TScreen CurrentScreen = TScreen::None;
    TDialog ActiveDialog = TDialog::None;
    int HotItem = 0;
    int FirstItem = 1;
    int LastItem = 0;
    // Slots 1..17: 1-6 the main-menu buttons, 7-12 a sub-screen's or dialog's buttons,
    // 13-15 the options indicators, 16 a screen title, 17 a side panel.
    std::array<TMyImageSprite*, 18> MenuItems{};
    int HoverTab = 0;
    int MenuIntro = 0;
    int DialogTimer = 0;
    TMyImageSprite* DialogPanel = nullptr;
    bool ResumeMusic = false;
    bool DialogSending = false;  // the sending notice has been shown once
    TSprite* MenuBackground = nullptr;

    // Ship selection.
    int SelectedShip = 1;
    int NextShip = 1;
    int ShipSwitch = 0;
    TMyImageSprite* ShipPicture = nullptr;
    TMyImageSprite* NextShipPicture = nullptr;

    // Options screen.
    bool EditingCountry = false;
    bool CapturingBossKey = false;
    TMyImageSprite* OptionsPictures[2] = {nullptr, nullptr};
    TMyCursor* TextCursor = nullptr;

    // Help pages.
    int HelpPage = 1;
    std::array<TMyImageSprite*, 9> HelpPictures{};

    // The event path's state.
    int MouseX = 0;
    int MouseY = 0;
    bool ShiftHeld = false;
    bool CtrlHeld = false;
    char TypedKey = 0;

    // The polled keys of this frame: down now, and down now but not at the previous poll.
    bool KeyHeld(int state) const { return FHeld.test(static_cast<size_t>(state)); }
    bool KeyPressed(int state) const { return FPressed.test(static_cast<size_t>(state)); }
    bool AnyArrowPressed() const;

    // Options, boss key, high scores and the player's name.
    TSavedState State;
    std::optional<uint64_t> StartSeed;  // fixed seed of a reproducible run, else the clock
    std::optional<bool> FullScreenThisRun;  // --fullscreen or --window: the saved option is kept
    std::filesystem::path SaveFolderPath;   // where the options and the table live; empty: Data/Save here

    // The race: its state and sprites, and who drives the player's ship.
    TFormRaceHost RaceHost{*this};
    TRace Race{RaceHost};
    bool PilotOn = false;
    bool DemoMode = false;  // the pilot drives until the player presses a key
    bool DemoGame = false;  // this game began as a demo: it never enters the tables
    bool DemoRequested = false;  // start a demo race once the main menu has faded in

    // What the current (or last) game began from: the generator's state before its first track.
    uint64_t GameStartRandomState = 0;
    // The name the current or last game went into the local table under, Windows-1251; none when
    // it did not.
    std::optional<std::string> TableEntryName;
    // A tick given its polled keys and race controls from outside the keyboard and the pilot
    // (a race played again as it was driven): set around MDXTimerTimer.
    struct TGivenTick {
        uint64_t Held = 0;
        TRaceControls Controls;
    };
    std::optional<TGivenTick> GivenTick;
    bool SaveNothing = false;  // the options and the table on disk stay as they are this run
    uint64_t RandomState() const { return FRandom.State(); }
    void SetRandomState(uint64_t state) { FRandom.SetState(state); }
    uint64_t SeedUsed() const { return FSeedUsed; }
    uint64_t HeldKeys() const { return FHeld.to_ullong(); }
    void SetHeldKeys(uint64_t held) { FHeld = TInputStates(held); }
    void SetScoreSender(IScoreSender* scores) { FScores = scores; }

    // Handlers.
    void FormCreate();
    void Show();  // the window appears: the display starts even when start-up stopped early
    void MDXTimerTimer(int lagCount);
    void HandleEvent(const TWindowEvent& event);
    void FormCloseQuery(bool& canClose);
    void FormClose();
    void Shutdown();
    // The end a stop signal asks for: what start-up loaded is saved, nothing is opened.
    void CloseBySignal();
    // Minimising the window during a race: the level banner gives way to the pause dialog.
    void PauseRaceOnMinimize();

    // The screen state machine.
    void OpenDialog(TDialog kind);
    void CloseDialog();
    void ActivateItem();
    void ActivateItemNumber(int n);
    void ActivateMainMenuItem(int item);
    void ShowSystemCursor();
    void HideSystemCursor();
    void StopShipSounds();
    TMenuButton* Button(int slot) const { return static_cast<TMenuButton*>(MenuItems[static_cast<size_t>(slot)]); }
    void KillItem(int slot);

    // Screens: builders, closers and frames.
    void BuildMainMenu(bool intro, int hotItem, bool createButtons);
    void CloseMainMenu();
    void MainMenuFrame();
    void MainMenuIntroStep();
    void ShowShipSelection();
    void CloseShipSelection();
    void ShipSelectionFrame();
    void SwitchShip(bool next);
    void ShowOptions();
    void CloseOptions();
    void OptionsFrame(int lagCount);
    void DrawOptionsTexts();
    void ShowHighScores();
    void CloseHighScores();
    void HighScoreFrame(int lagCount);
    void ShowHelp();
    void CloseHelp();
    void HelpFrame(int lagCount);
    void DialogFrame(int lagCount);
    void LevelResultsFrame();
    void StartRace(int level = 1);
    bool StartRaceFromMenu(int ship, int level);
    void StartDemo();
    void EndRace();
    void LeaveRace();
    void LeaveRaceToHighScores(int hotItem);
    void NameEntryFrame(int lagCount);
    void SendingFrame();
    void RaceFrame(int lagCount);
    TRaceControls KeyControls() const;
    void DrawHud();
    // Saves the options and the table now (after the table changed); a failure is
    // reported and the game goes on.
    void SaveStateNow();

    // Input: hover, hit test and the window's events.
    void HitTestItems(bool keep);
    void UpdateHover(bool findTab);
    void MDXDrawMouseMove(int x, int y);
    void MDXDrawClick();
    void FormKeyDown(int key, uint8_t shift);
    void FormKeyUp(int key, uint8_t shift);
    void FormKeyPress(char key);
    void FormKeyBoss(int key, uint8_t shift, bool down);
    // Where the game is, for the pad's buttons (the input door asks; PadInput.h).
    TPadContext PadContext() const;
    void ToggleBossKeyCapture();
    void BossKeyAction();

    void ApplyDisplayMode();
    void EnterFullScreen();
    void EnterWindowed();

    // Sound effects by index, under the sound option; music by screen, under the music option.
    void PlaySound(int index) { FEffects.PlaySound(index); }
    void StopSound(int index) { FEffects.StopSound(index); }
    void PlayScreenMusic() { FMusic.PlayScreenMusic(CurrentScreen == TScreen::Race); }
    void StopMusic() { FMusic.StopMusic(); }
    const std::string& MusicPlaying() const { return FMusic.CurrentSong(); }

    // Links: a web address or a ".url" file of the game folder, opened in the browser.
    void OpenLink(const std::string& target);
    void OpenPlayLink();
    // After the message loop: the program beside the game that runs when it has ended.
    void RunExitLauncher();

    // Text in the game's 24 font styles on the back surface.
    TGameText& Text() { return FText; }

    int Random(int n) { return FRandom.Random(n); }
    void SeedRandom(uint64_t seed) { FRandom.Seed(seed); }

    // Runs one handler; an error that reaches it is reported and ends the handler there.
    void RunHandler(const std::function<void()>& handler);

    // Closes the books of one frame: the effects started since the previous one.
    void EndFrame() { FSoundsStarted = FEffects.TakeStarted(); }
    const std::vector<int>& SoundsStarted() const { return FSoundsStarted; }

    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated; }
    IPlatform& Platform() { return FPlatform; }

private:
    void UpdateFrameTiming();
    void PollInput();
    void RunFrameOperation(int lagCount);
    void CreateMenuBackground();
    void KillMenuBackground();
    void LoadCollections();
    void LoadSavedState();
    void SaveLoadedState();
    std::filesystem::path SaveFolder() const;
    TSavedState StateToSave() const;

    IPlatform& FPlatform;
    IScoreSender* FScores;
    bool FSubmitting = false;  // the sending dialog's request has started
    TRandom FRandom;
    TWaveListPlayer FWaves;
    TSoundEffects FEffects;
    TMusicDirector FMusic;
    TTextCanvas FCanvas;
    TGameText FText;
    std::vector<int> FSoundsStarted;
    bool FTerminated = false;
    TInputStates FHeld;
    TInputStates FPressed;
    // The saved selection of the open dialog, and the boss key as it was when capture began.
    int FSavedHot = 0, FSavedFirst = 1, FSavedLast = 0;
    TShiftState FSavedBossShift;
    uint16_t FSavedBossCode = 0;
    // Saving writes only what start-up loaded; damaged files are kept aside by the first save.
    bool FSavedStateLoaded = false;
    TDamagedFiles FDamagedSaves;
    bool FExitSaveFailed = false;  // a save on leaving failed: the next try to leave ends the game
    int FCursorCount = 0;  // the system cursor's display count
    bool FSavedFullScreen = false;  // the screen mode option as loaded, kept under FullScreenThisRun
    uint64_t FSeedUsed = 0;
};

// The one main form of the running game (null outside a run).
extern TMForm* MForm;

}  // namespace quillon
