// TReplayRecorder: a race as it is played, written down from StartRace to EndRace: the
// start (ship, level, generator, the table), every frame's timing, held keys and controls,
// the window's events between frames, a race checksum every second of race time.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "engine/Platform.h"
#include "race/RaceHost.h"
#include "race/RaceState.h"
#include "save/ReplayFile.h"

namespace quillon {

uint8_t PackControls(const TRaceControls& controls);
TRaceControls UnpackControls(uint8_t bits);
// A window event as a replay keeps it, its shift state with it, and back.
TReplayEvent ToReplayEvent(const TWindowEvent& event);
TWindowEvent ToWindowEvent(const TReplayEvent& recorded);

class TReplayRecorder {
public:
    bool Recording() const { return FRecording; }

    void Begin(const TReplayHeader& header);
    // The tick's inputs, once its keys are polled.
    void Frame(int lag, int frameMs, double speedScale, uint64_t held);
    // The race frame ran with these controls, the pilot's or not: the race is racing.
    void Controls(const TRaceControls& controls, bool pilot);
    // The sending notice asked whether the world table's request was still under way.
    void SendingBusy(bool busy);
    // After the tick: a checksum once a second of race time.
    void EndFrame(const std::function<uint64_t()>& checksum);
    void Event(const TReplayEvent& event);
    void DialogOpened(TDialog kind);
    void EnteredTable(const std::string& name);
    // The recording ends; a race that never got past its first level banner gives nothing.
    // `end` names the way out when the run itself ends; else the last end dialog decides.
    std::optional<TReplay> Finish(const TRaceState& race, std::optional<TReplayEnd> end = std::nullopt);

private:
    void Drop();

    bool FRecording = false;
    bool FRacing = false;
    bool FInFrame = false;
    int FMsSinceCheck = 0;
    TReplayEnd FEndDialog = TReplayEnd::Left;
    TReplay FReplay;
};

}  // namespace quillon
