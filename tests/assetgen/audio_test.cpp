// The generator's sound side: the effect items of the wave collection, the song writer and
// the two songs as the module player library sees them.
#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "assetgen/audio/AudioGen.h"
#include "assetgen/audio/Songs.h"
#include "assetgen/audio/XmWriter.h"
#include "engine/WaveCollection.h"
#include "support/TempDir.h"

namespace quillon::assetgen {
namespace {

std::vector<int16_t> Samples(const TWaveItemData& item) {
    std::vector<int16_t> s(item.Data.size() / 2);
    for (size_t i = 0; i < s.size(); ++i) {
        s[i] = static_cast<int16_t>(item.Data[2 * i] | (item.Data[2 * i + 1] << 8));
    }
    return s;
}

// One channel of an item's interleaved samples.
std::vector<int16_t> Channel(const TWaveItemData& item, int channel) {
    const std::vector<int16_t> all = Samples(item);
    std::vector<int16_t> s;
    for (size_t i = static_cast<size_t>(channel); i < all.size(); i += static_cast<size_t>(item.Channels)) {
        s.push_back(all[i]);
    }
    return s;
}

int Peak(const std::vector<int16_t>& s) {
    int peak = 0;
    for (int16_t v : s) {
        peak = std::max(peak, std::abs(static_cast<int>(v)));
    }
    return peak;
}

// ---- Sound effects ----

struct TEffectCase {
    int Index;
    bool Looped;
    bool Silent;
    double MaxSeconds;
    int Channels;  // the horn and the explosion are stereo recordings
};

const TEffectCase EffectCases[] = {
    {0, false, false, 1.5, 1},  {1, false, false, 0.1, 1},  {2, false, false, 0.2, 1},  {3, false, false, 0.99, 1},
    {4, true, false, 2.0, 1},   {5, true, false, 2.0, 1},   {6, true, false, 2.0, 1},   {7, true, false, 2.0, 1},
    {8, true, false, 2.0, 2},   {9, true, false, 2.0, 1},   {10, true, false, 2.0, 1},  {11, true, false, 2.0, 1},
    {12, true, false, 2.0, 1},  {13, true, false, 2.0, 1},  {14, false, false, 0.5, 1}, {15, false, false, 0.8, 1},
    {16, false, true, 0.1, 1},  {17, false, false, 0.6, 1}, {18, false, false, 0.05, 1}, {19, false, true, 0.1, 1},
    {20, false, false, 2.0, 2}, {21, false, false, 3.3, 1}, {22, true, false, 2.0, 1},  {23, false, false, 0.5, 1},
    {24, false, true, 0.1, 1},  {25, false, false, 1.0, 1}, {26, false, false, 0.4, 1},
};

class SoundEffects : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Items = new std::vector<TWaveItemData>(BuildSoundEffects()); }
    static void TearDownTestSuite() {
        delete Items;
        Items = nullptr;
    }
    static std::vector<TWaveItemData>* Items;
};
std::vector<TWaveItemData>* SoundEffects::Items = nullptr;

TEST_F(SoundEffects, EveryItemIs16BitPcmOfTheRightLengthAndLoudness) {
    ASSERT_EQ(Items->size(), std::size(EffectCases));
    for (const TEffectCase& c : EffectCases) {
        SCOPED_TRACE("effect " + std::to_string(c.Index));
        const TWaveItemData& item = (*Items)[c.Index];
        EXPECT_EQ(item.Channels, c.Channels);
        EXPECT_EQ(item.BitsPerSample, 16);
        EXPECT_EQ(item.SamplesPerSecond, 22050);
        EXPECT_EQ(item.MaxPlayingCount, 0);
        EXPECT_EQ(item.Looped, c.Looped);
        ASSERT_EQ(item.Data.size() % (2 * c.Channels), 0u);
        const std::vector<int16_t> s = Samples(item);
        ASSERT_FALSE(s.empty());
        EXPECT_LE(s.size() / c.Channels, c.MaxSeconds * item.SamplesPerSecond);
        const int peak = Peak(s);
        if (c.Silent) {
            EXPECT_EQ(peak, 0);
        } else {
            // Audible, yet with room for the song and the other effects on top: the quietest
            // items, the engine sounds that run all race long, still stand 20 dB above silence.
            EXPECT_GT(peak, 32767 / 10);
            EXPECT_LT(peak, 32767 * 6 / 10);
        }
    }
}

