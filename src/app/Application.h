// TApplication: the message loop. Hands window events to the form between frames
// and runs the frame timer whenever the queue is empty and the game is active.
#pragma once

#include <functional>

#include "engine/Platform.h"

namespace quillon {

class TMForm;

// What watches the loop beside the input door (the replay recorder): each frame tick with the
// milliseconds it stands for, before it runs, and its end.
class ITickWatch {
public:
    virtual ~ITickWatch() = default;
    virtual void BeforeTick(int lagCount) = 0;
    virtual void AfterTick() = 0;
};

class TApplication {
public:
    TApplication(IPlatform& platform, TMForm& form, ITickWatch* watch = nullptr)
        : FPlatform(platform), FForm(form), FWatch(watch) {}

    // Runs until the game ends itself, the platform finishes or a signal asks to stop.
    // afterTick runs after every frame tick (the headless driver's screenshots and dumps).
    void Run(const std::function<void()>& afterTick = {});

    // Set from a signal handler: the loop ends with the form's save, without the links.
    static void RequestStop();
    // A stop signal has come and no loop has taken it yet (the replay's own loop asks).
    static bool StopRequested();
    // The run ended on a stop signal: the exit launcher does not run.
    bool StoppedBySignal() const { return FStoppedBySignal; }

private:
    void DispatchPendingEvents();
    bool TickIfDue();

    IPlatform& FPlatform;
    TMForm& FForm;
    ITickWatch* FWatch;
    bool FWasActive = false;
    bool FStoppedBySignal = false;
};

}  // namespace quillon
