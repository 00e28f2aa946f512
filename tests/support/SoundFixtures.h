// Sound fixtures: PCM tones in any format, and a mixer bound to wave players.
#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/SoundBuffer.h"

namespace quillon::testing {

// A sine of hz at amplitude (0..1 of full scale); the second channel of a stereo
// tone is silent so channel routing shows.
inline std::shared_ptr<TSoundData> MakeTone(int rate, int bits, int channels, double seconds, double hz,
                                            double amplitude = 0.5) {
    auto data = std::make_shared<TSoundData>();
    data->Format.Channels = channels;
    data->Format.SamplesPerSecond = rate;
    data->Format.BitsPerSample = bits;
    int frames = static_cast<int>(std::lround(seconds * rate));
    for (int i = 0; i < frames; ++i) {
        double v = amplitude * std::sin(2 * M_PI * hz * i / rate);
        for (int c = 0; c < channels; ++c) {
            double s = c == 0 ? v : 0.0;
            if (bits == 8) {
                data->Samples.push_back(static_cast<uint8_t>(std::lround(128 + 127 * s)));
            } else {
                auto w = static_cast<uint16_t>(static_cast<int16_t>(std::lround(32767 * s)));
                data->Samples.push_back(static_cast<uint8_t>(w));
                data->Samples.push_back(static_cast<uint8_t>(w >> 8));
            }
        }
    }
    return data;
}

// Left-channel energy of interleaved stereo frames [from, to).
inline double Energy(const std::vector<int16_t>& stereo, size_t from, size_t to, int channel = 0) {
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += std::abs(static_cast<double>(stereo[2 * i + channel]));
    return to > from ? sum / static_cast<double>(to - from) : 0.0;
}

}  // namespace quillon::testing
