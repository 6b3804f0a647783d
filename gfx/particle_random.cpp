#include "gfx/particle_random.h"

#include <random>

#include "frame/mersenne_twister.h"

namespace particle_random {
namespace {

TMersenneTwister& Generator() {
  static TMersenneTwister generator = [] {
    // Four words of the system's random source stand in for a freshly made GUID.
    std::random_device device;
    const uint32_t key[4] = {device(), device(), device(), device()};
    TMersenneTwister seeded;
    seeded.SeedByArray(key);
    return seeded;
  }();
  return generator;
}

}  // namespace

float Uniform() {
  return Generator().NextFloat();
}

int Range(int a, int b) {
  if (b <= a) return a;
  const double span = static_cast<double>(b) - a + 1;
  const double value = Uniform() * span + a;
  // The uniform number can be exactly 1, which would land one past b.
  return value >= b ? b : static_cast<int>(value);
}

void Seed(std::span<const uint32_t> key) {
  Generator().SeedByArray(key);
}

}  // namespace particle_random
