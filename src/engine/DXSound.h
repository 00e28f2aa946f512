// TDXSound: the sound device, a software mixer. It holds every live sound buffer,
// mixes the playing ones and the music into 16-bit stereo at the device rate,
// and tells its listeners (the wave list) when it is initialised and finalised.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/MusicPort.h"
#include "engine/SoundBuffer.h"

namespace quillon {

class TDXSound;

// The platform's audio output. Open starts pulling frames with TDXSound::Mix
// (from any thread) and returns the device rate in Hz, or 0 when there is no
// sound device; Close stops pulling and returns only when Mix is no longer running.
class IAudioOutput {
public:
    virtual ~IAudioOutput() = default;
    virtual int Open(TDXSound& mixer) = 0;
    virtual void Close() = 0;
};

enum class TDXSoundNotifyType { Destroying, Initialize, Finalize, Restore };

class IDXSoundListener {
public:
    virtual ~IDXSoundListener() = default;
    virtual void DXSoundNotify(TDXSound& sender, TDXSoundNotifyType type) = 0;
};

// The last step of the mix: a sum of sounds brought into 16 bits without a hard edge.
int16_t SoftLimit(int32_t sample);

class TDXSound {
public:
    static constexpr int DefaultRate = 44100;

    TDXSound() = default;
    ~TDXSound();
    TDXSound(const TDXSound&) = delete;
    TDXSound& operator=(const TDXSound&) = delete;

    // Without an output the mixer is initialised at DefaultRate and pulled by
    // whoever calls Mix (the headless driver's recorder, tests).
    void SetOutput(IAudioOutput* output) { FOutput = output; }
    // Opens the output; a missing device is swallowed and leaves the mixer
    // uninitialised, so every buffer stays silent. Notifies Initialize, Restore.
    void Initialize();
    void Finalize();  // notifies Finalize, closes the output; safe when not initialised
    bool Initialized() const { return FInitialized; }
    int Rate() const { return FRate; }
    // True while an output pulls frames on its own (waiting for a sound makes sense).
    bool Streaming() const { return FInitialized && FOutput != nullptr; }

    void AddListener(IDXSoundListener* listener);
    void RemoveListener(IDXSoundListener* listener);

    // A buffer holding these samples; nullptr when not initialised.
    std::unique_ptr<TSoundBuffer> CreateBuffer(std::shared_ptr<const TSoundData> data);

    // The music mixed under the effects; nullptr for none. The source must stay
    // alive until it is replaced or the device is destroyed.
    void SetMusic(IMusicSource* music);

    // The player's volumes, 0 to 100 (100: the mix as the game made it), on the effects and
    // on the music before they meet.
    void SetVolumes(int music, int effects);

    // Fills out with frames of interleaved 16-bit stereo at Rate(): every playing
    // buffer plus the music, clipped. Silence when not initialised.
    void Mix(int16_t* out, int frames);

    // Number of buffers playing now (for tests and the state dump).
    int PlayingCount() const;

private:
    friend class TSoundBuffer;
    void Notify(TDXSoundNotifyType type);
    void Unregister(TSoundBuffer* buffer);

    IAudioOutput* FOutput = nullptr;
    bool FInitialized = false;
    int FRate = DefaultRate;
    std::vector<IDXSoundListener*> FListeners;

    mutable std::mutex FLock;  // guards the buffer list, every buffer's mixer state and the music
    std::vector<TSoundBuffer*> FBuffers;
    IMusicSource* FMusic = nullptr;
    int FMusicVolume = 100;
    int FEffectsVolume = 100;
    std::vector<int32_t> FAcc;
    std::vector<int16_t> FMusicOut;
};

}  // namespace quillon
