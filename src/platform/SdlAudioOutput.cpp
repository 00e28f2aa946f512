// TSdlAudioOutput: opening the SDL audio device and feeding it from the mixer.
#include "platform/SdlAudioOutput.h"

#include <SDL.h>

namespace quillon {

TSdlAudioOutput::~TSdlAudioOutput() { Close(); }

int TSdlAudioOutput::Open(TDXSound& mixer) {
    Close();
    if (!SDL_WasInit(SDL_INIT_AUDIO)) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
        FOwnsSubsystem = true;
    }
    FMixer = &mixer;
    SDL_AudioSpec want{};
    SDL_AudioSpec have{};
    want.freq = FWantRate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = static_cast<Uint16>(FBlockFrames);
    want.callback = &TSdlAudioOutput::Callback;
    want.userdata = this;
    FDevice = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (FDevice == 0) {
        Close();
        return 0;
    }
    SDL_PauseAudioDevice(FDevice, 0);
    return have.freq;
}

void TSdlAudioOutput::Close() {
    if (FDevice != 0) {
        SDL_CloseAudioDevice(FDevice);  // returns once the callback has finished
        FDevice = 0;
    }
    if (FOwnsSubsystem) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        FOwnsSubsystem = false;
    }
    FMixer = nullptr;
}

void TSdlAudioOutput::Callback(void* userdata, uint8_t* stream, int len) {
    auto* self = static_cast<TSdlAudioOutput*>(userdata);
    self->FMixer->Mix(reinterpret_cast<int16_t*>(stream), len / 4);
}

}  // namespace quillon
