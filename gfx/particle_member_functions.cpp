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
  std::copy(frame.Arg(0), frame.Arg(0) + size, view.particle + base);
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
