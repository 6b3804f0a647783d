// FLocus: a fixed 2-D point as a particle function, registered in a particle system as the
// function member "dLocus" to tell an effect where to emit from. The game's own loci derive
// from it under their own class names.
#pragma once

#include "gfx/particle_functions.h"

class FLocus : public TParticleFunctionClass<FLocus> {
 public:
  static constexpr const char* kClassName = "FLocus";
  FLocus() = default;
  FLocus(float x, float y) : mPoint{x, y} {}

  void SetPoint(float x, float y) {
    mPoint[0] = x;
    mPoint[1] = y;
  }

  bool TakesArgCount(int count) const override { return count == 0; }
  int ResultSize(int, const uint8_t*) const override { return 2; }
  bool Evaluate(TParticleView&, TParticleCallFrame& frame) override {
    return frame.Push(mPoint, 2);
  }
  bool EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) override {
    float* rows = frame.Result(2);
    if (!rows) return false;
    for (int l = 0; l < block.lanes; ++l) {
      rows[l] = mPoint[0];
      rows[kParticleBlockLanes + l] = mPoint[1];
    }
    return true;
  }

 private:
  float mPoint[2] = {0, 0};
};
