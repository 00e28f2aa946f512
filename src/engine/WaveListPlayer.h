// TWaveListPlayer: binds the wave list's items to the sound device. It keeps one
// TWavePlayer per item, built from the item's wave and settings, and follows the
// device's notices: initialise binds every item, restore makes the primary
// buffers, finalise frees all buffers, destruction drops the device.
#pragma once

#include <memory>
#include <vector>

#include "engine/DXSound.h"
#include "engine/WaveCollection.h"
#include "engine/WavePlayer.h"

namespace quillon {

class TWaveListPlayer : public IDXSoundListener {
public:
    TWaveListPlayer(TDXWaveList& list, TDXSound& device);
    ~TWaveListPlayer() override;
    TWaveListPlayer(const TWaveListPlayer&) = delete;
    TWaveListPlayer& operator=(const TWaveListPlayer&) = delete;

    // Call after the list has been (re)loaded: rebuilds the players from the
    // items and, when the device is initialised, binds them and makes their buffers.
    void Reload();

    int Count() const { return static_cast<int>(FPlayers.size()); }
    // nullptr for an index outside the list.
    TWavePlayer* Item(int index);

    void DXSoundNotify(TDXSound& sender, TDXSoundNotifyType type) override;

private:
    void InitializeAll();
    void FinalizeAll();

    TDXWaveList& FList;
    TDXSound* FDevice;
    std::vector<std::unique_ptr<TWavePlayer>> FPlayers;
};

}  // namespace quillon
