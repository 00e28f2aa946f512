// TSdlAudioOutput: the desktop audio output. SDL's audio thread pulls small
// blocks from the mixer; with no audio device the game simply stays silent.
#pragma once

#include <cstdint>

#include "engine/DXSound.h"

namespace quillon {

class TSdlAudioOutput : public IAudioOutput {
public:
    // 512 frames at 44100 Hz is about 12 ms of latency per block.
    explicit TSdlAudioOutput(int rate = TDXSound::DefaultRate, int blockFrames = 512)
        : FWantRate(rate), FBlockFrames(blockFrames) {}
    ~TSdlAudioOutput() override;

    int Open(TDXSound& mixer) override;
    void Close() override;

private:
    static void Callback(void* userdata, uint8_t* stream, int len);

    int FWantRate;
    int FBlockFrames;
    uint32_t FDevice = 0;
    bool FOwnsSubsystem = false;
    TDXSound* FMixer = nullptr;
};

}  // namespace quillon
