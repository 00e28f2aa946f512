// TSoundEffects: the game's PlaySound and StopSound. Both obey the sound option:
// with it off, neither does anything, not even stop an effect already sounding.
#pragma once

#include <functional>
#include <vector>

#include "engine/WavePlayer.h"

namespace quillon {

class TSoundEffects {
public:
    // itemAt gives the wave item of an effect index (nullptr: no such item).
    TSoundEffects(const bool& soundOn, std::function<TWavePlayer*(int)> itemAt)
        : FSoundOn(soundOn), FItemAt(std::move(itemAt)) {}

    // Stops every copy of the effect and plays it again from the beginning.
    void PlaySound(int index);
    void StopSound(int index);

    // Effect indexes PlaySound started since the last call (the state dump's
    // soundsStarted); requests made with the sound option off are not listed.
    std::vector<int> TakeStarted();

private:
    const bool& FSoundOn;
    std::function<TWavePlayer*(int)> FItemAt;
    std::vector<int> FStarted;
};

}  // namespace quillon
