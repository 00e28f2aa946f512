// TSoundBuffer: position, looping and the resampling mix of one buffer.
#include "engine/SoundBuffer.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "engine/DXSound.h"

namespace quillon {

namespace {

int ReadU16(const uint8_t* p) { return p[0] | (p[1] << 8); }

// Gain for an attenuation in hundredths of a decibel, as 16.16 fixed point.
int32_t GainOf(int hundredthsDb) {
    if (hundredthsDb <= -10000) return 0;
    return static_cast<int32_t>(std::lround(65536.0 * std::pow(10.0, hundredthsDb / 2000.0)));
}

// Locks the device's mixer state when the buffer still has a device.
class TMixerGuard {
public:
    explicit TMixerGuard(TDXSound* device, std::mutex* lock) : FLock(device ? lock : nullptr) {
        if (FLock) FLock->lock();
    }
    ~TMixerGuard() {
        if (FLock) FLock->unlock();
    }
    TMixerGuard(const TMixerGuard&) = delete;
    TMixerGuard& operator=(const TMixerGuard&) = delete;

private:
    std::mutex* FLock;
};

template <int Bits, int Channels>
inline int32_t SampleAt(const uint8_t* samples, uint32_t frame, int channel) {
    size_t index = static_cast<size_t>(frame) * Channels + channel;
    if constexpr (Bits == 8) {
        return (static_cast<int32_t>(samples[index]) - 128) << 8;
    } else {
        const uint8_t* p = samples + index * 2;
        return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
    }
}

}  // namespace

TWaveFormat TWaveFormat::FromFormatBlock(const uint8_t* block, size_t size) {
    TWaveFormat format;
    if (size < 16) {
        format.FormatTag = 0;
        return format;
    }
    format.FormatTag = ReadU16(block);
    format.Channels = ReadU16(block + 2);
    format.SamplesPerSecond = static_cast<int>(static_cast<uint32_t>(ReadU16(block + 4)) |
                                               (static_cast<uint32_t>(ReadU16(block + 6)) << 16));
    format.BitsPerSample = ReadU16(block + 14);
    return format;
}

uint32_t TSoundData::Frames() const {
    if (!Format.Playable()) return 0;
    return static_cast<uint32_t>(Samples.size() / Format.BlockAlign());
}

TSoundBuffer::TSoundBuffer(TDXSound* device, std::shared_ptr<const TSoundData> data)
    : FDevice(device),
      FData(std::move(data)),
      FFrames(FData ? FData->Frames() : 0),
      FPlayable(FData && FData->Format.Playable() && FFrames > 0) {}

TSoundBuffer::~TSoundBuffer() {
    if (FDevice) FDevice->Unregister(this);
}

std::unique_ptr<TSoundBuffer> TSoundBuffer::Duplicate() const {
    if (!FDevice) return nullptr;
    return FDevice->CreateBuffer(FData);
}

void TSoundBuffer::Play(bool looped) {
    TMixerGuard guard(FDevice, FDevice ? &FDevice->FLock : nullptr);
    if (!FPlayable) return;
    FLooping = looped;
    int left = FVolume - std::max(0, FPan);
    int right = FVolume - std::max(0, -FPan);
    FGainLeft = GainOf(left);
    FGainRight = GainOf(right);
    FStartFrequency = FFrequency > 0 ? FFrequency : FData->Format.SamplesPerSecond;
    if ((FPos >> 32) >= FFrames) FPos = looped ? 0 : FPos;
    FPlaying = (FPos >> 32) < FFrames;
}

void TSoundBuffer::Stop() {
    TMixerGuard guard(FDevice, FDevice ? &FDevice->FLock : nullptr);
    FPlaying = false;
}

bool TSoundBuffer::Playing() const {
    TMixerGuard guard(FDevice, FDevice ? &FDevice->FLock : nullptr);
    return FPlaying;
}

bool TSoundBuffer::Looping() const {
    TMixerGuard guard(FDevice, FDevice ? &FDevice->FLock : nullptr);
    return FLooping;
}

void TSoundBuffer::SetPosition(uint32_t frame) {
    TMixerGuard guard(FDevice, FDevice ? &FDevice->FLock : nullptr);
    FPos = static_cast<uint64_t>(std::min(frame, FFrames)) << 32;
}

uint32_t TSoundBuffer::Position() const {
    TMixerGuard guard(FDevice, FDevice ? &FDevice->FLock : nullptr);
    return static_cast<uint32_t>(FPos >> 32);
}

void TSoundBuffer::SetFrequency(int hz) { FFrequency = std::max(0, hz); }
void TSoundBuffer::SetPan(int pan) { FPan = std::clamp(pan, -10000, 10000); }
void TSoundBuffer::SetVolume(int volume) { FVolume = std::clamp(volume, -10000, 0); }

void TSoundBuffer::MixInto(int32_t* acc, int frames, int deviceRate) {
    if (!FPlaying || deviceRate <= 0) return;
    uint64_t step = (static_cast<uint64_t>(FStartFrequency) << 32) / static_cast<uint64_t>(deviceRate);
    if (step == 0) step = 1;
    const TWaveFormat& f = FData->Format;
    if (f.BitsPerSample == 8) {
        if (f.Channels == 1) MixFormat<8, 1>(acc, frames, step);
        else MixFormat<8, 2>(acc, frames, step);
    } else {
        if (f.Channels == 1) MixFormat<16, 1>(acc, frames, step);
        else MixFormat<16, 2>(acc, frames, step);
    }
}

// Linear interpolation between neighbouring frames; a looping buffer
// interpolates across its end into its start.
template <int Bits, int Channels>
void TSoundBuffer::MixFormat(int32_t* acc, int frames, uint64_t step) {
    const uint8_t* samples = FData->Samples.data();
    const uint64_t end = static_cast<uint64_t>(FFrames) << 32;
    const int64_t gl = FGainLeft, gr = FGainRight;
    for (int k = 0; k < frames; ++k) {
        if (FPos >= end) {
            if (!FLooping) {
                FPlaying = false;
                FPos = end;
                return;
            }
            FPos %= end;
        }
        uint32_t i = static_cast<uint32_t>(FPos >> 32);
        int64_t frac = static_cast<int64_t>((FPos >> 16) & 0xFFFF);
        uint32_t j = i + 1 < FFrames ? i + 1 : (FLooping ? 0 : i);
        int32_t a = SampleAt<Bits, Channels>(samples, i, 0);
        int64_t l = a + (((SampleAt<Bits, Channels>(samples, j, 0) - a) * frac) >> 16);
        int64_t r = l;
        if constexpr (Channels == 2) {
            int64_t b = SampleAt<Bits, Channels>(samples, i, 1);
            r = b + (((SampleAt<Bits, Channels>(samples, j, 1) - b) * frac) >> 16);
        }
        acc[2 * k] += static_cast<int32_t>((l * gl) >> 16);
        acc[2 * k + 1] += static_cast<int32_t>((r * gr) >> 16);
        FPos += step;
    }
}

}  // namespace quillon
