// Seconds on the steady clock, for deadlines and retry spacing that a change of the
// wall-clock time must not move.
#pragma once

#include <chrono>

namespace quillon::server {

inline double SteadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace quillon::server
