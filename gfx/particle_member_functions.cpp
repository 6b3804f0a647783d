// Reading and writing the particle record: constants, members, assignment and indexing.
#include <algorithm>
#include <cmath>

#include "gfx/particle_functions.h"

namespace {

// trunc(value) when it is a float index inside [0, limit), else -1.
int IndexIn(float value, int limit) {
  if (!(value >= 0.0f) || value >= static_cast<float>(limit)) return -1;
  return static_cast<int>(value);
}

}  // namespace

FPush::FPush(const float* values, int size) : mSize(std::clamp(size, 1, 4)) {
  std::copy(values, values + mSize, mValues);
}

int FPush::ResultSize(int, const uint8_t*) const {
  return mSize;
}

bool FPush::Evaluate(TParticleView&, TParticleCallFrame& frame) {
  return frame.Push(mValues, mSize);
}

int FGetParticleParam::ResultSize(int, const uint8_t*) const {
  return mHandle.size;
}

bool FGetParticleParam::Evaluate(TParticleView& view, TParticleCallFrame& frame) {
  if (mHandle.IsFunction()) {
    const size_t k = static_cast<size_t>(mHandle.FunctionIndex());
    if (!frame.functionMembers || k >= frame.functionMembers->size()) return false;
    return (*frame.functionMembers)[k]->Evaluate(view, frame);
  }
  if (mHandle.base + mHandle.size > view.floatCount) return false;
  return frame.Push(view.particle + mHandle.base, mHandle.size);
}

int FAssign::ResultSize(int, const uint8_t*) const {
  return 0;
}

bool FAssign::Evaluate(TParticleView& view, TParticleCallFrame& frame) {
  if (frame.count != 3 || frame.ArgSize(1) < 1 || frame.ArgSize(2) < 1) return false;
  const int base = IndexIn(frame.Arg(1)[0], view.floatCount);
  // A value longer than its member would spill into the next member: only the member's
  // own floats are written.
  const int memberSize = IndexIn(frame.Arg(2)[0], 256);
  const int size = std::min(frame.ArgSize(0), memberSize);
  if (base < 0 || size < 0 || base + size > view.floatCount) return false;
  const float* value = frame.Arg(0);
  float* target = view.particle + base;
  for (int i = 0; i < size; ++i) target[i] = value[i];
  return true;
}

int FAssignMember::ResultSize(int, const uint8_t*) const {
  return 0;
}

bool FAssignMember::Evaluate(TParticleView& view, TParticleCallFrame& frame) {
  if (frame.count != 1) return false;
  const int size = std::min(frame.ArgSize(0), mSize);
  if (mBase < 0 || mBase + size > view.floatCount) return false;
  const float* value = frame.Arg(0);
  float* target = view.particle + mBase;
  for (int i = 0; i < size; ++i) target[i] = value[i];
  return true;
}

int FIndex::ResultSize(int, const uint8_t*) const {
  return 1;
}

bool FIndex::Evaluate(TParticleView& view, TParticleCallFrame& frame) {
  if (frame.count != 2 || frame.ArgSize(0) != 1 || frame.ArgSize(1) != 1) return false;
  // Components count from 1.
  const float at = std::trunc(frame.Arg(0)[0]) + std::trunc(frame.Arg(1)[0]) - 1.0f;
  const int index = IndexIn(at, view.floatCount);
  if (index < 0) return false;
  return frame.Push(view.particle + index, 1);
}

int FNewIndex::ResultSize(int, const uint8_t*) const {
  return 1;
}

bool FNewIndex::Evaluate(TParticleView& view, TParticleCallFrame& frame) {
  if (frame.count != 3 || frame.ArgSize(0) != 1 || frame.ArgSize(1) != 1 || frame.ArgSize(2) != 1)
    return false;
  if (!view.members) return false;
  const int member = IndexIn(frame.Arg(0)[0], static_cast<int>(view.members->size()));
  if (member < 0) return false;
  const TParticleMember& target = (*view.members)[member];
  const int component = IndexIn(frame.Arg(1)[0] - 1.0f, target.size);
  if (component < 0 || target.base + component >= view.floatCount) return false;
  const float value = frame.Arg(2)[0];
  view.particle[target.base + component] = value;
  return frame.Push(&value, 1);
}

