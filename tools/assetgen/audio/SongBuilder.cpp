// The song grid: notes written by row and channel, cut into patterns at the end.
#include "SongBuilder.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace quillon::assetgen {

TSongBuilder::TSongBuilder(int channels, int bars, double gain)
    : Channels(channels), TotalRows(bars * RowsPerBar), Gain(gain), Cells(static_cast<size_t>(TotalRows) * channels),
      Pans(static_cast<size_t>(channels), -1) {
    if (bars % BarsPerPattern != 0) {
        throw std::invalid_argument("a song must fill whole patterns");
    }
}

TXmCell& TSongBuilder::Cell(int row, int channel) {
    if (row < 0 || row >= TotalRows || channel < 0 || channel >= Channels) {
        throw std::out_of_range("song grid position out of range");
    }
    return Cells[static_cast<size_t>(row) * Channels + channel];
}

bool TSongBuilder::IsFree(int row, int channel) const {
    if (row < 0 || row >= TotalRows) {
        return false;
    }
    return Cells[static_cast<size_t>(row) * Channels + channel].Note == 0;
}

void TSongBuilder::SetPan(int channel, int pan) {
    if (channel < 0 || channel >= Channels || pan < 0 || pan > 255) {
        throw std::out_of_range("song channel or panning out of range");
    }
    Pans[static_cast<size_t>(channel)] = pan;
}

void TSongBuilder::Note(int row, int channel, int midi, int instrument, int volume) {
    TXmCell& c = Cell(row, channel);
    c.Note = XmNote(midi);
    c.Instrument = static_cast<uint8_t>(instrument);
    c.Volume = static_cast<uint8_t>(0x10 + std::clamp(static_cast<int>(std::lround(volume * Gain)), 0, 64));
    const int pan = Pans[static_cast<size_t>(channel)];
    if (pan >= 0 && c.Effect == 0 && c.Param == 0) {
        c.Effect = XmSetPanning;
        c.Param = static_cast<uint8_t>(pan);
    }
}

void TSongBuilder::Off(int row, int channel) {
    TXmCell& c = Cell(row, channel);
    c.Note = XmKeyOff;
    c.Instrument = 0;
    c.Volume = 0;
}

void TSongBuilder::Effect(int row, int channel, uint8_t effect, uint8_t param) {
    TXmCell& c = Cell(row, channel);
    c.Effect = effect;
    c.Param = param;
}

void TSongBuilder::Line(int firstBar, int channel, const std::vector<TLineNote>& notes, int instrument, int volume,
                        int transpose) {
    for (const TLineNote& n : notes) {
        Note(Row(firstBar + n.Bar, n.Step), channel, n.Midi + transpose, instrument, volume);
    }
    for (const TLineNote& n : notes) {
        const int end = Row(firstBar + n.Bar, n.Step) + n.Length;
        if (end < TotalRows && IsFree(end, channel)) {
            Off(end, channel);
        }
    }
}

std::vector<TXmPattern> TSongBuilder::Patterns() const {
    const int rows = RowsPerBar * BarsPerPattern;
    std::vector<TXmPattern> patterns;
    for (int start = 0; start < TotalRows; start += rows) {
        TXmPattern p;
        p.Rows = rows;
        p.Cells.assign(Cells.begin() + static_cast<long>(start) * Channels,
                       Cells.begin() + static_cast<long>(start + rows) * Channels);
        patterns.push_back(std::move(p));
    }
    return patterns;
}

std::vector<uint8_t> TSongBuilder::Orders() const {
    std::vector<uint8_t> orders;
    for (int i = 0; i < TotalRows / (RowsPerBar * BarsPerPattern); ++i) {
        orders.push_back(static_cast<uint8_t>(i));
    }
    return orders;
}

}  // namespace quillon::assetgen
