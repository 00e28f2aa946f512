// The sound device and the wave items' playing rules: restart, polyphony with
// the oldest copy cut off, looping, the sound option, and resampling.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "../support/SoundFixtures.h"
#include "engine/DXSound.h"
#include "engine/SoundEffects.h"
#include "engine/WavePlayer.h"

namespace quillon {
namespace {

using testing::Energy;
using testing::MakeTone;

std::vector<int16_t> Pull(TDXSound& mixer, int frames) {
    std::vector<int16_t> out(2 * static_cast<size_t>(frames));
    mixer.Mix(out.data(), frames);
    return out;
}

class NoDevice : public IAudioOutput {
public:
    int Open(TDXSound&) override { return 0; }
    void Close() override {}
};

// A mixer pulled by the test and three effects: 0 a 0.5 s tone, 1 a looped
// 0.1 s tone, 2 a 0.5 s tone allowed two copies.
class SoundFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Mixer.Initialize();
        for (int i = 0; i < 3; ++i) {
            Items[i].SetSound(MakeTone(22050, 16, 1, i == 1 ? 0.1 : 0.5, 441));
            Items[i].Initialize(&Mixer);
            Items[i].Restore();
        }
        Items[1].SetLooped(true);
        Items[2].SetMaxPlayingCount(2);
    }

    TDXSound Mixer;
    TWavePlayer Items[3];
    bool SoundOn = true;
    TSoundEffects Effects{SoundOn, [this](int i) { return i >= 0 && i < 3 ? &Items[i] : nullptr; }};
};

TEST_F(SoundFixture, SecondPlaySoundRestartsTheOneCopyFromTheBeginning) {
    Effects.PlaySound(0);
    Pull(Mixer, 4410);
    ASSERT_GT(Items[0].Duplicates()[0]->Position(), 0u);
    Effects.PlaySound(0);
    EXPECT_EQ(Mixer.PlayingCount(), 1);
    ASSERT_EQ(Items[0].Duplicates().size(), 1u);
    EXPECT_EQ(Items[0].Duplicates()[0]->Position(), 0u);
    EXPECT_EQ(Effects.TakeStarted(), (std::vector<int>{0, 0}));
}

TEST_F(SoundFixture, ThirdPlayWithTwoCopiesCutsOffTheOldest) {
    Items[2].Play();
    Pull(Mixer, 4410);
    const TSoundBuffer* first = Items[2].Duplicates()[0].get();
    Items[2].Play();
    Pull(Mixer, 4410);
    const TSoundBuffer* second = Items[2].Duplicates()[1].get();
    uint32_t secondPos = second->Position();
    Items[2].Play();
    ASSERT_EQ(Items[2].Duplicates().size(), 2u);
    EXPECT_EQ(Items[2].Duplicates()[0].get(), second);  // untouched, still sounding
    EXPECT_EQ(second->Position(), secondPos);
    EXPECT_EQ(Items[2].Duplicates()[1].get(), first);  // reused from the start, now the newest
    EXPECT_EQ(first->Position(), 0u);
    EXPECT_EQ(Mixer.PlayingCount(), 2);
}

TEST_F(SoundFixture, UnlimitedItemAddsACopyPerOverlappingPlayAndReusesFinishedOnes) {
    for (int i = 0; i < 4; ++i) Items[0].Play();
    EXPECT_EQ(Items[0].Duplicates().size(), 4u);
    Pull(Mixer, 44100);  // all four finish
    EXPECT_EQ(Mixer.PlayingCount(), 0);
    Items[0].Play();
    EXPECT_EQ(Items[0].Duplicates().size(), 4u);
}

TEST_F(SoundFixture, LoopedItemSoundsUntilStopped) {
    Effects.PlaySound(1);
    std::vector<int16_t> out = Pull(Mixer, 3 * 44100);  // thirty times its length
    EXPECT_GT(Energy(out, 3 * 44100 - 4410, 3 * 44100), 1000.0);
    EXPECT_TRUE(Items[1].Playing());
    EXPECT_TRUE(Items[1].Duplicates().empty());  // a looped item plays its primary buffer
    Effects.StopSound(1);
    out = Pull(Mixer, 4410);
    EXPECT_EQ(Energy(out, 0, 4410), 0.0);
}

TEST_F(SoundFixture, SoundOffNeitherPlaysNorStops) {
    Effects.PlaySound(1);
    SoundOn = false;
    Effects.StopSound(1);
    EXPECT_TRUE(Items[1].Playing());
    Effects.PlaySound(0);
    EXPECT_FALSE(Items[0].Playing());
    EXPECT_EQ(Effects.TakeStarted(), (std::vector<int>{1}));
}

TEST_F(SoundFixture, ChangingLoopedStopsAndChangingTheCopyLimitFreesCopies) {
    Items[1].Play();
    Items[1].SetLooped(false);
    EXPECT_FALSE(Items[1].Playing());
    Items[0].Play();
    Items[0].Play();
    Items[0].SetMaxPlayingCount(-3);  // stored as 0: no change
    EXPECT_EQ(Items[0].Duplicates().size(), 2u);
    Items[0].SetMaxPlayingCount(1);
    EXPECT_TRUE(Items[0].Duplicates().empty());
}

TEST(SoundDevice, WithoutADeviceEverythingIsSilentAndNothingFails) {
    NoDevice none;
    TDXSound mixer;
    mixer.SetOutput(&none);
    mixer.Initialize();
    EXPECT_FALSE(mixer.Initialized());
    TWavePlayer item;
    item.SetSound(MakeTone(22050, 16, 1, 0.1, 441));
    item.Initialize(&mixer);
    item.Restore();
    item.Play();
    item.Stop();
    EXPECT_FALSE(item.Initialized());
    EXPECT_EQ(item.Primary(), nullptr);
    std::vector<int16_t> out = Pull(mixer, 512);
    EXPECT_EQ(Energy(out, 0, 512), 0.0);
}

