// Time in the particle machine: scaling per-second amounts to the step, the step's time,
// expiry and piecewise-linear fades.
#include "gfx/particle_functions.h"

int FTimeScale::ResultSize(int argCount, const uint8_t* argSizes) const {
  return argCount > 0 ? argSizes[0] : 0;
}

bool FTimeScale::Evaluate(TParticleView& view, TParticleCallFrame& frame) {
  if (frame.count != 1) return false;
  const int size = frame.ArgSize(0);
  const float seconds = static_cast<float>(view.elapsedMs) / 1000.0f;
  float out[255];
  for (int i = 0; i < size; ++i) out[i] = frame.Arg(0)[i] * seconds;
  return frame.Push(out, size);
}

int FAge::ResultSize(int, const uint8_t*) const {
  return 1;
}

bool FAge::Evaluate(TParticleView& view, TParticleCallFrame& frame) {
  if (frame.count != 0) return false;
  const float ms = static_cast<float>(view.elapsedMs);
  return frame.Push(&ms, 1);
}

int FExpire::ResultSize(int, const uint8_t*) const {
  return 1;
}

bool FExpire::Evaluate(TParticleView& view, TParticleCallFrame& frame) {
  if (frame.count != 1 || frame.ArgSize(0) != 1) return false;
  const bool expire = frame.Arg(0)[0] != 0.0f;
  if (expire) view.keepAlive = false;
  const float result = expire ? 1.0f : 0.0f;
  return frame.Push(&result, 1);
}

int FFade::ResultSize(int argCount, const uint8_t* argSizes) const {
  return argCount > 1 ? argSizes[1] : 0;
}

// FFade(t, x0, d1, x1, d2, x2, ...): x0 until the durations start, then along each
// duration from the previous value to the next, and the last value once they have run
// out. A duration without a value after it is ignored.
bool FFade::Evaluate(TParticleView&, TParticleCallFrame& frame) {
  if (frame.count < 2 || frame.ArgSize(0) < 1) return false;
  const int size = frame.ArgSize(1);
  const int pairs = (frame.count - 2) / 2;
  for (int p = 0; p < pairs; ++p) {
    if (frame.ArgSize(2 + 2 * p) != 1 || frame.ArgSize(3 + 2 * p) != size) return false;
  }
  float r = frame.Arg(0)[0];
  int from = 1;  // the argument holding the value the current piece starts at
  for (int p = 0; p < pairs; ++p) {
    const float duration = frame.Arg(2 + 2 * p)[0];
    const int to = 3 + 2 * p;
    if (duration > r) {
      const float f = r / duration;
      const float* a = frame.Arg(from);
      const float* b = frame.Arg(to);
      float out[255];
      for (int i = 0; i < size; ++i) out[i] = a[i] + f * (b[i] - a[i]);
      return frame.Push(out, size);
    }
    r -= duration;
    from = to;
  }
  // Copied out first: the value may lie above the first argument it replaces.
  float out[255];
  const float* last = frame.Arg(from);
  for (int i = 0; i < size; ++i) out[i] = last[i];
  return frame.Push(out, size);
}

// --- blocks of particles.

namespace {
constexpr int kLanes = kParticleBlockLanes;
}

bool FTimeScale::EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) {
  if (frame.count != 1) return false;
  const int size = frame.ArgSize(0);
  const float seconds = static_cast<float>(block.elapsedMs) / 1000.0f;
  float* v = frame.Arg(0, 0);
  for (int c = 0; c < size; ++c)
    for (int l = 0; l < block.lanes; ++l) v[c * kLanes + l] *= seconds;
  return frame.Result(size) != nullptr;
}

bool FAge::EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) {
  if (frame.count != 0) return false;
  float* out = frame.Result(1);
  if (!out) return false;
  std::fill(out, out + block.lanes, static_cast<float>(block.elapsedMs));
  return true;
}

bool FExpire::EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) {
  if (frame.count != 1 || frame.ArgSize(0) != 1) return false;
  float* c = frame.Arg(0, 0);
  for (int l = 0; l < block.lanes; ++l) {
    const bool expire = c[l] != 0.0f;
    if (expire && block.Active(l)) block.expired |= uint64_t{1} << l;
    c[l] = expire ? 1.0f : 0.0f;
  }
  return frame.Result(1) != nullptr;
}

bool FFade::EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) {
  if (frame.count < 2 || frame.ArgSize(0) < 1) return false;
  const int size = frame.ArgSize(1);
  const int pairs = (frame.count - 2) / 2;
  for (int p = 0; p < pairs; ++p) {
    if (frame.ArgSize(2 + 2 * p) != 1 || frame.ArgSize(3 + 2 * p) != size) return false;
  }
  const float* args[TParticleStack::kMaxEntries];
  for (int i = 0; i < frame.count; ++i) args[i] = frame.Arg(i, 0);
  float* out = frame.Result(size);
  if (!out) return false;
  for (int l = 0; l < block.lanes; ++l) {
    float r = args[0][l];
    int from = 1, to = 0;
    float f = 0;
    for (int p = 0; p < pairs; ++p) {
      const float duration = args[2 + 2 * p][l];
      if (duration > r) {
        to = 3 + 2 * p;
        f = r / duration;
        break;
      }
      r -= duration;
      from = 3 + 2 * p;
    }
    // Read before written: the result lies over this lane's arguments.
    float value[255];
    for (int c = 0; c < size; ++c) {
      const float a = args[from][c * kLanes + l];
      value[c] = to ? a + f * (args[to][c * kLanes + l] - a) : a;
    }
    for (int c = 0; c < size; ++c) out[c * kLanes + l] = value[c];
  }
  return true;
}
