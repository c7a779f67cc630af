// The program's one pseudo-random generator. Used on the main thread only.
// A 32-bit linear congruential generator: seed := seed * 0x08088405 + 1.
#pragma once

#include <cstdint>

namespace zephlet::runtime {

// Seeds the generator from the clock.
void Randomize();
void SetRandSeed(uint32_t seed);
uint32_t RandSeed();

// A whole number in [0, range) for range > 0; 0 for a range of 0 or less.
int32_t Random(int32_t range);
// A real number in [0, 1).
double RandomReal();

}  // namespace zephlet::runtime
