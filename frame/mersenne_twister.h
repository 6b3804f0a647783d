// MT19937: the 32-bit Mersenne Twister with its standard tempering. The application,
// the particle systems and the game's deal each own one; seeding follows the published
// init_genrand (one word) and init_by_array (a key of words).
#pragma once

#include <array>
#include <cstdint>
#include <span>

class TMersenneTwister {
 public:
  static constexpr int kStateSize = 624;

  explicit TMersenneTwister(uint32_t seed = 5489u) { Seed(seed); }

  void Seed(uint32_t seed);                         // init_genrand
  void SeedByArray(std::span<const uint32_t> key);  // init_by_array
  uint32_t Next();                                  // genrand_int32

  // Uniform float: the 32-bit output times 2^-32, rounded to single precision (so the
  // largest outputs round up to exactly 1).
  float NextFloat() { return static_cast<float>(Next() * 2.3283063671497593e-10); }

 private:
  void Twist();

  std::array<uint32_t, kStateSize> mState{};
  int mIndex = kStateSize + 1;
};
