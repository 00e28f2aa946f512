// TReplayPlayer: a recorded race played again on a fresh form: the race is set up as it
// started, each recorded frame's events and tick run in their order with the recorded
// timing, keys and controls, and the race checksums are compared as they come.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "save/ReplayFile.h"
#include "save/ScoreSender.h"

namespace quillon {

class TMForm;

struct TReplayOutcome {
    bool Reproduced = false;
    uint32_t Frames = 0;  // frames played
    int Level = 0;
    int Score = 0;
    int Lives = 0;
    std::optional<uint32_t> DivergedAt;  // the first frame whose race differs from the recording's
    std::string Why;                     // how it differs, for standard error
    std::optional<std::string> TableName;  // the name the race went into the local table under, Windows-1251
};

// The one line of JSON the headless replay prints.
std::string ReplayOutcomeJson(const TReplayOutcome& outcome);

class TReplayPlayer {
public:
    TReplayPlayer(TMForm& form, const TReplay& replay) : FForm(form), FReplay(replay) {}

    // After FormCreate: nothing saved from now on, the table and the name as they were, the
    // world table answered as it was, and the race started as it was.
    void Start();
    // True once every frame has played, or the race ended before its time.
    bool Done() const;
    // One recorded frame: the events before it, then its tick.
    void Step();
    // The events after the last frame, then the comparison of the end.
    TReplayOutcome Finish();
    uint32_t Frame() const { return FNext; }
    // The milliseconds the next frame took when it was recorded.
    int NextLag() const;

private:
    // The world table as the recording heard it: busy while the frame played waited on it;
    // nothing is sent.
    class TRecordedAnswers : public IScoreSender {
    public:
        void Send(const std::string&) override {}
        void Post(const std::string&, std::string) override {}
        bool Busy() override { return Waiting; }
        bool Waiting = false;
    };

    void RunEventsBefore(uint32_t frame);
    void Diverged(uint32_t frame, const std::string& why);
    bool RaceOver() const;

    TMForm& FForm;
    const TReplay& FReplay;
    uint32_t FNext = 0;
    size_t FNextEvent = 0;
    bool FEndedEarly = false;
    TReplayOutcome FOutcome;
    TRecordedAnswers FAnswers;
};

}  // namespace quillon
