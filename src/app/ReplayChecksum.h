// The checksum of a running race that replays compare: its rules' state (never its pictures).
#pragma once

#include <cstdint>

namespace quillon {

class TMForm;

// Screen and dialog, the race state, the ship, rivals, shots, bonuses, the scroll and the
// random generator: what decides how the race goes on. Doubles count by their bits.
uint64_t RaceChecksum(const TMForm& form);

}  // namespace quillon
