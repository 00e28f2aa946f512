// For the replay fuzz targets: the same bytes with their file checksum (the last four bytes,
// CRC-32 of the rest) made right, so that the fuzzer gets past it into the packed stream.
#pragma once

#include <zlib.h>

#include <cstddef>
#include <string>
#include <string_view>

inline std::string WithChecksumMadeRight(std::string_view bytes) {
    std::string fixed(bytes);
    if (fixed.size() < 4) return fixed;
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(fixed.data()), static_cast<uInt>(fixed.size() - 4));
    for (int i = 0; i < 4; ++i) fixed[fixed.size() - 4 + static_cast<size_t>(i)] = static_cast<char>(crc >> (8 * i));
    return fixed;
}
