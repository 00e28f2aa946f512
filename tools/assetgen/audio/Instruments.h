// The songs' instruments: samples synthesised in code, tuned and shaped by envelopes.
#pragma once

#include "XmWriter.h"

namespace quillon::assetgen::instruments {

// Envelope times are given in seconds and turned into ticks at the song's tempo
// (speed 6: one tick lasts 2.5 / bpm seconds).
TXmInstrument WarmPad(int bpm);    // five detuned saws and a sub-octave, slow swell, long release
TXmInstrument GlassKeys(int bpm);  // soft bell-like electric keys for melodies
TXmInstrument SoftPluck(int bpm);  // a plucked string-like tone for arpeggios
TXmInstrument SubBass(int bpm);    // a round, held bass
TXmInstrument DriveBass(int bpm);  // a bright, plucked saw bass with a filter snap
TXmInstrument Lead(int bpm);       // two detuned saws over a square, with vibrato
TXmInstrument Kick();
TXmInstrument Snare();
TXmInstrument Clap();
TXmInstrument ClosedHat();
TXmInstrument OpenHat();
TXmInstrument Crash();
TXmInstrument Shaker();

}  // namespace quillon::assetgen::instruments
