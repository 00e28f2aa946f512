// TOpenMptMusic: loading a module file, starting it and rendering it for the mixer.
#include "platform/OpenMptMusic.h"

#include <algorithm>
#include <fstream>
#include <libopenmpt/libopenmpt.hpp>

namespace quillon {

TOpenMptMusic::TOpenMptMusic() = default;
TOpenMptMusic::~TOpenMptMusic() = default;

bool TOpenMptMusic::Load(const std::string& path) {
    Free();
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::unique_ptr<openmpt::module> module;
    try {
        // The parse happens here, outside the lock, so the audio thread never waits for it.
        module = std::make_unique<openmpt::module>(file);
        module->set_repeat_count(-1);
    } catch (...) {
        return false;
    }
    std::lock_guard<std::mutex> guard(FLock);
    FModule = std::move(module);
    FPlaying = false;
    return true;
}

void TOpenMptMusic::Play() {
    std::lock_guard<std::mutex> guard(FLock);
    if (!FModule) return;
    FModule->set_position_seconds(0.0);
    FPlaying = true;
}

void TOpenMptMusic::Free() {
    std::unique_ptr<openmpt::module> old;
    {
        std::lock_guard<std::mutex> guard(FLock);
        old = std::move(FModule);
        FPlaying = false;
    }
}

bool TOpenMptMusic::Playing() const {
    std::lock_guard<std::mutex> guard(FLock);
    return FPlaying;
}

void TOpenMptMusic::Render(int16_t* stereoOut, int frames, int rate) {
    std::lock_guard<std::mutex> guard(FLock);
    int done = 0;
    if (FModule && FPlaying) {
        try {
            while (done < frames) {
                size_t got = FModule->read_interleaved_stereo(rate, static_cast<size_t>(frames - done),
                                                              stereoOut + 2 * static_cast<size_t>(done));
                if (got == 0) break;
                done += static_cast<int>(got);
            }
        } catch (...) {
            FPlaying = false;
        }
    }
    std::fill(stereoOut + 2 * static_cast<size_t>(done), stereoOut + 2 * static_cast<size_t>(frames), int16_t{0});
}

}  // namespace quillon
