// The replay file: what is written is read back the same, and every way a file can be
// wrong is refused with one line that names the file and the fault.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdint>
#include <random>
#include <string>

#include "save/ReplayFile.h"

namespace quillon {
namespace {

const TReplayExpectation kHere{"0.1.0", 0x1234};

// Frames with every kind of change, events before frames and after the last one.
TReplay SampleReplay(uint32_t frames = 400) {
    TReplay replay;
    replay.Header.GameVersion = "0.1.0";
    replay.Header.DataHash = 0x1234;
    replay.Header.Ship = 4;
    replay.Header.StartLevel = 3;
    replay.Header.Seed = 99;
    replay.Header.GeneratorState = 0xFEDCBA9876543210ull;
    replay.Header.Demo = true;
    replay.Header.PilotDrove = true;
    replay.Header.HeldAtStart = 1ull << 35;
    replay.Header.FrameMsAtStart = 16;
    replay.Header.SpeedScaleAtStart = 85.0 / 60;
    replay.Header.MouseX = -3;
    replay.Header.MouseY = 599;
    replay.Header.PlayerName = "\xC2\xE0\xED\xFF";
    replay.Header.Table[0] = {"\xC2\xE0\xED\xFF", 10000};
    replay.Header.Table[9] = {"", -5};
    for (uint32_t i = 0; i < frames; ++i) {
        TReplayFrame frame;
        frame.Lag = 11 + static_cast<int>(i % 2);
        frame.FrameMs = i < 200 ? 11 : 16;
        frame.SpeedScale = i < 200 ? 1.0 : 85.0 / 60;
        frame.Held = (i / 7) % 3 == 0 ? 5 : 0;
        frame.Controls = static_cast<uint8_t>((i / 13) * 37);
        if (i % 85 == 84) frame.Checksum = 0x9E3779B97F4A7C15ull * i;
        frame.SendingBusy = i > frames - 30 && i < frames - 5;
        replay.Frames.push_back(frame);
    }
    replay.Events = {TReplayEvent{0, 27, false, 1, 0, 0, 0, "", 10}, TReplayEvent{2, 0, false, 0, 0, 0, 0, "\xD0\xAF", 10},
                     TReplayEvent{6, 0, false, 8, 275, 314, 1, "", 150}, TReplayEvent{0, 89, true, 2, 0, 0, 0, "", frames}};
    replay.Summary = TReplaySummary{frames, 3, 4210, 2, 1, TReplayEnd::GameOver, true, "\xC2\xE0\xED\xFF"};
    return replay;
}

std::string WithCrcFixed(std::string bytes) {
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size() - 4));
    for (int i = 0; i < 4; ++i) bytes[bytes.size() - 4 + static_cast<size_t>(i)] = static_cast<char>(crc >> (8 * i));
    return bytes;
}

std::string ErrorOf(const std::string& bytes, const std::string& name = "race.qrp") {
    try {
        DecodeReplay(bytes, name, kHere);
    } catch (const EReplayError& error) {
        return error.what();
    }
    return "";
}

TEST(ReplayFile, WhatIsWrittenIsReadBackTheSame) {
    const TReplay replay = SampleReplay();
    EXPECT_EQ(DecodeReplay(EncodeReplay(replay), "race.qrp", kHere), replay);
    TReplay empty;
    empty.Summary.Level = 1;
    EXPECT_EQ(DecodeReplay(EncodeReplay(empty), "empty.qrp"), empty);
}

// An hour of frames that change every frame still packs small.
TEST(ReplayFile, AnHourOfChangingFramesPacksSmall) {
    const std::string bytes = EncodeReplay(SampleReplay(85 * 3600));
    EXPECT_LT(bytes.size(), 256u * 1024) << bytes.size();
}

