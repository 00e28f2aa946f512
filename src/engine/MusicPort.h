// Ports between the mixer and module music: a source the mixer adds into its
// output, and the player the game loads songs into (libopenmpt on the platform side).
#pragma once

#include <cstdint>
#include <string>

namespace quillon {

class IMusicSource {
public:
    virtual ~IMusicSource() = default;
    // Renders the next frames of music as interleaved stereo at the given rate.
    // Writes exactly frames * 2 samples (silence when nothing plays). Called by
    // the mixer from the audio thread with the mixer's lock held.
    virtual void Render(int16_t* stereoOut, int frames, int rate) = 0;
};

class IMusicPlayer : public IMusicSource {
public:
    // Loads a song file, replacing any loaded one; false for a missing or broken
    // file (nothing is loaded then). A loaded song is silent until Play.
    virtual bool Load(const std::string& path) = 0;
    // Starts the loaded song from its beginning; it repeats by itself endlessly.
    virtual void Play() = 0;
    // Stops and releases the loaded song.
    virtual void Free() = 0;
};

}  // namespace quillon
