// The verification workers.
#include "server/ReplayVerifier.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "save/ReplayFile.h"

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

// Doubles with every fault of the server in a row, from 2 s to 5 minutes.
std::int64_t TReplayVerifier::NextBackOff() {
    std::lock_guard lock(FMutex);
    FBackOff = std::clamp<std::int64_t>(FBackOff * 2, FSettings.FirstBackOffSeconds, 300);
    return FBackOff;
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

// A short race cannot take the whole CPU limit: the run gets a base and a share per frame.
TVerifyLimits TReplayVerifier::LimitsFor(const TQueuedReplay& replay) const {
    TVerifyLimits limits = FSettings.Limits;
    std::uint32_t frames = kMaxReplayFrames;
    try {
        frames = DecodeReplay(replay.Replay, "queued").Summary.Frames;
    } catch (const EReplayError&) {
        // Read when it was queued: the game tells what is wrong with it.
    }
    const double seconds = kCpuBaseSeconds + kCpuSecondsPerFrame * frames;
    limits.CpuSeconds = std::min(limits.CpuSeconds, static_cast<int>(std::ceil(seconds)));
    return limits;
}

void TReplayVerifier::Verify(const TQueuedReplay& replay) {
    const TVerifyResult result = VerifyReplay(LimitsFor(replay), replay.Replay, replay.Score, replay.Name, FStopping);
    char cost[32];
    std::snprintf(cost, sizeof cost, "%.2f", result.CpuSeconds);
    std::string line = "verification of row " + std::to_string(replay.Id) + ": ";
    try {
        switch (result.Kind) {
            case TVerifyResult::TKind::Abandoned:
                FStore.Requeue(replay.Id);
                line += "stopped, back in the queue";
                break;
            case TVerifyResult::TKind::ServerFault: {
                // Not the player's: the replay waits until the server can run it again.
                const std::int64_t wait = NextBackOff();
                FStore.Requeue(replay.Id, FSettings.WallClock() + wait);
                line += "the server's fault, tried again in " + std::to_string(wait) + " s: " + result.Reason;
                break;
            }
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
    if (result.Kind != TVerifyResult::TKind::ServerFault) {
        std::lock_guard lock(FMutex);
        FBackOff = 0;
    }
    if (FSettings.Log) FSettings.Log(line + " (" + cost + " CPU s)");
}

}  // namespace quillon::server
