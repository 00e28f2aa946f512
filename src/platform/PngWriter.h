// Writing 8-bit RGB pictures as PNG files (screenshots, inspector output).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

// rgb holds width * height * 3 bytes, top row first. False when the file cannot be written.
bool WritePngRGB(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);

}  // namespace quillon