TEST_F(SoundEffects, OneShotsStartAndEndAtZero) {
    for (const TEffectCase& c : EffectCases) {
        if (c.Looped) {
            continue;
        }
        SCOPED_TRACE("effect " + std::to_string(c.Index));
        for (int channel = 0; channel < c.Channels; ++channel) {
            const std::vector<int16_t> s = Channel((*Items)[c.Index], channel);
            EXPECT_LE(std::abs(s.front()), 64);
            EXPECT_LE(std::abs(s.back()), 64);
        }
    }
}

// A loop is seamless when the sound, played round and round, shows no spike at the seam.
// The fourth difference is blind to the loops' band-limited tones but shows a jump at once;
// at the seam it must stay within what the loop does anywhere else.
void ExpectSeamlessLoop(const std::vector<int16_t>& s) {
    const size_t n = s.size();
    const size_t window = 22050 / 40;
    ASSERT_GT(n, 2 * window);
    auto at = [&s, n](size_t i) { return static_cast<double>(s[i % n]); };
    auto fourth = [&at, n](size_t i) {
        i += n;
        return std::abs(at(i) - 4 * at(i - 1) + 6 * at(i - 2) - 4 * at(i - 3) + at(i - 4));
    };
    double seam = 0.0;
    double interior = 0.0;
    for (size_t i = 0; i < n; ++i) {
        double& top = i < 4 ? seam : interior;
        top = std::max(top, fourth(i));
    }
    EXPECT_LE(seam, 1.25 * interior + 64.0);
    auto rms = [&s](size_t from, size_t count) {
        double sum = 0.0;
        for (size_t i = from; i < from + count; ++i) {
            sum += static_cast<double>(s[i]) * s[i];
        }
        return std::sqrt(sum / count);
    };
    const double head = rms(0, window);
    const double tail = rms(s.size() - window, window);
    EXPECT_NEAR(head, tail, 0.3 * std::max(head, tail) + 100.0);
}

TEST_F(SoundEffects, LoopsWrapWithoutAClick) {
    for (const TEffectCase& c : EffectCases) {
        if (!c.Looped) {
            continue;
        }
        for (int channel = 0; channel < c.Channels; ++channel) {
            SCOPED_TRACE("effect " + std::to_string(c.Index) + " channel " + std::to_string(channel));
            ExpectSeamlessLoop(Channel((*Items)[c.Index], channel));
        }
    }
}

// The stereo recordings really differ between the sides, yet stay one sound: the side
// signal (L - R) is a clear part of the whole without outweighing the middle (L + R).
TEST_F(SoundEffects, StereoRecordingsAreWideButNotHollow) {
    for (const TEffectCase& c : EffectCases) {
        if (c.Channels != 2) {
            continue;
        }
        SCOPED_TRACE("effect " + std::to_string(c.Index));
        const std::vector<int16_t> left = Channel((*Items)[c.Index], 0);
        const std::vector<int16_t> right = Channel((*Items)[c.Index], 1);
        double mid = 0.0;
        double side = 0.0;
        for (size_t i = 0; i < left.size(); ++i) {
            mid += std::pow(left[i] + right[i], 2.0);
            side += std::pow(left[i] - right[i], 2.0);
        }
        const double ratio = std::sqrt(side / mid);
        EXPECT_GT(ratio, 0.15);
        EXPECT_LT(ratio, 0.8);
    }
}

// The pitch of a looped drone: the lag, between 50 and 400 Hz, at which the sound best
// matches itself shifted round the loop.
double Fundamental(const std::vector<int16_t>& s, int rate) {
    const size_t n = s.size();
    double bestScore = -1.0;
    int bestLag = 0;
    for (int lag = rate / 400; lag <= rate / 50; ++lag) {
        double score = 0.0;
        for (size_t i = 0; i < n; ++i) score += static_cast<double>(s[i]) * s[(i + lag) % n];
        // A small preference for short lags, so that a period counted twice loses to the period itself.
        score *= 1.0 - 0.2 * lag / (rate / 50.0);
        if (score > bestScore) {
            bestScore = score;
            bestLag = lag;
        }
    }
    return static_cast<double>(rate) / bestLag;
}

