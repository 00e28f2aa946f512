// The settings file through the real program: the volumes scale the recorded mix, a moved
// key or pad button fires where the old one no longer does, and a bad line is named on
// standard error while the game plays on with its default.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/Wave.h"
#include "support/ScriptedRun.h"

namespace quillon::testing {
namespace {

class SettingsRunTest : public TScriptedRun {
protected:
    void WriteSettings(const std::string& name, const std::string& text) {
        std::ofstream(Dir + "/" + name, std::ios::binary) << text;
    }

    // RMS of a recording from a frame on, in dB below full scale; -inf for silence.
    double RecordedRmsDb(const std::string& name, int fromFrame) {
        std::ifstream in(Dir + "/" + name, std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        TWave wave;
        wave.LoadFromMemory(bytes.data(), bytes.size());
        std::vector<int16_t> samples(wave.Data.size() / 2);
        std::memcpy(samples.data(), wave.Data.data(), samples.size() * 2);
        const size_t from = 2 * static_cast<size_t>(std::llround(fromFrame * 44100.0 / 85));
        double power = 0;
        for (size_t i = from; i < samples.size(); ++i) power += double(samples[i]) * samples[i];
        const size_t count = samples.size() > from ? samples.size() - from : 1;
        return 10.0 * std::log10(power / count / (32768.0 * 32768.0));
    }

    // Whether the player's shot is in the dump of a frame.
    bool PlayerShot(int frame) {
        const TJson state = State(frame);
        for (const TJson& shot : state["race"]["shots"].Array)
            if (shot["Owner"].Int() == 1) return true;
        return false;
    }
};

TEST_F(SettingsRunTest, VolumesScaleTheRecordedMixAndZeroSilencesIt) {
    WriteSettings("half.ini", "[Sound]\nMusicVolume = 50\nEffectsVolume = 50\n");
    WriteSettings("silent.ini", "[Sound]\nMusicVolume = 0\nEffectsVolume = 0\n");
    const int frames = Ready + 300;  // the menu's song and its sounds
    At(Ready + 40, "move " + Tab(2));  // a hover sound over the song
    const std::string script = Script.str();
    Run(frames, 1, "--record-audio full.wav");
    Script << script;
    Run(frames, 1, "--record-audio half.wav --settings half.ini");
    Script << script;
    Run(frames, 1, "--record-audio silent.wav --settings silent.ini");

    const double full = RecordedRmsDb("full.wav", 0), half = RecordedRmsDb("half.wav", 0);
    EXPECT_GT(full, -40.0) << "the menu is heard";
    EXPECT_NEAR(half - full, -6.02, 0.5) << "full " << full << " dB, half " << half << " dB";
    EXPECT_TRUE(std::isinf(RecordedRmsDb("silent.wav", 0)));
}

// A key the settings move: the new one fires, the game's own no longer does, and a bad line
// of the same file is named with its default while the rest of the file still counts.
TEST_F(SettingsRunTest, AMovedFireKeyFiresAndTheOldOneNoLongerDoes) {
    WriteSettings("keys.ini", "[Keys]\nFire = Q\nHorn = Warp Drive\n");
    const int racing = Ready + kLevelBannerFrames + 5, firing = racing + 60, seen = firing + 8;
    for (const char* key : {"Q", "Z"}) {
        At(Ready, "race 1 1");
        At(racing, "down Up");
        At(firing, std::string("down ") + key);
        Dump(seen + (key[0] == 'Z'));
        const THeadlessResult run = Run(seen + 2, 1, "--settings keys.ini");
        EXPECT_NE(run.Stderr.find("quillon: " + Dir + "/keys.ini:3: Horn = Warp Drive: Horn has no key named "
                                  "'Warp Drive'; using the default H\n"),
                  std::string::npos)
            << run.Stderr;
    }
    EXPECT_TRUE(PlayerShot(seen)) << "Q fires";
    EXPECT_FALSE(PlayerShot(seen + 1)) << "Z no longer fires";
}

TEST_F(SettingsRunTest, AMovedPadButtonFiresAndTheOldOneNoLongerDoes) {
    WriteSettings("pad.ini", "[Pad]\nFire = leftshoulder\n");
    const int racing = Ready + kLevelBannerFrames + 5, firing = racing + 60, seen = firing + 8;
    for (const char* button : {"leftshoulder", "a"}) {
        At(Ready, "race 1 1");
        At(racing, "pad down dpup");
        At(firing, std::string("pad down ") + button);
        Dump(seen + (button[0] == 'a'));
        const THeadlessResult run = Run(seen + 2, 1, "--settings pad.ini");
        EXPECT_EQ(run.Stderr, "");
    }
    EXPECT_TRUE(PlayerShot(seen)) << "the left shoulder fires";
    EXPECT_FALSE(PlayerShot(seen + 1)) << "A no longer fires";
}

}  // namespace
}  // namespace quillon::testing
