// TApplication: the loop of events, idle ticks and the stop request.
#include "app/Application.h"

#include <csignal>

#include "app/MainForm.h"

namespace quillon {

namespace {
volatile std::sig_atomic_t StopSignalled = 0;
}

void TApplication::RequestStop() { StopSignalled = 1; }
bool TApplication::StopRequested() { return StopSignalled != 0; }

void TApplication::DispatchPendingEvents() {
    TWindowEvent event;
    while (!FForm.Terminated() && FPlatform.PollEvent(event)) FForm.HandleEvent(event);
}

bool TApplication::TickIfDue() {
    bool active = FPlatform.IsActive();
    if (!active && FForm.MDXTimer.ActiveOnly) {
        FWasActive = false;
        return false;
    }
    if (!FWasActive) {
        // Back from a pause: the first lag after it must be small.
        FForm.MDXTimer.Reset(FPlatform.Milliseconds());
        FWasActive = true;
    }
    int lagCount = 0;
    if (!FForm.MDXTimer.Idle(FPlatform.Milliseconds(), lagCount)) return false;
    if (FWatch) FWatch->BeforeTick(lagCount);
    FForm.RunHandler([&] { FForm.MDXTimerTimer(lagCount); });
    if (FWatch) FWatch->AfterTick();
    return true;
}

void TApplication::Run(const std::function<void()>& afterTick) {
    FForm.MDXTimer.Reset(FPlatform.Milliseconds());
    FWasActive = FPlatform.IsActive();
    while (!FForm.Terminated() && !FPlatform.Finished()) {
        if (StopSignalled) {
            StopSignalled = 0;
            FStoppedBySignal = true;
            // The game ends even when saving failed; the error was reported.
            FForm.RunHandler([&] { FForm.CloseBySignal(); });
            FForm.Terminate();
            break;
        }
        DispatchPendingEvents();
        if (FForm.Terminated()) break;
        if (TickIfDue()) {
            FForm.EndFrame();
            if (afterTick) afterTick();
        } else if (!FPlatform.IsActive()) {
            FPlatform.WaitForEvent();
        }
    }
}

}  // namespace quillon
