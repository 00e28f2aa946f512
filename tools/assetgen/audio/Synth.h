// A small synthesis toolkit for the generator's sounds: a seeded noise source, band-limited
// oscillators, a state-variable filter, envelopes and the conversion to 16-bit samples.
#pragma once

#include <cstdint>
#include <vector>

namespace quillon::assetgen::synth {

constexpr double Pi = 3.14159265358979323846;
constexpr double TwoPi = 2.0 * Pi;

using TSignal = std::vector<double>;

// xorshift32: the same numbers on every run and every machine.
class TNoise {
public:
    explicit TNoise(uint32_t seed);
    uint32_t Next();
    double Uniform();  // [0, 1)
    double Bipolar();  // [-1, 1)

private:
    uint32_t State;
};

double MidiToHz(double note);

// Band-limited waveforms built from their harmonics, so that they stay clean at any pitch.
// phase is in cycles; harmonics above maxHz are left out.
double SawWave(double phase, double hz, double maxHz);
double SquareWave(double phase, double hz, double maxHz);
double TriangleWave(double phase, double hz, double maxHz);
// Sum of harmonics k = 1..count with amplitude amp[k - 1] at the given phase in cycles.
double Harmonics(double phase, const std::vector<double>& amp);

// Topology-preserving state-variable filter; the cutoff may change every sample.
class TFilter {
public:
    struct TOutputs {
        double Low;
        double Band;
        double High;
    };
    TFilter(double rate, double q);
    TOutputs Process(double in, double cutoffHz);
    double Low(double in, double cutoffHz) { return Process(in, cutoffHz).Low; }
    double Band(double in, double cutoffHz) { return Process(in, cutoffHz).Band; }
    double High(double in, double cutoffHz) { return Process(in, cutoffHz).High; }

private:
    double Rate;
    double K;
    double Ic1 = 0;
    double Ic2 = 0;
};

// Envelope shapes of time t in seconds.
double ExpDecay(double t, double seconds);                 // e^(-t / seconds)
double AttackDecay(double t, double attack, double decay);  // linear rise, exponential fall
double Ramp(double t, double from, double to, double seconds);

// Scales the peak to `peak` (0..1).
void Normalize(TSignal& s, double peak);
// Short linear fades at both ends, so a one-shot starts and stops at zero.
void FadeEnds(TSignal& s, int fadeIn, int fadeOut);
// Folds the last `overlap` samples into the first ones with an equal-power cross-fade and drops
// them, so that a signal of length n + overlap becomes a seamless loop of length n.
void MakeLoop(TSignal& s, int overlap);
void Mix(TSignal& into, const TSignal& add, double gain, int offset = 0);

std::vector<int16_t> ToPcm16(const TSignal& s);
std::vector<uint8_t> ToPcm16Bytes(const TSignal& s);  // little-endian

}  // namespace quillon::assetgen::synth
