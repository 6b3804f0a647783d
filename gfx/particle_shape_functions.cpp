// Vectors, random choices and directions in the particle machine.
#include <cmath>

#include "gfx/particle_functions.h"
#include "gfx/particle_random.h"

namespace {
constexpr float kPi = 3.1415927f;
}

// The compile-time size is the number of floats pushed: one per argument.
int FVec::ResultSize(int argCount, const uint8_t*) const {
  return argCount;
}

bool FVec::Evaluate(TParticleView&, TParticleCallFrame& frame) {
  const int n = frame.count;
  if (n < 1 || n > 4) return false;
  // n floats from the start of the first argument on; the arguments lie back to back, so
  // for single floats this is the vector of the arguments.
  const int available = frame.stack->Offset(frame.first + n - 1) + frame.ArgSize(n - 1) -
                        frame.stack->Offset(frame.first);
  if (available < n) return false;
  return frame.Push(frame.Arg(0), n);
}

int FRange::ResultSize(int argCount, const uint8_t* argSizes) const {
  return argCount > 0 ? argSizes[0] : 0;
}

bool FRange::Evaluate(TParticleView&, TParticleCallFrame& frame) {
  if (frame.count != 2 || frame.ArgSize(0) != frame.ArgSize(1)) return false;
  const int size = frame.ArgSize(0);
  const float* a = frame.Arg(0);
  const float* b = frame.Arg(1);
  float out[255];
  for (int i = 0; i < size; ++i) out[i] = a[i] + particle_random::Uniform() * (b[i] - a[i]);
  return frame.Push(out, size);
}

int FPick::ResultSize(int argCount, const uint8_t* argSizes) const {
  return argCount > 0 ? argSizes[0] : 0;
}

bool FPick::Evaluate(TParticleView&, TParticleCallFrame& frame) {
  if (frame.count < 1) return false;
  const int chosen = particle_random::Range(0, frame.count - 1);
  // Push moves the chosen value down over the first argument (it may overlap).
  return frame.Push(frame.Arg(chosen), frame.ArgSize(chosen));
}

int F2dRadius::ResultSize(int, const uint8_t*) const {
  return 2;
}

bool F2dRadius::Evaluate(TParticleView&, TParticleCallFrame& frame) {
  if (frame.count < 1 || frame.count > 2 || frame.ArgSize(0) != 1) return false;
  if (frame.count == 2 && frame.ArgSize(1) != 2) return false;
  const float r = frame.Arg(0)[0];
  const float theta = particle_random::Uniform() * 2.0f * kPi;
  const float out[2] = {r * std::cos(theta), r * std::sin(theta)};
  return frame.Push(out, 2);
}

int F2dRotation::ResultSize(int, const uint8_t*) const {
  return 2;
}

bool F2dRotation::Evaluate(TParticleView&, TParticleCallFrame& frame) {
  if (frame.count != 1 || frame.ArgSize(0) != 1) return false;
  const float theta = frame.Arg(0)[0];
  const float out[2] = {std::cos(theta), std::sin(theta)};
  return frame.Push(out, 2);
}

// --- blocks of particles.

namespace {
constexpr int kLanes = kParticleBlockLanes;
}

bool FVec::EvaluateBlock(TParticleBlock&, TParticleBlockFrame& frame) {
  const int n = frame.count;
  if (n < 1 || n > 4) return false;
  int available = 0;
  for (int i = 0; i < n; ++i) available += frame.ArgSize(i);
  if (available < n) return false;
  // The arguments' rows lie back to back: the first n of them are the vector already.
  return frame.Result(n) != nullptr;
}

bool FRange::EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) {
  if (frame.count != 2 || frame.ArgSize(0) != frame.ArgSize(1)) return false;
  const int size = frame.ArgSize(0);
  float* a = frame.Arg(0, 0);
  const float* b = frame.Arg(1, 0);
  for (int l = 0; l < block.lanes; ++l)
    for (int c = 0; c < size; ++c) {
      float& x = a[c * kLanes + l];
      x = x + particle_random::Uniform() * (b[c * kLanes + l] - x);
    }
  return frame.Result(size) != nullptr;
}

bool FPick::EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) {
  if (frame.count < 1) return false;
  const int size = frame.ArgSize(0);
  for (int i = 1; i < frame.count; ++i)
    if (frame.ArgSize(i) != size) return EvaluateLaneByLane(*this, block, frame);
  const float* args[TParticleStack::kMaxEntries];
  for (int i = 0; i < frame.count; ++i) args[i] = frame.Arg(i, 0);
  float* out = frame.Result(size);
  if (!out) return false;
  for (int l = 0; l < block.lanes; ++l) {
    const float* chosen = args[particle_random::Range(0, frame.count - 1)];
    for (int c = 0; c < size; ++c) out[c * kLanes + l] = chosen[c * kLanes + l];
  }
  return true;
}

bool F2dRadius::EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) {
  if (frame.count < 1 || frame.count > 2 || frame.ArgSize(0) != 1) return false;
  if (frame.count == 2 && frame.ArgSize(1) != 2) return false;
  float* out = frame.Result(2);
  if (!out) return false;
  for (int l = 0; l < block.lanes; ++l) {
    const float r = out[l];
    const float theta = particle_random::Uniform() * 2.0f * kPi;
    out[l] = r * std::cos(theta);
    out[kLanes + l] = r * std::sin(theta);
  }
  return true;
}

bool F2dRotation::EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) {
  if (frame.count != 1 || frame.ArgSize(0) != 1) return false;
  float* out = frame.Result(2);
  if (!out) return false;
  for (int l = 0; l < block.lanes; ++l) {
    const float theta = out[l];
    out[l] = std::cos(theta);
    out[kLanes + l] = std::sin(theta);
  }
  return true;
}
