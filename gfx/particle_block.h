// Running an instruction list over a block of up to 64 particles at once. Each instruction
// is dispatched once per block instead of once per particle, and its arithmetic runs over
// the block's lanes in plain loops, which is what makes the machine several times cheaper
// than running the list particle by particle.
//
// The block's evaluation stack keeps every entry as rows, one row per float of the value,
// each row holding that float for every lane. Sizes are the same in every lane; values are
// not. A check that depends only on sizes fails for the whole block (the list ends for
// every particle, as it would one by one); a check that depends on a particle's values (an
// index outside the record, say) ends the list for that lane only: the lane leaves the
// block's active set and nothing is written for it any more.
//
// The result is the same as running the list particle by particle; only the order in which
// random numbers are drawn differs. A list whose values could differ in size from particle
// to particle (fPick over arguments of different sizes) runs particle by particle instead.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/particle_function.h"

constexpr int kParticleBlockLanes = 64;

class TParticleBlockStack {
 public:
  // Rows for all the entries of one list run; lists that need more run particle by particle.
  static constexpr int kMaxRows = 96;

  void Clear() { mDepth = 0; }
  int Depth() const { return mDepth; }
  void SetDepth(int depth) { mDepth = depth; }
  int Size(int entry) const { return mSizes[entry]; }
  float* Row(int entry, int component) {
    return mRows + (mRowOffsets[entry] + component) * kParticleBlockLanes;
  }
  // Makes entry `entry` `size` rows long, where its rows begin now (dropping everything
  // above it), and answers its first row; null when the rows would run out.
  float* Place(int entry, int size);

 private:
  int mDepth = 0;
  uint8_t mSizes[TParticleStack::kMaxEntries + 1] = {};
  uint16_t mRowOffsets[TParticleStack::kMaxEntries + 1] = {};
  alignas(64) float mRows[kMaxRows * kParticleBlockLanes];
};

struct TParticleBlock {
  int lanes = 0;
  float* particle[kParticleBlockLanes] = {};
  uint64_t active = 0;   // lanes whose list still runs
  uint64_t expired = 0;  // lanes an expiry ended
  int floatCount = 0;
  const std::vector<TParticleMember>* members = nullptr;
  uint32_t elapsedMs = 0;

  bool Active(int lane) const { return (active >> lane & 1) != 0; }
  uint64_t AllLanes() const { return lanes == 64 ? ~uint64_t{0} : (uint64_t{1} << lanes) - 1; }
  bool AllActive() const { return active == AllLanes(); }
  void Drop(int lane) { active &= ~(uint64_t{1} << lane); }
  // A view of one lane's particle, as the particle-by-particle machine sees it.
  TParticleView View(int lane) const;
};

struct TParticleBlockFrame {
  const std::vector<TParticleFunction*>* functionMembers = nullptr;
  TParticleBlockStack* stack = nullptr;
  int first = 0;
  int count = 0;

  int ArgSize(int i) const { return stack->Size(first + i); }
  float* Arg(int i, int component) const { return stack->Row(first + i, component); }
  // The result's first row, placed over the first argument (rows of the arguments above it
  // stay readable lane by lane until written); moves `first` one entry on. Null when the
  // rows run out.
  float* Result(int size) {
    float* rows = stack->Place(first, size);
    if (rows) ++first;
    return rows;
  }
};

// Runs the list over the block's active lanes.
void RunParticleBlock(const TParticleInstructionList& list, TParticleBlock& block,
                      TParticleBlockStack& stack,
                      const std::vector<TParticleFunction*>& functionMembers);

// Whether the list can run in blocks: every value keeps one size in all particles and the
// stack rows suffice.
bool RunsInBlocks(const TParticleInstructionList& list);

// What TParticleFunction::EvaluateBlock does unless a class does better: Evaluate lane by
// lane on a particle-by-particle stack, the results gathered into rows.
bool EvaluateLaneByLane(TParticleFunction& function, TParticleBlock& block,
                        TParticleBlockFrame& frame);
