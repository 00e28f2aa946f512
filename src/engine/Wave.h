// TWave: one sound as the wave collection stores it: the format block (a wave
// format record, handed to the mixer unchanged) and the sample data, read from and
// written as a RIFF wave image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/EngineError.h"

namespace quillon {

class EWaveError : public EEngineError {
public:
    EWaveError() : EEngineError("Wave is invalid") {}
};

constexpr int WAVE_FORMAT_PCM = 1;

class TWave {
public:
    std::vector<uint8_t> Format;  // the "fmt " chunk's body
    std::vector<uint8_t> Data;    // the samples

    // Fields of the format record; 0 when the block is too short to hold them.
    int FormatTag() const { return Field16(0); }
    int Channels() const { return Field16(2); }
    int SamplesPerSecond() const { return static_cast<int>(Field32(4)); }
    int AvgBytesPerSecond() const { return static_cast<int>(Field32(8)); }
    int BlockAlign() const { return Field16(12); }
    int BitsPerSample() const { return Field16(14); }

    // A PCM format block for the given layout.
    void SetPCMFormat(int channels, int samplesPerSecond, int bitsPerSample);

    // "RIFF", size, "WAVE", then chunks in any order; raises EWaveError on a bad
    // header and "Stream read error" on a chunk body cut short.
    void LoadFromMemory(const uint8_t* data, size_t size);
    // A RIFF wave image with the format chunk, then the data chunk.
    std::vector<uint8_t> SaveToMemory() const;

private:
    int Field16(size_t at) const;
    uint32_t Field32(size_t at) const;
};

}  // namespace quillon
