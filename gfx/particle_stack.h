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
  // pass the stack's limits.
  bool Put(int entry, const float* values, int size);

 private:
  int mDepth = 0;
  uint8_t mSizes[kMaxEntries + 1] = {};
  uint16_t mOffsets[kMaxEntries + 1] = {};
  float mValues[kMaxFloats];
};
