// TReplayTap: the replay recorder where the input enters the game. It copies what passes the
// input door (each event as the game gets it, with its shift state), what the loop ticks (each
// frame's milliseconds, and the keys the tick polled) and what the world table answers (the
// form's score sender goes through it), and at each of those crossings it reads the form from
// outside: a game begun, the controls of a race frame, the dialogs that end a game, the table
// entry, the race checksum once a second. The form never learns that it is recorded.
// A finished race goes into the Replays folder, and after a score sent to the world table
// its replay follows the score as its proof. A replay that cannot be written never disturbs
// the game: it is reported once.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "app/Application.h"
#include "app/InputDoor.h"
#include "app/ReplayRecorder.h"
#include "save/ScoreCodec.h"
#include "save/ScoreSender.h"

namespace quillon {

class TMForm;

class TReplayTap : public IDoorWatch, public ITickWatch, public IScoreSender {
public:
    // Races go into `folder`; `scores` is the world table's sender (none: scores are not sent).
    TReplayTap(std::filesystem::path folder, IScoreSender* scores) : FFolder(std::move(folder)), FScores(scores) {}

    // The sender the form is given: the tap in front of the real one, none without one.
    IScoreSender* Scores() { return FScores ? this : nullptr; }
    // The form recorded, once created.
    void Watch(TMForm& form);
    // Something beside the door moved the game (the headless driver's commands): look again.
    void Look();
    // The run ends: a race still recorded is kept with this ending.
    void Finish(TReplayEnd end);
    const std::filesystem::path& LastReplay() const { return FLastReplay; }  // written last this run

    void Passed(const TWindowEvent& event) override;
    void BeforeTick(int lagCount) override;
    void AfterTick() override;
    void Send(const std::string& url) override;
    void Post(const std::string& url, std::string body) override { FScores->Post(url, std::move(body)); }
    bool Busy() override;

private:
    // A game begun or ended, a dialog opened since the last look; `afterTick`: at a tick's end.
    void LookAt(bool afterTick);
    void Begin(bool inTick);
    bool Keep(std::optional<TReplayEnd> end);
    void SendReplayOf(const TScoreEntry& entry);

    std::filesystem::path FFolder;
    IScoreSender* FScores;
    TMForm* FForm = nullptr;
    TReplayRecorder FRecorder;
    int FGames = 0;                   // the form's games seen
    TDialog FDialog = TDialog::None;  // the form's dialog seen
    // The tick under way: it draws (a frame of the recording), its lag, the timing it began
    // with, the race frames before it and the world table's last answer in it.
    bool FTicking = false;
    int FLag = 0;
    int FTickFrameMs = 0;
    double FTickSpeedScale = 1.0;
    uint64_t FRaceFrames = 0;
    std::optional<bool> FBusy;
    std::optional<TScoreEntry> FSentScore;  // the score sent to the world table during the race
    std::filesystem::path FLastReplay;
    std::optional<uint64_t> FDataHash;  // of the data files, taken once when the first race is kept
    bool FWriteFailed = false;          // reported once a run
};

}  // namespace quillon
