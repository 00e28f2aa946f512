// The three colour sets of fire shared by the hit sparks and the explosions: burning fuel,
// plasma and a green reactor, one for each family of ships.
#pragma once

#include <cstdint>

namespace quillon::assetgen {

struct TFireStyle {
    uint32_t Core, Hot, Mid, Edge, Smoke;
};

inline const TFireStyle& FireStyle(int style) {
    static const TFireStyle styles[3] = {
        {0xFFFBE6, 0xFFD54A, 0xFF7A1C, 0xB8301A, 0x4A3A3A},  // fire
        {0xF0FCFF, 0x8FE8FF, 0x2F8CFF, 0x2A3AB0, 0x34405A},  // plasma
        {0xF6FFE8, 0xC8FF6A, 0x5AD84A, 0x1E7A52, 0x2E4A3E},  // green reactor
    };
    return styles[style];
}

}  // namespace quillon::assetgen
