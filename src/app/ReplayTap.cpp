// TReplayTap: the door's events, the loop's ticks and the world table's answers into the
// recorder, and the form's game read from outside between them.
#include "app/ReplayTap.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <vector>

#include "app/GameVersion.h"
#include "app/MainForm.h"
#include "app/ReplayChecksum.h"
#include "engine/ComponentStream.h"
#include "engine/PrintableText.h"
#include "save/DataHash.h"
#include "save/LinkFile.h"
#include "save/ReplayFolder.h"

namespace quillon {

void TReplayTap::Watch(TMForm& form) {
    FForm = &form;
    FGames = form.Race.Games();
    FDialog = form.ActiveDialog;
}

void TReplayTap::Look() { LookAt(false); }

// A game ends when the race stops running or another begins; a game begun is recorded from
// here, as it started.
void TReplayTap::LookAt(bool afterTick) {
    if (!FForm) return;
    const TMForm& form = *FForm;
    if (form.ActiveDialog != FDialog) {
        FDialog = form.ActiveDialog;
        FRecorder.DialogOpened(FDialog);
    }
    const bool begun = form.Race.Games() != FGames;
    bool kept = false;
    if (FRecorder.Recording() && (begun || !form.Race.Running()))
        kept = Keep(std::nullopt);
    else if (afterTick)
        FRecorder.EndFrame([&] { return RaceChecksum(form); });
    // The score's request is over and the game it came from has been left: its replay follows it.
    if (kept && FSentScore) SendReplayOf(*FSentScore);
    if (kept || begun) FSentScore.reset();
    if (!begun) return;
    FGames = form.Race.Games();
    Begin(afterTick);
}

void TReplayTap::Begin(bool inTick) {
    if (FFolder.empty()) return;
    const TMForm& form = *FForm;
    TReplayHeader header;
    header.GameVersion = kGameVersion;
    header.Ship = static_cast<uint8_t>(form.Race.SelectedShip);
    header.StartLevel = static_cast<uint8_t>(form.Race.FirstLevel());
    header.Seed = form.SeedUsed();
    header.GeneratorState = form.GameStartRandomState;
    header.Demo = form.DemoMode;
    header.PilotAtStart = form.PilotOn;
    header.HeldAtStart = form.HeldKeys();
    // A game begun inside a tick began with the timing the tick began with.
    header.FrameMsAtStart = inTick ? FTickFrameMs : form.FrameMs;
    header.SpeedScaleAtStart = inTick ? FTickSpeedScale : form.SpeedScale;
    header.ShiftHeld = form.ShiftHeld;
    header.CtrlHeld = form.CtrlHeld;
    header.MouseX = form.MouseX;
    header.MouseY = form.MouseY;
    header.PlayerName = form.State.PlayerName;
    for (size_t i = 0; i < kReplayTableEntries; ++i)
        header.Table[i] = form.State.HighScores[i];
    FRecorder.Begin(header);
}

// The events as they passed the input door (pad buttons as keys); a restored window changes nothing.
void TReplayTap::Passed(const TWindowEvent& event) {
    Look();
    if (!FRecorder.Recording() || event.Type == TWindowEvent::TType::Restore) return;
    FRecorder.Event(ToReplayEvent(event));
}

// A tick that cannot draw does nothing, and is no frame of the recording.
void TReplayTap::BeforeTick(int lagCount) {
    Look();
    FTicking = FForm && FForm->MDXDraw.CanDraw();
    if (!FTicking) return;
    FLag = lagCount;
    FTickFrameMs = FForm->FrameMs;
    FTickSpeedScale = FForm->SpeedScale;
    FRaceFrames = FForm->Race.Frames();
    FBusy.reset();
}

// The tick's frame: the keys it polled, the world table's answer it waited on, the controls
// its race frame ran with, and once a second the race's checksum.
void TReplayTap::AfterTick() {
    if (!FForm) return;
    const TMForm& form = *FForm;
    const bool ticked = FTicking;
    FTicking = false;
    if (ticked) {
        FRecorder.Frame(FLag, FTickFrameMs, FTickSpeedScale, form.HeldKeys());
        if (FBusy) FRecorder.SendingBusy(*FBusy);
        if (form.Race.Frames() != FRaceFrames) FRecorder.Controls(form.Race.LastControls(), form.PilotOn);
    }
    LookAt(ticked);
}

void TReplayTap::Finish(TReplayEnd end) {
    Look();
    Keep(end);
}

void TReplayTap::Send(const std::string& url) {
    FScores->Send(url);
    if (FForm)
        FSentScore = TScoreEntry{FForm->State.PlayerName, FForm->Race.State.Score, FForm->State.GameOptions.Country};
}

// How long the sending notice stays hangs on the network: a replay waits as the recording did.
bool TReplayTap::Busy() {
    const bool busy = FScores->Busy();
    if (FTicking) FBusy = busy;
    return busy;
}

// The race's table entry, then the recording into the folder; true when a file was written.
bool TReplayTap::Keep(std::optional<TReplayEnd> end) {
    if (!FForm) return false;
    if (FRecorder.Recording() && FForm->TableEntryName) FRecorder.EnteredTable(*FForm->TableEntryName);
    std::optional<TReplay> replay = FRecorder.Finish(FForm->Race.State, end);
    if (!replay) return false;
    try {
        if (!FDataHash) FDataHash = HashDataFiles(std::filesystem::current_path());
        replay->Header.DataHash = *FDataHash;
        FLastReplay = StoreReplay(FFolder, *replay, std::chrono::system_clock::now(), FForm->State.HighScores);
        return true;
    } catch (const std::exception& error) {
        if (FWriteFailed) return false;
        FWriteFailed = true;
        std::fprintf(stderr, "quillon: cannot keep the replay in %s: %s\n",
                     PrintableText(FFolder.string()).c_str(), PrintableText(error.what()).c_str());
        return false;
    }
}

// The table plays the replay again and marks the score verified when it comes out the same.
// A replay too large for the table, or one that cannot be read back, is not sent; what the
// server answers is not looked at.
void TReplayTap::SendReplayOf(const TScoreEntry& entry) {
    const std::optional<std::string> server = ScoreServerAddress();
    if (!FScores || !server || FLastReplay.empty()) return;
    std::error_code error;
    const auto size = std::filesystem::file_size(FLastReplay, error);
    if (error || size == 0 || size > kReplayUploadLimit) return;
    std::vector<uint8_t> bytes;
    try {
        bytes = ReadWholeFile(FLastReplay.string());
    } catch (const EEngineError&) {
        return;
    }
    if (bytes.size() != size) return;
    FScores->Post(ReplayUploadUrl(*server, entry), std::string(bytes.begin(), bytes.end()));
}

}  // namespace quillon
