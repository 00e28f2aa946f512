// TDXSound: opening the output, the buffer registry and the mix.
#include "engine/DXSound.h"

#include <algorithm>
#include <cmath>

namespace quillon {

TDXSound::~TDXSound() {
    Finalize();
    Notify(TDXSoundNotifyType::Destroying);
    std::lock_guard<std::mutex> guard(FLock);
    for (TSoundBuffer* buffer : FBuffers) {
        buffer->FDevice = nullptr;
        buffer->FPlaying = false;
    }
    FBuffers.clear();
}

void TDXSound::Initialize() {
    Finalize();
    int rate = DefaultRate;
    if (FOutput) {
        // The output pulls through Mix, which is silent until FInitialized is set.
        rate = FOutput->Open(*this);
        if (rate <= 0) return;
    }
    {
        std::lock_guard<std::mutex> guard(FLock);
        FRate = rate;
        FInitialized = true;
    }
    Notify(TDXSoundNotifyType::Initialize);
    Notify(TDXSoundNotifyType::Restore);
}

void TDXSound::Finalize() {
    if (!FInitialized) return;
    Notify(TDXSoundNotifyType::Finalize);
    {
        std::lock_guard<std::mutex> guard(FLock);
        FInitialized = false;
    }
    if (FOutput) FOutput->Close();
}

void TDXSound::AddListener(IDXSoundListener* listener) {
    if (std::find(FListeners.begin(), FListeners.end(), listener) == FListeners.end())
        FListeners.push_back(listener);
}

void TDXSound::RemoveListener(IDXSoundListener* listener) {
    FListeners.erase(std::remove(FListeners.begin(), FListeners.end(), listener), FListeners.end());
}

void TDXSound::Notify(TDXSoundNotifyType type) {
    std::vector<IDXSoundListener*> listeners = FListeners;  // a listener may remove itself
    for (IDXSoundListener* listener : listeners) listener->DXSoundNotify(*this, type);
}

std::unique_ptr<TSoundBuffer> TDXSound::CreateBuffer(std::shared_ptr<const TSoundData> data) {
    if (!FInitialized || !data) return nullptr;
    std::unique_ptr<TSoundBuffer> buffer(new TSoundBuffer(this, std::move(data)));
    std::lock_guard<std::mutex> guard(FLock);
    FBuffers.push_back(buffer.get());
    return buffer;
}

void TDXSound::Unregister(TSoundBuffer* buffer) {
    std::lock_guard<std::mutex> guard(FLock);
    FBuffers.erase(std::remove(FBuffers.begin(), FBuffers.end(), buffer), FBuffers.end());
}

void TDXSound::SetMusic(IMusicSource* music) {
    std::lock_guard<std::mutex> guard(FLock);
    FMusic = music;
}

void TDXSound::SetVolumes(int music, int effects) {
    std::lock_guard<std::mutex> guard(FLock);
    FMusicVolume = std::clamp(music, 0, 100);
    FEffectsVolume = std::clamp(effects, 0, 100);
}

void TDXSound::Mix(int16_t* out, int frames) {
    if (frames <= 0) return;
    std::lock_guard<std::mutex> guard(FLock);
    if (!FInitialized) {
        std::fill(out, out + 2 * frames, int16_t{0});
        return;
    }
    size_t count = static_cast<size_t>(frames) * 2;
    if (FAcc.size() < count) FAcc.resize(count);
    std::fill(FAcc.begin(), FAcc.begin() + count, 0);
    int32_t* acc = FAcc.data();
    for (TSoundBuffer* buffer : FBuffers) buffer->MixInto(acc, frames, FRate);
    if (FEffectsVolume != 100)
        for (size_t i = 0; i < count; ++i) acc[i] = static_cast<int32_t>(int64_t{acc[i]} * FEffectsVolume / 100);
    if (FMusic) {
        if (FMusicOut.size() < count) FMusicOut.resize(count);
        FMusic->Render(FMusicOut.data(), frames, FRate);
        if (FMusicVolume == 100) {
            for (size_t i = 0; i < count; ++i) acc[i] += FMusicOut[i];
        } else {
            for (size_t i = 0; i < count; ++i) acc[i] += FMusicOut[i] * FMusicVolume / 100;
        }
    }
    for (size_t i = 0; i < count; ++i) out[i] = SoftLimit(acc[i]);
}

// Below three quarters of full scale a sample passes unchanged; above, it bends smoothly
// toward full scale instead of being cut off, so a race's pile of engines, shots and
// explosions over the music does not crackle.
int16_t SoftLimit(int32_t sample) {
    constexpr double Knee = 24576, Room = 32767 - Knee;
    const double magnitude = std::abs(static_cast<double>(sample));
    if (magnitude <= Knee) return static_cast<int16_t>(sample);
    const double bent = Knee + Room * std::tanh((magnitude - Knee) / Room);
    const int16_t limited = static_cast<int16_t>(std::lround(std::min(bent, 32767.0)));
    return sample < 0 ? static_cast<int16_t>(-limited) : limited;
}

int TDXSound::PlayingCount() const {
    std::lock_guard<std::mutex> guard(FLock);
    int count = 0;
    for (const TSoundBuffer* buffer : FBuffers) count += buffer->FPlaying ? 1 : 0;
    return count;
}

}  // namespace quillon
