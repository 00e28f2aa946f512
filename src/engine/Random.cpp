// TRandom: a splitmix64 generator with an unbiased range reduction.
#include "engine/Random.h"

namespace quillon {

void TRandom::Seed(uint64_t seed) { FState = seed; }

int TRandom::Random(int n) {
    if (n <= 0) return 0;
    FState += 0x9E3779B97F4A7C15ull;
    uint64_t z = FState;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    // Multiply-shift maps 32 random bits into 0 .. n-1.
    return static_cast<int>(((z >> 32) * static_cast<uint64_t>(n)) >> 32);
}

}  // namespace quillon
