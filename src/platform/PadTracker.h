// TPadTracker: every pad plugged in, played as one. A button counts as held while any pad
// holds it, so the game hears one press and one release; the left stick's position
// becomes four direction buttons that need a firm push to go down and let go only near
// the middle; a pad pulled out lets go of everything it held.
#pragma once

#include <bitset>
#include <map>
#include <vector>

#include "engine/PadButton.h"
#include "engine/Platform.h"

namespace quillon {

class TPadTracker {
public:
    // Stick positions run from -32768 to 32767; a direction goes down past PushAt and up below
    // LetGoAt. The game's own dead zone, 25 percent, lets go below 8000 and pushes past 16000.
    explicit TPadTracker(int deadZonePercent = 25)
        : LetGoAt(deadZonePercent * 320), PushAt(2 * deadZonePercent * 320) {}
    const int LetGoAt;
    const int PushAt;

    // Each adds the PadDown and PadUp events the game is to see to out.
    void Button(int pad, TPadButton button, bool down, std::vector<TWindowEvent>& out);
    void Stick(int pad, bool vertical, int position, std::vector<TWindowEvent>& out);
    void Remove(int pad, std::vector<TWindowEvent>& out);

private:
    using THeld = std::bitset<PadButtonCount>;
    void Set(THeld& held, TPadButton button, bool down, std::vector<TWindowEvent>& out);

    std::map<int, THeld> FPads;
    int FCount[PadButtonCount] = {};  // how many pads hold each button
};

}  // namespace quillon