// --- blocks of particles: rows gathered from and scattered to the lanes' records.

namespace {
constexpr int kLanes = kParticleBlockLanes;
}

bool FPush::EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) {
  float* rows = frame.Result(mSize);
  if (!rows) return false;
  for (int c = 0; c < mSize; ++c)
    std::fill(rows + c * kLanes, rows + c * kLanes + block.lanes, mValues[c]);
  return true;
}

bool FGetParticleParam::EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) {
  if (mHandle.IsFunction()) {
    const size_t k = static_cast<size_t>(mHandle.FunctionIndex());
    if (!frame.functionMembers || k >= frame.functionMembers->size()) return false;
    return (*frame.functionMembers)[k]->EvaluateBlock(block, frame);
  }
  if (mHandle.base + mHandle.size > block.floatCount) return false;
  float* rows = frame.Result(mHandle.size);
  if (!rows) return false;
  for (int c = 0; c < mHandle.size; ++c) {
    const int at = mHandle.base + c;
    float* row = rows + c * kLanes;
    for (int l = 0; l < block.lanes; ++l) row[l] = block.particle[l][at];
  }
  return true;
}

bool FAssign::EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) {
  if (frame.count != 3 || frame.ArgSize(1) < 1 || frame.ArgSize(2) < 1) return false;
  const int valueSize = frame.ArgSize(0);
  const float* value = frame.Arg(0, 0);
  const float* bases = frame.Arg(1, 0);
  const float* sizes = frame.Arg(2, 0);
  for (int l = 0; l < block.lanes; ++l) {
    if (!block.Active(l)) continue;
    const int base = IndexIn(bases[l], block.floatCount);
    const int size = std::min(valueSize, IndexIn(sizes[l], 256));
    if (base < 0 || size < 0 || base + size > block.floatCount) {
      block.Drop(l);
      continue;
    }
    for (int c = 0; c < size; ++c) block.particle[l][base + c] = value[c * kLanes + l];
  }
  return true;
}

bool FAssignMember::EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) {
  if (frame.count != 1) return false;
  const int size = std::min(frame.ArgSize(0), mSize);
  if (mBase < 0 || mBase + size > block.floatCount) return false;
  const float* value = frame.Arg(0, 0);
  const bool all = block.AllActive();
  for (int c = 0; c < size; ++c) {
    const int at = mBase + c;
    const float* row = value + c * kLanes;
    if (all) {
      for (int l = 0; l < block.lanes; ++l) block.particle[l][at] = row[l];
    } else {
      for (int l = 0; l < block.lanes; ++l)
        if (block.Active(l)) block.particle[l][at] = row[l];
    }
  }
  return true;
}

bool FIndex::EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) {
  if (frame.count != 2 || frame.ArgSize(0) != 1 || frame.ArgSize(1) != 1) return false;
  float* out = frame.Arg(0, 0);
  const float* k = frame.Arg(1, 0);
  for (int l = 0; l < block.lanes; ++l) {
    const int index = IndexIn(std::trunc(out[l]) + std::trunc(k[l]) - 1.0f, block.floatCount);
    if (index < 0) {
      block.Drop(l);
      continue;
    }
    out[l] = block.particle[l][index];
  }
  return frame.Result(1) != nullptr;
}

bool FNewIndex::EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) {
  if (frame.count != 3 || frame.ArgSize(0) != 1 || frame.ArgSize(1) != 1 || frame.ArgSize(2) != 1)
    return false;
  if (!block.members) return false;
  float* out = frame.Arg(0, 0);
  const float* k = frame.Arg(1, 0);
  const float* v = frame.Arg(2, 0);
  for (int l = 0; l < block.lanes; ++l) {
    if (!block.Active(l)) continue;
    const int member = IndexIn(out[l], static_cast<int>(block.members->size()));
    const TParticleMember* target = member >= 0 ? &(*block.members)[member] : nullptr;
    const int component = target ? IndexIn(k[l] - 1.0f, target->size) : -1;
    if (component < 0 || target->base + component >= block.floatCount) {
      block.Drop(l);
      continue;
    }
    block.particle[l][target->base + component] = v[l];
    out[l] = v[l];
  }
  return frame.Result(1) != nullptr;
}
