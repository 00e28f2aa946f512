// FNV-1a, 64 bits: the data files' hash and the race checksum build on it.
#pragma once

#include <cstdint>
#include <string_view>

namespace quillon {

inline uint64_t Fnv1a(std::string_view bytes, uint64_t hash = 0xCBF29CE484222325ull) {
    for (char c : bytes) {
        hash ^= static_cast<uint8_t>(c);
        hash *= 0x100000001B3ull;
    }
    return hash;
}

}  // namespace quillon
