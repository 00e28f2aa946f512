// A song laid out on one long grid of rows (bars of 16 rows) and cut into 64-row patterns,
// with the written-line helper the two songs are composed with.
#pragma once

#include <string>
#include <vector>

#include "XmWriter.h"

namespace quillon::assetgen {

constexpr int RowsPerBar = 16;  // sixteenth notes, four rows a beat
constexpr int BarsPerPattern = 4;

// One note of a written line: the step (sixteenth) from the start of its bar, a MIDI note
// and a length in steps.
struct TLineNote {
    int Bar;
    int Step;
    int Midi;
    int Length;
};

class TSongBuilder {
public:
    // Every note volume is scaled by `gain`, which sets the song's overall loudness.
    TSongBuilder(int channels, int bars, double gain = 1.0);

    static int Row(int bar, int step) { return bar * RowsPerBar + step; }

    // Places a channel in the stereo field: 0 left, 128 centre, 255 right. A note with an
    // instrument resets the channel to the sample's own panning, so every note of a panned
    // channel carries the set-panning effect unless its effect column is taken.
    void SetPan(int channel, int pan);

    // volume 0..64; instrument is 1-based.
    void Note(int row, int channel, int midi, int instrument, int volume);
    void Off(int row, int channel);
    void Effect(int row, int channel, uint8_t effect, uint8_t param);
    bool IsFree(int row, int channel) const;

    // Plays a written line from bar `firstBar`, with a key-off after each note that is not
    // followed at once by the next one.
    void Line(int firstBar, int channel, const std::vector<TLineNote>& notes, int instrument, int volume,
              int transpose = 0);

    std::vector<TXmPattern> Patterns() const;
    std::vector<uint8_t> Orders() const;

private:
    TXmCell& Cell(int row, int channel);

    int Channels;
    int TotalRows;
    double Gain;
    std::vector<TXmCell> Cells;
    std::vector<int> Pans;  // per channel; -1 leaves the sample's panning
};

}  // namespace quillon::assetgen