// Replays recorded before the pictures had languages carry the former hash of the same data.
TEST(ReplayFile, EitherDataHashOfTheDataHereIsAccepted) {
    const TReplayExpectation both{"0.1.0", 0x1234, 0x5678};
    struct TCase {
        uint64_t Recorded;
        const TReplayExpectation& Expect;
        bool Played;
    };
    const TCase cases[] = {
        {0x1234, both, true}, {0x5678, both, true}, {0x4321, both, false},
        {0x5678, kHere, false},  // no former hash here
        {0, kHere, false},
    };
    for (const TCase& c : cases) {
        TReplay replay = SampleReplay();
        replay.Header.DataHash = c.Recorded;
        std::string error;
        try {
            DecodeReplay(EncodeReplay(replay), "race.qrp", c.Expect);
        } catch (const EReplayError& e) {
            error = e.what();
        }
        EXPECT_EQ(error, c.Played ? "" : "race.qrp: recorded with other data files") << std::hex << c.Recorded;
    }
}

TEST(ReplayFile, BadFilesAreRefusedWithOneLineNamingTheFileAndTheFault) {
    const std::string good = EncodeReplay(SampleReplay());
    TReplay otherData = SampleReplay();
    otherData.Header.DataHash = 0x4321;
    TReplay otherGame = SampleReplay();
    otherGame.Header.GameVersion = "9.9\x1B";
    std::string future = good;
    future[8] = 2;
    std::string badField = good;
    badField[8 + 2 + 1 + 5 + 8] = 6;  // the ship
    std::string badStream = good;
    badStream[badStream.size() - 10] ^= 0x55;

    struct Case {
        const char* what;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"empty", "", "race.qrp: empty file"},
        {"another kind of file", "PK\x03\x04 not a replay at all", "race.qrp: not a replay file"},
        {"the magic alone", good.substr(0, 8), "race.qrp: cut short"},
        {"cut in the header", good.substr(0, 40), "race.qrp: cut short or damaged (file checksum)"},
        {"cut in the stream", good.substr(0, good.size() - 20), "race.qrp: cut short or damaged (file checksum)"},
        {"one byte flipped", std::string(good).replace(30, 1, 1, static_cast<char>(good[30] ^ 1)),
         "race.qrp: cut short or damaged (file checksum)"},
        {"a later format", future, "race.qrp: replay format version 2, this game plays version 1"},
        {"other data files", EncodeReplay(otherData), "race.qrp: recorded with other data files"},
        {"another game version", EncodeReplay(otherGame), "race.qrp: recorded by game version 9.9\\x1B, this is 0.1.0"},
        {"a field out of range", WithCrcFixed(badField), "race.qrp: damaged (ship)"},
        {"a damaged packed stream", WithCrcFixed(badStream), "race.qrp: damaged (frame stream)"},
    };
    for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.bytes), c.message) << c.what;
    EXPECT_EQ(ErrorOf("", "bad\nname.qrp"), "bad\\x0Aname.qrp: empty file") << "the name is escaped";
}

// The events a replay keeps are the window's keys, characters, pointer, close and minimise
// (kinds 0 to 8); any other kind is a damaged file.
TEST(ReplayFile, OnlyTheKeptEventKindsAreRead) {
    const struct {
        uint8_t Type;
        const char* Message;
    } cases[] = {{0, ""}, {7, ""}, {8, ""}, {9, "race.qrp: damaged (event type)"}, {11, "race.qrp: damaged (event type)"},
                 {255, "race.qrp: damaged (event type)"}};
    for (const auto& c : cases) {
        TReplay replay = SampleReplay();
        replay.Events[1].Type = c.Type;
        EXPECT_EQ(ErrorOf(EncodeReplay(replay)), c.Message) << "kind " << int{c.Type};
    }
}

// Any byte of a good file changed, with the file checksum made right again so that the fields
// themselves are read: the file is refused or read as a replay that writes back the same.
TEST(ReplayFile, EveryByteChangedIsRefusedOrReadConsistently) {
    const std::string good = EncodeReplay(SampleReplay(60));
    std::mt19937 random(7);
    for (size_t at = 10; at + 4 < good.size(); ++at) {
        for (int flip : {1, 0x80, static_cast<int>(random() % 255 + 1)}) {
            std::string bytes = good;
            bytes[at] = static_cast<char>(bytes[at] ^ flip);
            try {
                const TReplay replay = DecodeReplay(WithCrcFixed(bytes), "x");
                EXPECT_EQ(replay.Frames.size(), replay.Summary.Frames);
                EXPECT_EQ(DecodeReplay(EncodeReplay(replay), "x"), replay) << "byte " << at;
            } catch (const EReplayError& error) {
                EXPECT_EQ(std::string(error.what()).find('\n'), std::string::npos);
            }
        }
    }
}

