// A headless game whose mix is recorded frame by frame: an effect and the menu song
// sound exactly where the game plays them, with silence before and between.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/WavRecorder.h"
#include "support/GameFolderFixture.h"

namespace quillon::testing {
namespace {

// Peak level of one frame of the recording (both channels).
int FramePeak(const TWavRecorder& recorder, int frame, int fps) {
    int64_t begin = 0;
    for (int k = 0; k < frame; ++k) begin += TWavRecorder::FrameSamples(k, fps, recorder.Rate());
    int64_t end = begin + TWavRecorder::FrameSamples(frame, fps, recorder.Rate());
    int peak = 0;
    for (int64_t i = 2 * begin; i < 2 * end; ++i) peak = std::max(peak, std::abs(int(recorder.Samples()[i])));
    return peak;
}

using TRecordedRun = TGameFolderTest;

TEST_F(TRecordedRun, EffectAndSongSoundWhereTheyArePlayed) {
    constexpr int Fps = 85;
    TMForm& form = StartForm(200, Fps);
    form.State.GameOptions.SoundOn = true;
    form.State.GameOptions.MusicOn = true;
    form.StopMusic();
    form.StopSound(0);  // the shimmer of the main menu's intro, started by the start-up

    TWavRecorder recorder("", form.MDXSound.Rate());
    for (int frame = 0; frame < 200; ++frame) {
        if (frame == 20) form.PlaySound(2);         // the click, 90 ms: about 8 frames
        if (frame == 120) form.PlayScreenMusic();   // the menu song from here on
        form.MDXTimerTimer(12);
        recorder.RecordFrame(form.MDXSound, frame, Fps);
        Platform->EndFrame([](int) { return std::string(); });
    }
    EXPECT_EQ(form.MusicPlaying(), "Data/Music/Menu.xm");

    for (int frame = 0; frame < 20; ++frame) EXPECT_EQ(FramePeak(recorder, frame, Fps), 0) << frame;
    EXPECT_GT(FramePeak(recorder, 20, Fps), 1000);
    for (int frame = 40; frame < 120; ++frame) EXPECT_EQ(FramePeak(recorder, frame, Fps), 0) << frame;
    int loudFrames = 0;
    for (int frame = 120; frame < 200; ++frame) loudFrames += FramePeak(recorder, frame, Fps) > 100;
    EXPECT_GT(loudFrames, 60) << "the song should sound through most of its first second";
}

TEST_F(TRecordedRun, NothingSoundsWithBothOptionsOff) {
    TMForm& form = StartForm(50, 60);
    form.StopSound(0);  // the intro's shimmer, while the sound is still on
    form.State.GameOptions.SoundOn = false;
    form.State.GameOptions.MusicOn = false;
    form.StopMusic();
    TWavRecorder recorder("", form.MDXSound.Rate());
    for (int frame = 0; frame < 50; ++frame) {
        form.PlaySound(20);
        form.PlayScreenMusic();
        form.MDXTimerTimer(16);
        recorder.RecordFrame(form.MDXSound, frame, 60);
        Platform->EndFrame([](int) { return std::string(); });
    }
    EXPECT_TRUE(std::all_of(recorder.Samples().begin(), recorder.Samples().end(), [](int16_t s) { return s == 0; }));
    EXPECT_TRUE(form.MusicPlaying().empty());
}

}  // namespace
}  // namespace quillon::testing
