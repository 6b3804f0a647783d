// Arithmetic and comparisons of the particle machine.
#include "gfx/particle_functions.h"

namespace {

// a (first argument) combined with b component by component; b must be as long as a.
template <typename Op>
bool Componentwise(TParticleCallFrame& frame, Op op) {
  if (frame.count != 2 || frame.ArgSize(1) < frame.ArgSize(0)) return false;
  const int size = frame.ArgSize(0);
  const float* a = frame.Arg(0);
  const float* b = frame.Arg(1);
  float out[255];
  for (int i = 0; i < size; ++i) out[i] = op(a[i], b[i]);
  return frame.Push(out, size);
}

// a (first argument) scaled by the single float k.
template <typename Op>
bool Scaled(TParticleCallFrame& frame, Op op) {
  if (frame.count != 2 || frame.ArgSize(1) != 1) return false;
  const int size = frame.ArgSize(0);
  const float* a = frame.Arg(0);
  const float k = frame.Arg(1)[0];
  float out[255];
  for (int i = 0; i < size; ++i) out[i] = op(a[i], k);
  return frame.Push(out, size);
}

template <typename Op>
bool Compare(TParticleCallFrame& frame, Op op) {
  if (frame.count != 2 || frame.ArgSize(0) != 1 || frame.ArgSize(1) != 1) return false;
  const float result = op(frame.Arg(0)[0], frame.Arg(1)[0]) ? 1.0f : 0.0f;
  return frame.Push(&result, 1);
}

int FirstSize(int argCount, const uint8_t* argSizes) {
  return argCount > 0 ? argSizes[0] : 0;
}

}  // namespace

int FAdd::ResultSize(int argCount, const uint8_t* argSizes) const {
  return FirstSize(argCount, argSizes);
}
bool FAdd::Evaluate(TParticleView&, TParticleCallFrame& frame) {
  return Componentwise(frame, [](float a, float b) { return a + b; });
}

int FSub::ResultSize(int argCount, const uint8_t* argSizes) const {
  return FirstSize(argCount, argSizes);
}
bool FSub::Evaluate(TParticleView&, TParticleCallFrame& frame) {
  return Componentwise(frame, [](float a, float b) { return a - b; });
}

int FMul::ResultSize(int argCount, const uint8_t* argSizes) const {
  return FirstSize(argCount, argSizes);
}
bool FMul::Evaluate(TParticleView&, TParticleCallFrame& frame) {
  return Scaled(frame, [](float a, float k) { return a * k; });
}

int FDiv::ResultSize(int argCount, const uint8_t* argSizes) const {
  return FirstSize(argCount, argSizes);
}
bool FDiv::Evaluate(TParticleView&, TParticleCallFrame& frame) {
  return Scaled(frame, [](float a, float k) { return a / k; });
}

int FLt::ResultSize(int, const uint8_t*) const {
  return 1;
}
bool FLt::Evaluate(TParticleView&, TParticleCallFrame& frame) {
  return Compare(frame, [](float a, float b) { return a < b; });
}

int FLe::ResultSize(int, const uint8_t*) const {
  return 1;
}
bool FLe::Evaluate(TParticleView&, TParticleCallFrame& frame) {
  return Compare(frame, [](float a, float b) { return a <= b; });
}

// --- blocks of particles: the same arithmetic on whole rows, in place over the first
// argument.

namespace {

constexpr int kLanes = kParticleBlockLanes;

template <typename Op>
bool ComponentwiseRows(TParticleBlock& block, TParticleBlockFrame& frame, Op op) {
  if (frame.count != 2 || frame.ArgSize(1) < frame.ArgSize(0)) return false;
  const int size = frame.ArgSize(0);
  float* a = frame.Arg(0, 0);
  const float* b = frame.Arg(1, 0);
  for (int c = 0; c < size; ++c)
    for (int l = 0; l < block.lanes; ++l)
      a[c * kLanes + l] = op(a[c * kLanes + l], b[c * kLanes + l]);
  return frame.Result(size) != nullptr;
}

template <typename Op>
bool ScaledRows(TParticleBlock& block, TParticleBlockFrame& frame, Op op) {
  if (frame.count != 2 || frame.ArgSize(1) != 1) return false;
  const int size = frame.ArgSize(0);
  float* a = frame.Arg(0, 0);
  const float* k = frame.Arg(1, 0);
  for (int c = 0; c < size; ++c)
    for (int l = 0; l < block.lanes; ++l) a[c * kLanes + l] = op(a[c * kLanes + l], k[l]);
  return frame.Result(size) != nullptr;
}

template <typename Op>
bool CompareRows(TParticleBlock& block, TParticleBlockFrame& frame, Op op) {
  if (frame.count != 2 || frame.ArgSize(0) != 1 || frame.ArgSize(1) != 1) return false;
  float* a = frame.Arg(0, 0);
  const float* b = frame.Arg(1, 0);
  for (int l = 0; l < block.lanes; ++l) a[l] = op(a[l], b[l]) ? 1.0f : 0.0f;
  return frame.Result(1) != nullptr;
}

}  // namespace

bool FAdd::EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) {
  return ComponentwiseRows(block, frame, [](float a, float b) { return a + b; });
}
bool FSub::EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) {
  return ComponentwiseRows(block, frame, [](float a, float b) { return a - b; });
}
bool FMul::EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) {
  return ScaledRows(block, frame, [](float a, float k) { return a * k; });
}
bool FDiv::EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) {
  return ScaledRows(block, frame, [](float a, float k) { return a / k; });
}
bool FLt::EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) {
  return CompareRows(block, frame, [](float a, float b) { return a < b; });
}
bool FLe::EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) {
  return CompareRows(block, frame, [](float a, float b) { return a <= b; });
}
