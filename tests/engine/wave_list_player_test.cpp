// The wave list bound to the sound device: items from a .dxw file play with their
// own Looped and MaxPlayingCount, and follow the device through finalise and
// initialise.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "../support/SoundFixtures.h"
#include "../support/TempDir.h"
#include "engine/CollectionFiles.h"
#include "engine/DXSound.h"
#include "engine/SoundEffects.h"
#include "engine/WaveListPlayer.h"

namespace quillon {
namespace {

TWaveItemData Item(bool looped, int maxPlaying, int rate, int bits) {
    auto tone = testing::MakeTone(rate, bits, 1, 0.2, 440);
    TWaveItemData item;
    item.Looped = looped;
    item.MaxPlayingCount = maxPlaying;
    item.SamplesPerSecond = rate;
    item.BitsPerSample = bits;
    item.Data = tone->Samples;
    return item;
}

TEST(WaveListPlayer, ItemsFromTheFilePlayByTheirOwnRulesAndFollowTheDevice) {
    testing::TTempDir dir("sounds");
    std::string path = dir.File("sounds.dxw");
    WriteWaveCollectionFile(path, {Item(false, 2, 11025, 8), Item(true, 0, 22050, 16), TWaveItemData{}});
    TDXWaveList list;
    list.LoadFromFile(path);
    std::remove(path.c_str());

    TDXSound mixer;
    TWaveListPlayer players(list, mixer);
    bool soundOn = true;
    TSoundEffects effects(soundOn, [&](int i) { return players.Item(i); });
    effects.PlaySound(0);
    EXPECT_EQ(mixer.PlayingCount(), 0);  // device not initialised yet: silent, no error

    mixer.Initialize();
    EXPECT_TRUE(list.Items().Items(0).Initialized());
    ASSERT_NE(players.Item(0)->Primary(), nullptr);
    EXPECT_EQ(players.Item(2)->Primary(), nullptr);  // no samples, no buffer
    for (int i = 0; i < 3; ++i) players.Item(0)->Play();
    EXPECT_EQ(players.Item(0)->Duplicates().size(), 2u);
    effects.PlaySound(1);
    effects.PlaySound(2);
    std::vector<int16_t> out(2 * 44100);
    mixer.Mix(out.data(), 44100);
    EXPECT_TRUE(players.Item(1)->Playing());  // looped, still sounding after five lengths
    EXPECT_FALSE(players.Item(0)->Playing());

    mixer.Finalize();
    EXPECT_FALSE(list.Items().Items(1).Initialized());
    EXPECT_EQ(players.Item(1)->Primary(), nullptr);
    mixer.Initialize();
    effects.PlaySound(1);
    EXPECT_EQ(mixer.PlayingCount(), 1);
    EXPECT_EQ(players.Item(3), nullptr);
}

}  // namespace
}  // namespace quillon
