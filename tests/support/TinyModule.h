// A tiny extended module built in memory: one looping square-wave instrument
// holding a note on each channel (a chord) for a 64-row pattern the song repeats.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace quillon::testing {

inline std::vector<uint8_t> MakeTinyModule(int channels = 1) {
    std::vector<uint8_t> m;
    auto put = [&](const void* p, size_t n) {
        const uint8_t* b = static_cast<const uint8_t*>(p);
        m.insert(m.end(), b, b + n);
    };
    auto u8 = [&](int v) { m.push_back(static_cast<uint8_t>(v)); };
    auto u16 = [&](int v) { u8(v & 0xFF); u8((v >> 8) & 0xFF); };
    auto u32 = [&](uint32_t v) { u16(static_cast<int>(v & 0xFFFF)); u16(static_cast<int>(v >> 16)); };
    auto text = [&](const std::string& s, size_t n) {
        std::string t = s;
        t.resize(n, '\0');
        put(t.data(), n);
    };
    text("Extended Module: ", 17);
    text("tiny", 20);
    u8(0x1A);
    text("quillon tests", 20);
    u16(0x0104);
    u32(276);   // header size, counted from this field
    u16(1);     // song length
    u16(0);     // restart position
    u16(channels);
    u16(1);     // patterns
    u16(1);     // instruments
    u16(1);     // linear frequency table
    u16(6);     // tempo
    u16(125);   // BPM
    std::vector<uint8_t> order(256, 0);
    put(order.data(), order.size());
    // Pattern 0: notes of instrument 1 on row 0, then empty rows.
    std::vector<uint8_t> rows;
    for (int c = 0; c < channels; ++c) {
        const uint8_t note = static_cast<uint8_t>(37 + 4 * c % 24);
        rows.insert(rows.end(), {note, 1, 0x30, 0, 0});
    }
    for (int r = 1; r < 64; ++r)
        for (int c = 0; c < channels; ++c) rows.push_back(0x80);
    u32(9);
    u8(0);
    u16(64);
    u16(static_cast<int>(rows.size()));
    put(rows.data(), rows.size());
    // Instrument 1 with one sample.
    size_t instrumentStart = m.size();
    u32(263);
    text("square", 22);
    u8(0);
    u16(1);
    u32(40);
    while (m.size() < instrumentStart + 263) u8(0);
    const int length = 64;
    u32(length);
    u32(0);
    u32(length);
    u8(64);  // volume
    u8(0);   // finetune
    u8(1);   // forward loop, 8-bit
    u8(128); // panning
    u8(0);   // relative note
    u8(0);
    text("square", 22);
    int8_t previous = 0;
    for (int i = 0; i < length; ++i) {
        int8_t value = i < length / 2 ? 80 : -80;
        u8(static_cast<uint8_t>(static_cast<int8_t>(value - previous)));  // delta coded
        previous = value;
    }
    return m;
}

}  // namespace quillon::testing
