// The 27 sound effects of the wave collection, each synthesised for its event in the game;
// engine sounds and the horn are seamless loops.
#include <algorithm>
#include <cmath>
#include <functional>

#include "AudioGen.h"
#include "Synth.h"

namespace quillon::assetgen {

using namespace synth;

namespace {

constexpr int Rate = 22050;

int Frames(double seconds) { return static_cast<int>(std::lround(seconds * Rate)); }

TSignal Render(double seconds, const std::function<double(double)>& sample) {
    TSignal s(Frames(seconds));
    for (size_t i = 0; i < s.size(); ++i) {
        s[i] = sample(static_cast<double>(i) / Rate);
    }
    return s;
}

// Loops stay seamless because every tone completes a whole number of cycles in the loop
// (whole Hz in a one-second loop, even Hz in the horn's half second) and noise layers are
// cross-faded into themselves.
// A noise layer of `seconds` that loops without a seam. The filter runs for a while before
// the part that is kept, so that it has settled.
TSignal LoopedNoise(double seconds, uint32_t seed, const std::function<double(double noise, double t)>& shape) {
    const int length = Frames(seconds);
    const int overlap = Frames(0.1);
    const int preroll = Frames(0.05);
    TNoise noise(seed);
    TSignal s;
    s.reserve(length + overlap);
    for (int i = -preroll; i < length + overlap; ++i) {
        const double v = shape(noise.Bipolar(), static_cast<double>(i) / Rate);
        if (i >= 0) {
            s.push_back(v);
        }
    }
    MakeLoop(s, overlap);
    return s;
}

TWaveItemData Item(const char* name, TSignal s, double peak, bool looped) {
    Normalize(s, peak);
    if (!looped) {
        FadeEnds(s, Frames(0.001), Frames(0.004));
    }
    TWaveItemData item;
    item.Name = name;
    item.Looped = looped;
    item.Data = ToPcm16Bytes(s);
    return item;
}

// A stereo recording: both channels scaled together, then interleaved left, right.
TWaveItemData StereoItem(const char* name, TSignal left, TSignal right, double peak, bool looped) {
    TSignal both(left.size() * 2);
    for (size_t i = 0; i < left.size(); ++i) {
        both[2 * i] = left[i];
        both[2 * i + 1] = right[i];
    }
    Normalize(both, peak);
    for (size_t i = 0; i < left.size(); ++i) {
        left[i] = both[2 * i];
        right[i] = both[2 * i + 1];
    }
    if (!looped) {
        FadeEnds(left, Frames(0.001), Frames(0.004));
        FadeEnds(right, Frames(0.001), Frames(0.004));
    }
    for (size_t i = 0; i < left.size(); ++i) {
        both[2 * i] = left[i];
        both[2 * i + 1] = right[i];
    }
    TWaveItemData item;
    item.Name = name;
    item.Looped = looped;
    item.Channels = 2;
    item.Data = ToPcm16Bytes(both);
    return item;
}

TWaveItemData Silence(const char* name) { return Item(name, TSignal(Frames(0.05), 0.0), 0.0, false); }

// Phase in cycles of a tone whose frequency glides exponentially from `from` to `to` Hz.
double GlidePhase(double t, double from, double to, double seconds) {
    const double k = std::log(to / from) / seconds;
    if (t <= seconds) {
        return from * (std::exp(k * t) - 1.0) / k;
    }
    return from * (std::exp(k * seconds) - 1.0) / k + to * (t - seconds);
}

TSignal IntroShimmer() {
    const double chord[] = {523.25, 659.25, 783.99, 1046.5};
    TSignal s = Render(1.0, [&](double t) {
        const double sweep = std::sin(TwoPi * GlidePhase(t, 200.0, 1200.0, 0.8)) * Ramp(t, 0.0, 0.5, 0.3);
        double pad = 0.0;
        for (int k = 0; k < 4; ++k) {
            const double shimmer = 1.0 + 0.3 * std::sin(TwoPi * (6.0 + k) * t);
            pad += TriangleWave(chord[k] * t + 0.21 * k, chord[k], 8000.0) * shimmer;
        }
        const double env = std::min(1.0, t / 0.25) * (t < 0.6 ? 1.0 : std::cos((t - 0.6) / 0.4 * Pi / 2.0));
        return (0.6 * sweep + 0.25 * pad) * env;
    });
    return s;
}

TSignal SelectBlip() {
    return Render(0.04, [](double t) { return std::sin(TwoPi * 1500.0 * t) * AttackDecay(t, 0.001, 0.009); });
}

TSignal ActivateClick() {
    TNoise noise(0xC11C4u);
    TFilter hp(Rate, 0.7);
    return Render(0.09, [&](double t) {
        const double tone = SquareWave(600.0 * t, 600.0, 6000.0) * AttackDecay(t, 0.001, 0.022);
        const double tick = hp.High(noise.Bipolar(), 2000.0) * ExpDecay(t, 0.004);
        return 0.6 * tone + 0.8 * tick;
    });
}

TSignal TwoNoteBlip() {
    return Render(0.25, [](double t) {
        const double first = TriangleWave(880.0 * t, 880.0, 9000.0) * AttackDecay(t, 0.003, 0.05) * (t < 0.11 ? 1.0 : 0.0);
        const double u = t - 0.11;
        const double second = u < 0.0 ? 0.0 : TriangleWave(1320.0 * u, 1320.0, 9000.0) * AttackDecay(u, 0.003, 0.05);
        return first + second;
    });
}

// Low idle hum: 55 Hz saw and 110 Hz, breathing four times a second.
TSignal EngineIdle() {
    TFilter lp(Rate, 0.7);
    const TSignal rumble = LoopedNoise(1.0, 0x1D1Eu, [&](double n, double) { return lp.Low(n, 120.0); });
    TSignal s = Render(1.0, [](double t) {
        const double wobble = 1.0 + 0.25 * std::sin(TwoPi * 4.0 * t);
        return (SawWave(55.0 * t, 55.0, 2500.0) + 0.7 * std::sin(TwoPi * 110.0 * t)) * wobble;
    });
    Mix(s, rumble, 2.0);
    return s;
}

// Airy whoosh: band-passed noise that swells twice a second over a 90 Hz hum.
TSignal EngineCoast() {
    TFilter bp(Rate, 0.9);
    const TSignal air = LoopedNoise(1.0, 0xC0A57u, [&](double n, double) { return bp.Band(n, 600.0); });
    TSignal s = Render(1.0, [](double t) { return 0.35 * SawWave(90.0 * t, 90.0, 1200.0); });
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / Rate;
        s[i] += 1.6 * air[i] * (0.8 + 0.2 * std::sin(TwoPi * 2.0 * t));
    }
    return s;
}

// Hiss and screech: high-passed noise and a 2.5 kHz tone shaken by slow frequency wobbles.
TSignal EngineBrake() {
    TFilter hp(Rate, 0.7);
    const TSignal hiss = LoopedNoise(1.0, 0xB4A4Eu, [&](double n, double) { return hp.High(n, 3000.0); });
    TSignal s = Render(1.0, [](double t) {
        const double jitter = 3.0 * std::sin(TwoPi * 7.0 * t) + 2.0 * std::sin(TwoPi * 13.0 * t + 1.0);
        const double rough = 1.0 + 0.3 * std::sin(TwoPi * 31.0 * t);
        return 0.35 * std::sin(TwoPi * 2500.0 * t + jitter) * rough;
    });
    Mix(s, hiss, 0.5);
    return s;
}

struct TStereo {
    TSignal Left;
    TSignal Right;
};

// Two-tone horn: 370 and 466 Hz squares with a gentle vibrato, half a second of loop. The
// low tone leans left and the high one right, like two horns side by side.
TStereo Horn() {
    auto tone = [](double hz) {
        std::vector<double> amp;
        for (int k = 1; k * hz < 7000.0; k += 1) {
            amp.push_back((k & 1) ? 1.0 / k / (1.0 + std::pow(k * hz / 2500.0, 2.0)) : 0.0);
        }
        return amp;
    };
    const std::vector<double> low = tone(370.0);
    const std::vector<double> high = tone(466.0);
    auto side = [&](double lowGain, double highGain) {
        return Render(0.5, [&](double t) {
            const double vibrato = 0.1 * std::sin(TwoPi * 6.0 * t);
            return lowGain * Harmonics(370.0 * t + vibrato, low) + highGain * Harmonics(466.0 * t + vibrato * 1.26, high);
        });
    };
    return {side(1.0, 0.55), side(0.55, 1.0)};
}

// Engine drone for one acceleration band: a saw with strong 2nd and 3rd harmonics, brighter
// as the fundamental rises.
TSignal EngineDrone(int hz, double brightness, uint32_t seed) {
    TFilter bp(Rate, 2.0);
    const TSignal grit = LoopedNoise(1.0, seed, [&](double n, double) { return bp.Band(n, hz * 4.0); });
    std::vector<double> amp;
    for (int k = 1; k * hz < 8000; ++k) {
        double a = 1.0 / k / (1.0 + std::pow(k * hz / brightness, 2.0));
        if (k == 2 || k == 3) {
            a *= 2.2;
        }
        amp.push_back(a);
    }
    const double pulse = 6.0 + hz / 20.0;  // a whole number of Hz for every band
    TSignal s = Render(1.0, [&](double t) {
        return Harmonics(hz * t, amp) * (1.0 + 0.12 * std::sin(TwoPi * std::round(pulse) * t));
    });
    Mix(s, grit, 0.35);
    return s;
}

// Top speed: 220 Hz saw and a 1.1 kHz turbine partial that sways five times a second.
TSignal EngineWhine() {
    TFilter hp(Rate, 0.7);
    const TSignal air = LoopedNoise(1.0, 0x7A1Eu, [&](double n, double) { return hp.High(n, 1500.0); });
    TSignal s = Render(1.0, [](double t) {
        const double saw = SawWave(220.0 * t, 220.0, 6000.0);
        const double turbine = std::sin(TwoPi * 1100.0 * t + 1.5 * std::sin(TwoPi * 5.0 * t));
        return 0.6 * saw + 0.5 * turbine;
    });
    Mix(s, air, 0.25);
    return s;
}

TSignal CoinChime() {
    return Render(0.2, [](double t) {
        auto bell = [](double hz, double u) {
            return u < 0.0 ? 0.0 : (std::sin(TwoPi * hz * u) + 0.3 * std::sin(TwoPi * 2.0 * hz * u)) * AttackDecay(u, 0.002, 0.06);
        };
        return bell(1320.0, t) * (t < 0.06 ? 1.0 : ExpDecay(t - 0.06, 0.01)) + bell(1760.0, t - 0.06);
    });
}

// C-E-G-C, a square note every 90 ms, the last one left to ring.
TSignal PowerUp() {
    const double notes[] = {523.25, 659.25, 783.99, 1046.5};
    return Render(0.4, [&](double t) {
        const int k = std::min(3, static_cast<int>(t / 0.09));
        const double u = t - k * 0.09;
        const double decay = k == 3 ? 0.1 : 0.06;
        return SquareWave(notes[k] * u, notes[k], 7000.0) * AttackDecay(u, 0.002, decay);
    });
}

TSignal Thud() {
    TNoise noise(0x7D0Du);
    TFilter lp(Rate, 0.7);
    return Render(0.25, [&](double t) {
        const double body = std::sin(TwoPi * GlidePhase(t, 120.0, 40.0, 0.2)) * AttackDecay(t, 0.002, 0.08);
        const double click = lp.Low(noise.Bipolar(), 2000.0) * ExpDecay(t, 0.006);
        return std::tanh(1.5 * (body + 1.5 * click));
    });
}

TSignal ClockTick() {
    TNoise noise(0x71C4u);
    return Render(0.03, [&](double t) {
        return (std::sin(TwoPi * 2000.0 * t) + 0.3 * noise.Bipolar()) * AttackDecay(t, 0.0005, 0.004);
    });
}

// A roaring burst: noise whose low-pass closes from 3 kHz to 200 Hz, a 50 Hz thump in the
// middle and crackles. Each side has a roar and crackles of its own, so the blast fills the
// stereo field while its thump stays centred.
TStereo Explosion() {
    auto side = [](uint32_t roarSeed, uint32_t crackleSeed) {
        TNoise noise(roarSeed);
        TNoise crackles(crackleSeed);
        TFilter lp(Rate, 0.8);
        TFilter lp2(Rate, 0.7);
        return Render(1.4, [&](double t) {
            const double cutoff = 200.0 * std::pow(15.0, std::max(0.0, 1.0 - t / 1.0));
            const double roar = lp2.Low(lp.Low(noise.Bipolar(), cutoff), cutoff) * AttackDecay(t, 0.004, 0.4);
            const double thump = std::sin(TwoPi * GlidePhase(t, 90.0, 50.0, 0.15)) * AttackDecay(t, 0.002, 0.25);
            const double crackle = (crackles.Uniform() < 0.004 ? crackles.Bipolar() : 0.0) * ExpDecay(t, 0.6);
            return 1.4 * roar + 0.9 * thump + 0.8 * crackle;
        });
    };
    return {side(0xE4B1u, 0xC4AC4u), side(0x5E4B2u, 0x2C4ADu)};
}

// Brass-like fanfare: G-C-E-G rising, then a held C major chord that swells and fades.
TSignal Fanfare() {
    struct TBrassNote {
        double Start;
        double End;
        double Hz;
    };
    const TBrassNote notes[] = {
        {0.00, 0.14, 392.00}, {0.15, 0.29, 523.25}, {0.30, 0.44, 659.25}, {0.45, 0.70, 783.99},
        {0.72, 3.00, 523.25}, {0.72, 3.00, 659.25}, {0.72, 3.00, 783.99}, {0.72, 3.00, 1046.5},
        {0.72, 3.00, 261.63},
    };
    TSignal s(Frames(3.0), 0.0);
    for (const TBrassNote& n : notes) {
        TFilter lp(Rate, 0.9);
        const int first = Frames(n.Start);
        const int last = std::min(static_cast<int>(s.size()), Frames(n.End));
        const double length = n.End - n.Start;
        for (int i = first; i < last; ++i) {
            const double u = static_cast<double>(i - first) / Rate;
            const double vibrato = u > 0.4 ? 0.003 * std::sin(TwoPi * 5.5 * u) : 0.0;
            const double phase = n.Hz * u * (1.0 + vibrato);
            const double raw = SawWave(phase, n.Hz, 8000.0) + SawWave(phase * 1.004 + 0.3, n.Hz, 8000.0);
            const double cutoff = n.Hz * (2.0 + 4.0 * AttackDecay(u, 0.04, 0.4));
            const double release = std::min(1.0, (length - u) / (length > 1.0 ? 0.8 : 0.03));
            s[i] += 0.3 * lp.Low(raw, cutoff) * std::min(1.0, u / 0.02) * release;
        }
    }
    return s;
}

// Nitro roar: bright noise and a 150 Hz saw with a fast flutter.
TSignal NitroRoar() {
    TFilter bp(Rate, 0.6);
    const TSignal blast = LoopedNoise(1.0, 0x4170u, [&](double n, double) { return bp.Band(n, 1500.0); });
    TSignal s = Render(1.0, [](double t) {
        return SawWave(150.0 * t, 150.0, 7000.0) * (1.0 + 0.2 * std::sin(TwoPi * 12.0 * t));
    });
    Mix(s, blast, 1.8);
    return s;
}

TSignal LaserZap() {
    return Render(0.2, [](double t) {
        const double p = GlidePhase(t, 1800.0, 300.0, 0.18);
        return (std::sin(TwoPi * p) + 0.3 * std::sin(TwoPi * 2.01 * p)) * AttackDecay(t, 0.002, 0.07);
    });
}

TSignal MegaZap() {
    TNoise noise(0x3E6Au);
    TFilter lp(Rate, 0.7);
    TFilter tone(Rate, 1.2);
    return Render(0.5, [&](double t) {
        const double p = GlidePhase(t, 900.0, 80.0, 0.45);
        const double hz = 900.0 * std::pow(80.0 / 900.0, std::min(t, 0.45) / 0.45);
        const double saw = tone.Low(SawWave(p, hz, 9000.0) + 0.6 * SquareWave(p * 0.5, hz * 0.5, 9000.0), 4000.0);
        const double rush = lp.Low(noise.Bipolar(), 2500.0);
        return std::tanh(1.4 * (saw + 0.6 * rush)) * AttackDecay(t, 0.003, 0.18);
    });
}

// Metallic spark: narrow noise around 3 kHz and three fast-dying inharmonic partials.
TSignal Spark() {
    TNoise noise(0x59A4Cu);
    TFilter bp(Rate, 4.0);
    return Render(0.15, [&](double t) {
        const double ring = std::sin(TwoPi * 3100.0 * t) + 0.7 * std::sin(TwoPi * 4270.0 * t) +
                            0.5 * std::sin(TwoPi * 5400.0 * t);
        return (2.5 * bp.Band(noise.Bipolar(), 3000.0) + 0.4 * ring) * AttackDecay(t, 0.001, 0.03);
    });
}

// Peak levels set the race's balance under the music: the engine, which sounds all the time,
// stays well below the song; shots, hits and bumps come through it, and the explosion is the
// loudest, with room left so that it lands on the loudest beat of the song without clipping.
constexpr double EngineLevel = 0.12;

}  // namespace

