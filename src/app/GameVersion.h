// The game's version: shown by --version and written into every replay.
#pragma once

namespace quillon {

inline constexpr const char* kGameVersion = "0.1.0";

}  // namespace quillon