// Speed is heard: each band of the accelerating engine sounds at least a whole tone above
// the band below it, up to the top band.
TEST_F(SoundEffects, EngineBandsRiseInPitch) {
    double previous = 0.0;
    for (int index : {9, 10, 11, 12, 13}) {
        SCOPED_TRACE("effect " + std::to_string(index));
        const TWaveItemData& item = (*Items)[index];
        const double hz = Fundamental(Samples(item), item.SamplesPerSecond);
        EXPECT_GT(hz, previous * 1.12) << hz << " Hz";
        previous = hz;
    }
}

// Written into a wave collection file, every effect reads back through the game's own loader
// as the same PCM with the same loop flag.
TEST_F(SoundEffects, ReadBackFromTheCollectionFileUnchanged) {
    testing::TTempDir dir("effects");
    const std::string path = dir.File("sounds.dxw");
    WriteWaveCollectionFile(path, *Items);
    TWaveCollection loaded;
    loaded.LoadFromFile(path);
    std::filesystem::remove(path);
    ASSERT_EQ(loaded.Count(), static_cast<int>(Items->size()));
    for (int i = 0; i < loaded.Count(); ++i) {
        SCOPED_TRACE("effect " + std::to_string(i));
        const TWaveCollectionItem& item = loaded.Items(i);
        EXPECT_EQ(item.Looped(), (*Items)[i].Looped);
        EXPECT_EQ(item.Wave.FormatTag(), WAVE_FORMAT_PCM);
        const int channels = (*Items)[i].Channels;
        EXPECT_EQ(item.Wave.Channels(), channels);
        EXPECT_EQ(item.Wave.BitsPerSample(), 16);
        EXPECT_EQ(item.Wave.BlockAlign(), 2 * channels);
        EXPECT_EQ(item.Wave.AvgBytesPerSecond(), 2 * channels * item.Wave.SamplesPerSecond());
        EXPECT_EQ(item.Wave.Data, (*Items)[i].Data);
    }
}

TEST(SoundEffectsBuild, SameBytesOnEveryRun) {
    const std::vector<TWaveItemData> a = BuildSoundEffects();
    const std::vector<TWaveItemData> b = BuildSoundEffects();
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].Data, b[i].Data) << "effect " << i;
    }
}

// ---- The song writer ----

TXmModule TinyModule() {
    TXmModule m;
    m.Name = "Tiny";
    m.Channels = 2;
    m.Bpm = 125;
    TXmPattern p;
    p.Rows = 4;
    p.Cells.resize(8);
    p.Cells[0] = {XmNote(60), 1, 0x50, 0, 0};
    p.Cells[3] = {0, 0, 0, 0x0F, 3};
    p.Cells[4] = {XmKeyOff, 0, 0, 0, 0};
    m.Patterns = {p, p};
    m.Orders = {0, 1, 0};
    m.RestartPosition = 1;
    TXmInstrument ins;
    ins.Name = "Beep";
    TXmSample s;
    s.Data = {0, 1000, -1000, 32767, -32768};
    s.Loop = TXmLoop::Forward;
    s.LoopStart = 1;
    s.LoopLength = 4;
    ins.Samples = {s};
    m.Instruments = {ins};
    return m;
}

uint32_t Read32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint32_t Read16(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }

