// Fuzz target for wave collection files and the RIFF wave images inside them;
// what is read must write back and read again unchanged.
#include <cstddef>
#include <cstdint>

#include "engine/WaveCollection.h"

using namespace quillon;

namespace {

void CheckWave(const TWave& wave) {
    (void)wave.FormatTag();
    (void)wave.Channels();
    (void)wave.SamplesPerSecond();
    (void)wave.BitsPerSample();
    std::vector<uint8_t> image = wave.SaveToMemory();
    TWave again;
    again.LoadFromMemory(image.data(), image.size());
    if (again.Format != wave.Format || again.Data != wave.Data) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TWaveCollection waves;
    try {
        waves.LoadFromMemory(data, size);
    } catch (const EEngineError&) {
    }
    for (int i = 0; i < waves.Count(); ++i) {
        if (waves.Items(i).MaxPlayingCount() < 0) __builtin_trap();
        CheckWave(waves.Items(i).Wave);
    }
    // The same bytes as a bare wave image.
    TWave wave;
    try {
        wave.LoadFromMemory(data, size);
        CheckWave(wave);
    } catch (const EEngineError&) {
    }
    return 0;
}