std::vector<TWaveItemData> BuildSoundEffects() {
    std::vector<TWaveItemData> items;
    items.push_back(Item("Intro", IntroShimmer(), 0.5, false));
    items.push_back(Item("Select", SelectBlip(), 0.4, false));
    items.push_back(Item("Activate", ActivateClick(), 0.45, false));
    items.push_back(Item("Blip", TwoNoteBlip(), 0.45, false));
    items.push_back(Item("Engine idle", EngineIdle(), EngineLevel, true));
    items.push_back(Item("Engine spare", EngineIdle(), EngineLevel, true));
    items.push_back(Item("Engine coast", EngineCoast(), EngineLevel, true));
    items.push_back(Item("Engine brake", EngineBrake(), EngineLevel, true));
    const TStereo horn = Horn();
    items.push_back(StereoItem("Horn", horn.Left, horn.Right, 0.25, true));
    items.push_back(Item("Engine 1", EngineDrone(80, 500.0, 0xE1u), EngineLevel, true));
    items.push_back(Item("Engine 2", EngineDrone(110, 800.0, 0xE2u), EngineLevel, true));
    items.push_back(Item("Engine 3", EngineDrone(140, 1200.0, 0xE3u), EngineLevel, true));
    items.push_back(Item("Engine 4", EngineDrone(170, 1700.0, 0xE4u), EngineLevel, true));
    items.push_back(Item("Engine top", EngineWhine(), EngineLevel, true));
    items.push_back(Item("Coin", CoinChime(), 0.35, false));
    items.push_back(Item("Power-up", PowerUp(), 0.3, false));
    items.push_back(Silence("Unused 16"));
    items.push_back(Item("Bump", Thud(), 0.3, false));
    items.push_back(Item("Tick", ClockTick(), 0.4, false));
    items.push_back(Silence("Unused 19"));
    const TStereo blast = Explosion();
    items.push_back(StereoItem("Explosion", blast.Left, blast.Right, 0.32, false));
    items.push_back(Item("Fanfare", Fanfare(), 0.5, false));
    items.push_back(Item("Nitro", NitroRoar(), 0.2, true));
    items.push_back(Item("Shot", LaserZap(), 0.3, false));
    items.push_back(Silence("Unused 24"));
    items.push_back(Item("Mega shot", MegaZap(), 0.42, false));
    items.push_back(Item("Hit", Spark(), 0.28, false));
    return items;
}

}  // namespace quillon::assetgen
