// The game's version, the project's in CMake: shown by --version and written into every
// replay.
#pragma once

namespace quillon {

inline constexpr const char* kGameVersion = QUILLON_VERSION;

}  // namespace quillon
