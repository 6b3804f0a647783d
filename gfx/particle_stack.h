// TParticleStack: the evaluation stack of the particle expression machine. Entries are
// values of 1 to 255 floats stored back to back; a function finds its arguments in place
// and writes its result over the first of them, so running an instruction list allocates
// nothing. The stack holds at most 255 entries and 1020 floats.
#pragma once

#include <cstdint>

class TParticleStack {
 public:
  static constexpr int kMaxEntries = 255;
  static constexpr int kMaxFloats = 1020;

  void Clear() { mDepth = 0; }
  int Depth() const { return mDepth; }
  // Drops the entries from `depth` on (depth must not exceed the current one).
  void SetDepth(int depth) { mDepth = depth; }

  const float* Values(int entry) const { return mValues + mOffsets[entry]; }
  int Size(int entry) const { return mSizes[entry]; }
  int Offset(int entry) const { return mOffsets[entry]; }

  // Makes `values` entry `entry` (dropping everything above it); the values may lie on the
  // stack itself, above the entry. False, with the stack unchanged, when the entry would
  // pass the stack's limits. Inline: it runs for nearly every instruction of every particle.
  bool Put(int entry, const float* values, int size) {
    if (entry < 0 || entry > mDepth || entry >= kMaxEntries || size < 0 || size > 255) return false;
    const int offset = entry == 0 ? 0 : mOffsets[entry - 1] + mSizes[entry - 1];
    if (offset + size > kMaxFloats) return false;
    // Values from the stack lie at or above their new place: copying forward is safe.
    float* to = mValues + offset;
    for (int i = 0; i < size; ++i) to[i] = values[i];
    mOffsets[entry] = static_cast<uint16_t>(offset);
    mSizes[entry] = static_cast<uint8_t>(size);
    mDepth = entry + 1;
    return true;
  }

 private:
  int mDepth = 0;
  uint8_t mSizes[kMaxEntries + 1] = {};
  uint16_t mOffsets[kMaxEntries + 1] = {};
  float mValues[kMaxFloats];
};
