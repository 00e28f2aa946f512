// Wave collections: RIFF wave images in any chunk order, the playing settings read
// from the file, and files written by the writer.
#include <gtest/gtest.h>

#include <cstring>

#include "CollectionFixtures.h"
#include "engine/CollectionFiles.h"
#include "engine/ComponentStream.h"
#include "engine/Wave.h"
#include "engine/WaveCollection.h"

namespace quillon {
namespace {

// A RIFF image built chunk by chunk, exactly as given (no pad bytes added).
class TRiff {
public:
    TRiff() { Bytes = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}; }
    TRiff& Chunk(const char* id, const std::vector<uint8_t>& body) { return Chunk(id, body, body.size()); }
    TRiff& Chunk(const char* id, const std::vector<uint8_t>& body, size_t statedSize) {
        Bytes.insert(Bytes.end(), id, id + 4);
        for (int i = 0; i < 4; ++i) Bytes.push_back(static_cast<uint8_t>(statedSize >> (8 * i)));
        Bytes.insert(Bytes.end(), body.begin(), body.end());
        return *this;
    }
    TRiff& Raw(const std::vector<uint8_t>& bytes) {
        Bytes.insert(Bytes.end(), bytes.begin(), bytes.end());
        return *this;
    }
    std::vector<uint8_t> Bytes;
};

std::vector<uint8_t> PcmFormat() {
    TWave w;
    w.SetPCMFormat(2, 11025, 8);
    return w.Format;
}

const std::vector<uint8_t> kSamples = {1, 2, 3, 4, 5, 6};

TEST(Wave, ChunksInAnyOrder) {
    struct Case { const char* what; TRiff riff; } cases[] = {
        {"format first", TRiff().Chunk("fmt ", PcmFormat()).Chunk("data", kSamples)},
        {"data first", TRiff().Chunk("data", kSamples).Chunk("fmt ", PcmFormat())},
        {"unknown chunks around", TRiff()
                                      .Chunk("LIST", {9, 9, 9, 9})
                                      .Chunk("data", kSamples)
                                      .Chunk("fact", {0, 0, 0, 0})
                                      .Chunk("fmt ", PcmFormat())},
        // An odd size is skipped by exactly that size: the next header follows at once.
        {"odd unknown chunk", TRiff().Chunk("junk", {7, 7, 7}).Chunk("fmt ", PcmFormat()).Chunk("data", kSamples)},
        {"cut-off header at the end", TRiff().Chunk("fmt ", PcmFormat()).Chunk("data", kSamples).Raw({'L', 'I', 'S'})},
    };
    for (const Case& c : cases) {
        TWave wave;
        wave.LoadFromMemory(c.riff.Bytes.data(), c.riff.Bytes.size());
        EXPECT_EQ(wave.Format, PcmFormat()) << c.what;
        EXPECT_EQ(wave.Data, kSamples) << c.what;
        EXPECT_EQ(wave.FormatTag(), 1) << c.what;
        EXPECT_EQ(wave.Channels(), 2) << c.what;
        EXPECT_EQ(wave.SamplesPerSecond(), 11025) << c.what;
        EXPECT_EQ(wave.BitsPerSample(), 8) << c.what;
        EXPECT_EQ(wave.BlockAlign(), 2) << c.what;
    }
}

TEST(Wave, PaddedOddChunkIsMisreadAsTheFormatSays) {
    // With a pad byte after the odd chunk the next header is read one byte early,
    // so the format chunk is not found.
    TRiff riff = TRiff().Chunk("junk", {7, 7, 7}).Raw({0}).Chunk("fmt ", PcmFormat());
    TWave wave;
    wave.LoadFromMemory(riff.Bytes.data(), riff.Bytes.size());
    EXPECT_TRUE(wave.Format.empty());
}

TEST(Wave, BadImages) {
    std::vector<uint8_t> noRiff = TRiff().Chunk("fmt ", PcmFormat()).Bytes;
    noRiff[3] = 'X';
    std::vector<uint8_t> noWave = TRiff().Bytes;
    noWave[8] = 'A';
    struct Case { const char* what; std::vector<uint8_t> bytes; std::string error; } cases[] = {
        {"not RIFF", noRiff, "Wave is invalid"},
        {"not WAVE", noWave, "Wave is invalid"},
        {"too short", {'R', 'I', 'F', 'F', 0, 0}, "Wave is invalid"},
        {"format past the end", TRiff().Chunk("fmt ", PcmFormat(), 100).Bytes, "Stream read error"},
        {"data past the end", TRiff().Chunk("fmt ", PcmFormat()).Chunk("data", kSamples, 0xFFFFFFF0).Bytes,
         "Stream read error"},
    };
    for (const Case& c : cases) {
        TWave wave;
        try {
            wave.LoadFromMemory(c.bytes.data(), c.bytes.size());
            ADD_FAILURE() << c.what << ": no error";
        } catch (const EEngineError& e) {
            EXPECT_EQ(e.what(), c.error) << c.what;
        }
    }
    // No data chunk at all: a wave without samples.
    std::vector<uint8_t> silent = TRiff().Chunk("fmt ", PcmFormat()).Bytes;
    TWave wave;
    wave.LoadFromMemory(silent.data(), silent.size());
    EXPECT_TRUE(wave.Data.empty());
}

TEST(WaveCollection, ReadsItemPropertiesAndKeepsNegativeCountsAtZero) {
    std::vector<uint8_t> image = TRiff().Chunk("data", kSamples).Chunk("fmt ", PcmFormat()).Bytes;
    std::vector<uint8_t> bytes = testing::CollectionFile(
        "TWaveCollectionComponent", {[&](TComponentWriter& w) {
                                         w.WritePropName("Name");
                                         w.WriteString("horn");
                                         w.WritePropName("Looped");
                                         w.WriteBoolean(true);
                                         w.WritePropName("MaxPlayingCount");
                                         w.WriteInteger(-3);
                                         w.WritePropName("Wave.WAVE");
                                         w.WriteBinary(image);
                                     },
                                     [&](TComponentWriter& w) {
                                         w.WritePropName("Wave.WAVE");
                                         w.WriteBinary({'R', 'I', 'F', 'F'});
                                     }});
    TWaveCollection waves;
    try {
        waves.LoadFromMemory(bytes.data(), bytes.size());
        FAIL() << "no error";
    } catch (const EWaveError& e) {
        EXPECT_STREQ(e.what(), "Wave is invalid");
    }
    ASSERT_EQ(waves.Count(), 2);  // the first item stays
    EXPECT_EQ(waves.Items(0).Name, "horn");
    EXPECT_TRUE(waves.Items(0).Looped());
    EXPECT_EQ(waves.Items(0).MaxPlayingCount(), 0);
    EXPECT_EQ(waves.Items(0).Wave.Data, kSamples);

    std::vector<uint8_t> withColourTable = testing::CollectionFile(
        "TWaveCollectionComponent", {}, [](TComponentWriter& w) {
            w.WritePropName("List.ColorTable");
            w.WriteBinary(std::vector<uint8_t>(1024));
        });
    EXPECT_THROW(waves.LoadFromMemory(withColourTable.data(), withColourTable.size()), EPropertyError);
}

TEST(WaveCollection, WhatIsWrittenReadsBack) {
    std::vector<TWaveItemData> items(3);
    items[0].Name = "\xC2\xE7\xF0\xFB\xE2";  // "Взрыв"
    items[0].Data = {0, 1, 0, 2, 0, 3};
    items[1].Name = "engine";
    items[1].Looped = true;
    items[1].MaxPlayingCount = 2;
    items[1].Channels = 2;
    items[1].SamplesPerSecond = 44100;
    items[1].BitsPerSample = 8;
    items[1].Data = {1, 2, 3, 4, 5};  // odd: padded at the end of its image
    items[2].Name = "silence";

    testing::TTempFile file("round.dxw");
    WriteWaveCollectionFile(file.Path(), items);
    TDXWaveList list;
    list.LoadFromFile(file.Path());
    const TWaveCollection& waves = list.Items();
    ASSERT_EQ(waves.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        const TWaveItemData& want = items[static_cast<size_t>(i)];
        const TWaveCollectionItem& got = waves.Items(i);
        EXPECT_EQ(got.Name, want.Name);
        EXPECT_EQ(got.Looped(), want.Looped);
        EXPECT_EQ(got.MaxPlayingCount(), want.MaxPlayingCount);
        EXPECT_EQ(got.Wave.FormatTag(), WAVE_FORMAT_PCM);
        EXPECT_EQ(got.Wave.Channels(), want.Channels);
        EXPECT_EQ(got.Wave.SamplesPerSecond(), want.SamplesPerSecond);
        EXPECT_EQ(got.Wave.BitsPerSample(), want.BitsPerSample);
        EXPECT_EQ(got.Wave.AvgBytesPerSecond(), want.SamplesPerSecond * want.Channels * want.BitsPerSample / 8);
        EXPECT_EQ(got.Wave.Data, want.Data);
    }
}

}  // namespace
}  // namespace quillon
