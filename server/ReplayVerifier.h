// TReplayVerifier: the workers that verify queued replays, each running one game at a time
// (VerifyRun). They take the oldest queued replays from the store, so a restarted server
// (or another instance on the same database) goes on where the last one stopped; a replay
// taken by a server that died is taken again once its lease has run out. Nothing here runs
// on the threads that answer requests.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "server/ScoreStore.h"
#include "server/VerifyRun.h"

namespace quillon::server {

// A run's CPU limit: this much, and this much per frame of the race, at most the configured limit.
inline constexpr double kCpuBaseSeconds = 10;
inline constexpr double kCpuSecondsPerFrame = 0.002;

struct TVerifierSettings {
    TVerifyLimits Limits;
    std::size_t Workers = 1;
    double PollSeconds = 5;  // how often an idle worker looks at the queue unwoken
    std::int64_t FirstBackOffSeconds = 2;  // before a replay the server could not run is tried again
    std::function<std::int64_t()> WallClock;
    std::function<void(const std::string&)> Log;
};

class TReplayVerifier {
public:
    TReplayVerifier(TReplayQueue& queue, TVerifierSettings settings);
    // Stops: the games under way are killed and their replays given back to the queue.
    ~TReplayVerifier();
    TReplayVerifier(const TReplayVerifier&) = delete;
    TReplayVerifier& operator=(const TReplayVerifier&) = delete;

    // A replay was queued: an idle worker looks at once.
    void Wake();
    void Stop();

private:
    void Work();
    void Verify(const TQueuedReplay& replay);
    TVerifyLimits LimitsFor(const TQueuedReplay& replay) const;
    std::int64_t NextBackOff();
    std::int64_t LeaseSeconds() const;

    TReplayQueue& FStore;
    TVerifierSettings FSettings;
    std::mutex FMutex;
    std::condition_variable FChanged;
    std::size_t FWakes = 0;
    std::int64_t FBackOff = 0;
    std::atomic<bool> FStopping = false;
    std::vector<std::thread> FWorkers;
};

}  // namespace quillon::server
