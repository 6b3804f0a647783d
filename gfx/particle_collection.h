// TParticleCollection: the particle pool. Every particle is a slot of a block of floats
// that the particle system owns and lends to the pool; live slots are on the live list
// (newest first), unused ones on the free list. Creating and expiring a particle moves a
// slot between the lists and allocates nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class TParticleCollection {
 public:
  static constexpr int kNone = -1;

  virtual ~TParticleCollection() = default;

  // Lends the pool a block of capacity * floatsPerParticle floats; every slot becomes free.
  void Reset(float* block, int capacity, int floatsPerParticle);
  // Moves to a new block with a longer record (a member was added): every particle keeps
  // its floats and its place in the lists, the new floats start at 0.
  void Widen(float* block, int floatsPerParticle);

  int Capacity() const { return mCapacity; }
  int LiveCount() const { return mLiveCount; }
  int FloatsPerParticle() const { return mFloats; }
  bool Full() const { return mFreeHead == kNone; }

  float* Particle(int slot) { return mBlock + static_cast<size_t>(slot) * mFloats; }
  const float* Particle(int slot) const { return mBlock + static_cast<size_t>(slot) * mFloats; }

  // Takes the front free slot and puts it at the front of the live list; kNone when full.
  // The slot's floats are left as they were.
  int Create();

  // Live slots, newest first.
  int FirstLive() const { return mLiveHead; }
  int NextLive(int slot) const { return mNext[slot]; }

  // Visits the live slots newest first; keep(slot) answering false frees the slot.
  template <typename Keep>
  void Sweep(Keep keep) {
    int previous = kNone;
    for (int slot = mLiveHead; slot != kNone;) {
      const int next = mNext[slot];
      if (keep(slot)) {
        previous = slot;
      } else {
        (previous == kNone ? mLiveHead : mNext[previous]) = next;
        mNext[slot] = mFreeHead;
        mFreeHead = slot;
        --mLiveCount;
      }
      slot = next;
    }
  }

 private:
  float* mBlock = nullptr;
  int mCapacity = 0;
  int mFloats = 0;
  std::vector<int32_t> mNext;  // the next slot of whichever list a slot is on
  int mLiveHead = kNone;
  int mFreeHead = kNone;
  int mLiveCount = 0;
};
