// The verification workers.
#include "server/ReplayVerifier.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace quillon::server {

TReplayVerifier::TReplayVerifier(TReplayQueue& queue, TVerifierSettings settings)
    : FStore(queue), FSettings(std::move(settings)) {
    if (!FSettings.WallClock) FSettings.WallClock = [] { return static_cast<std::int64_t>(std::time(nullptr)); };
    for (std::size_t i = 0; i < std::max<std::size_t>(FSettings.Workers, 1); ++i)
        FWorkers.emplace_back([this] { Work(); });
}

TReplayVerifier::~TReplayVerifier() { Stop(); }

void TReplayVerifier::Wake() {
    {
        std::lock_guard lock(FMutex);
        ++FWakes;
    }
    FChanged.notify_one();
}

void TReplayVerifier::Stop() {
    {
        std::lock_guard lock(FMutex);
        FStopping = true;
    }
    FChanged.notify_all();
    for (std::thread& worker : FWorkers)
        if (worker.joinable()) worker.join();
}

// Long enough for a whole verification and a little more.
std::int64_t TReplayVerifier::LeaseSeconds() const {
    return static_cast<std::int64_t>(std::ceil(FSettings.Limits.WallSeconds)) + 60;
}

void TReplayVerifier::Work() {
    while (!FStopping) {
        std::vector<TQueuedReplay> taken;
        try {
            taken = FStore.TakeQueued(1, FSettings.WallClock(), LeaseSeconds());
        } catch (const EScoreStoreError& error) {
            if (FSettings.Log) FSettings.Log(std::string("verification: ") + error.what());
        }
        if (!taken.empty()) {
            Verify(taken.front());
            continue;
        }
        std::unique_lock lock(FMutex);
        FChanged.wait_for(lock, std::chrono::duration<double>(FSettings.PollSeconds),
                          [&] { return FStopping || FWakes > 0; });
        if (FWakes > 0) --FWakes;
    }
}

void TReplayVerifier::Verify(const TQueuedReplay& replay) {
    const TVerifyResult result = VerifyReplay(FSettings.Limits, replay.Replay, replay.Score, FStopping);
    char cost[32];
    std::snprintf(cost, sizeof cost, "%.2f", result.CpuSeconds);
    std::string line = "verification of row " + std::to_string(replay.Id) + ": ";
    try {
        switch (result.Kind) {
            case TVerifyResult::TKind::Abandoned:
                FStore.Requeue(replay.Id);
                line += "stopped, back in the queue";
                break;
            case TVerifyResult::TKind::Verified:
                FStore.MarkVerified(replay.Id);
                line += "verified";
                break;
            case TVerifyResult::TKind::Failed:
                FStore.MarkFailed(replay.Id, result.Reason);
                line += "failed: " + result.Reason;
                break;
        }
    } catch (const EScoreStoreError& error) {
        // The row stays queued and is taken again when its lease has run out.
        line += std::string("not recorded: ") + error.what();
    }
    if (FSettings.Log) FSettings.Log(line + " (" + cost + " CPU s)");
}

}  // namespace quillon::server
