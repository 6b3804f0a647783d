#include "gfx/particle_stack.h"

#include <cstring>

bool TParticleStack::Put(int entry, const float* values, int size) {
  if (entry < 0 || entry > mDepth || entry >= kMaxEntries || size < 0 || size > 255) return false;
  const int offset = entry == 0 ? 0 : mOffsets[entry - 1] + mSizes[entry - 1];
  if (offset + size > kMaxFloats) return false;
  if (values != mValues + offset) std::memmove(mValues + offset, values, sizeof(float) * size);
  mOffsets[entry] = static_cast<uint16_t>(offset);
  mSizes[entry] = static_cast<uint8_t>(size);
  mDepth = entry + 1;
  return true;
}
