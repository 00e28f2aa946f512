// What the server reads of a sent replay itself, with the game's own reader, before it queues
// it: the file is whole (nothing after its packed stream), it was recorded by this game with
// these data files, and its summary claims the row's score under the row's name. What it
// claims is then proved by playing it; a replay that cannot even claim its row is refused at
// once. A replay is known by its race (ReplayContentHash), not its bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "save/ReplayFile.h"
#include "server/SubmissionCheck.h"

namespace quillon::server {

// The game at `game` expects its own version (this build's) and the hash of the data files of
// its folder: the executable's folder when it holds Data/Res, else the installed data.
TReplayExpectation ReplayExpectationFor(const std::string& game);

struct TSentReplay {
    std::string Fault;  // why it is refused, one line for the client; empty when it is taken
    std::string Key;    // the race's identity
    std::uint32_t Frames = 0;
};

// `expect` absent: any game version and data files (the server verifies nothing).
TSentReplay CheckSentReplay(const std::string& bytes, const TSubmission& row,
                            const std::optional<TReplayExpectation>& expect);

}  // namespace quillon::server
