// The boss key's name as the options screen shows it: "CTRL+F5", "F12", "?".
#pragma once

#include <cstdint>
#include <string>

#include "save/GameOptions.h"

namespace quillon {

std::string BossKeyName(TShiftState shift, std::uint16_t code);

}  // namespace quillon