TEST(XmWriter, HeaderFields) {
    const std::vector<uint8_t> b = EncodeXm(TinyModule());
    EXPECT_EQ(std::string(b.begin(), b.begin() + 17), "Extended Module: ");
    EXPECT_EQ(std::string(b.begin() + 17, b.begin() + 21), "Tiny");
    EXPECT_EQ(b[37], 0x1A);
    EXPECT_EQ(Read16(b, 58), 0x0104u);
    EXPECT_EQ(Read32(b, 60), 276u);
    EXPECT_EQ(Read16(b, 64), 3u);  // song length
    EXPECT_EQ(Read16(b, 66), 1u);  // restart position
    EXPECT_EQ(Read16(b, 68), 2u);  // channels
    EXPECT_EQ(Read16(b, 70), 2u);  // patterns
    EXPECT_EQ(Read16(b, 72), 1u);  // instruments
    EXPECT_EQ(Read16(b, 74), 1u);  // linear frequencies
    EXPECT_EQ(Read16(b, 78), 125u);
    EXPECT_EQ(b[80 + 2], 0);  // third order
    // The first pattern follows the 256-entry order table.
    EXPECT_EQ(Read32(b, 336), 9u);
    EXPECT_EQ(Read16(b, 341), 4u);
    // Packed: note+instrument+volume, empty, empty, effect+param, key-off, then three empty.
    const std::vector<uint8_t> packed{0x87, 49, 1, 0x50, 0x80, 0x80, 0x98, 0x0F, 3, 0x81, 97, 0x80, 0x80, 0x80};
    EXPECT_EQ(Read16(b, 343), packed.size());
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 345, b.begin() + 345 + packed.size()), packed);
}

TEST(XmWriter, SamplesAreStoredAsSixteenBitDeltas) {
    const std::vector<uint8_t> b = EncodeXm(TinyModule());
    // Deltas of {0, 1000, -1000, 32767, -32768}, wrapping in 16 bits.
    const std::vector<int16_t> deltas{0, 1000, -2000, static_cast<int16_t>(33767 - 65536), 1};
    ASSERT_GE(b.size(), 10u);
    for (size_t i = 0; i < deltas.size(); ++i) {
        EXPECT_EQ(static_cast<int16_t>(Read16(b, b.size() - 10 + 2 * i)), deltas[i]) << i;
    }
    // Sample header: length, loop start and loop length in bytes, 16-bit forward loop.
    const size_t sampleHeader = b.size() - 10 - 40;
    EXPECT_EQ(Read32(b, sampleHeader), 10u);
    EXPECT_EQ(Read32(b, sampleHeader + 4), 2u);
    EXPECT_EQ(Read32(b, sampleHeader + 8), 8u);
    EXPECT_EQ(b[sampleHeader + 14], 0x11);
}

TEST(XmWriter, RejectsWhatTheFormatCannotHold) {
    const auto broken = [](auto change) {
        TXmModule m = TinyModule();
        change(m);
        return m;
    };
    const TXmModule cases[] = {
        broken([](TXmModule& m) { m.RestartPosition = 3; }),
        broken([](TXmModule& m) { m.Orders = {0, 2}; }),
        broken([](TXmModule& m) { m.Channels = 33; }),
        broken([](TXmModule& m) { m.Patterns[0].Cells.pop_back(); }),
        broken([](TXmModule& m) { m.Patterns[1].Cells[0].Instrument = 2; }),
        broken([](TXmModule& m) { m.Instruments[0].Samples[0].LoopLength = 5; }),
        broken([](TXmModule& m) { m.Instruments[0].VolumeEnvelope.Points = {{0, 64}, {0, 10}}; }),
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_THROW(EncodeXm(cases[i]), std::invalid_argument) << "case " << i;
    }
    EXPECT_THROW(XmNote(107 + 1), std::invalid_argument);
}

TEST(XmWriter, TuneSampleHitsThePitch) {
    // A sample at 8363 frames a second holding middle C needs no correction.
    TXmSample s;
    TuneSample(s, 8363.0, 60.0);
    EXPECT_EQ(s.RelativeNote, 0);
    EXPECT_EQ(s.Finetune, 0);
    // An A at 440 Hz recorded at 44100: 12 * log2(44100 / 8363) - 9 semitones.
    TuneSample(s, 44100.0, 69.0);
    const double want = 12.0 * std::log2(44100.0 / 8363.0) - 9.0;
    EXPECT_NEAR(s.RelativeNote + s.Finetune / 128.0, want, 1.0 / 256.0);
}

// ---- The songs in the module player ----

struct TLoaded {
    openmpt_module* Module = nullptr;
    std::vector<std::string> Log;
    ~TLoaded() {
        if (Module != nullptr) {
            openmpt_module_destroy(Module);
        }
    }
};

