// Pad presses and releases written as text, so that a test compares a whole sequence at once:
// "+N " for a press of button N, "-N " for its release.
#pragma once

#include <string>
#include <vector>

#include "engine/PadButton.h"
#include "engine/Platform.h"

namespace quillon::testing {

inline std::string DescribePadEvents(const std::vector<TWindowEvent>& events) {
    std::string text;
    for (const TWindowEvent& e : events)
        text += (e.Type == TWindowEvent::TType::PadDown ? "+" : "-") + std::to_string(e.Key) + " ";
    return text;
}
inline std::string PadDownText(TPadButton b) { return "+" + std::to_string(static_cast<int>(b)) + " "; }
inline std::string PadUpText(TPadButton b) { return "-" + std::to_string(static_cast<int>(b)) + " "; }

}  // namespace quillon::testing
