// Which data files a game runs with: a replay plays only with the data it was recorded with.
#pragma once

#include <cstdint>
#include <filesystem>

namespace quillon {

// A hash of the data files under Data/Res of the game folder (their sizes and CRCs).
uint64_t HashDataFiles(const std::filesystem::path& gameFolder);

}  // namespace quillon