TEST(ReplayFile, RandomBytesAreRefused) {
    std::mt19937 random(11);
    for (int i = 0; i < 200; ++i) {
        std::string bytes(random() % 300, '\0');
        for (char& c : bytes) c = static_cast<char>(random());
        if (i % 2) bytes.replace(0, std::min<size_t>(8, bytes.size()), std::string("QLNRPLY\x1A", 8).substr(0, std::min<size_t>(8, bytes.size())));
        EXPECT_FALSE(ErrorOf(bytes).empty());
    }
}

// A stream that claims to unpack far beyond what its packed bytes can hold is refused
// before anything is allocated for it.
TEST(ReplayFile, AStreamSizeBeyondThePackedBytesIsRefused) {
    TReplay replay;
    replay.Header.GameVersion = kHere.GameVersion;
    replay.Header.DataHash = kHere.DataHash;
    replay.Summary.Level = 1;
    const std::string bytes = EncodeReplay(replay);
    // No frames and no events: the stream is the one byte of an empty event count.
    const std::string stream(1, '\0');
    uLongf packedSize = compressBound(1);
    std::string packed(packedSize, '\0');
    ASSERT_EQ(compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                        reinterpret_cast<const Bytef*>(stream.data()), 1, Z_BEST_COMPRESSION), Z_OK);
    packed.resize(packedSize);
    ASSERT_LT(packed.size(), 0x80u);
    const size_t sizesAt = bytes.size() - 4 - packed.size() - 2;
    const std::string sizes = {1, static_cast<char>(packed.size())};
    ASSERT_EQ(bytes.substr(sizesAt, 2), sizes);
    ASSERT_EQ(bytes.substr(sizesAt + 2, packed.size()), packed);
    std::string huge = bytes.substr(0, sizesAt);
    for (int i = 0; i < 5; ++i) huge.push_back(static_cast<char>(0x80));
    huge.push_back(0x20);  // 2^40
    huge.push_back(static_cast<char>(packed.size()));
    huge += packed + "XXXX";
    EXPECT_EQ(ErrorOf(WithCrcFixed(huge)), "race.qrp: damaged (frame stream)");
}

// A replay has one form: bytes after the packed stream (inside the checksum or after it) are
// refused, so the same race cannot be sent again as another file.
TEST(ReplayFile, BytesAfterThePackedStreamAreRefused) {
    TReplay replay;
    replay.Header.GameVersion = kHere.GameVersion;
    replay.Header.DataHash = kHere.DataHash;
    replay.Summary.Level = 1;
    const std::string bytes = EncodeReplay(replay);
    ASSERT_EQ(ErrorOf(bytes), "");
    // No frames and no events: the packed stream is that of one byte, its size one byte before it.
    const std::string stream(1, '\0');
    uLongf packedLength = compressBound(1);
    std::string packed(packedLength, '\0');
    ASSERT_EQ(compress2(reinterpret_cast<Bytef*>(packed.data()), &packedLength,
                        reinterpret_cast<const Bytef*>(stream.data()), 1, Z_BEST_COMPRESSION), Z_OK);
    packed.resize(packedLength);
    const size_t sizeAt = bytes.size() - 4 - packed.size() - 1;
    ASSERT_EQ(bytes.substr(sizeAt, 1 + packed.size()), static_cast<char>(packed.size()) + packed);
    const auto padded = [&](const std::string& padding) {
        std::string file = bytes.substr(0, bytes.size() - 4) + padding + "XXXX";
        file[sizeAt] = static_cast<char>(static_cast<uint8_t>(file[sizeAt]) + padding.size());
        return WithCrcFixed(file);
    };
    struct Case {
        const char* what;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"zero bytes after the packed stream", padded(std::string(8, '\0')), "race.qrp: damaged (frame stream)"},
        {"the packed stream twice", padded(packed),
         "race.qrp: damaged (frame stream)"},
        {"bytes after the file checksum", bytes + "pad", "race.qrp: cut short or damaged (file checksum)"},
    };
    for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.bytes), c.message) << c.what;
}

}  // namespace
}  // namespace quillon
