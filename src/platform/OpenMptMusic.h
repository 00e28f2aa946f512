// TOpenMptMusic: the module-music player on libopenmpt. Songs repeat from their
// own loop point endlessly; the mixer pulls frames through Render.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "engine/MusicPort.h"

namespace openmpt {
class module;
}

namespace quillon {

class TOpenMptMusic : public IMusicPlayer {
public:
    TOpenMptMusic();
    ~TOpenMptMusic() override;

    bool Load(const std::string& path) override;
    void Play() override;
    void Free() override;
    void Render(int16_t* stereoOut, int frames, int rate) override;

    bool Playing() const;

private:
    mutable std::mutex FLock;  // Render runs on the audio thread
    std::unique_ptr<openmpt::module> FModule;
    bool FPlaying = false;
};

}  // namespace quillon
