// TMForm: the main form. Owns the engine components and all program-wide game
// state; its handlers are the game's start-up, frame tick, window events and shutdown.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/DXDraw.h"
#include "engine/DXInput.h"
#include "engine/DXTimer.h"
#include "engine/Platform.h"
#include "engine/Random.h"
#include "engine/SpriteEngine.h"

namespace quillon {

class TMForm {
public:
    explicit TMForm(IPlatform& platform);
    ~TMForm();
    TMForm(const TMForm&) = delete;
    TMForm& operator=(const TMForm&) = delete;

    // Components, created with the form.
    TDXDraw MDXDraw;
    TDXSpriteEngine MDXSpriteEngine;
    TDXTimer MDXTimer;
    TDXInput MDXInput;

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

    bool FullScreen = false;  // the screen-mode option
    std::optional<uint64_t> StartSeed;  // fixed seed of a reproducible run, else the clock

    // Handlers.
    void FormCreate();
    void MDXTimerTimer(int lagCount);
    void HandleEvent(const TWindowEvent& event);
    void FormCloseQuery(bool& canClose);
    void FormClose();
    void Shutdown();

    void ApplyDisplayMode();
    void EnterFullScreen();
    void EnterWindowed();

    int Random(int n) { return FRandom.Random(n); }
    void SeedRandom(uint64_t seed) { FRandom.Seed(seed); }

    // Runs one handler; an error that reaches it is reported and ends the handler there.
    void RunHandler(const std::function<void()>& handler);

    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated; }
    IPlatform& Platform() { return FPlatform; }

private:
    void UpdateFrameTiming();
    void PollInput();

    IPlatform& FPlatform;
    TRandom FRandom;
    bool FTerminated = false;
};

// The one main form of the running game (null outside a run).
extern TMForm* MForm;

}  // namespace quillon
