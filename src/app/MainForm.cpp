// TMForm: start-up, the frame tick in its fixed order, display modes and shutdown.
#include "app/MainForm.h"

#include <ctime>
#include <exception>

#include "engine/FrameTiming.h"

namespace quillon {

TMForm* MForm = nullptr;

TMForm::TMForm(IPlatform& platform) : FPlatform(platform) {
    MDXDraw.SetPort(&platform);
    MDXSpriteEngine.SetDXDraw(&MDXDraw);
    MForm = this;
}

TMForm::~TMForm() {
    MDXSpriteEngine.SetDXDraw(nullptr);
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
    SeedRandom(StartSeed ? *StartSeed : static_cast<uint64_t>(std::time(nullptr)) ^ FPlatform.Milliseconds());
    ApplyDisplayMode();
}

void TMForm::ApplyDisplayMode() {
    MDXDraw.SetBitCount(16);
    if (FullScreen)
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
    (void)lagCount;
    if (!MDXDraw.CanDraw()) return;
    MDXDraw.Fill(0);
    // Sprites are drawn before the frame's logic runs, so what the logic moves
    // shows in the next frame and text drawn by it lies over every sprite.
    MDXSpriteEngine.Draw();
    PollInput();
    MDXSpriteEngine.FreeDead();
    UpdateFrameTiming();
    MDXDraw.ReleaseCanvas();
    MDXDraw.Flip();
}

void TMForm::PollInput() {
    uint8_t keys[256];
    FPlatform.GetKeyboardState(keys);
    MDXInput.UpdateInput(keys, FPlatform.IsActive());
}

void TMForm::UpdateFrameTiming() {
    TFrameTiming timing = ComputeFrameTiming(MDXTimer.FrameRate(), RefreshRate);
    FrameRate = timing.FrameRate;
    SpeedScale = timing.SpeedScale;
    FrameMs = timing.FrameMs;
}

void TMForm::HandleEvent(const TWindowEvent& event) {
    RunHandler([&] {
        switch (event.Type) {
            case TWindowEvent::TType::CloseRequest: {
                bool canClose = true;
                FormCloseQuery(canClose);
                break;
            }
            case TWindowEvent::TType::Restore:
                MDXDraw.Initialize();
                break;
            default:
                break;
        }
    });
}

// The window never closes directly; the exit dialogs decide.
void TMForm::FormCloseQuery(bool& canClose) { canClose = false; }

void TMForm::FormClose() { Shutdown(); }

void TMForm::Shutdown() {
    MDXSpriteEngine.FreeDead();
    Terminate();
}

}  // namespace quillon
