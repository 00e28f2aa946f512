// TMForm: the main form. Owns the engine components and all program-wide game
// state; its handlers are the game's start-up, frame tick, window events and shutdown.
#pragma once

#include <cstdint>
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
#include "menus/Text.h"
#include "save/SavedState.h"

namespace quillon {

// What the platform lends the form besides itself: the sound output (none when
// headless: the driver pulls the mix), the module player and the font rasteriser.
struct TFormServices {
    IAudioOutput* Audio = nullptr;
    IMusicPlayer* Music = nullptr;
    IFontRasterizer* Fonts = nullptr;
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
    uint8_t CurrentScreen = 0;
    uint8_t ActiveDialog = 0;
    int HotItem = 0;
    int FirstItem = 1;
    int LastItem = 0;

    // Options, boss key, high scores and the player's name.
    TSavedState State;
    std::optional<uint64_t> StartSeed;  // fixed seed of a reproducible run, else the clock

    // Handlers.
    void FormCreate();
    void Show();  // the window appears: the display starts even when start-up stopped early
    void MDXTimerTimer(int lagCount);
    void HandleEvent(const TWindowEvent& event);
    void FormCloseQuery(bool& canClose);
    void FormClose();
    void Shutdown();

    void ApplyDisplayMode();
    void EnterFullScreen();
    void EnterWindowed();

    // Sound effects by index, under the sound option; music by screen, under the music option.
    void PlaySound(int index) { FEffects.PlaySound(index); }
    void StopSound(int index) { FEffects.StopSound(index); }
    void PlayScreenMusic() { FMusic.PlayScreenMusic(CurrentScreen == 6); }
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
    void LoadSavedState();

    IPlatform& FPlatform;
    TRandom FRandom;
    TWaveListPlayer FWaves;
    TSoundEffects FEffects;
    TMusicDirector FMusic;
    TTextCanvas FCanvas;
    TGameText FText;
    std::vector<int> FSoundsStarted;
    bool FTerminated = false;
};

// The one main form of the running game (null outside a run).
extern TMForm* MForm;

}  // namespace quillon
