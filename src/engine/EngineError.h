// The engine's exceptions: each carries one of the game's fixed message texts.
#pragma once

#include <stdexcept>
#include <string>

namespace quillon {

class EEngineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raised by the display component (initialise, mode switch, surfaces).
class EDirectDrawError : public EEngineError {
public:
    using EEngineError::EEngineError;
};

}  // namespace quillon
