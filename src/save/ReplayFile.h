// A recorded race: what it started from, what it saw each frame and how it ended, and
// the file that keeps it (docs/replay-format.md). The reader refuses every file it cannot
// trust with one fixed message, before anything plays.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "save/HighScores.h"

namespace quillon {

inline constexpr uint16_t kReplayFormatVersion = 1;
inline constexpr size_t kReplayTableEntries = 10;
// The longest race a replay holds (3.4 hours at 85 frames a second) and the most events:
// what a file may claim is bounded, whatever it packs.
inline constexpr uint32_t kMaxReplayFrames = 1u << 20;
inline constexpr uint32_t kMaxReplayEvents = 1u << 20;

// How a recorded race ended.
enum class TReplayEnd : uint8_t {
    Left = 0,           // "Выйти в меню?" answered yes
    GameOver = 1,       // the last life lost
    Congratulated = 2,  // the tenth level finished
    Closed = 3,         // the run ended while the race went on
    Signal = 4,         // a stop signal ended the run
};
const char* ReplayEndName(TReplayEnd end);

// A window event between two frames, as the form handled it.
struct TReplayEvent {
    uint8_t Type = 0;   // TWindowEvent::TType
    int32_t Key = 0;
    bool Alt = false;
    uint8_t Shift = 0;  // a key event's shift state as the game read it
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Button = 0;
    std::string Text;   // a typed character, UTF-8
    uint32_t BeforeFrame = 0;  // handled before this frame's tick (the frame count after the last)

    bool operator==(const TReplayEvent&) const = default;
};

// One frame tick: the timing it ran with, the held controls after the pad, and the
// race's eight controls after the pilot.
struct TReplayFrame {
    int32_t Lag = 1;
    int32_t FrameMs = 11;
    double SpeedScale = 1.0;
    uint64_t Held = 0;       // the 36 polled input states
    uint8_t Controls = 0;    // TRaceControls bits, left to horn
    std::optional<uint64_t> Checksum;  // the race state after this frame, once a second
    bool SendingBusy = false;  // the world table's request was still under way (the sending notice waits)

    bool operator==(const TReplayFrame&) const = default;
};

struct TReplayHeader {
    std::string GameVersion;
    uint64_t DataHash = 0;
    uint8_t Ship = 1;
    uint8_t StartLevel = 1;
    uint64_t Seed = 0;
    uint64_t GeneratorState = 0;
    bool Demo = false;
    bool PilotAtStart = false;
    bool PilotDrove = false;  // the pilot drove at some time of the game
    uint64_t HeldAtStart = 0;
    int32_t FrameMsAtStart = 11;       // the timing the race's objects were made with
    double SpeedScaleAtStart = 1.0;
    bool ShiftHeld = false;
    bool CtrlHeld = false;
    int32_t MouseX = 0;
    int32_t MouseY = 0;
    std::string PlayerName;  // Windows-1251
    std::array<THighScore, kReplayTableEntries> Table{};

    bool operator==(const TReplayHeader&) const = default;
};

struct TReplaySummary {
    uint32_t Frames = 0;
    int32_t Level = 0;
    int32_t Score = 0;
    int32_t Lives = 0;
    int32_t Place = 0;
    TReplayEnd End = TReplayEnd::Closed;
    bool EnteredTable = false;  // the game's score went into the local table under PlayerName
    std::string TableName;      // the name it went in under, Windows-1251

    bool operator==(const TReplaySummary&) const = default;
};

struct TReplay {
    TReplayHeader Header;
    TReplaySummary Summary;
    std::vector<TReplayFrame> Frames;
    std::vector<TReplayEvent> Events;  // in order, BeforeFrame never decreasing

    bool operator==(const TReplay&) const = default;
};

// A replay that cannot be played; what() is one line naming the file and the fault.
class EReplayError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a replay must match to be played here.
struct TReplayExpectation {
    std::string GameVersion;
    uint64_t DataHash = 0;
    // The same data as games before the pictures had languages named it (0: none).
    uint64_t FormerDataHash = 0;
};

std::string EncodeReplay(const TReplay& replay);
// Checks everything (magic, version, checksum, game version, data hash, every field) before
// returning. `name` is how messages call the file. Never allocates more than the bytes can hold.
TReplay DecodeReplay(std::string_view bytes, const std::string& name,
                     const std::optional<TReplayExpectation>& expect = std::nullopt);
// The frame stream alone, unpacked (for the fuzz target): `frames` frames, then the events after them.
void DecodeReplayStream(std::string_view stream, uint32_t frames, const std::string& name, TReplay& replay);
// The race a replay holds, whatever bytes it was packed into: equal for equal replays.
uint64_t ReplayContentHash(const TReplay& replay);
// Reads and decodes a file (at most kReplayFileLimit bytes).
TReplay ReadReplayFile(const std::string& path, const std::optional<TReplayExpectation>& expect = std::nullopt);

inline constexpr size_t kReplayFileLimit = 16u << 20;

}  // namespace quillon
