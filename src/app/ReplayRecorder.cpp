// TReplayRecorder: the frames and events of one race, and its summary at the end.
#include "app/ReplayRecorder.h"

namespace quillon {

namespace {
constexpr int CheckEveryMs = 1000;
}

uint8_t PackControls(const TRaceControls& c) {
    return static_cast<uint8_t>(c.Left | c.Right << 1 | c.Accelerate << 2 | c.SlowDown << 3 | c.Brake << 4 |
                                c.Fire << 5 | c.Nitro << 6 | c.Horn << 7);
}

TRaceControls UnpackControls(uint8_t bits) {
    TRaceControls c;
    c.Left = bits & 1;
    c.Right = bits & 2;
    c.Accelerate = bits & 4;
    c.SlowDown = bits & 8;
    c.Brake = bits & 16;
    c.Fire = bits & 32;
    c.Nitro = bits & 64;
    c.Horn = bits & 128;
    return c;
}

TReplayEvent ToReplayEvent(const TWindowEvent& event) {
    TReplayEvent recorded;
    recorded.Type = static_cast<uint8_t>(event.Type);
    recorded.Key = event.Key;
    recorded.Alt = event.Alt;
    recorded.Shift = event.Shift;
    recorded.X = event.X;
    recorded.Y = event.Y;
    recorded.Button = event.Button;
    recorded.Text = event.Text;
    return recorded;
}

TWindowEvent ToWindowEvent(const TReplayEvent& recorded) {
    TWindowEvent event;
    event.Type = static_cast<TWindowEvent::TType>(recorded.Type);
    event.Key = recorded.Key;
    event.Alt = recorded.Alt;
    event.Shift = recorded.Shift;
    event.X = recorded.X;
    event.Y = recorded.Y;
    event.Button = recorded.Button;
    event.Text = recorded.Text;
    return event;
}

void TReplayRecorder::Begin(const TReplayHeader& header) {
    FReplay = TReplay{};
    FReplay.Header = header;
    FRecording = true;
    FRacing = false;
    FInFrame = false;
    FMsSinceCheck = 0;
    FEndDialog = TReplayEnd::Left;
}

void TReplayRecorder::Frame(int lag, int frameMs, double speedScale, uint64_t held) {
    if (!FRecording) return;
    // A race longer than a replay holds (a game left paused for hours) is not kept.
    if (FReplay.Frames.size() >= kMaxReplayFrames) {
        Drop();
        return;
    }
    TReplayFrame frame;
    frame.Lag = lag;
    frame.FrameMs = frameMs;
    frame.SpeedScale = speedScale;
    frame.Held = held;
    FReplay.Frames.push_back(frame);
    FInFrame = true;
}

void TReplayRecorder::Controls(const TRaceControls& controls, bool pilot) {
    if (!FRecording || !FInFrame) return;
    FReplay.Frames.back().Controls = PackControls(controls);
    FReplay.Header.PilotDrove = FReplay.Header.PilotDrove || pilot;
    FRacing = true;
}

void TReplayRecorder::SendingBusy(bool busy) {
    if (FRecording && FInFrame) FReplay.Frames.back().SendingBusy = busy;
}

void TReplayRecorder::EndFrame(const std::function<uint64_t()>& checksum) {
    if (!FRecording || !FInFrame) return;
    FInFrame = false;
    TReplayFrame& frame = FReplay.Frames.back();
    FMsSinceCheck += frame.FrameMs;
    if (FMsSinceCheck < CheckEveryMs) return;
    FMsSinceCheck %= CheckEveryMs;
    frame.Checksum = checksum();
}

// Of the pointer's moves between two frames only the last counts: each move recomputes the
// selection from scratch.
void TReplayRecorder::Event(const TReplayEvent& event) {
    if (!FRecording) return;
    const uint32_t beforeFrame = static_cast<uint32_t>(FReplay.Frames.size());
    constexpr uint8_t MouseMove = 3;
    if (event.Type == MouseMove && !FReplay.Events.empty() && FReplay.Events.back().Type == MouseMove &&
        FReplay.Events.back().BeforeFrame == beforeFrame)
        FReplay.Events.pop_back();
    if (FReplay.Events.size() >= kMaxReplayEvents) {
        Drop();
        return;
    }
    FReplay.Events.push_back(event);
    FReplay.Events.back().BeforeFrame = beforeFrame;
}

void TReplayRecorder::Drop() {
    FRecording = false;
    FReplay = TReplay{};
}

void TReplayRecorder::DialogOpened(TDialog kind) {
    if (kind == TDialog::ExitToMenu) FEndDialog = TReplayEnd::Left;
    if (kind == TDialog::GameOver) FEndDialog = TReplayEnd::GameOver;
    if (kind == TDialog::Congratulations) FEndDialog = TReplayEnd::Congratulated;
}

void TReplayRecorder::EnteredTable(const std::string& name) {
    if (!FRecording) return;
    FReplay.Summary.EnteredTable = true;
    FReplay.Summary.TableName = name;
}

std::optional<TReplay> TReplayRecorder::Finish(const TRaceState& race, std::optional<TReplayEnd> end) {
    if (!FRecording) return std::nullopt;
    FRecording = false;
    if (!FRacing) return std::nullopt;
    TReplaySummary& summary = FReplay.Summary;
    summary.Frames = static_cast<uint32_t>(FReplay.Frames.size());
    summary.Level = race.Level;
    summary.Score = race.Score;
    summary.Lives = race.Lives;
    summary.Place = race.Place;
    summary.End = end.value_or(FEndDialog);
    return std::move(FReplay);
}

}  // namespace quillon
