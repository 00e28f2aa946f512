// The headless driver's state dump: the game's state after a frame, as JSON.
#pragma once

#include <string>

namespace quillon {

class TMForm;

std::string BuildStateDump(const TMForm& form, int frame);

}  // namespace quillon
