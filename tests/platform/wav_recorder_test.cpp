// The headless audio sink: exact samples per virtual frame, sound where an effect
// plays and silence elsewhere, and a readable WAV file.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "../support/SoundFixtures.h"
#include "../support/TempDir.h"
#include "engine/DXSound.h"
#include "engine/WavePlayer.h"
#include "platform/WavRecorder.h"

namespace quillon {
namespace {

TEST(WavRecorder, FramesAddUpToTheRoundedTotal) {
    const int fpsList[] = {85, 60, 30, 7};
    for (int fps : fpsList) {
        int64_t total = 0;
        for (int k = 0; k < 1000; ++k) {
            int n = TWavRecorder::FrameSamples(k, fps, 44100);
            EXPECT_GE(n, 44100 / fps);
            EXPECT_LE(n, 44100 / fps + 1);
            total += n;
        }
        EXPECT_EQ(total, static_cast<int64_t>(std::nearbyint(1000.0 * 44100 / fps))) << fps;
    }
}

TEST(WavRecorder, RecordsSoundWhereAnEffectPlaysAndSilenceElsewhere) {
    testing::TTempDir dir("record");
    std::string path = dir.File("record.wav");
    TDXSound mixer;
    mixer.Initialize();
    TWavePlayer blip;
    blip.SetSound(testing::MakeTone(22050, 16, 1, 0.1, 880));  // 4410 samples at 44100
    blip.Initialize(&mixer);
    TWavRecorder recorder(path);
    size_t startSample = 0;
    for (int frame = 0; frame < 40; ++frame) {
        if (frame == 10) {
            startSample = recorder.Samples().size() / 2;
            blip.Play();
        }
        recorder.RecordFrame(mixer, frame, 85);
    }
    const std::vector<int16_t>& s = recorder.Samples();
    size_t total = s.size() / 2;
    ASSERT_EQ(total, static_cast<size_t>(std::nearbyint(40.0 * 44100 / 85)));
    EXPECT_EQ(testing::Energy(s, 0, startSample), 0.0);
    EXPECT_GT(testing::Energy(s, startSample, startSample + 4400), 5000.0);
    EXPECT_EQ(testing::Energy(s, startSample + 4412, total), 0.0);

    ASSERT_TRUE(recorder.Finish());
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 44 + total * 4);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(bytes[22], 2);                          // stereo
    EXPECT_EQ(bytes[24] | (bytes[25] << 8), 44100);  // rate
    std::remove(path.c_str());
}

}  // namespace
}  // namespace quillon
