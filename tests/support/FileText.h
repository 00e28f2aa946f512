// Whole files for the tests: what a run wrote, read back as bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quillon::testing {

// The file's bytes; empty when it cannot be read (the caller's checks then name the file).
std::string ReadFileText(const std::filesystem::path& file);
std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& file);

}  // namespace quillon::testing
