// Writing 8-bit RGB pictures as PNG files (screenshots, the data inspector).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

// rgb holds w * h pixels of three bytes, top row first. False when the file
// cannot be written.
bool WritePngRGB(const std::string& path, int w, int h, const std::vector<uint8_t>& rgb);

}  // namespace quillon
