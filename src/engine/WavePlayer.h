// TWavePlayer: the playing side of one wave collection item. It owns the item's
// primary buffer and its duplicates and applies the item's rules: a looped item
// restarts its primary buffer, an unlooped one plays on the first free copy,
// making a new one up to MaxPlayingCount (0 = no limit) and cutting off the
// oldest copy when all are busy.
#pragma once

#include <memory>
#include <vector>

#include "engine/DXSound.h"
#include "engine/SoundBuffer.h"

namespace quillon {

class TWavePlayer {
public:
    TWavePlayer() = default;
    TWavePlayer(const TWavePlayer&) = delete;
    TWavePlayer& operator=(const TWavePlayer&) = delete;

    // The item's sound; an empty sample block never makes a buffer.
    void SetSound(std::shared_ptr<const TSoundData> sound);
    const std::shared_ptr<const TSoundData>& Sound() const { return FSound; }

    // Binds to a device; initialised when the device is.
    void Initialize(TDXSound* device);
    // Frees every buffer and becomes uninitialised.
    void Finalize();
    // (Re)creates the primary buffer from the sound.
    void Restore();
    bool Initialized() const { return FInitialized; }

    // wait: returns only when the copy has finished (the game never waits).
    void Play(bool wait = false);
    // Stops the primary buffer and every duplicate; nothing when uninitialised.
    void Stop();

    bool Looped() const { return FLooped; }
    void SetLooped(bool looped);  // a change stops the item first
    int MaxPlayingCount() const { return FMaxPlayingCount; }
    void SetMaxPlayingCount(int count);  // negative means 0; a change frees the duplicates

    // Applied to a buffer each time it starts (see TSoundBuffer).
    int Frequency() const { return FFrequency; }
    void SetFrequency(int hz) { FFrequency = hz; }
    int Pan() const { return FPan; }
    void SetPan(int pan) { FPan = pan; }
    int Volume() const { return FVolume; }
    void SetVolume(int volume) { FVolume = volume; }

    // True while any of the item's buffers plays.
    bool Playing() const;
    const TSoundBuffer* Primary() const { return FPrimary.get(); }
    const std::vector<std::unique_ptr<TSoundBuffer>>& Duplicates() const { return FDuplicates; }

private:
    bool EnsurePrimary();
    void ApplySettings(TSoundBuffer& buffer) const;

    std::shared_ptr<const TSoundData> FSound;
    TDXSound* FDevice = nullptr;
    std::unique_ptr<TSoundBuffer> FPrimary;
    std::vector<std::unique_ptr<TSoundBuffer>> FDuplicates;  // oldest first
    int FFrequency = 0;
    int FPan = 0;
    int FVolume = 0;
    bool FInitialized = false;
    bool FLooped = false;
    int FMaxPlayingCount = 0;
};

}  // namespace quillon
