// A 0xRRGGBB colour as the 16-bit pixel the game's surfaces hold.
#pragma once

#include <cstdint>

#include "engine/Surface.h"

namespace quillon::testing {

inline std::uint16_t To565(std::uint32_t rgb) {
    return PackRGB565(static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                      static_cast<std::uint8_t>(rgb));
}

}  // namespace quillon::testing
