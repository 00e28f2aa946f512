// TRandom: the game's one random source, seeded once at start-up (from the clock,
// or from --seed so that a headless run repeats exactly).
#pragma once

#include <cstdint>

namespace quillon {

class TRandom {
public:
    explicit TRandom(uint64_t seed = 1) { Seed(seed); }
    void Seed(uint64_t seed);
    // Uniform integer 0 <= r < n; 0 when n <= 0.
    int Random(int n);
    // The whole generator, so that a recorded race can start from where it started.
    uint64_t State() const { return FState; }
    void SetState(uint64_t state) { FState = state; }

private:
    uint64_t FState = 0;
};

}  // namespace quillon
