// THeadlessPlatform: the game with no window and no sound device. A virtual clock
// advances exactly 1000 / F ms per frame, window events come from a script, and the
// presented frame is kept for screenshots.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/Platform.h"
#include "engine/Surface.h"
#include "platform/HeadlessScript.h"
#include "platform/PadTracker.h"

namespace quillon {

class THeadlessPlatform : public IPlatform {
public:
    THeadlessPlatform(int frames, int fps, THeadlessScript script);

    // IDisplayPort
    bool OpenDisplay(bool) override { return true; }  // nothing to open
    void CloseDisplay() override {}
    void Present(const TDirectDrawSurface& frame) override;
    int RefreshRate() override { return FFps; }

    // IPlatform
    uint32_t Milliseconds() override;
    bool PollEvent(TWindowEvent& event) override;
    // False between the script's "minimize" and "restore".
    bool IsActive() override { return !FMinimized; }
    void WaitForEvent() override;
    bool Finished() override { return FFrame >= FFrames || FQuit; }
    void GetKeyboardState(uint8_t states[256]) override;
    void ShowError(const std::string& text) override;
    void OpenTarget(const std::string& target) override { FOpened.push_back(target); }
    void MinimizeWindow() override {}
    void RaisePriority() override {}

    // The commands that speak to the game itself (race, pilot) run through this, in
    // their place among the frame's events.
    void SetGameCommands(std::function<void(const THeadlessCommand&)> run) { FGameCommands = std::move(run); }

    // After each tick: screenshots, state and track dumps of this frame, then the clock
    // moves on. Returns false when an output file could not be written. The dump functions
    // are kept for the frames that pass while minimised.
    bool EndFrame(const std::function<std::string(int frame)>& stateDump,
                  const std::function<std::string()>& trackDump = {});

    // Runs at the end of every frame, ticked or not: the driver pulls the frame's sound here.
    void SetFrameSound(std::function<void(int frame)> frameSound) { FFrameSound = std::move(frameSound); }

    int Frame() const { return FFrame; }
    // False once any output file of the run could not be written.
    bool OutputsWritten() const { return FOutputsWritten; }
    const TDirectDrawSurface& LastFrame() const { return FLastFrame; }
    // What the game would have opened, in order: the headless run opens nothing.
    const std::vector<std::string>& Opened() const { return FOpened; }

private:
    void QueueFrameEvents();
    void QueueKey(TWindowEvent::TType type, int key);
    bool FinishFrame();

    int FFrames;
    int FFps;
    THeadlessScript FScript;
    int FFrame = 0;
    int FQueuedFrame = -1;
    bool FQuit = false;
    bool FMinimized = false;
    bool FOutputsWritten = true;
    std::function<std::string(int frame)> FStateDump;
    std::function<std::string()> FTrackDump;
    std::function<void(int frame)> FFrameSound;
    // A queued game command has no window event: it runs when its turn comes.
    struct TQueued {
        TWindowEvent Event;
        const THeadlessCommand* GameCommand = nullptr;
    };
    std::deque<TQueued> FEvents;
    std::function<void(const THeadlessCommand&)> FGameCommands;
    std::vector<int> FTapsToRelease;
    TPadTracker FPads;
    uint8_t FKeys[256] = {};
    TDirectDrawSurface FLastFrame;
    std::vector<std::string> FOpened;
};

// The back surface as 8-bit RGB, widened by bit replication.
std::vector<uint8_t> SurfaceToRGB(const TDirectDrawSurface& surface);

}  // namespace quillon
