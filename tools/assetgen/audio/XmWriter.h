// The extended-module (.xm) song format as the generator writes it: module, patterns,
// instruments with their samples, and the byte encoder.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon::assetgen {

constexpr uint8_t XmKeyOff = 97;
constexpr uint8_t XmSetPanning = 0x08;  // effect 8xx: 00 left .. FF right

struct TXmCell {
    uint8_t Note = 0;        // 1..96 (C-0..B-7), XmKeyOff, or 0 for none
    uint8_t Instrument = 0;  // 1-based, 0 for none
    uint8_t Volume = 0;      // volume column byte (0x10..0x50 sets 0..64), 0 for none
    uint8_t Effect = 0;
    uint8_t Param = 0;
};

struct TXmPattern {
    int Rows = 64;
    std::vector<TXmCell> Cells;  // Rows * channels, row by row
};

enum class TXmLoop : uint8_t { None = 0, Forward = 1, PingPong = 2 };

struct TXmSample {
    std::string Name;
    std::vector<int16_t> Data;  // always stored as 16-bit
    uint32_t LoopStart = 0;     // in sample frames
    uint32_t LoopLength = 0;
    TXmLoop Loop = TXmLoop::None;
    uint8_t Volume = 64;
    int8_t Finetune = 0;
    uint8_t Panning = 128;
    int8_t RelativeNote = 0;
};

struct TXmEnvelopePoint {
    uint16_t Tick;
    uint16_t Value;  // 0..64
};

struct TXmEnvelope {
    std::vector<TXmEnvelopePoint> Points;  // at most 12, ticks rising
    int Sustain = -1;                      // point index, -1 for none
    int LoopStart = -1;
    int LoopEnd = -1;
};

struct TXmInstrument {
    std::string Name;
    std::vector<TXmSample> Samples;  // at most 16
    std::array<uint8_t, 96> SampleForNote{};
    TXmEnvelope VolumeEnvelope;
    TXmEnvelope PanningEnvelope;
    uint8_t VibratoType = 0;  // 0 sine, 1 square, 2 ramp down, 3 ramp up
    uint8_t VibratoSweep = 0;
    uint8_t VibratoDepth = 0;
    uint8_t VibratoRate = 0;
    uint16_t Fadeout = 0;
};

struct TXmModule {
    std::string Name;
    int Channels = 8;
    bool LinearFrequencies = true;
    int Speed = 6;  // ticks per row
    int Bpm = 125;
    std::vector<uint8_t> Orders;
    int RestartPosition = 0;  // the order the song jumps back to after the last one
    std::vector<TXmPattern> Patterns;
    std::vector<TXmInstrument> Instruments;
};

// Chooses RelativeNote and Finetune so that a sample recorded at `rate` whose pitch is the
// (possibly fractional) MIDI note `midiPitch` sounds at the right pitch for every song note.
void TuneSample(TXmSample& sample, double rate, double midiPitch);

// The MIDI note 60 (middle C) is the song note C-4.
uint8_t XmNote(int midi);

// Raises std::invalid_argument for a module the format cannot hold.
std::vector<uint8_t> EncodeXm(const TXmModule& module);
// Raises std::runtime_error when the file cannot be written.
void WriteXmFile(const std::string& path, const TXmModule& module);

}  // namespace quillon::assetgen