void Collect(const char* message, void* user) { static_cast<TLoaded*>(user)->Log.emplace_back(message); }

class Songs : public ::testing::TestWithParam<const char*> {
protected:
    static void SetUpTestSuite() {
        Folder = new testing::TTempDir("songs");
        Dir = new std::filesystem::path(Folder->Path());
        WriteSongs(Dir->string());
    }
    static void TearDownTestSuite() {
        delete Dir;
        Dir = nullptr;
        delete Folder;
        Folder = nullptr;
    }

    void Load(TLoaded& loaded) {
        std::ifstream in(*Dir / GetParam(), std::ios::binary);
        ASSERT_TRUE(in) << GetParam() << " was not written";
        Bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        int error = 0;
        const char* message = nullptr;
        loaded.Module = openmpt_module_create_from_memory2(Bytes.data(), Bytes.size(), Collect, &loaded, nullptr,
                                                           nullptr, &error, &message, nullptr);
        ASSERT_NE(loaded.Module, nullptr) << (message ? message : "");
    }

    static testing::TTempDir* Folder;
    static std::filesystem::path* Dir;
    std::vector<char> Bytes;
};
testing::TTempDir* Songs::Folder = nullptr;
std::filesystem::path* Songs::Dir = nullptr;

TEST_P(Songs, LoadsWithoutWarningsAsALongEnoughXmSong) {
    TLoaded song;
    Load(song);
    ASSERT_NE(song.Module, nullptr);
    for (const std::string& line : song.Log) {
        ADD_FAILURE() << "module player says: " << line;
    }
    const char* type = openmpt_module_get_metadata(song.Module, "type");
    EXPECT_STREQ(type, "xm");
    openmpt_free_string(type);
    EXPECT_GE(openmpt_module_get_num_channels(song.Module), 6);
    EXPECT_GE(openmpt_module_get_duration_seconds(song.Module), 60.0);
}

// Played on past its end, the song comes back to its restart order and keeps sounding, and
// nowhere does the mix clip.
TEST_P(Songs, LoopsByItselfAndNeverFallsSilentOrClips) {
    TLoaded song;
    Load(song);
    ASSERT_NE(song.Module, nullptr);
    openmpt_module_set_repeat_count(song.Module, -1);
    const double duration = openmpt_module_get_duration_seconds(song.Module);
    const int rate = 22050;
    const size_t block = rate / 2;
    std::vector<float> left(block);
    std::vector<float> right(block);
    const int blocks = static_cast<int>((duration + 6.0) * 2.0);
    bool wrapped = false;
    float peak = 0.0f;
    for (int b = 0; b < blocks; ++b) {
        const size_t got = openmpt_module_read_float_stereo(song.Module, rate, block, left.data(), right.data());
        ASSERT_EQ(got, block) << "playback stopped at " << b / 2.0 << " s";
        double sum = 0.0;
        for (size_t i = 0; i < got; ++i) {
            sum += left[i] * left[i] + right[i] * right[i];
            peak = std::max({peak, std::abs(left[i]), std::abs(right[i])});
        }
        const double rms = std::sqrt(sum / (2.0 * got));
        // The first half second may still be swelling in; after that there is always music.
        if (b > 0) {
            EXPECT_GT(rms, 0.003) << "silence at " << b / 2.0 << " s";
        }
        if (b / 2.0 > duration + 1.0) {
            wrapped = wrapped || openmpt_module_get_current_order(song.Module) <= 2;
        }
    }
    EXPECT_TRUE(wrapped);
    EXPECT_LT(peak, 1.0f);
}

INSTANTIATE_TEST_SUITE_P(Music, Songs, ::testing::Values("Menu.xm", "Race.xm"),
                         [](const auto& info) { return std::string(info.param).substr(0, 4); });

TEST(SongsCompose, SameBytesOnEveryRun) {
    EXPECT_EQ(EncodeXm(ComposeMenuSong()), EncodeXm(ComposeMenuSong()));
    EXPECT_EQ(EncodeXm(ComposeRaceSong()), EncodeXm(ComposeRaceSong()));
}

}  // namespace
}  // namespace quillon::assetgen
