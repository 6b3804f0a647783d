// The random numbers of the particle effects: one MT19937 generator shared by every
// particle system, its functions (FRange, FPick, F2dRadius) and the scripts' RandomFloat and
// RandomRange. It is seeded from the system's random source on first use; tests seed it
// themselves to get repeatable particles. Main thread only.
#pragma once

#include <cstdint>
#include <span>

namespace particle_random {

// A uniform number in [0, 1]: the generator's 32-bit output times 2^-32 in single
// precision.
float Uniform();
// An integer from a to b inclusive (a when b < a).
int Range(int a, int b);
// Seeds the generator with the published array seeding.
void Seed(std::span<const uint32_t> key);

}  // namespace particle_random
