// TWavePlayer: buffer creation, the free-copy search and stopping.
#include "engine/WavePlayer.h"

#include <chrono>
#include <thread>

namespace quillon {

void TWavePlayer::SetSound(std::shared_ptr<const TSoundData> sound) {
    FDuplicates.clear();
    FPrimary.reset();
    FSound = std::move(sound);
}

void TWavePlayer::Initialize(TDXSound* device) {
    Finalize();
    FDevice = device;
    FInitialized = device != nullptr && device->Initialized();
}

void TWavePlayer::Finalize() {
    FDuplicates.clear();
    FPrimary.reset();
    FInitialized = false;
}

void TWavePlayer::Restore() {
    if (!FSound || FSound->Samples.empty()) return;
    if (!FInitialized) Initialize(FDevice);
    if (!FInitialized) return;
    if (!FPrimary) FPrimary = FDevice->CreateBuffer(FSound);
    if (FPrimary) ApplySettings(*FPrimary);
}

bool TWavePlayer::EnsurePrimary() {
    if (!FPrimary) Restore();
    return FPrimary != nullptr;
}

void TWavePlayer::ApplySettings(TSoundBuffer& buffer) const {
    buffer.SetFrequency(FFrequency);
    buffer.SetPan(FPan);
    buffer.SetVolume(FVolume);
}

void TWavePlayer::Play(bool wait) {
    if (!FInitialized) return;
    if (!EnsurePrimary()) return;
    if (FLooped) {
        FPrimary->Stop();
        FPrimary->SetPosition(0);
        ApplySettings(*FPrimary);
        FPrimary->Play(true);
        return;
    }
    TSoundBuffer* chosen = nullptr;
    for (auto& duplicate : FDuplicates) {
        if (!duplicate->Playing()) {
            chosen = duplicate.get();
            break;
        }
    }
    if (!chosen) {
        if (FMaxPlayingCount == 0 || static_cast<int>(FDuplicates.size()) < FMaxPlayingCount) {
            std::unique_ptr<TSoundBuffer> duplicate = FPrimary->Duplicate();
            if (!duplicate) return;
            chosen = duplicate.get();
            FDuplicates.push_back(std::move(duplicate));
        } else {
            // All copies busy: the oldest is cut off and becomes the newest.
            std::unique_ptr<TSoundBuffer> oldest = std::move(FDuplicates.front());
            FDuplicates.erase(FDuplicates.begin());
            chosen = oldest.get();
            FDuplicates.push_back(std::move(oldest));
        }
    }
    chosen->Stop();
    chosen->SetPosition(0);
    ApplySettings(*chosen);
    chosen->Play(false);
    // Waiting only makes sense while an output drains the mixer on its own.
    while (wait && FDevice->Streaming() && chosen->Playing())
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void TWavePlayer::Stop() {
    if (!FInitialized) return;
    if (FPrimary) FPrimary->Stop();
    for (auto& duplicate : FDuplicates) duplicate->Stop();
}

void TWavePlayer::SetLooped(bool looped) {
    if (looped == FLooped) return;
    Stop();
    FLooped = looped;
}

void TWavePlayer::SetMaxPlayingCount(int count) {
    if (count < 0) count = 0;
    if (count == FMaxPlayingCount) return;
    FDuplicates.clear();
    FMaxPlayingCount = count;
}

bool TWavePlayer::Playing() const {
    if (FPrimary && FPrimary->Playing()) return true;
    for (const auto& duplicate : FDuplicates)
        if (duplicate->Playing()) return true;
    return false;
}

}  // namespace quillon
