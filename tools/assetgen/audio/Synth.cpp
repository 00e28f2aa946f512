// The synthesis toolkit: noise, oscillators, filter, envelopes and sample conversion.
#include "Synth.h"

#include <algorithm>
#include <cmath>

namespace quillon::assetgen::synth {

TNoise::TNoise(uint32_t seed) : State(seed == 0 ? 0x9E3779B9u : seed) {}

uint32_t TNoise::Next() {
    State ^= State << 13;
    State ^= State >> 17;
    State ^= State << 5;
    return State;
}

double TNoise::Uniform() { return (Next() >> 8) * (1.0 / 16777216.0); }

double TNoise::Bipolar() { return Uniform() * 2.0 - 1.0; }

double MidiToHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

namespace {

// Sums sin(k x) * weight(k) for k = 1..count by the Chebyshev recurrence.
template <typename TWeight>
double SineSeries(double phase, int count, TWeight weight) {
    const double x = TwoPi * (phase - std::floor(phase));
    const double c = 2.0 * std::cos(x);
    double prev = 0.0;
    double cur = std::sin(x);
    double sum = 0.0;
    for (int k = 1; k <= count; ++k) {
        sum += cur * weight(k);
        const double next = c * cur - prev;
        prev = cur;
        cur = next;
    }
    return sum;
}

int HarmonicCount(double hz, double maxHz) {
    if (hz <= 0.0) {
        return 0;
    }
    return std::max(1, static_cast<int>(maxHz / hz));
}

}  // namespace

double SawWave(double phase, double hz, double maxHz) {
    return (2.0 / Pi) * SineSeries(phase, HarmonicCount(hz, maxHz), [](int k) { return 1.0 / k; });
}

double SquareWave(double phase, double hz, double maxHz) {
    return (4.0 / Pi) *
           SineSeries(phase, HarmonicCount(hz, maxHz), [](int k) { return (k & 1) ? 1.0 / k : 0.0; });
}

double TriangleWave(double phase, double hz, double maxHz) {
    return (8.0 / (Pi * Pi)) * SineSeries(phase, HarmonicCount(hz, maxHz), [](int k) {
               if ((k & 1) == 0) {
                   return 0.0;
               }
               const double sign = ((k >> 1) & 1) ? -1.0 : 1.0;
               return sign / (static_cast<double>(k) * k);
           });
}

double Harmonics(double phase, const std::vector<double>& amp) {
    return SineSeries(phase, static_cast<int>(amp.size()), [&amp](int k) { return amp[k - 1]; });
}

TFilter::TFilter(double rate, double q) : Rate(rate), K(1.0 / q) {}

TFilter::TOutputs TFilter::Process(double in, double cutoffHz) {
    const double fc = std::clamp(cutoffHz, 10.0, Rate * 0.49);
    const double g = std::tan(Pi * fc / Rate);
    const double a1 = 1.0 / (1.0 + g * (g + K));
    const double a2 = g * a1;
    const double a3 = g * a2;
    const double v3 = in - Ic2;
    const double v1 = a1 * Ic1 + a2 * v3;
    const double v2 = Ic2 + a2 * Ic1 + a3 * v3;
    Ic1 = 2.0 * v1 - Ic1;
    Ic2 = 2.0 * v2 - Ic2;
    return {v2, v1, in - K * v1 - v2};
}

double ExpDecay(double t, double seconds) { return t < 0.0 ? 0.0 : std::exp(-t / seconds); }

double AttackDecay(double t, double attack, double decay) {
    if (t < 0.0) {
        return 0.0;
    }
    if (t < attack) {
        return t / attack;
    }
    return std::exp(-(t - attack) / decay);
}

double Ramp(double t, double from, double to, double seconds) {
    if (t <= 0.0) {
        return from;
    }
    if (t >= seconds) {
        return to;
    }
    return from + (to - from) * (t / seconds);
}

void Normalize(TSignal& s, double peak) {
    double top = 0.0;
    for (double v : s) {
        top = std::max(top, std::abs(v));
    }
    if (top <= 0.0) {
        return;
    }
    const double gain = peak / top;
    for (double& v : s) {
        v *= gain;
    }
}

void FadeEnds(TSignal& s, int fadeIn, int fadeOut) {
    const int n = static_cast<int>(s.size());
    fadeIn = std::min(fadeIn, n);
    fadeOut = std::min(fadeOut, n);
    for (int i = 0; i < fadeIn; ++i) {
        s[i] *= static_cast<double>(i) / fadeIn;
    }
    for (int i = 0; i < fadeOut; ++i) {
        s[n - 1 - i] *= static_cast<double>(i) / fadeOut;
    }
}

void MakeLoop(TSignal& s, int overlap) {
    const int n = static_cast<int>(s.size()) - overlap;
    for (int i = 0; i < overlap; ++i) {
        const double w = (i + 0.5) / overlap;
        s[i] = s[i] * std::sin(w * Pi / 2.0) + s[n + i] * std::cos(w * Pi / 2.0);
    }
    s.resize(n);
}

void Mix(TSignal& into, const TSignal& add, double gain, int offset) {
    if (into.size() < add.size() + offset) {
        into.resize(add.size() + offset, 0.0);
    }
    for (size_t i = 0; i < add.size(); ++i) {
        into[i + offset] += add[i] * gain;
    }
}

std::vector<int16_t> ToPcm16(const TSignal& s) {
    std::vector<int16_t> out(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        const double v = std::clamp(s[i], -1.0, 1.0) * 32767.0;
        out[i] = static_cast<int16_t>(std::lround(v));
    }
    return out;
}

std::vector<uint8_t> ToPcm16Bytes(const TSignal& s) {
    const std::vector<int16_t> pcm = ToPcm16(s);
    std::vector<uint8_t> out(pcm.size() * 2);
    for (size_t i = 0; i < pcm.size(); ++i) {
        const auto u = static_cast<uint16_t>(pcm[i]);
        out[2 * i] = static_cast<uint8_t>(u & 0xFF);
        out[2 * i + 1] = static_cast<uint8_t>(u >> 8);
    }
    return out;
}

}  // namespace quillon::assetgen::synth