TEST(SoundDevice, FinalizeFreesBuffersAndADestroyedDeviceLeavesNoDanglingBuffers) {
    TWavePlayer item;
    item.SetSound(MakeTone(22050, 16, 1, 0.1, 441));
    {
        TDXSound mixer;
        mixer.Initialize();
        item.Initialize(&mixer);
        item.Play();
        EXPECT_EQ(mixer.PlayingCount(), 1);
        item.Finalize();  // what the wave list does on the device's Finalize notice
        EXPECT_EQ(mixer.PlayingCount(), 0);
        mixer.Initialize();
        item.Initialize(&mixer);
        item.Play();
    }
    ASSERT_EQ(item.Duplicates().size(), 1u);
    EXPECT_FALSE(item.Duplicates()[0]->Playing());  // detached and silent, not freed twice
    item.Finalize();
}

// Any supported format at any rate comes out at 44100 Hz with its own length and pitch.
TEST(SoundResampling, FormatsAndRatesKeepLengthAndPitch) {
    struct Case {
        int rate, bits, channels;
    };
    const Case cases[] = {{11025, 8, 1}, {22050, 8, 1}, {22050, 16, 1}, {44100, 16, 2}, {48000, 16, 1}, {8000, 8, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.rate << " Hz " << c.bits << "-bit " << c.channels << " ch");
        TDXSound mixer;
        mixer.Initialize();
        TWavePlayer item;
        item.SetSound(MakeTone(c.rate, c.bits, c.channels, 0.5, 441));
        item.Initialize(&mixer);
        item.Play();
        std::vector<int16_t> out = Pull(mixer, 44100);
        int lastSounding = 0, crossings = 0;
        for (int i = 1; i < 44100; ++i) {
            if (out[2 * i] != 0) lastSounding = i;
            if ((out[2 * i - 2] < 0) != (out[2 * i] < 0) && i < 22000) ++crossings;
        }
        EXPECT_NEAR(lastSounding, 22050, 8);
        EXPECT_NEAR(crossings, 2 * 441 * 22000 / 44100, 4);  // 441 Hz still
        EXPECT_GT(Energy(out, 0, 22000), 0.5 * 32767 * 0.5 * 0.6);
        if (c.channels == 2) EXPECT_EQ(Energy(out, 0, 22050, 1), 0.0);
        else EXPECT_EQ(Energy(out, 0, 22050, 1), Energy(out, 0, 22050, 0));
    }
}

TEST(SoundResampling, SilenceInEightBitIsZeroAndLoudMixesClip) {
    TDXSound mixer;
    mixer.Initialize();
    TWavePlayer quiet, loud[4];
    quiet.SetSound(MakeTone(11025, 8, 1, 0.1, 441, 0.0));
    quiet.Initialize(&mixer);
    quiet.Play();
    EXPECT_EQ(Energy(Pull(mixer, 2000), 0, 2000), 0.0);
    for (TWavePlayer& item : loud) {
        item.SetSound(MakeTone(44100, 16, 1, 0.1, 441, 1.0));
        item.Initialize(&mixer);
        item.Play();
    }
    std::vector<int16_t> out = Pull(mixer, 2000);
    EXPECT_GT(*std::max_element(out.begin(), out.end()), 32000) << "four loud tones reach near full scale";
    EXPECT_LT(*std::min_element(out.begin(), out.end()), -32000);
}

TEST(SoundMixing, TheLimiterBendsOnlyTheLoudestSamples) {
    const struct { int32_t In; int16_t Low, High; } cases[] = {
        {0, 0, 0},           {1000, 1000, 1000},       {-24576, -24576, -24576}, {24576, 24576, 24576},
        {28000, 26500, 27999}, {32767, 29000, 32000},  {65534, 32400, 32767},    {-65534, -32767, -32400},
        {1 << 30, 32700, 32767}, {-(1 << 30), -32767, -32700},
    };
    for (const auto& c : cases) {
        EXPECT_GE(SoftLimit(c.In), c.Low) << c.In;
        EXPECT_LE(SoftLimit(c.In), c.High) << c.In;
        EXPECT_EQ(SoftLimit(c.In), -SoftLimit(-c.In)) << "symmetric, " << c.In;
    }
    for (int32_t x = 24000; x < 70000; x += 50) EXPECT_LE(SoftLimit(x), SoftLimit(x + 50)) << "never folds back, " << x;
}

TEST(SoundResampling, FrequencyPanAndVolumeApplyAtStart) {
    TDXSound mixer;
    mixer.Initialize();
    TWavePlayer item;
    item.SetSound(MakeTone(22050, 16, 1, 1.0, 441));
    item.Initialize(&mixer);
    double full = Energy((item.Play(), Pull(mixer, 4410)), 0, 4410);
    item.Stop();
    item.SetVolume(-600);
    item.SetPan(10000);
    item.Play();
    std::vector<int16_t> out = Pull(mixer, 4410);
    EXPECT_EQ(Energy(out, 0, 4410, 0), 0.0);                   // panned hard right
    EXPECT_NEAR(Energy(out, 0, 4410, 1) / full, 0.501, 0.01);  // -6 dB
    item.Stop();
    item.SetVolume(0);
    item.SetPan(0);
    item.SetFrequency(44100);  // twice the recording's rate: half as long
    item.Play();
    out = Pull(mixer, 44100);
    EXPECT_GT(Energy(out, 22000, 22040), 0.0);
    EXPECT_EQ(Energy(out, 22060, 44100), 0.0);
}

}  // namespace
}  // namespace quillon
