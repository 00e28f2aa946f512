// The colours of the table page: the interface palette of the game's menus (the data
// generator paints the menus with the same ones), so the page looks like the high-score screen.
#pragma once

#include <cstdint>

namespace quillon::server {

struct TPageColor {
    const char* Name;  // the page's style sheet calls it var(--Name)
    std::uint8_t R, G, B;
};

inline constexpr TPageColor kPagePalette[] = {
    {"ink", 4, 7, 18},             // the darkest body: the page's ground
    {"body", 9, 16, 37},           // panel bodies
    {"body-light", 19, 32, 66},    // raised bodies
    {"frame", 50, 126, 240},       // frames, the dialog text blue
    {"frame-dim", 28, 66, 133},
    {"cyan", 110, 227, 255},       // light: headings
    {"white", 237, 246, 255},      // text
    {"steel", 163, 186, 219},      // quiet text, the second place
    {"amber", 255, 176, 41},       // the first place, the replay downloads
    {"green", 96, 255, 0},         // the race display green: verified marks
    {"copper", 255, 120, 46},      // amber and red halfway: the third place
};

}  // namespace quillon::server
