// The menu theme: a calm D minor piece at 80 beats a minute. Intro, theme, a second theme with
// soft drums, the theme again with a canon voice, and a bridge that leads back to the theme.
#include <array>

#include "Instruments.h"
#include "SongBuilder.h"
#include "Songs.h"

namespace quillon::assetgen {

namespace {

enum : int { Pad = 1, Keys, Pluck, Bass, Kick, Snare, Shaker, Crash };
enum : int { ChPad = 0, ChBass = 3, ChKeys = 4, ChArp = 5, ChEcho = 6, ChDrum = 7, ChShaker = 8, ChCanon = 9 };
constexpr int Channels = 10;
constexpr int Bars = 32;
constexpr int Bpm = 80;

struct TChord {
    int Bass;
    std::array<int, 3> Pad;
    std::array<int, 4> Arp;
};

// Pad voicings move by step, and Bbmaj7 keeps the D minor voicing over its own root.
constexpr TChord Dm{38, {57, 62, 65}, {62, 65, 69, 74}};
constexpr TChord Bbmaj7{34, {57, 62, 65}, {58, 62, 65, 69}};
constexpr TChord F{41, {57, 60, 65}, {60, 65, 69, 72}};
constexpr TChord C{36, {55, 60, 64}, {60, 64, 67, 72}};
constexpr TChord Gm{43, {55, 58, 62}, {55, 58, 62, 67}};
constexpr TChord Bb{46, {58, 62, 65}, {58, 62, 65, 70}};
constexpr TChord A{45, {57, 61, 64}, {57, 61, 64, 69}};

const std::array<TChord, 4> Theme{Dm, Bbmaj7, F, C};
const std::array<TChord, 4> Second{Gm, Bb, Dm, A};
const std::array<TChord, 4> Bridge{Bbmaj7, C, Gm, A};

// The theme: a question (bars 1-4) and its answer that comes home to D.
const std::vector<TLineNote> ThemeQuestion{
    {0, 0, 74, 6}, {0, 6, 76, 2}, {0, 8, 77, 6}, {0, 14, 81, 2},
    {1, 0, 79, 6}, {1, 6, 77, 2}, {1, 8, 74, 8},
    {2, 0, 72, 4}, {2, 4, 77, 4}, {2, 8, 81, 6}, {2, 14, 79, 2},
    {3, 0, 76, 12},
};
const std::vector<TLineNote> ThemeAnswer{
    {0, 0, 74, 4}, {0, 4, 77, 4}, {0, 8, 81, 4}, {0, 12, 84, 4},
    {1, 0, 86, 8}, {1, 8, 84, 4}, {1, 12, 81, 4},
    {2, 0, 81, 6}, {2, 6, 79, 2}, {2, 8, 77, 8},
    {3, 0, 76, 4}, {3, 4, 79, 4}, {3, 8, 74, 8},
};
// The second theme sings longer notes over G minor and turns to A for the way back.
const std::vector<TLineNote> SecondThemeA{
    {0, 0, 82, 12}, {0, 12, 81, 4},
    {1, 0, 77, 8}, {1, 8, 74, 8},
    {2, 0, 81, 6}, {2, 6, 77, 2}, {2, 8, 76, 4}, {2, 12, 74, 4},
    {3, 0, 73, 8}, {3, 8, 76, 8},
};
const std::vector<TLineNote> SecondThemeB{
    {0, 0, 86, 8}, {0, 8, 82, 4}, {0, 12, 79, 4},
    {1, 0, 77, 6}, {1, 6, 79, 2}, {1, 8, 81, 8},
    {2, 0, 77, 4}, {2, 4, 76, 4}, {2, 8, 74, 8},
    {3, 0, 76, 4}, {3, 4, 73, 4}, {3, 8, 69, 8},
};
const std::vector<TLineNote> BridgeLine{
    {0, 0, 77, 14}, {1, 0, 76, 14}, {2, 0, 74, 8}, {2, 8, 70, 8}, {3, 0, 73, 14},
};
const std::vector<TLineNote> IntroChime{{3, 8, 69, 4}, {3, 12, 72, 4}};

void Chords(TSongBuilder& song, int firstBar, const std::array<TChord, 4>& chords, int padVolume, int bassStyle) {
    for (int i = 0; i < 4; ++i) {
        const int bar = firstBar + i;
        const TChord& chord = chords[i];
        const TChord* previous = i > 0 ? &chords[i - 1] : nullptr;
        for (int v = 0; v < 3; ++v) {
            // A voice that keeps its note is held, not struck again.
            if (previous == nullptr || previous->Pad[v] != chord.Pad[v]) {
                song.Note(TSongBuilder::Row(bar, 0), ChPad + v, chord.Pad[v], Pad, padVolume);
            }
        }
        if (bassStyle == 1) {
            song.Note(TSongBuilder::Row(bar, 0), ChBass, chord.Bass, Bass, 46);
            song.Note(TSongBuilder::Row(bar, 12), ChBass, chord.Bass + 7, Bass, 36);
        } else if (bassStyle == 2) {
            song.Note(TSongBuilder::Row(bar, 0), ChBass, chord.Bass, Bass, 48);
            song.Note(TSongBuilder::Row(bar, 6), ChBass, chord.Bass + 7, Bass, 36);
            song.Note(TSongBuilder::Row(bar, 8), ChBass, chord.Bass + 12, Bass, 40);
            song.Note(TSongBuilder::Row(bar, 12), ChBass, chord.Bass, Bass, 42);
        }
    }
}

// Eighth-note arpeggio with a dotted-eighth echo on its own channel.
// The arpeggio starts with chord `from` of the four.
void Arpeggio(TSongBuilder& song, int firstBar, const std::array<TChord, 4>& chords, int volume, int from = 0) {
    static const int Order[8] = {0, 1, 2, 3, 2, 1, 2, 3};
    for (int i = from; i < 4; ++i) {
        for (int k = 0; k < 8; ++k) {
            const int row = TSongBuilder::Row(firstBar + i, k * 2);
            const int note = chords[i].Arp[Order[k]];
            song.Note(row, ChArp, note, Pluck, k % 4 == 0 ? volume + 4 : volume);
            if (row + 3 < Bars * RowsPerBar) {
                song.Note(row + 3, ChEcho, note + 12, Pluck, volume / 2);
            }
        }
    }
}

// Half-time groove: kick on one and the "and" of two-and-a-half, rim-soft snare on three.
void Drums(TSongBuilder& song, int firstBar, int bars, bool fillAtEnd) {
    for (int b = firstBar; b < firstBar + bars; ++b) {
        song.Note(TSongBuilder::Row(b, 0), ChDrum, 60, Kick, 46);
        song.Note(TSongBuilder::Row(b, 8), ChDrum, 60, Snare, 26);
        song.Note(TSongBuilder::Row(b, 10), ChDrum, 60, Kick, 34);
        for (int s = 0; s < 16; s += 2) {
            song.Note(TSongBuilder::Row(b, s), ChShaker, 60, Shaker, s % 4 == 2 ? 22 : 13);
        }
    }
    if (fillAtEnd) {
        const int last = firstBar + bars - 1;
        song.Note(TSongBuilder::Row(last, 12), ChDrum, 60, Snare, 20);
        song.Note(TSongBuilder::Row(last, 14), ChDrum, 60, Snare, 26);
        song.Note(TSongBuilder::Row(last, 15), ChDrum, 60, Snare, 30);
    }
}

void ShakerOnly(TSongBuilder& song, int firstBar, int bars, int volume) {
    for (int b = firstBar; b < firstBar + bars; ++b) {
        for (int s = 2; s < 16; s += 4) {
            song.Note(TSongBuilder::Row(b, s), ChShaker, 60, Shaker, volume);
        }
    }
}

// Bass and drums stay in the middle; the pad's three voices spread from left to right, the
// arpeggio leans left and its echo answers from the right, and the canon voice sits
// right of the melody.
void PlaceInStereo(TSongBuilder& song) {
    song.SetPan(ChPad + 0, 40);
    song.SetPan(ChPad + 1, 128);
    song.SetPan(ChPad + 2, 216);
    song.SetPan(ChKeys, 112);
    song.SetPan(ChArp, 72);
    song.SetPan(ChEcho, 196);
    song.SetPan(ChShaker, 164);
    song.SetPan(ChCanon, 176);
}

}  // namespace

TXmModule ComposeMenuSong() {
    TSongBuilder song(Channels, Bars, 1.5);
    PlaceInStereo(song);

    // Bars 0-3: the pads swell in under a faint arpeggio; two notes of the keys lead in.
    Chords(song, 0, Theme, 30, 0);
    Arpeggio(song, 0, Theme, 14, 2);
    song.Line(0, ChKeys, IntroChime, Keys, 34);

    // Bars 4-11: the theme over the bass.
    for (int bar : {4, 8}) {
        Chords(song, bar, Theme, 34, 1);
        Arpeggio(song, bar, Theme, 18);
    }
    song.Line(4, ChKeys, ThemeQuestion, Keys, 48);
    song.Line(8, ChKeys, ThemeAnswer, Keys, 48);
    ShakerOnly(song, 8, 4, 12);

    // Bars 12-19: the second theme; soft drums enter with a cymbal.
    for (int bar : {12, 16}) {
        Chords(song, bar, Second, 34, 1);
        Arpeggio(song, bar, Second, 18);
    }
    song.Note(TSongBuilder::Row(12, 0), ChCanon, 60, Crash, 20);
    Drums(song, 12, 8, true);
    song.Line(12, ChKeys, SecondThemeA, Keys, 50);
    song.Line(16, ChKeys, SecondThemeB, Keys, 50);

    // Bars 20-27: the theme again, with a busier bass and a canon voice an octave below,
    // one beat behind.
    for (int bar : {20, 24}) {
        Chords(song, bar, Theme, 34, 2);
        Arpeggio(song, bar, Theme, 18);
    }
    Drums(song, 20, 8, true);
    song.Line(20, ChKeys, ThemeQuestion, Keys, 50);
    song.Line(24, ChKeys, ThemeAnswer, Keys, 50);
    std::vector<TLineNote> canon;
    for (const std::vector<TLineNote>* line : {&ThemeQuestion, &ThemeAnswer}) {
        const int offset = line == &ThemeQuestion ? 0 : 4;
        for (TLineNote n : *line) {
            n.Bar += offset;
            n.Step += 4;
            if (n.Step >= 16) {
                n.Step -= 16;
                n.Bar += 1;
            }
            if (n.Bar < 8) {
                canon.push_back(n);
            }
        }
    }
    song.Line(20, ChCanon, canon, Keys, 26, -12);

    // Bars 28-31: the bridge thins out and turns on A back to the theme.
    Chords(song, 28, Bridge, 36, 1);
    Arpeggio(song, 28, Bridge, 16);
    song.Line(28, ChKeys, BridgeLine, Keys, 44);
    song.Note(TSongBuilder::Row(28, 0), ChDrum, 60, Kick, 40);
    song.Note(TSongBuilder::Row(29, 0), ChDrum, 60, Kick, 32);
    ShakerOnly(song, 28, 2, 10);

    TXmModule m;
    m.Name = "Kvillon: Harbour";
    m.Channels = Channels;
    m.Speed = 6;
    m.Bpm = Bpm;
    m.Patterns = song.Patterns();
    m.Orders = song.Orders();
    m.RestartPosition = 1;  // the intro plays once; the loop starts with the theme
    m.Instruments = {instruments::WarmPad(Bpm), instruments::GlassKeys(Bpm), instruments::SoftPluck(Bpm),
                     instruments::SubBass(Bpm), instruments::Kick(), instruments::Snare(),
                     instruments::Shaker(), instruments::Crash()};
    return m;
}

}  // namespace quillon::assetgen
