// The balance of the game's sound as a player hears it: one recorded headless run holds
// half a minute of the main menu and half a minute of a level-5 race driven by the pilot.
// The race is as loud as the menu, nothing reaches full scale, both are stereo, and the
// race's song stands above its engines, shots and explosions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <libopenmpt/libopenmpt.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "engine/Wave.h"
#include "support/HeadlessRun.h"
#include "support/Json.h"
#include "support/ScriptedRun.h"

namespace quillon::testing {
namespace {

constexpr int Fps = 85;
constexpr int Rate = 44100;
constexpr int Window = 30 * Fps;         // frames measured of each screen
constexpr int RaceStart = Ready + Window;  // the menu is measured from the end of its intro
constexpr int RaceFrom = RaceStart + kLevelBannerFrames + 10;
constexpr int Frames = RaceFrom + Window;

// Interleaved 16-bit stereo samples of one stretch of a recording.
struct TStretch {
    const int16_t* Samples;
    size_t Count;  // stereo frames
};

struct TLevels {
    double RmsDb;      // both channels, dB below full scale
    double PeakDb;
    double SideToMid;  // RMS of (L - R) over RMS of (L + R)
};

double Db(double amplitude) { return 20.0 * std::log10(std::max(amplitude, 1e-9) / 32768.0); }

TLevels Measure(TStretch s) {
    double power = 0, mid = 0, side = 0;
    int peak = 0;
    for (size_t i = 0; i < s.Count; ++i) {
        const double l = s.Samples[2 * i], r = s.Samples[2 * i + 1];
        power += l * l + r * r;
        mid += (l + r) * (l + r);
        side += (l - r) * (l - r);
        peak = std::max({peak, std::abs(int(l)), std::abs(int(r))});
    }
    return {Db(std::sqrt(power / (2.0 * s.Count))), Db(peak), std::sqrt(side / std::max(mid, 1.0))};
}

// Sample offset of a frame in the recording: each frame holds Rate / Fps samples, rounded
// at the frame's end.
size_t FrameStart(int frame) { return static_cast<size_t>(std::llround(double(frame) * Rate / Fps)); }

// The race song alone over the measured stretch, rendered by the module player as the
// game renders it: it starts with the race and runs through the banner.
double RaceSongRmsDb(const std::string& songPath) {
    std::ifstream file(songPath, std::ios::binary);
    openmpt::module song(file);
    song.set_repeat_count(-1);
    song.set_position_seconds(double(RaceFrom - RaceStart) / Fps);
    std::vector<int16_t> out(2 * (FrameStart(Frames) - FrameStart(RaceFrom)));
    size_t done = 0;
    while (done < out.size() / 2) {
        const size_t got = song.read_interleaved_stereo(Rate, out.size() / 2 - done, out.data() + 2 * done);
        if (got == 0) break;
        done += got;
    }
    return Measure({out.data(), done}).RmsDb;
}

// The interleaved stereo samples of a recorded run; empty when it cannot be read.
std::vector<int16_t> ReadRecording(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    TWave wave;
    wave.LoadFromMemory(bytes.data(), bytes.size());
    if (wave.Channels() != 2 || wave.SamplesPerSecond() != Rate) return {};
    std::vector<int16_t> recording(wave.Data.size() / 2);
    std::memcpy(recording.data(), wave.Data.data(), recording.size() * 2);
    return recording;
}

// The loudest moments of a race (a crash: explosion, bump and spark at once over the song and
// the engine) stay a decibel below full scale on every ship.
TEST(MixBalance, EveryShipsRaceKeepsADecibelOfHeadroom) {
    for (int ship = 1; ship <= 5; ++ship) {
        const std::string dir = MakeTempDir("headroom");
        const int frames = Ready + kLevelBannerFrames + 60 * Fps;
        const THeadlessResult run =
            RunHeadless(dir, std::to_string(Ready) + " race " + std::to_string(ship) + " 5\n" + std::to_string(Ready) +
                                 " pilot on\n",
                        "--frames " + std::to_string(frames) + " --fps 85 --seed 3 --record-audio mix.wav");
        ASSERT_EQ(run.ExitStatus, 0) << run.Stderr;
        const std::vector<int16_t> recording = ReadRecording(dir + "/mix.wav");
        ASSERT_FALSE(recording.empty());
        EXPECT_LE(Measure({recording.data(), recording.size() / 2}).PeakDb, -1.0) << "ship " << ship;
        std::filesystem::remove_all(dir);
    }
}

TEST(MixBalance, ARaceIsAsLoudAsTheMenuInStereoWithTheSongAboveTheEffects) {
    const std::string dir = MakeTempDir("balance");
    std::ostringstream script;
    script << RaceStart << " race 1 5\n" << RaceStart << " pilot on\n" << Frames - 1 << " state end.json\n";
    const THeadlessResult run = RunHeadless(
        dir, script.str(), "--frames " + std::to_string(Frames) + " --fps 85 --seed 1 --record-audio mix.wav");
    ASSERT_EQ(run.ExitStatus, 0) << run.Stderr;
    const TJson end = ReadJsonFile(dir + "/end.json");
    ASSERT_EQ(end["CurrentScreen"].Int(), 6) << "the whole stretch is a race";
    EXPECT_EQ(end["race"]["Level"].Int(), 5);

    const std::vector<int16_t> recording = ReadRecording(dir + "/mix.wav");
    const int16_t* samples = recording.data();
    const size_t total = recording.size() / 2;
    ASSERT_GE(total, FrameStart(Frames));
    auto stretch = [&](int from, int to) {
        return TStretch{samples + 2 * FrameStart(from), FrameStart(to) - FrameStart(from)};
    };

    const TLevels menu = Measure(stretch(Ready, RaceStart));
    const TLevels race = Measure(stretch(RaceFrom, Frames));
    const TLevels whole = Measure({samples, total});
    const double song = RaceSongRmsDb(BuildDir() + "/Data/Music/Race.xm");
    // The song and the effects are independent, so their powers add up to the race's.
    const double effects = 10.0 * std::log10(std::max(std::pow(10.0, race.RmsDb / 10.0) - std::pow(10.0, song / 10.0), 1e-12));
    const std::string figures = "menu " + std::to_string(menu.RmsDb) + " dB, race " + std::to_string(race.RmsDb) +
                                " dB (song " + std::to_string(song) + ", effects " + std::to_string(effects) +
                                "), peak " + std::to_string(whole.PeakDb) + " dB, side/mid menu " +
                                std::to_string(menu.SideToMid) + ", race " + std::to_string(race.SideToMid);
    SCOPED_TRACE(figures);
    RecordProperty("levels", figures);  // kept in the test report for reading the balance later

    EXPECT_LE(std::abs(race.RmsDb - menu.RmsDb), 3.0) << "a race as loud as the menu";
    EXPECT_GT(menu.RmsDb, -26.0) << "and neither of them faint";
    EXPECT_LE(whole.PeakDb, -1.0) << "nothing at full scale";
    for (const TLevels* screen : {&menu, &race}) {
        EXPECT_GE(screen->SideToMid, 0.1) << "stereo, not two copies of one channel";
        EXPECT_LE(screen->SideToMid, 0.7) << "wide, yet still whole in the middle";
    }
    EXPECT_GE(song - effects, 2.0) << "the song stays above the engine and the effects";
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace quillon::testing
