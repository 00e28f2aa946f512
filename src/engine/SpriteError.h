// ESpriteError: raised by the sprite tree when a child index has no list to read from.
#pragma once

#include "engine/EngineError.h"

namespace quillon {

class ESpriteError : public EEngineError {
public:
    using EEngineError::EEngineError;
};

}  // namespace quillon
