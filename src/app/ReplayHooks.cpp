// The form's side of the replays: what a race starts from, each tick's inputs and the
// window's events go to the recorder, the finished recording into the Replays folder, and
// the replay of a score sent to the world table after it.
// A replay that cannot be written never disturbs the game: it is reported once.
#include <chrono>
#include <cstdio>
#include <exception>
#include <vector>

#include "app/GameVersion.h"
#include "app/MainForm.h"
#include "engine/ComponentStream.h"
#include "engine/PrintableText.h"
#include "save/DataHash.h"
#include "save/LinkFile.h"
#include "save/ReplayFolder.h"

namespace quillon {

void TMForm::BeginReplay(int level) {
    if (ReplayFolder.empty() || PlaybackFrame) return;
    TReplayHeader header;
    header.GameVersion = kGameVersion;
    header.Ship = static_cast<uint8_t>(SelectedShip);
    header.StartLevel = static_cast<uint8_t>(level);
    header.Seed = FSeedUsed;
    header.GeneratorState = FRandom.State();
    header.Demo = DemoMode;
    header.PilotAtStart = PilotOn;
    header.HeldAtStart = FHeld.to_ullong();
    header.FrameMsAtStart = FrameMs;
    header.SpeedScaleAtStart = SpeedScale;
    header.ShiftHeld = ShiftHeld;
    header.CtrlHeld = CtrlHeld;
    header.MouseX = MouseX;
    header.MouseY = MouseY;
    header.PlayerName = State.PlayerName;
    for (size_t i = 0; i < kReplayTableEntries; ++i)
        header.Table[i] = State.HighScores[i];
    FRecorder.Begin(header);
}

void TMForm::StartPlayback(const TReplayHeader& header) {
    PlaybackOnly = true;
    TableEntryName.reset();
    ReplayFolder.clear();
    State.PlayerName = header.PlayerName;
    for (size_t i = 0; i < kReplayTableEntries; ++i)
        State.HighScores[i] = THighScore{header.Table[i].Name, header.Table[i].Score};
    ShiftHeld = header.ShiftHeld;
    CtrlHeld = header.CtrlHeld;
    MouseX = header.MouseX;
    MouseY = header.MouseY;
    FHeld = TInputStates(header.HeldAtStart);
    FrameMs = header.FrameMsAtStart;
    SpeedScale = header.SpeedScaleAtStart;
    if (ActiveDialog != TDialog::None) CloseDialog();
    MenuIntro = 0;
    CloseMainMenu();
    SelectedShip = header.Ship;
    FRandom.SetState(header.GeneratorState);
    StartRace(header.StartLevel);
    DemoMode = header.Demo;
    MDXSpriteEngine.FreeDead();
}

// The events as they passed the input door (pad buttons as keys); a restored window changes nothing.
void TMForm::RecordEvent(const TWindowEvent& event) {
    if (!FRecorder.Recording() || event.Type == TWindowEvent::TType::Restore) return;
    FRecorder.Event(ToReplayEvent(event));
}

void TMForm::RecordFrame(int lagCount) {
    FRecorder.Frame(lagCount, FrameMs, SpeedScale, FHeld.to_ullong());
}

// The modifiers of a key event: read from the keyboard, or as recorded while a replay plays.
uint8_t TMForm::EventShiftByte() {
    const uint8_t shift = PlaybackShift ? *PlaybackShift : ShiftByte();
    FRecorder.EventShift(shift);
    return shift;
}

// How long the sending notice stays hangs on the network: a replay waits as the recording did
// and sends nothing.
bool TMForm::SendingBusy() {
    if (PlaybackFrame) return PlaybackFrame->SendingBusy;
    const bool busy = FScores && FScores->Busy();
    FRecorder.SendingBusy(busy);
    return busy;
}

void TMForm::FinishReplay(std::optional<TReplayEnd> end) {
    std::optional<TReplay> replay = FRecorder.Finish(Race.State, end);
    if (!replay) return;
    try {
        if (!FDataHash) FDataHash = HashDataFiles(std::filesystem::current_path());
        replay->Header.DataHash = *FDataHash;
        LastReplay = StoreReplay(ReplayFolder, *replay, std::chrono::system_clock::now(), State.HighScores);
    } catch (const std::exception& error) {
        if (FReplayWriteFailed) return;
        FReplayWriteFailed = true;
        std::fprintf(stderr, "quillon: cannot keep the replay in %s: %s\n",
                     PrintableText(ReplayFolder.string()).c_str(), PrintableText(error.what()).c_str());
    }
}

// The table plays the replay again and marks the score verified when it comes out the same.
// A replay too large for the table, or one that cannot be read back, is not sent; what the
// server answers is not looked at.
void TMForm::SendReplayOf(const TScoreEntry& entry, const std::filesystem::path& written) {
    const std::optional<std::string> server = ScoreServerAddress();
    if (!FScores || !server || PlaybackFrame || written.empty()) return;
    std::error_code error;
    const auto size = std::filesystem::file_size(written, error);
    if (error || size == 0 || size > kReplayUploadLimit) return;
    std::vector<uint8_t> bytes;
    try {
        bytes = ReadWholeFile(written.string());
    } catch (const EEngineError&) {
        return;
    }
    if (bytes.size() != size) return;
    FScores->Post(ReplayUploadUrl(*server, entry), std::string(bytes.begin(), bytes.end()));
}

}  // namespace quillon
