// TPadTracker: merged pad buttons and the stick's directions.
#include "platform/PadTracker.h"

#include <cstdlib>

namespace quillon {

void TPadTracker::Set(THeld& held, TPadButton button, bool down, std::vector<TWindowEvent>& out) {
    const size_t index = static_cast<size_t>(button);
    if (index >= held.size() || held.test(index) == down) return;
    held.set(index, down);
    int& count = FCount[index];
    count += down ? 1 : -1;
    if ((down && count == 1) || (!down && count == 0)) {
        TWindowEvent event;
        event.Type = down ? TWindowEvent::TType::PadDown : TWindowEvent::TType::PadUp;
        event.Key = static_cast<int>(button);
        out.push_back(event);
    }
}

void TPadTracker::Button(int pad, TPadButton button, bool down, std::vector<TWindowEvent>& out) {
    Set(FPads[pad], button, down, out);
}

void TPadTracker::Stick(int pad, bool vertical, int position, std::vector<TWindowEvent>& out) {
    THeld& held = FPads[pad];
    const TPadButton less = vertical ? TPadButton::StickUp : TPadButton::StickLeft;
    const TPadButton more = vertical ? TPadButton::StickDown : TPadButton::StickRight;
    auto update = [&](TPadButton button, bool towards) {
        const bool isDown = held.test(static_cast<size_t>(button));
        const int push = towards ? std::abs(position) : 0;
        if (!isDown && push > PushAt) Set(held, button, true, out);
        if (isDown && push < LetGoAt) Set(held, button, false, out);
    };
    update(less, position < 0);
    update(more, position > 0);
}

void TPadTracker::Remove(int pad, std::vector<TWindowEvent>& out) {
    auto it = FPads.find(pad);
    if (it == FPads.end()) return;
    for (int i = 0; i < PadButtonCount; ++i) Set(it->second, static_cast<TPadButton>(i), false, out);
    FPads.erase(it);
}

}  // namespace quillon
