// The race theme: a driving A minor piece at 140 beats a minute. Drum-and-bass intro, the
// theme, a second theme, a breakdown, the theme again and a turnaround back to the start.
#include <array>

#include "Instruments.h"
#include "SongBuilder.h"
#include "Songs.h"

namespace quillon::assetgen {

namespace {

enum : int { Kick = 1, Snare, Clap, ClosedHat, OpenHat, Crash, Bass, Lead, Pluck, Pad };
enum : int {
    ChKick = 0,
    ChSnare = 1,
    ChHat = 2,
    ChBass = 3,
    ChLead = 4,
    ChEcho = 5,
    ChArp = 6,
    ChPad = 7,  // three voices
    ChCrash = 10,
    ChClap = 11
};
constexpr int Channels = 12;
constexpr int Bars = 40;
constexpr int Bpm = 140;
constexpr int Rest = -100;

struct TChord {
    int Bass;
    std::array<int, 3> Pad;
    std::array<int, 4> Arp;
};

constexpr TChord Am{33, {57, 60, 64}, {69, 72, 76, 81}};
constexpr TChord F{29, {57, 60, 65}, {65, 69, 72, 77}};
constexpr TChord C{36, {55, 60, 64}, {67, 72, 76, 79}};
constexpr TChord G{31, {55, 59, 62}, {67, 71, 74, 79}};
constexpr TChord Dm{38, {57, 62, 65}, {69, 74, 77, 81}};
constexpr TChord E{28, {56, 59, 64}, {68, 71, 76, 80}};
constexpr TChord Em{28, {55, 59, 64}, {67, 71, 76, 79}};

using TProgression = std::array<TChord, 4>;
const TProgression Theme{Am, F, C, G};
const TProgression Second{Dm, Am, F, E};
const TProgression Breakdown{F, G, Em, Am};
const TProgression Turnaround{F, G, E, E};

// Bass figures, one entry a sixteenth: semitones above the chord's root, or Rest.
using TFigure = std::array<int, 16>;
constexpr TFigure Straight{0, Rest, 0, Rest, 0, Rest, 0, Rest, 0, Rest, 0, Rest, 0, Rest, 0, Rest};
constexpr TFigure Gallop{0, Rest, 12, 0, 0, Rest, 12, 0, 0, Rest, 12, 0, 0, Rest, 12, 7};
constexpr TFigure Syncopated{0, Rest, 0, 12, Rest, 0, 12, Rest, 0, Rest, 0, 12, Rest, 7, 12, Rest};
constexpr TFigure Sparse{0, Rest, Rest, Rest, Rest, Rest, 0, Rest, Rest, Rest, Rest, Rest, 0, Rest, Rest, Rest};

const std::vector<TLineNote> ThemeCall{
    {0, 0, 69, 2}, {0, 2, 72, 2}, {0, 4, 76, 4}, {0, 8, 74, 2}, {0, 10, 72, 2}, {0, 12, 76, 4},
    {1, 0, 77, 3}, {1, 3, 76, 3}, {1, 6, 72, 2}, {1, 8, 72, 4}, {1, 12, 69, 4},
    {2, 0, 67, 2}, {2, 2, 72, 2}, {2, 4, 76, 4}, {2, 8, 79, 4}, {2, 12, 76, 4},
    {3, 0, 74, 6}, {3, 6, 71, 2}, {3, 8, 71, 8},
};
const std::vector<TLineNote> ThemeResponse{
    {0, 0, 81, 4}, {0, 4, 79, 2}, {0, 6, 76, 2}, {0, 8, 81, 4}, {0, 12, 84, 4},
    {1, 0, 84, 3}, {1, 3, 81, 3}, {1, 6, 77, 2}, {1, 8, 81, 4}, {1, 12, 79, 4},
    {2, 0, 76, 2}, {2, 2, 79, 2}, {2, 4, 84, 4}, {2, 8, 83, 2}, {2, 10, 79, 2}, {2, 12, 76, 4},
    {3, 0, 74, 4}, {3, 4, 76, 2}, {3, 6, 79, 2}, {3, 8, 79, 4}, {3, 12, 83, 4},
};
const std::vector<TLineNote> SecondCall{
    {0, 0, 77, 3}, {0, 3, 81, 3}, {0, 6, 86, 4}, {0, 10, 84, 2}, {0, 12, 81, 4},
    {1, 0, 84, 3}, {1, 3, 83, 3}, {1, 6, 81, 2}, {1, 8, 76, 8},
    {2, 0, 77, 2}, {2, 2, 81, 2}, {2, 4, 84, 4}, {2, 8, 86, 4}, {2, 12, 84, 4},
    {3, 0, 83, 6}, {3, 6, 80, 2}, {3, 8, 76, 4}, {3, 12, 80, 4},
};
const std::vector<TLineNote> SecondResponse{
    {0, 0, 77, 3}, {0, 3, 81, 3}, {0, 6, 86, 4}, {0, 10, 84, 2}, {0, 12, 86, 4},
    {1, 0, 88, 6}, {1, 6, 84, 2}, {1, 8, 81, 8},
    {2, 0, 77, 2}, {2, 2, 81, 2}, {2, 4, 84, 4}, {2, 8, 81, 4}, {2, 12, 77, 4},
    {3, 0, 83, 4}, {3, 4, 86, 4}, {3, 8, 88, 8},
};
const std::vector<TLineNote> BreakdownLine{
    {0, 0, 81, 12}, {0, 12, 79, 4}, {1, 0, 83, 12}, {1, 12, 81, 4}, {2, 0, 79, 8}, {2, 8, 83, 8}, {3, 0, 81, 14},
};
const std::vector<TLineNote> TurnaroundLine{
    {0, 0, 84, 6}, {0, 6, 81, 2}, {0, 8, 77, 8},
    {1, 0, 86, 6}, {1, 6, 83, 2}, {1, 8, 79, 8},
    {2, 0, 88, 8}, {2, 8, 86, 4}, {2, 12, 83, 4},
    {3, 0, 80, 12},
};

int Row(int bar, int step) { return TSongBuilder::Row(bar, step); }

void BassLine(TSongBuilder& song, int firstBar, const TProgression& chords, const TFigure& figure, int volume) {
    for (int i = 0; i < 4; ++i) {
        for (int s = 0; s < 16; ++s) {
            if (figure[s] == Rest) {
                song.Off(Row(firstBar + i, s), ChBass);
            } else {
                song.Note(Row(firstBar + i, s), ChBass, chords[i].Bass + 12 + figure[s], Bass,
                          s % 4 == 0 ? volume : volume - 8);
            }
        }
    }
}

void PadChords(TSongBuilder& song, int firstBar, const TProgression& chords, int volume) {
    for (int i = 0; i < 4; ++i) {
        for (int v = 0; v < 3; ++v) {
            if (i == 0 || chords[i - 1].Pad[v] != chords[i].Pad[v]) {
                song.Note(Row(firstBar + i, 0), ChPad + v, chords[i].Pad[v], Pad, volume);
            }
        }
    }
}

void PadRelease(TSongBuilder& song, int bar) {
    for (int v = 0; v < 3; ++v) {
        song.Off(Row(bar, 0), ChPad + v);
    }
}

// Sixteenth-note arpeggio through the chord, up and down.
void Arpeggio(TSongBuilder& song, int firstBar, const TProgression& chords, int volume) {
    static const int Order[8] = {0, 1, 2, 3, 2, 1, 2, 3};
    for (int i = 0; i < 4; ++i) {
        for (int s = 0; s < 16; ++s) {
            song.Note(Row(firstBar + i, s), ChArp, chords[i].Arp[Order[s % 8]], Pluck,
                      s % 4 == 0 ? volume + 6 : volume);
        }
    }
}

// The lead line with a dotted-eighth echo an octave below on its own channel.
void LeadLine(TSongBuilder& song, int firstBar, const std::vector<TLineNote>& line, int volume) {
    song.Line(firstBar, ChLead, line, Lead, volume);
    std::vector<TLineNote> echo;
    for (TLineNote n : line) {
        n.Step += 3;
        if (n.Step >= 16) {
            n.Step -= 16;
            n.Bar += 1;
        }
        if (TSongBuilder::Row(firstBar + n.Bar, n.Step) < Bars * RowsPerBar) {
            echo.push_back(n);
        }
    }
    song.Line(firstBar, ChEcho, echo, Lead, volume / 3, -12);
}

enum class TGroove { Intro, Build, Full, Second, Half };

void Drums(TSongBuilder& song, int firstBar, int bars, TGroove groove) {
    for (int b = firstBar; b < firstBar + bars; ++b) {
        for (int s = 0; s < 16; ++s) {
            const int row = Row(b, s);
            const bool beat = s % 4 == 0;
            const bool offbeat = s % 4 == 2;
            // Kick: four on the floor; the second theme pushes an extra one before beat four.
            if (groove != TGroove::Half && (beat || (groove == TGroove::Second && s == 11))) {
                song.Note(row, ChKick, 60, Kick, beat ? 56 : 40);
            }
            if (groove == TGroove::Half && (s == 0 || s == 10)) {
                song.Note(row, ChKick, 60, Kick, 48);
            }
            // Backbeat on two and four.
            if (groove != TGroove::Intro && (s == 4 || s == 12)) {
                song.Note(row, ChSnare, 60, Snare, 50);
                song.Note(row, ChClap, 60, Clap, 36);
            }
            if (groove == TGroove::Second && s == 14) {
                song.Note(row, ChSnare, 60, Snare, 20);
            }
            // Hats: eighths in the intro, sixteenths later with open hats on the off-beats.
            if (groove == TGroove::Intro || groove == TGroove::Half) {
                if (s % 2 == 0) {
                    song.Note(row, ChHat, 60, ClosedHat, offbeat ? 34 : 20);
                }
            } else if ((groove == TGroove::Full || groove == TGroove::Second) && offbeat) {
                song.Note(row, ChHat, 60, OpenHat, 26);
            } else {
                song.Note(row, ChHat, 60, ClosedHat, offbeat ? 32 : (beat ? 24 : 16));
            }
        }
    }
}

// A snare run over the last two beats of a bar, growing louder.
void Fill(TSongBuilder& song, int bar) {
    for (int s = 8; s < 16; ++s) {
        song.Note(Row(bar, s), ChSnare, 60, Snare, 26 + (s - 8) * 4);
    }
}

void CrashAt(TSongBuilder& song, int bar) { song.Note(Row(bar, 0), ChCrash, 60, Crash, 34); }

// Kick, snare and bass hold the middle; the hats and the clap sit a little aside, the pad's
// voices spread wide, the arpeggio leans left and the lead's echo answers from the right.
void PlaceInStereo(TSongBuilder& song) {
    song.SetPan(ChHat, 188);
    song.SetPan(ChClap, 84);
    song.SetPan(ChLead, 108);
    song.SetPan(ChEcho, 232);
    song.SetPan(ChArp, 44);
    song.SetPan(ChPad + 0, 16);
    song.SetPan(ChPad + 1, 128);
    song.SetPan(ChPad + 2, 240);
    song.SetPan(ChCrash, 156);
}

}  // namespace

TXmModule ComposeRaceSong() {
    TSongBuilder song(Channels, Bars, 0.9);
    PlaceInStereo(song);

    // Bars 0-3: kick, hats and the straight bass set the pace.
    Drums(song, 0, 4, TGroove::Intro);
    BassLine(song, 0, Theme, Straight, 48);
    Fill(song, 3);

    // Bars 4-7 (where the loop comes back): the backbeat and the arpeggio join.
    CrashAt(song, 4);
    Drums(song, 4, 4, TGroove::Build);
    BassLine(song, 4, Theme, Gallop, 50);
    Arpeggio(song, 4, Theme, 16);
    Fill(song, 7);

    // Bars 8-15: the theme, call and response.
    for (int bar : {8, 12}) {
        Drums(song, bar, 4, TGroove::Full);
        BassLine(song, bar, Theme, Gallop, 52);
        Arpeggio(song, bar, Theme, 12);
        PadChords(song, bar, Theme, 18);
    }
    CrashAt(song, 8);
    LeadLine(song, 8, ThemeCall, 44);
    LeadLine(song, 12, ThemeResponse, 44);
    Fill(song, 15);

    // Bars 16-23: the second theme climbs over D minor and lands on E.
    for (int bar : {16, 20}) {
        Drums(song, bar, 4, TGroove::Second);
        BassLine(song, bar, Second, Syncopated, 52);
        Arpeggio(song, bar, Second, 14);
        PadChords(song, bar, Second, 20);
    }
    CrashAt(song, 16);
    LeadLine(song, 16, SecondCall, 44);
    LeadLine(song, 20, SecondResponse, 44);
    Fill(song, 23);

    // Bars 24-27: breakdown. Pads and arpeggio carry it, the kick steps back, a roll builds.
    CrashAt(song, 24);
    Drums(song, 24, 4, TGroove::Half);
    BassLine(song, 24, Breakdown, Sparse, 46);
    Arpeggio(song, 24, Breakdown, 18);
    PadChords(song, 24, Breakdown, 30);
    LeadLine(song, 24, BreakdownLine, 36);
    for (int s = 0; s < 16; s += 2) {
        song.Note(Row(26, s), ChSnare, 60, Snare, 14 + s);
    }
    for (int s = 0; s < 16; ++s) {
        song.Note(Row(27, s), ChSnare, 60, Snare, 26 + s * 2);
    }

    // Bars 28-35: the theme again at full strength.
    for (int bar : {28, 32}) {
        Drums(song, bar, 4, TGroove::Full);
        BassLine(song, bar, Theme, Gallop, 52);
        Arpeggio(song, bar, Theme, 14);
        PadChords(song, bar, Theme, 22);
    }
    CrashAt(song, 28);
    LeadLine(song, 28, ThemeCall, 46);
    LeadLine(song, 32, ThemeResponse, 46);
    Fill(song, 35);

    // Bars 36-39: the turnaround rises to E and hands back to bar 4.
    CrashAt(song, 36);
    Drums(song, 36, 4, TGroove::Second);
    BassLine(song, 36, Turnaround, Syncopated, 52);
    Arpeggio(song, 36, Turnaround, 14);
    PadChords(song, 36, Turnaround, 24);
    LeadLine(song, 36, TurnaroundLine, 46);
    Fill(song, 39);
    PadRelease(song, 4);

    TXmModule m;
    m.Name = "Kvillon: Overdrive";
    m.Channels = Channels;
    m.Speed = 6;
    m.Bpm = Bpm;
    m.Patterns = song.Patterns();
    m.Orders = song.Orders();
    m.RestartPosition = 1;  // the intro plays once; the loop starts at bar 4
    m.Instruments = {instruments::Kick(),     instruments::Snare(),        instruments::Clap(),
                     instruments::ClosedHat(), instruments::OpenHat(),      instruments::Crash(),
                     instruments::DriveBass(Bpm), instruments::Lead(Bpm), instruments::SoftPluck(Bpm),
                     instruments::WarmPad(Bpm)};
    return m;
}

}  // namespace quillon::assetgen
