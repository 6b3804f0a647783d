#include "frame/mersenne_twister.h"

namespace {
constexpr int kN = TMersenneTwister::kStateSize;
constexpr int kM = 397;
constexpr uint32_t kMatrixA = 0x9908b0dfu;
constexpr uint32_t kUpperMask = 0x80000000u;
constexpr uint32_t kLowerMask = 0x7fffffffu;
}  // namespace

void TMersenneTwister::Seed(uint32_t seed) {
  mState[0] = seed;
  for (int i = 1; i < kN; ++i) {
    mState[i] = 1812433253u * (mState[i - 1] ^ (mState[i - 1] >> 30)) + static_cast<uint32_t>(i);
  }
  mIndex = kN;
}

void TMersenneTwister::SeedByArray(std::span<const uint32_t> key) {
  Seed(19650218u);
  int i = 1;
  size_t j = 0;
  const size_t keyLength = key.size();
  for (size_t k = (kN > keyLength ? kN : keyLength); k > 0; --k) {
    mState[i] = (mState[i] ^ ((mState[i - 1] ^ (mState[i - 1] >> 30)) * 1664525u)) +
                (keyLength ? key[j] : 0u) + static_cast<uint32_t>(j);
    ++i;
    ++j;
    if (i >= kN) {
      mState[0] = mState[kN - 1];
      i = 1;
    }
    if (j >= keyLength) j = 0;
  }
  for (int k = kN - 1; k > 0; --k) {
    mState[i] = (mState[i] ^ ((mState[i - 1] ^ (mState[i - 1] >> 30)) * 1566083941u)) -
                static_cast<uint32_t>(i);
    ++i;
    if (i >= kN) {
      mState[0] = mState[kN - 1];
      i = 1;
    }
  }
  mState[0] = 0x80000000u;  // the most significant bit is 1: a non-zero initial state
  mIndex = kN;
}

void TMersenneTwister::Twist() {
  for (int k = 0; k < kN; ++k) {
    const uint32_t y = (mState[k] & kUpperMask) | (mState[(k + 1) % kN] & kLowerMask);
    mState[k] = mState[(k + kM) % kN] ^ (y >> 1) ^ ((y & 1u) ? kMatrixA : 0u);
  }
  mIndex = 0;
}

uint32_t TMersenneTwister::Next() {
  if (mIndex >= kN) Twist();
  uint32_t y = mState[mIndex++];
  y ^= (y >> 11);
  y ^= (y << 7) & 0x9d2c5680u;
  y ^= (y << 15) & 0xefc60000u;
  y ^= (y >> 18);
  return y;
}
