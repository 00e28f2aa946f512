// TSoundBuffer: one playable copy of a sound on the software mixer. A primary
// buffer and its duplicates share one block of samples; each keeps its own
// position, looping flag and the frequency, pan and volume it was started with.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace quillon {

class TDXSound;

// The part of the standard wave format record the mixer needs.
struct TWaveFormat {
    int FormatTag = 1;  // 1 = PCM; anything else stays silent
    int Channels = 1;
    int SamplesPerSecond = 22050;
    int BitsPerSample = 16;

    int BlockAlign() const { return Channels * (BitsPerSample / 8); }
    bool Playable() const {
        return FormatTag == 1 && (Channels == 1 || Channels == 2) && (BitsPerSample == 8 || BitsPerSample == 16) &&
               SamplesPerSecond > 0;
    }
    // Reads the record from a format block (little-endian WAVEFORMATEX); a block
    // shorter than 16 bytes gives an unplayable format.
    static TWaveFormat FromFormatBlock(const uint8_t* block, size_t size);
};

// Samples shared by a primary buffer and its duplicates; never changed once made.
struct TSoundData {
    TWaveFormat Format;
    std::vector<uint8_t> Samples;  // PCM, 8-bit unsigned or 16-bit signed little-endian, interleaved
    uint32_t Frames() const;
};

class TSoundBuffer {
public:
    ~TSoundBuffer();
    TSoundBuffer(const TSoundBuffer&) = delete;
    TSoundBuffer& operator=(const TSoundBuffer&) = delete;

    // A new buffer on the same device sharing these samples; nullptr when the
    // device is gone.
    std::unique_ptr<TSoundBuffer> Duplicate() const;

    void Play(bool looped);  // from the current position, with the current frequency, pan and volume
    void Stop();             // keeps the position
    bool Playing() const;
    bool Looping() const;
    void SetPosition(uint32_t frame);
    uint32_t Position() const;  // in frames of the recording

    // Applied when the buffer next starts. Frequency in Hz, 0 = the recording's
    // own rate; pan -10000 (left) .. 10000 (right); volume 0 (full) .. -10000
    // (silent), in hundredths of a decibel.
    void SetFrequency(int hz);
    void SetPan(int pan);
    void SetVolume(int volume);

    const std::shared_ptr<const TSoundData>& Data() const { return FData; }

private:
    friend class TDXSound;
    TSoundBuffer(TDXSound* device, std::shared_ptr<const TSoundData> data);

    // Adds this buffer's next frames into a stereo accumulator at the device
    // rate. Called by the device with its lock held.
    void MixInto(int32_t* acc, int frames, int deviceRate);
    template <int Bits, int Channels>
    void MixFormat(int32_t* acc, int frames, uint64_t step);

    TDXSound* FDevice;
    std::shared_ptr<const TSoundData> FData;
    uint32_t FFrames;
    bool FPlayable;
    // Mixer state, guarded by the device lock.
    bool FPlaying = false;
    bool FLooping = false;
    uint64_t FPos = 0;  // 32.32 fixed point, in frames of the recording
    int FFrequency = 0, FPan = 0, FVolume = 0;
    int32_t FGainLeft = 65536, FGainRight = 65536;  // 16.16, fixed at each start
    int FStartFrequency = 0;
};

}  // namespace quillon
