// TApplication: the message loop. Hands window events to the form between frames
// and runs the frame timer whenever the queue is empty and the game is active.
#pragma once

#include <functional>

#include "engine/Platform.h"

namespace quillon {

class TMForm;

class TApplication {
public:
    TApplication(IPlatform& platform, TMForm& form) : FPlatform(platform), FForm(form) {}

    // Runs until the game ends itself, the platform finishes or a signal asks to stop.
    // afterTick runs after every frame tick (the headless driver's screenshots and dumps).
    void Run(const std::function<void()>& afterTick = {});

    // Set from a signal handler: the loop ends through the form's orderly shutdown.
    static void RequestStop();

private:
    void DispatchPendingEvents();
    bool TickIfDue();

    IPlatform& FPlatform;
    TMForm& FForm;
    bool FWasActive = false;
};

}  // namespace quillon
