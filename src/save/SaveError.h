// Input/output errors of the save files, each with one of the game's fixed message texts,
// and the texts themselves.
#pragma once

#include <string>

#include "engine/EngineError.h"

namespace quillon {

class ESaveFileError : public EEngineError {
public:
    using EEngineError::EEngineError;
};

inline constexpr const char* kInvalidNumericInput = "Invalid numeric input";
// A save file far longer than the game ever writes.
inline constexpr const char* kFileTooLarge = "File too large";

// The game's text for a failed file operation with the given errno value: "File access denied",
// "Disk full" and the like, "I/O error N" for the rest.
std::string InOutErrorText(int errorNumber);

}  // namespace quillon
