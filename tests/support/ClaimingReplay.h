// A replay file as small as the reader takes, whose summary claims a score entered into the
// table under a name: what a sent replay must claim before the server queues it. Whether it
// plays to that claim is the verifying game's business (the tests' stand-ins say what they like).
#pragma once

#include <cstdint>
#include <string>

#include "engine/Cp1251.h"
#include "save/ReplayFile.h"

namespace quillon::testing {

// `name` in UTF-8; `race` makes races that differ.
inline std::string ClaimingReplay(const std::string& name, std::int32_t score, const TReplayExpectation& expect = {},
                                  std::uint64_t race = 0) {
    TReplay replay;
    replay.Header.GameVersion = expect.GameVersion;
    replay.Header.DataHash = expect.DataHash;
    replay.Header.Seed = race;
    replay.Header.PlayerName = Utf8ToCp1251(name);
    replay.Frames.resize(1);
    replay.Summary = TReplaySummary{1, 1, score, 0, 1, TReplayEnd::GameOver, true, Utf8ToCp1251(name)};
    return EncodeReplay(replay);
}

}  // namespace quillon::testing
