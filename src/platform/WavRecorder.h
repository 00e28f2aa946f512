// TWavRecorder: the headless driver's audio sink. It pulls from the mixer exactly
// the samples each virtual frame stands for and writes them as a RIFF WAV file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/DXSound.h"

namespace quillon {

class TWavRecorder {
public:
    explicit TWavRecorder(std::string path, int rate = TDXSound::DefaultRate)
        : FPath(std::move(path)), FRate(rate) {}

    // Frames of audio in virtual frame k at fps frames per second: frame k ends
    // at Round((k + 1) * rate / fps) samples.
    static int FrameSamples(int64_t frameIndex, int fps, int rate);

    // Pulls the samples of virtual frame frameIndex (call once per frame, in order).
    void RecordFrame(TDXSound& mixer, int64_t frameIndex, int fps);
    // Pulls a given number of stereo frames.
    void Record(TDXSound& mixer, int samples);
    // Writes the WAV (16-bit stereo at the rate); false when it cannot be written.
    bool Finish();

    int Rate() const { return FRate; }
    const std::vector<int16_t>& Samples() const { return FSamples; }  // interleaved stereo

private:
    std::string FPath;
    int FRate;
    std::vector<int16_t> FSamples;
};

}  // namespace quillon
