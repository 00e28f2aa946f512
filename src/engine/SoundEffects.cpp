// TSoundEffects: playing and stopping effects by index under the sound option.
#include "engine/SoundEffects.h"

namespace quillon {

void TSoundEffects::PlaySound(int index) {
    if (!FSoundOn) return;
    TWavePlayer* item = FItemAt(index);
    if (!item) return;
    item->Stop();
    item->Play(false);
    FStarted.push_back(index);
}

void TSoundEffects::StopSound(int index) {
    if (!FSoundOn) return;
    if (TWavePlayer* item = FItemAt(index)) item->Stop();
}

std::vector<int> TSoundEffects::TakeStarted() {
    std::vector<int> started;
    started.swap(FStarted);
    return started;
}

}  // namespace quillon
