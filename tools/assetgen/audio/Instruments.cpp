// The songs' instruments: each sample is synthesised here and tuned to the song notes.
#include "Instruments.h"

#include <algorithm>
#include <cmath>

#include "Synth.h"

namespace quillon::assetgen::instruments {

using namespace synth;

namespace {

constexpr double Rate = 44100.0;

double HzToMidi(double hz) { return 69.0 + 12.0 * std::log2(hz / 440.0); }

uint16_t Ticks(double seconds, int bpm) {
    return static_cast<uint16_t>(std::max(1L, std::lround(seconds * bpm / 2.5)));
}

TXmSample MakeSample(const char* name, const TSignal& s, double rate, double midiPitch) {
    TXmSample sample;
    sample.Name = name;
    sample.Data = ToPcm16(s);
    TuneSample(sample, rate, midiPitch);
    return sample;
}

// The whole sample is one seamless loop.
TXmSample MakeLoopedSample(const char* name, const TSignal& s, double rate, double midiPitch) {
    TXmSample sample = MakeSample(name, s, rate, midiPitch);
    sample.Loop = TXmLoop::Forward;
    sample.LoopStart = 0;
    sample.LoopLength = static_cast<uint32_t>(sample.Data.size());
    return sample;
}

TXmInstrument MakeInstrument(const char* name, TXmSample sample) {
    TXmInstrument ins;
    ins.Name = name;
    ins.Samples.push_back(std::move(sample));
    return ins;
}

// Attack to full, decay to the sustain level and hold there; after key-off fall to silence.
TXmEnvelope Adsr(int bpm, double attack, double decay, int sustain, double release) {
    TXmEnvelope env;
    const uint16_t a = Ticks(attack, bpm);
    const uint16_t d = static_cast<uint16_t>(a + Ticks(decay, bpm));
    const uint16_t r = static_cast<uint16_t>(d + Ticks(release, bpm));
    env.Points = {{0, attack > 0.0 ? uint16_t{0} : uint16_t{64}}, {a, 64}, {d, static_cast<uint16_t>(sustain)}, {r, 0}};
    env.Sustain = 2;
    return env;
}

// Drums play their sample once; only the last frame is damped so that it ends at zero.
TXmInstrument MakeDrum(const char* name, TSignal s, double rate) {
    Normalize(s, 0.95);
    FadeEnds(s, 0, static_cast<int>(rate * 0.01));
    return MakeInstrument(name, MakeSample(name, s, rate, 60.0));
}

// Six square partials at unrelated frequencies give the metallic body of hats and cymbals.
double Metal(double t) {
    static const double Partials[] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    double sum = 0.0;
    for (double hz : Partials) {
        const double p = hz * 2.7 * t;
        sum += (p - std::floor(p)) < 0.5 ? 1.0 : -1.0;
    }
    return sum / 6.0;
}

TSignal Cymbal(uint32_t seed, double seconds, double decay, double highPassHz, double rate) {
    const int n = static_cast<int>(rate * seconds);
    TSignal s(n);
    TNoise noise(seed);
    TFilter hp1(rate, 0.7);
    TFilter hp2(rate, 0.7);
    for (int i = 0; i < n; ++i) {
        const double t = i / rate;
        const double raw = 0.6 * Metal(t) + 0.5 * noise.Bipolar();
        s[i] = hp2.High(hp1.High(raw, highPassHz), highPassHz) * AttackDecay(t, 0.0015, decay);
    }
    return s;
}

}  // namespace

TXmInstrument WarmPad(int bpm) {
    // Every voice completes a whole number of cycles in the two seconds of the loop (0.5 Hz
    // steps), so the loop is seamless while the voices beat slowly against each other.
    const int n = static_cast<int>(Rate * 2.0);
    const double step = Rate / n;
    const int centre = 524;  // 262 Hz, close to middle C
    const int voices[] = {centre - 3, centre - 1, centre, centre + 1, centre + 3};
    TNoise noise(0x0BADF00Du);
    TSignal s(n, 0.0);
    auto addSaw = [&](int k, double gain) {
        const double hz = k * step;
        std::vector<double> amp;
        for (int h = 1; h * hz < 9000.0; ++h) {
            amp.push_back(1.0 / h / (1.0 + std::pow(h * hz / 1800.0, 2.0)));
        }
        const double phase0 = noise.Uniform();
        for (int i = 0; i < n; ++i) {
            s[i] += gain * Harmonics(phase0 + static_cast<double>(k) * i / n, amp);
        }
    };
    for (int k : voices) {
        addSaw(k, 1.0);
    }
    addSaw(centre / 2, 0.8);
    Normalize(s, 0.9);
    TXmInstrument ins = MakeInstrument("Warm pad", MakeLoopedSample("pad", s, Rate, HzToMidi(centre * step)));
    ins.VolumeEnvelope = Adsr(bpm, 0.35, 0.8, 52, 1.4);
    ins.Fadeout = 600;
    ins.VibratoType = 0;
    ins.VibratoSweep = 60;
    ins.VibratoDepth = 2;
    ins.VibratoRate = 6;
    return ins;
}

TXmInstrument GlassKeys(int bpm) {
    // Two-operator FM: a harmonic modulator whose depth dies away, and a faint inharmonic
    // tine partial for the strike.
    const double hz = 523.25;
    const int n = static_cast<int>(Rate * 2.4);
    TSignal s(n);
    for (int i = 0; i < n; ++i) {
        const double t = i / Rate;
        const double index = 1.6 * ExpDecay(t, 0.5) + 0.35;
        const double body = std::sin(TwoPi * hz * t + index * std::sin(TwoPi * hz * t));
        const double tine = 0.18 * std::sin(TwoPi * hz * 3.51 * t) * ExpDecay(t, 0.12);
        s[i] = (body + tine) * AttackDecay(t, 0.003, 0.9);
    }
    Normalize(s, 0.9);
    FadeEnds(s, 0, static_cast<int>(Rate * 0.05));
    TXmInstrument ins = MakeInstrument("Glass keys", MakeSample("keys", s, Rate, HzToMidi(hz)));
    ins.VolumeEnvelope = Adsr(bpm, 0.0, 0.01, 64, 0.5);
    ins.Fadeout = 800;
    return ins;
}

TXmInstrument SoftPluck(int bpm) {
    // A saw whose upper harmonics die faster than the lower ones, like a plucked string.
    const double hz = 523.25;
    const int n = static_cast<int>(Rate * 1.2);
    std::vector<double> amp;
    for (int h = 1; h * hz < 10000.0; ++h) {
        amp.push_back(1.0 / h);
    }
    std::vector<double> now(amp.size());
    TSignal s(n);
    for (int i = 0; i < n; ++i) {
        const double t = i / Rate;
        for (size_t h = 0; h < amp.size(); ++h) {
            now[h] = amp[h] * std::exp(-t * (2.0 + 2.2 * (h + 1)));
        }
        s[i] = Harmonics(hz * t, now) * std::min(1.0, t / 0.002);
    }
    Normalize(s, 0.9);
    FadeEnds(s, 0, static_cast<int>(Rate * 0.05));
    TXmInstrument ins = MakeInstrument("Soft pluck", MakeSample("pluck", s, Rate, HzToMidi(hz)));
    ins.VolumeEnvelope = Adsr(bpm, 0.0, 0.01, 64, 0.25);
    ins.Fadeout = 1200;
    return ins;
}

TXmInstrument SubBass(int bpm) {
    // Sixteen whole periods of 674 frames (65.4 Hz, C2) make the loop.
    const int period = 674;
    const int n = period * 16;
    TSignal s(n);
    for (int i = 0; i < n; ++i) {
        const double p = static_cast<double>(i) / period;
        s[i] = std::sin(TwoPi * p) + 0.35 * std::sin(2.0 * TwoPi * p) + 0.12 * std::sin(3.0 * TwoPi * p) +
               0.05 * std::sin(4.0 * TwoPi * p);
    }
    Normalize(s, 0.9);
    TXmInstrument ins = MakeInstrument("Sub bass", MakeLoopedSample("bass", s, Rate, HzToMidi(Rate / period)));
    ins.VolumeEnvelope = Adsr(bpm, 0.02, 0.4, 50, 0.35);
    ins.Fadeout = 1000;
    return ins;
}

TXmInstrument DriveBass(int bpm) {
    const double hz = 110.0;
    const int n = static_cast<int>(Rate * 0.7);
    TSignal s(n);
    TFilter lp(Rate, 1.4);
    for (int i = 0; i < n; ++i) {
        const double t = i / Rate;
        const double raw = SawWave(hz * t, hz, 8000.0) + SawWave(hz * 1.006 * t + 0.3, hz, 8000.0) +
                           0.9 * std::sin(TwoPi * hz * t);
        const double cutoff = 250.0 + 2800.0 * ExpDecay(t, 0.07);
        s[i] = std::tanh(1.3 * lp.Low(raw, cutoff)) * AttackDecay(t, 0.002, 0.5);
    }
    Normalize(s, 0.9);
    FadeEnds(s, 0, static_cast<int>(Rate * 0.03));
    TXmInstrument ins = MakeInstrument("Drive bass", MakeSample("bass", s, Rate, HzToMidi(hz)));
    ins.VolumeEnvelope = Adsr(bpm, 0.0, 0.01, 64, 0.06);
    ins.Fadeout = 4000;
    return ins;
}

TXmInstrument Lead(int bpm) {
    // One second of loop: 524 and 526 Hz saws beat twice a second over a 262 Hz square.
    const int n = static_cast<int>(Rate);
    TSignal s(n);
    auto tilt = [](double hz) {
        std::vector<double> amp;
        for (int h = 1; h * hz < 9000.0; ++h) {
            amp.push_back(1.0 / h / (1.0 + std::pow(h * hz / 3500.0, 2.0)));
        }
        return amp;
    };
    const std::vector<double> sawAmp = tilt(524.0);
    const std::vector<double> sawAmp2 = tilt(526.0);
    std::vector<double> squareAmp = tilt(262.0);
    for (size_t h = 1; h < squareAmp.size(); h += 2) {
        squareAmp[h] = 0.0;
    }
    for (int i = 0; i < n; ++i) {
        const double t = i / Rate;
        s[i] = Harmonics(524.0 * t, sawAmp) + Harmonics(526.0 * t + 0.37, sawAmp2) +
               0.7 * Harmonics(262.0 * t + 0.11, squareAmp);
    }
    Normalize(s, 0.9);
    TXmInstrument ins = MakeInstrument("Lead", MakeLoopedSample("lead", s, Rate, HzToMidi(525.0)));
    ins.VolumeEnvelope = Adsr(bpm, 0.005, 0.3, 48, 0.18);
    ins.Fadeout = 1500;
    ins.VibratoType = 0;
    ins.VibratoSweep = 40;
    ins.VibratoDepth = 3;
    ins.VibratoRate = 12;
    return ins;
}

TXmInstrument Kick() {
    const int n = static_cast<int>(Rate * 0.45);
    TSignal s(n);
    TNoise noise(0x4B1C4u);
    TFilter hp(Rate, 0.7);
    double phase = 0.0;
    for (int i = 0; i < n; ++i) {
        const double t = i / Rate;
        const double hz = 46.0 + 120.0 * ExpDecay(t, 0.03);
        phase += hz / Rate;
        const double body = std::sin(TwoPi * phase) * AttackDecay(t, 0.001, 0.2);
        const double click = hp.High(noise.Bipolar(), 3000.0) * ExpDecay(t, 0.003) * 0.5;
        s[i] = std::tanh(1.6 * (body + click));
    }
    return MakeDrum("Kick", s, Rate);
}

TXmInstrument Snare() {
    const int n = static_cast<int>(Rate * 0.35);
    TSignal s(n);
    TNoise noise(0x5A4E3u);
    TFilter bp(Rate, 0.8);
    TFilter hp(Rate, 0.7);
    for (int i = 0; i < n; ++i) {
        const double t = i / Rate;
        const double tone = (std::sin(TwoPi * 185.0 * t) + 0.5 * std::sin(TwoPi * 330.0 * t)) * ExpDecay(t, 0.045);
        const double rattle = hp.High(bp.Band(noise.Bipolar(), 4500.0), 900.0) * AttackDecay(t, 0.001, 0.11);
        s[i] = 0.8 * tone + 1.6 * rattle;
    }
    return MakeDrum("Snare", s, Rate);
}

TXmInstrument Clap() {
    const int n = static_cast<int>(Rate * 0.4);
    TSignal s(n);
    TNoise noise(0xC1A9u);
    TFilter bp(Rate, 1.6);
    for (int i = 0; i < n; ++i) {
        const double t = i / Rate;
        double env = 0.0;
        for (double start : {0.0, 0.011, 0.022}) {
            env = std::max(env, ExpDecay(t - start, 0.006) * (t >= start ? 1.0 : 0.0));
        }
        env = std::max(env, 0.6 * ExpDecay(t - 0.03, 0.13) * (t >= 0.03 ? 1.0 : 0.0));
        s[i] = bp.Band(noise.Bipolar(), 1300.0) * env;
    }
    return MakeDrum("Clap", s, Rate);
}

TXmInstrument ClosedHat() { return MakeDrum("Closed hat", Cymbal(0x4A7u, 0.12, 0.03, 7000.0, Rate), Rate); }

TXmInstrument OpenHat() { return MakeDrum("Open hat", Cymbal(0x0E4A7u, 0.6, 0.22, 6500.0, Rate), Rate); }

TXmInstrument Crash() {
    const double rate = 32000.0;
    return MakeDrum("Crash", Cymbal(0xC4A54u, 2.0, 0.6, 3500.0, rate), rate);
}

TXmInstrument Shaker() {
    const int n = static_cast<int>(Rate * 0.12);
    TSignal s(n);
    TNoise noise(0x54A1u);
    TFilter bp(Rate, 1.2);
    for (int i = 0; i < n; ++i) {
        const double t = i / Rate;
        s[i] = bp.Band(noise.Bipolar(), 6500.0) * AttackDecay(t, 0.012, 0.03);
    }
    return MakeDrum("Shaker", s, Rate);
}

}  // namespace quillon::assetgen::instruments
