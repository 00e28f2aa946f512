// One verification: the game itself plays a replay headless ("GAME --headless --replay FILE")
// in a child process of its own and says whether the race came out as recorded. The child
// starts with no descriptor of the server's but its three standard streams, a private folder
// holding the replay (also its home and temporary folder), limits on CPU time and address
// space and a wall-clock deadline after which it is killed with its process group.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

namespace quillon::server {

struct TVerifyLimits {
    std::string Game;              // the game's executable, its data beside it
    int CpuSeconds = 300;          // CPU time of the child
    std::size_t MemoryMiB = 1024;  // its address space; 0: no limit
    double WallSeconds = 600;      // from start to kill
};

struct TVerifyResult {
    enum class TKind { Verified, Failed, Abandoned };
    TKind Kind = TKind::Failed;
    std::string Reason;     // why it failed, one printable line
    double CpuSeconds = 0;  // what the child used
};

// Plays `replay` and verifies that it reproduces and ends with `score`. Setting `stop` makes it
// kill the child and return Abandoned within a tenth of a second.
TVerifyResult VerifyReplay(const TVerifyLimits& limits, const std::string& replay, std::int32_t score,
                           const std::atomic<bool>& stop);

// What the game's one JSON line says: {"result":"reproduced"|"diverged","frames":N,"level":N,
// "score":N,"lives":N,"divergedAt":N|null}. False when the line is not such a line.
struct TReplayVerdict {
    bool Reproduced = false;
    std::int64_t Score = 0;
    std::int64_t DivergedAt = -1;
};
bool ParseReplayVerdict(const std::string& line, TReplayVerdict& verdict);

}  // namespace quillon::server
