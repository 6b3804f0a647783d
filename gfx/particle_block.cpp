#include "gfx/particle_block.h"

#include <algorithm>

#include "gfx/particle_functions.h"

float* TParticleBlockStack::Place(int entry, int size) {
  if (entry < 0 || entry > mDepth || entry >= TParticleStack::kMaxEntries || size < 0 || size > 255)
    return nullptr;
  const int offset = entry == 0 ? 0 : mRowOffsets[entry - 1] + mSizes[entry - 1];
  if (offset + size > kMaxRows) return nullptr;
  mRowOffsets[entry] = static_cast<uint16_t>(offset);
  mSizes[entry] = static_cast<uint8_t>(size);
  mDepth = entry + 1;
  return mRows + offset * kParticleBlockLanes;
}

TParticleView TParticleBlock::View(int lane) const {
  TParticleView view;
  view.particle = particle[lane];
  view.floatCount = floatCount;
  view.members = members;
  view.elapsedMs = elapsedMs;
  view.keepAlive = (expired >> lane & 1) == 0;
  return view;
}

void RunParticleBlock(const TParticleInstructionList& list, TParticleBlock& block,
                      TParticleBlockStack& stack,
                      const std::vector<TParticleFunction*>& functionMembers) {
  stack.Clear();
  TParticleBlockFrame frame;
  frame.functionMembers = &functionMembers;
  frame.stack = &stack;
  for (const TParticleInstruction& instruction : list) {
    if (block.active == 0) return;
    const int depth = stack.Depth();
    if (depth < instruction.argCount) return;
    frame.first = depth - instruction.argCount;
    frame.count = instruction.argCount;
    if (!instruction.function->EvaluateBlock(block, frame)) return;
    stack.SetDepth(frame.first);
  }
}

bool RunsInBlocks(const TParticleInstructionList& list) {
  // The rows every entry takes, by the sizes known when compiling.
  std::vector<int> sizes;
  int rows = 0, most = 0;
  for (const TParticleInstruction& instruction : list) {
    const int n = instruction.argCount;
    if (static_cast<int>(sizes.size()) < n) return false;
    if (instruction.function->IsKindOf(&FPick::Create)) {
      for (int i = 1; i < n; ++i)
        if (instruction.argSizes[i] != instruction.argSizes[0]) return false;
    }
    for (int i = 0; i < n; ++i) {
      rows -= sizes.back();
      sizes.pop_back();
    }
    const int result = instruction.function->ResultSize(n, instruction.argSizes);
    if (result > 0) {
      sizes.push_back(result);
      rows += result;
    }
    // A result may reach above its arguments while it is being made.
    most = std::max(most, rows + 4);
  }
  return most <= TParticleBlockStack::kMaxRows;
}

bool TParticleFunction::EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) {
  return EvaluateLaneByLane(*this, block, frame);
}

bool EvaluateLaneByLane(TParticleFunction& function, TParticleBlock& block,
                        TParticleBlockFrame& frame) {
  // The arguments' rows are taken first: placing the result changes the entries.
  const int count = frame.count;
  int sizes[TParticleStack::kMaxEntries];
  float* rows[TParticleStack::kMaxEntries];
  for (int i = 0; i < count; ++i) {
    sizes[i] = frame.ArgSize(i);
    rows[i] = frame.Arg(i, 0);
  }
  TParticleStack laneStack;
  int resultSize = -1;  // decided by the first lane that succeeds
  float* result = nullptr;
  for (int lane = 0; lane < block.lanes; ++lane) {
    if (!block.Active(lane)) continue;
    laneStack.Clear();
    bool placed = true;
    for (int i = 0; i < count && placed; ++i) {
      float values[255];
      for (int c = 0; c < sizes[i]; ++c) values[c] = rows[i][c * kParticleBlockLanes + lane];
      placed = laneStack.Put(i, values, sizes[i]);
    }
    TParticleView view = block.View(lane);
    TParticleCallFrame laneFrame{frame.functionMembers, &laneStack, 0, count};
    if (!placed || !function.Evaluate(view, laneFrame)) {
      block.Drop(lane);
      continue;
    }
    if (!view.keepAlive) block.expired |= uint64_t{1} << lane;
    const int size = laneFrame.first == 1 ? laneStack.Size(0) : 0;
    if (resultSize < 0) {
      resultSize = size;
      if (size > 0) {
        result = frame.Result(size);
        if (!result) return false;
      }
    } else if (size != resultSize) {
      block.Drop(lane);  // every lane's value must have the block's size
      continue;
    }
    for (int c = 0; c < size; ++c) result[c * kParticleBlockLanes + lane] = laneStack.Values(0)[c];
  }
  if (resultSize < 0) block.active = 0;  // no lane succeeded
  return true;
}
