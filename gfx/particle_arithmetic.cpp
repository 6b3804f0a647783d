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
