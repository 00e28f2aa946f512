// One verification: the game itself plays a replay headless ("GAME --headless --replay FILE")
// in a sealed sandbox (bubblewrap) and says whether the race came out as recorded. Inside it
// sees only the system's programs and libraries (read-only), the game's own folder
// (read-only), its own /proc and a small private folder in memory holding the replay (also
// its home and temporary folder); it has no network, its own PID namespace (everything it
// starts dies with it), its own unprivileged user (the server gives up root before it starts
// the sandbox), no capabilities and no new privileges; limits on CPU time, address space,
// tasks, file size and open files; and a wall-clock deadline after which it is killed.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

namespace quillon::server {

struct TVerifyLimits {
    std::string Game;              // the game's executable, its data beside it
    int CpuSeconds = 300;          // CPU time of each process of the run
    std::size_t MemoryMiB = 192;   // the address space of each; 0: no limit
    double WallSeconds = 600;      // from start to kill
    std::string Sandbox = "/usr/bin/bwrap";
    int Tasks = 64;                // processes and threads of the run's user at once (see Spawn)
    std::size_t FolderMiB = 16;    // the private folder, also the largest file written
    int OpenFiles = 128;
};

// The user a verification runs as when the server runs as root.
inline constexpr unsigned kVerifierUser = 65534;

// Empty when the sandbox can be set up here (a game of `/bin/true` runs in it); else why not,
// one line. The server refuses to verify without it.
std::string SandboxProblem(const TVerifyLimits& limits);

struct TVerifyResult {
    // ServerFault: the run could not start or was ended by the machine, nothing of the replay's.
    enum class TKind { Verified, Failed, Abandoned, ServerFault };
    TKind Kind = TKind::Failed;
    std::string Reason;     // why it failed, one printable line
    double CpuSeconds = 0;  // what the child used
};

// Plays `replay` and verifies that it reproduces, ends with `score` and goes into the local
// table under `name` (UTF-8). Setting `stop` makes it kill the child and return Abandoned
// within a tenth of a second.
TVerifyResult VerifyReplay(const TVerifyLimits& limits, const std::string& replay, std::int32_t score,
                           const std::string& name, const std::atomic<bool>& stop);

// What the game's one JSON line says: {"result":"reproduced"|"diverged","frames":N,"level":N,
// "score":N,"lives":N,"divergedAt":N|null,"tableName":"NAME"|null}. False when the line is not
// such a line.
struct TReplayVerdict {
    bool Reproduced = false;
    std::int64_t Score = 0;
    std::int64_t DivergedAt = -1;
    std::string TableName;  // UTF-8; empty when the race went into no table
};
bool ParseReplayVerdict(const std::string& line, TReplayVerdict& verdict);

}  // namespace quillon::server
