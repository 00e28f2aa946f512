// TWaveListPlayer: turning collection items into players and following the device.
#include "engine/WaveListPlayer.h"

namespace quillon {

TWaveListPlayer::TWaveListPlayer(TDXWaveList& list, TDXSound& device) : FList(list), FDevice(&device) {
    FDevice->AddListener(this);
    Reload();
}

TWaveListPlayer::~TWaveListPlayer() {
    FPlayers.clear();
    if (FDevice) FDevice->RemoveListener(this);
}

void TWaveListPlayer::Reload() {
    FinalizeAll();
    FPlayers.clear();
    TWaveCollection& items = FList.Items();
    for (int i = 0; i < items.Count(); ++i) {
        const TWaveCollectionItem& item = items.Items(i);
        auto sound = std::make_shared<TSoundData>();
        sound->Format = TWaveFormat::FromFormatBlock(item.Wave.Format.data(), item.Wave.Format.size());
        sound->Samples = item.Wave.Data;
        auto player = std::make_unique<TWavePlayer>();
        player->SetSound(std::move(sound));
        player->SetLooped(item.Looped());
        player->SetMaxPlayingCount(item.MaxPlayingCount());
        player->SetFrequency(item.Frequency);
        player->SetPan(item.Pan);
        player->SetVolume(item.Volume);
        FPlayers.push_back(std::move(player));
    }
    if (FDevice && FDevice->Initialized()) {
        InitializeAll();
        for (auto& player : FPlayers) player->Restore();
    }
}

TWavePlayer* TWaveListPlayer::Item(int index) {
    if (index < 0 || index >= Count()) return nullptr;
    return FPlayers[static_cast<size_t>(index)].get();
}

void TWaveListPlayer::InitializeAll() {
    TWaveCollection& items = FList.Items();
    for (int i = 0; i < Count(); ++i) {
        FPlayers[static_cast<size_t>(i)]->Initialize(FDevice);
        if (i < items.Count()) items.Items(i).SetInitialized(FPlayers[static_cast<size_t>(i)]->Initialized());
    }
}

void TWaveListPlayer::FinalizeAll() {
    TWaveCollection& items = FList.Items();
    for (int i = 0; i < Count(); ++i) {
        FPlayers[static_cast<size_t>(i)]->Finalize();
        if (i < items.Count()) items.Items(i).SetInitialized(false);
    }
}

void TWaveListPlayer::DXSoundNotify(TDXSound& /*sender*/, TDXSoundNotifyType type) {
    switch (type) {
        case TDXSoundNotifyType::Initialize:
            InitializeAll();
            break;
        case TDXSoundNotifyType::Restore:
            for (auto& player : FPlayers) player->Restore();
            break;
        case TDXSoundNotifyType::Finalize:
            FinalizeAll();
            break;
        case TDXSoundNotifyType::Destroying:
            FinalizeAll();
            for (auto& player : FPlayers) player->Initialize(nullptr);
            FDevice = nullptr;
            break;
    }
}

}  // namespace quillon
