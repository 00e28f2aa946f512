// TReplayPlayer: recorded frames and events fed to the form, checksums compared.
#include "app/ReplayPlayer.h"

#include "app/JsonWriter.h"
#include "app/MainForm.h"
#include "app/ReplayChecksum.h"
#include "app/ReplayRecorder.h"
#include "engine/Cp1251.h"

namespace quillon {

std::string ReplayOutcomeJson(const TReplayOutcome& outcome) {
    TJsonWriter json;
    json.BeginObject();
    json.Field("result", std::string(outcome.Reproduced ? "reproduced" : "diverged"));
    json.Field("frames", static_cast<int>(outcome.Frames));
    json.Field("level", outcome.Level);
    json.Field("score", outcome.Score);
    json.Field("lives", outcome.Lives);
    if (outcome.DivergedAt)
        json.Field("divergedAt", static_cast<int>(*outcome.DivergedAt));
    else
        json.Null("divergedAt");
    if (outcome.TableName)
        json.Field("tableName", Cp1251ToUtf8(*outcome.TableName));
    else
        json.Null("tableName");
    json.EndObject();
    return json.Text();
}

void TReplayPlayer::Start() {
    const TReplayHeader& header = FReplay.Header;
    TMForm& form = FForm;
    form.SaveNothing = true;
    form.SetScoreSender(&FAnswers);
    form.State.PlayerName = header.PlayerName;
    for (size_t i = 0; i < kReplayTableEntries; ++i)
        form.State.HighScores[i] = THighScore{header.Table[i].Name, header.Table[i].Score};
    form.ShiftHeld = header.ShiftHeld;
    form.CtrlHeld = header.CtrlHeld;
    form.MouseX = header.MouseX;
    form.MouseY = header.MouseY;
    form.SetHeldKeys(header.HeldAtStart);
    form.FrameMs = header.FrameMsAtStart;
    form.SpeedScale = header.SpeedScaleAtStart;
    if (form.ActiveDialog != TDialog::None) form.CloseDialog();
    form.MenuIntro = 0;
    form.CloseMainMenu();
    form.SelectedShip = header.Ship;
    form.SetRandomState(header.GeneratorState);
    form.StartRace(header.StartLevel);
    form.DemoMode = header.Demo;
    form.MDXSpriteEngine.FreeDead();
}

bool TReplayPlayer::RaceOver() const { return FForm.CurrentScreen != TScreen::Race || !FForm.Race.Running(); }

bool TReplayPlayer::Done() const { return FEndedEarly || FNext >= FReplay.Frames.size(); }

int TReplayPlayer::NextLag() const { return FNext < FReplay.Frames.size() ? FReplay.Frames[FNext].Lag : 0; }

void TReplayPlayer::Diverged(uint32_t frame, const std::string& why) {
    if (FOutcome.DivergedAt) return;
    FOutcome.DivergedAt = frame;
    FOutcome.Why = why;
}

void TReplayPlayer::RunEventsBefore(uint32_t frame) {
    while (FNextEvent < FReplay.Events.size() && FReplay.Events[FNextEvent].BeforeFrame <= frame) {
        FForm.HandleEvent(ToWindowEvent(FReplay.Events[FNextEvent++]));
    }
}

void TReplayPlayer::Step() {
    if (Done()) return;
    const uint32_t index = FNext++;
    RunEventsBefore(index);
    if (RaceOver()) {
        FEndedEarly = true;
        Diverged(index, "the race ended before the recording did");
        return;
    }
    const TReplayFrame& frame = FReplay.Frames[index];
    FForm.FrameMs = frame.FrameMs;
    FForm.SpeedScale = frame.SpeedScale;
    FForm.GivenTick = TMForm::TGivenTick{frame.Held, UnpackControls(frame.Controls)};
    FAnswers.Waiting = frame.SendingBusy;
    FForm.RunHandler([&] { FForm.MDXTimerTimer(frame.Lag); });
    FForm.GivenTick.reset();
    FAnswers.Waiting = false;
    FForm.EndFrame();
    const bool lastFrame = FNext == FReplay.Frames.size();
    if (RaceOver() && !lastFrame) {
        FEndedEarly = true;
        Diverged(index, "the race ended before the recording did");
        return;
    }
    if (frame.Checksum && !RaceOver() && RaceChecksum(FForm) != *frame.Checksum)
        Diverged(index, "the race's checksum differs from the recording's");
}

TReplayOutcome TReplayPlayer::Finish() {
    if (!FEndedEarly) RunEventsBefore(static_cast<uint32_t>(FReplay.Frames.size()));
    const TRaceState& race = FForm.Race.State;
    FOutcome.Frames = FNext;
    FOutcome.Level = race.Level;
    FOutcome.Score = race.Score;
    FOutcome.Lives = race.Lives;
    const TReplaySummary& summary = FReplay.Summary;
    const uint32_t last = FNext == 0 ? 0 : FNext - 1;
    const bool runEnded = summary.End == TReplayEnd::Closed || summary.End == TReplayEnd::Signal;
    if (!FEndedEarly && RaceOver() == runEnded)
        Diverged(last, runEnded ? "the race ended, the recording's went on" : "the race went on, the recording's ended");
    if (race.Level != summary.Level || race.Score != summary.Score || race.Lives != summary.Lives)
        Diverged(last, "the race ended with another level, score or lives");
    FOutcome.TableName = FForm.TableEntryName;
    if (FOutcome.TableName.has_value() != summary.EnteredTable ||
        (summary.EnteredTable && *FOutcome.TableName != summary.TableName))
        Diverged(last, "the race went into the table under another name than the recording's");
    FOutcome.Reproduced = !FOutcome.DivergedAt;
    return FOutcome;
}

}  // namespace quillon
