// Encodes a song into the published extended-module (.xm) layout, version 1.04.
#include "XmWriter.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

namespace quillon::assetgen {

namespace {

constexpr uint32_t HeaderSize = 276;           // counted from the header-size field itself
constexpr uint32_t InstrumentHeaderSize = 263;  // with samples, including the 22 reserved bytes
constexpr uint32_t SampleHeaderSize = 40;

class TByteWriter {
public:
    void U8(uint32_t v) { Bytes.push_back(static_cast<uint8_t>(v)); }
    void U16(uint32_t v) {
        U8(v & 0xFF);
        U8((v >> 8) & 0xFF);
    }
    void U32(uint32_t v) {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    // A fixed-width text field, padded with zero bytes.
    void Text(const std::string& s, size_t width) {
        for (size_t i = 0; i < width; ++i) {
            U8(i < s.size() ? static_cast<uint8_t>(s[i]) : 0);
        }
    }
    void Zeros(size_t count) { Bytes.insert(Bytes.end(), count, 0); }
    size_t Size() const { return Bytes.size(); }
    void Append(const std::vector<uint8_t>& more) { Bytes.insert(Bytes.end(), more.begin(), more.end()); }

    std::vector<uint8_t> Bytes;
};

void Require(bool ok, const char* what) {
    if (!ok) {
        throw std::invalid_argument(std::string("XM module: ") + what);
    }
}

std::vector<uint8_t> PackPattern(const TXmPattern& pattern) {
    TByteWriter w;
    for (const TXmCell& c : pattern.Cells) {
        const bool all = c.Note && c.Instrument && c.Volume && c.Effect && c.Param;
        if (all) {
            // Every field present: the plain five bytes are shorter than the packed form.
            w.U8(c.Note);
            w.U8(c.Instrument);
            w.U8(c.Volume);
            w.U8(c.Effect);
            w.U8(c.Param);
            continue;
        }
        uint8_t mask = 0x80;
        mask |= c.Note ? 0x01 : 0;
        mask |= c.Instrument ? 0x02 : 0;
        mask |= c.Volume ? 0x04 : 0;
        mask |= c.Effect ? 0x08 : 0;
        mask |= c.Param ? 0x10 : 0;
        w.U8(mask);
        if (c.Note) {
            w.U8(c.Note);
        }
        if (c.Instrument) {
            w.U8(c.Instrument);
        }
        if (c.Volume) {
            w.U8(c.Volume);
        }
        if (c.Effect) {
            w.U8(c.Effect);
        }
        if (c.Param) {
            w.U8(c.Param);
        }
    }
    return w.Bytes;
}

void WriteEnvelopePoints(TByteWriter& w, const TXmEnvelope& env) {
    for (size_t i = 0; i < 12; ++i) {
        if (i < env.Points.size()) {
            w.U16(env.Points[i].Tick);
            w.U16(env.Points[i].Value);
        } else {
            w.U16(0);
            w.U16(0);
        }
    }
}

uint8_t EnvelopeFlags(const TXmEnvelope& env) {
    if (env.Points.empty()) {
        return 0;
    }
    uint8_t flags = 0x01;
    if (env.Sustain >= 0) {
        flags |= 0x02;
    }
    if (env.LoopStart >= 0 && env.LoopEnd >= env.LoopStart) {
        flags |= 0x04;
    }
    return flags;
}

void CheckEnvelope(const TXmEnvelope& env) {
    Require(env.Points.size() <= 12, "an envelope has more than 12 points");
    const int n = static_cast<int>(env.Points.size());
    for (int i = 0; i < n; ++i) {
        Require(env.Points[i].Value <= 64, "an envelope value is above 64");
        Require(i == 0 || env.Points[i].Tick > env.Points[i - 1].Tick, "envelope ticks must rise");
    }
    Require(env.Sustain < n && env.LoopStart < n && env.LoopEnd < n, "an envelope point index is out of range");
}

void WriteInstrument(TByteWriter& w, const TXmInstrument& ins) {
    Require(ins.Samples.size() <= 16, "an instrument has more than 16 samples");
    CheckEnvelope(ins.VolumeEnvelope);
    CheckEnvelope(ins.PanningEnvelope);
    const size_t start = w.Size();
    w.U32(ins.Samples.empty() ? 29 : InstrumentHeaderSize);
    w.Text(ins.Name, 22);
    w.U8(0);
    w.U16(static_cast<uint32_t>(ins.Samples.size()));
    if (ins.Samples.empty()) {
        return;
    }
    w.U32(SampleHeaderSize);
    for (uint8_t s : ins.SampleForNote) {
        Require(s < ins.Samples.size(), "a note maps to a missing sample");
        w.U8(s);
    }
    WriteEnvelopePoints(w, ins.VolumeEnvelope);
    WriteEnvelopePoints(w, ins.PanningEnvelope);
    w.U8(static_cast<uint32_t>(ins.VolumeEnvelope.Points.size()));
    w.U8(static_cast<uint32_t>(ins.PanningEnvelope.Points.size()));
    for (const TXmEnvelope* env : {&ins.VolumeEnvelope, &ins.PanningEnvelope}) {
        w.U8(std::max(env->Sustain, 0));
        w.U8(std::max(env->LoopStart, 0));
        w.U8(std::max(env->LoopEnd, 0));
    }
    w.U8(EnvelopeFlags(ins.VolumeEnvelope));
    w.U8(EnvelopeFlags(ins.PanningEnvelope));
    w.U8(ins.VibratoType);
    w.U8(ins.VibratoSweep);
    w.U8(ins.VibratoDepth);
    w.U8(ins.VibratoRate);
    w.U16(ins.Fadeout);
    w.Zeros(InstrumentHeaderSize - (w.Size() - start));

    for (const TXmSample& s : ins.Samples) {
        Require(s.Volume <= 64, "a sample volume is above 64");
        const auto frames = static_cast<uint32_t>(s.Data.size());
        Require(frames < 0x40000000u, "a sample is too long");
        if (s.Loop != TXmLoop::None) {
            Require(s.LoopLength > 0 && s.LoopStart + s.LoopLength <= frames, "a sample loop lies outside the sample");
        }
        w.U32(frames * 2);
        w.U32(s.Loop == TXmLoop::None ? 0 : s.LoopStart * 2);
        w.U32(s.Loop == TXmLoop::None ? 0 : s.LoopLength * 2);
        w.U8(s.Volume);
        w.U8(static_cast<uint8_t>(s.Finetune));
        w.U8(static_cast<uint8_t>(s.Loop) | 0x10);  // bit 4: 16-bit samples
        w.U8(s.Panning);
        w.U8(static_cast<uint8_t>(s.RelativeNote));
        w.U8(0);
        w.Text(s.Name, 22);
    }
    // The sample data follows all sample headers, each sample as deltas of its frames.
    for (const TXmSample& s : ins.Samples) {
        int16_t previous = 0;
        for (int16_t v : s.Data) {
            w.U16(static_cast<uint16_t>(static_cast<uint16_t>(v) - static_cast<uint16_t>(previous)));
            previous = v;
        }
    }
}

}  // namespace

void TuneSample(TXmSample& sample, double rate, double midiPitch) {
    // Note C-4 with no relative note and no finetune plays 8363 frames a second.
    const double semitones = 60.0 - midiPitch + 12.0 * std::log2(rate / 8363.0);
    int relative = static_cast<int>(std::lround(semitones));
    int finetune = static_cast<int>(std::lround((semitones - relative) * 128.0));
    if (finetune > 127) {
        finetune -= 128;
        relative += 1;
    }
    Require(relative >= -96 && relative <= 95, "a sample's pitch cannot be reached");
    sample.RelativeNote = static_cast<int8_t>(relative);
    sample.Finetune = static_cast<int8_t>(finetune);
}

uint8_t XmNote(int midi) {
    const int note = midi - 11;
    Require(note >= 1 && note <= 96, "a note lies outside C-0..B-7");
    return static_cast<uint8_t>(note);
}

std::vector<uint8_t> EncodeXm(const TXmModule& m) {
    Require(m.Channels >= 1 && m.Channels <= 32, "channel count must be 1..32");
    Require(!m.Orders.empty() && m.Orders.size() <= 256, "the order list must hold 1..256 entries");
    Require(m.RestartPosition >= 0 && m.RestartPosition < static_cast<int>(m.Orders.size()),
            "the restart position lies outside the order list");
    Require(!m.Patterns.empty() && m.Patterns.size() <= 256, "pattern count must be 1..256");
    Require(m.Instruments.size() <= 128, "instrument count must be at most 128");
    Require(m.Speed >= 1 && m.Speed <= 31 && m.Bpm >= 32 && m.Bpm <= 255, "speed or tempo out of range");
    for (uint8_t o : m.Orders) {
        Require(o < m.Patterns.size(), "an order names a missing pattern");
    }

    TByteWriter w;
    w.Text("Extended Module: ", 17);
    w.Text(m.Name, 20);
    w.U8(0x1A);
    w.Text("Kvillon assetgen", 20);
    w.U16(0x0104);
    w.U32(HeaderSize);
    w.U16(static_cast<uint32_t>(m.Orders.size()));
    w.U16(static_cast<uint32_t>(m.RestartPosition));
    w.U16(static_cast<uint32_t>(m.Channels));
    w.U16(static_cast<uint32_t>(m.Patterns.size()));
    w.U16(static_cast<uint32_t>(m.Instruments.size()));
    w.U16(m.LinearFrequencies ? 1 : 0);
    w.U16(static_cast<uint32_t>(m.Speed));
    w.U16(static_cast<uint32_t>(m.Bpm));
    for (size_t i = 0; i < 256; ++i) {
        w.U8(i < m.Orders.size() ? m.Orders[i] : 0);
    }

    for (const TXmPattern& p : m.Patterns) {
        Require(p.Rows >= 1 && p.Rows <= 256, "a pattern must have 1..256 rows");
        Require(p.Cells.size() == static_cast<size_t>(p.Rows) * m.Channels, "a pattern's cell count is wrong");
        for (const TXmCell& c : p.Cells) {
            Require(c.Note <= XmKeyOff && c.Instrument <= m.Instruments.size(), "a cell names a bad note or instrument");
        }
        const std::vector<uint8_t> packed = PackPattern(p);
        Require(packed.size() <= 0xFFFF, "a pattern packs to more than 65535 bytes");
        w.U32(9);
        w.U8(0);
        w.U16(static_cast<uint32_t>(p.Rows));
        w.U16(static_cast<uint32_t>(packed.size()));
        w.Append(packed);
    }

    for (const TXmInstrument& ins : m.Instruments) {
        WriteInstrument(w, ins);
    }
    return w.Bytes;
}

void WriteXmFile(const std::string& path, const TXmModule& module) {
    const std::vector<uint8_t> bytes = EncodeXm(module);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("Cannot write \"" + path + "\"");
    }
}

}  // namespace quillon::assetgen
