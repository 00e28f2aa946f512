// The music rules (one song, restart on every screen change, silent failures,
// the music option) and the module player mixed under the effects.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../support/HeadlessRun.h"
#include "../support/SoundFixtures.h"
#include "../support/TinyModule.h"
#include "engine/DXSound.h"
#include "engine/MusicDirector.h"
#include "platform/OpenMptMusic.h"

namespace quillon {
namespace {

// Records what the director asks of the player.
class FakePlayer : public IMusicPlayer {
public:
    bool Load(const std::string& path) override {
        Calls.push_back("load " + path);
        Loaded = path.find("missing") == std::string::npos;
        return Loaded;
    }
    void Play() override { Calls.push_back("play"); }
    void Free() override { Calls.push_back("free"); }
    void Render(int16_t*, int, int) override {}
    std::vector<std::string> Calls;
    bool Loaded = false;
};

TEST(MusicDirector, EveryScreenChangeRestartsTheOneSong) {
    FakePlayer player;
    bool musicOn = true;
    TMusicDirector music(&player, musicOn, "/game");
    music.PlayScreenMusic(false);
    music.PlayScreenMusic(false);
    music.PlayScreenMusic(true);
    EXPECT_EQ(music.CurrentSong(), "Data/Music/Race.xm");
    music.StopMusic();
    music.StopMusic();
    EXPECT_EQ(player.Calls, (std::vector<std::string>{"load /game/Data/Music/Menu.xm", "play", "free",
                                                       "load /game/Data/Music/Menu.xm", "play", "free",
                                                       "load /game/Data/Music/Race.xm", "play", "free"}));
    EXPECT_FALSE(music.SongLoaded());
    EXPECT_EQ(music.CurrentSong(), "");
}

TEST(MusicDirector, MusicOffPlaysNothingButStopStillStops) {
    FakePlayer player;
    bool musicOn = true;
    TMusicDirector music(&player, musicOn);
    music.PlayScreenMusic(false);
    musicOn = false;  // the options toggle: flip, StopMusic, PlayScreenMusic
    music.StopMusic();
    music.PlayScreenMusic(false);
    EXPECT_EQ(player.Calls, (std::vector<std::string>{"load Data/Music/Menu.xm", "play", "free"}));
}

TEST(MusicDirector, AMissingSongLeavesTheGameSilent) {
    FakePlayer player;
    bool musicOn = true;
    TMusicDirector music(&player, musicOn, "/missing");
    music.PlayScreenMusic(false);
    EXPECT_FALSE(music.SongLoaded());
    music.StopMusic();  // no handle: nothing to free
    EXPECT_EQ(player.Calls, (std::vector<std::string>{"load /missing/Data/Music/Menu.xm"}));
}

class ModuleFile : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = testing::MakeTempDir("module");
        Path = Dir + "/tiny.xm";
        std::vector<uint8_t> bytes = testing::MakeTinyModule();
        std::ofstream(Path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
    }
    void TearDown() override { std::filesystem::remove_all(Dir); }
    std::string Dir;
    std::string Path;
};

TEST_F(ModuleFile, PlayerLoadsLoopsEndlesslyAndMissingOrBrokenFilesFail) {
    TOpenMptMusic player;
    EXPECT_FALSE(player.Load(Path + ".missing"));
    std::string broken = Path + ".broken";
    std::ofstream(broken) << "not a module at all";
    EXPECT_FALSE(player.Load(broken));
    std::remove(broken.c_str());

    ASSERT_TRUE(player.Load(Path));
    std::vector<int16_t> out(2 * 44100);
    player.Render(out.data(), 44100, 44100);
    EXPECT_EQ(testing::Energy(out, 0, 44100), 0.0);  // loaded but not started
    player.Play();
    // The pattern lasts 64 rows at tempo 6, 125 BPM: 7.68 s. Twenty seconds in, it still sounds.
    for (int second = 0; second < 20; ++second) player.Render(out.data(), 44100, 44100);
    EXPECT_GT(testing::Energy(out, 0, 44100), 100.0);
    player.Free();
    player.Render(out.data(), 44100, 44100);
    EXPECT_EQ(testing::Energy(out, 0, 44100), 0.0);
}

TEST_F(ModuleFile, MusicIsMixedUnderTheEffects) {
    TDXSound mixer;
    mixer.Initialize();
    TOpenMptMusic player;
    mixer.SetMusic(&player);
    bool musicOn = true;
    TMusicDirector music(&player, musicOn);
    music.PlayMusic(Path);
    std::vector<int16_t> out(2 * 4410);
    mixer.Mix(out.data(), 4410);
    EXPECT_GT(testing::Energy(out, 0, 4410), 100.0);
    music.StopMusic();
    mixer.Mix(out.data(), 4410);
    EXPECT_EQ(testing::Energy(out, 0, 4410), 0.0);
}

}  // namespace
}  // namespace quillon
