#include "gfx/particle_collection.h"

#include <algorithm>

void TParticleCollection::Reset(float* block, int capacity, int floatsPerParticle) {
  mBlock = block;
  mCapacity = std::max(0, capacity);
  mFloats = floatsPerParticle;
  mNext.assign(static_cast<size_t>(mCapacity), kNone);
  // Free slots are taken from the front, so the list runs 0, 1, 2, ...
  for (int slot = 0; slot + 1 < mCapacity; ++slot) mNext[slot] = slot + 1;
  mFreeHead = mCapacity > 0 ? 0 : kNone;
  mLiveHead = kNone;
  mLiveCount = 0;
}

void TParticleCollection::Widen(float* block, int floatsPerParticle) {
  for (int slot = 0; slot < mCapacity; ++slot) {
    const float* from = mBlock + static_cast<size_t>(slot) * mFloats;
    float* to = block + static_cast<size_t>(slot) * floatsPerParticle;
    std::copy(from, from + std::min(mFloats, floatsPerParticle), to);
    std::fill(to + std::min(mFloats, floatsPerParticle), to + floatsPerParticle, 0.0f);
  }
  mBlock = block;
  mFloats = floatsPerParticle;
}

int TParticleCollection::Create() {
  if (mFreeHead == kNone) return kNone;
  const int slot = mFreeHead;
  mFreeHead = mNext[slot];
  mNext[slot] = mLiveHead;
  mLiveHead = slot;
  ++mLiveCount;
  return slot;
}
