// The particle functions the particle system compiles expressions into. Arguments a1 .. an
// have sizes s1 .. sn (floats); "trunc" truncates toward zero; a failed check makes
// Evaluate answer false, which ends the particle's list for this step.
//
//   FPush            constant of 1..4 floats                  pushes it
//   FGetParticleParam member handle                           the member's floats, or the
//                                                             function member's value
//   FAssign          value, base, size                         writes min(s1, size) floats
//                                                             into the particle at base
//   FAdd, FSub       a, b (s2 >= s1)                           a[i] + b[i], a[i] - b[i]
//   FMul, FDiv       a, k (s2 = 1)                             a[i] * k, a[i] / k
//   FLt, FLe         a, b (sizes 1)                            1 when a < b (a <= b), else 0
//   FIndex           base, k (sizes 1)                         particle float base + k - 1
//   FNewIndex        m, k, v (sizes 1)                         v, written into component k
//                                                             of member number m
//   FTimeScale       v                                         v * elapsed ms / 1000
//   FAge             none                                      the elapsed milliseconds
//   FExpire          c (size 1)                                c != 0: ends the particle; 1
//                                                             or 0
//   FVec             1..4 values                               n floats from a1 on
//   FRange           a, b (s1 = s2)                            a + u * (b - a), a uniform u
//                                                             per component
//   FPick            a1 .. an                                  one argument at random
//   FFade            t, x0, d1, x1, d2, x2 ...                 piecewise-linear over time
//   F2dRadius        r [, c (size 2)]                          r * (cos, sin) of a random
//                                                             angle
//   F2dRotation      theta                                     (cos theta, sin theta)
//
// Every read and write of the particle record is checked against its size, so an
// expression naming a float outside the record fails instead of touching memory.
#pragma once

#include <memory>

#include "gfx/particle_block.h"
#include "gfx/particle_function.h"

// Gives a function class its creation function, class name and kind-of test.
template <class Derived, class Base = TParticleFunction>
class TParticleFunctionClass : public Base {
 public:
  using Base::Base;
  static std::shared_ptr<TParticleFunction> Create() { return std::make_shared<Derived>(); }
  const char* ClassName() const override { return Derived::kClassName; }
  bool IsKindOf(TParticleFunctionCreator token) const override {
    return token == &TParticleFunctionClass::Create || Base::IsKindOf(token);
  }
};

// A built-in function class taking minArgs to maxArgs arguments.
#define MC_PARTICLE_FUNCTION(Name, minArgs, maxArgs)                                \
  class Name final : public TParticleFunctionClass<Name> {                          \
   public:                                                                          \
    static constexpr const char* kClassName = #Name;                                \
    bool TakesArgCount(int count) const override {                                  \
      return count >= (minArgs) && count <= (maxArgs);                              \
    }                                                                               \
    int ResultSize(int argCount, const uint8_t* argSizes) const override;           \
    bool Evaluate(TParticleView& view, TParticleCallFrame& frame) override;         \
    bool EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) override; \
  }

MC_PARTICLE_FUNCTION(FAssign, 3, 3);
MC_PARTICLE_FUNCTION(FAdd, 2, 2);
MC_PARTICLE_FUNCTION(FSub, 2, 2);
MC_PARTICLE_FUNCTION(FMul, 2, 2);
MC_PARTICLE_FUNCTION(FDiv, 2, 2);
MC_PARTICLE_FUNCTION(FLt, 2, 2);
MC_PARTICLE_FUNCTION(FLe, 2, 2);
MC_PARTICLE_FUNCTION(FIndex, 2, 2);
MC_PARTICLE_FUNCTION(FNewIndex, 3, 3);
MC_PARTICLE_FUNCTION(FTimeScale, 1, 1);
MC_PARTICLE_FUNCTION(FAge, 0, 0);
MC_PARTICLE_FUNCTION(FExpire, 1, 1);
MC_PARTICLE_FUNCTION(FVec, 1, 4);
MC_PARTICLE_FUNCTION(FRange, 2, 2);
MC_PARTICLE_FUNCTION(FPick, 1, 255);
MC_PARTICLE_FUNCTION(FFade, 2, 255);
MC_PARTICLE_FUNCTION(F2dRadius, 1, 2);
MC_PARTICLE_FUNCTION(F2dRotation, 1, 1);

#undef MC_PARTICLE_FUNCTION

// A constant of 1 to 4 floats.
class FPush final : public TParticleFunctionClass<FPush> {
 public:
  static constexpr const char* kClassName = "FPush";
  FPush() = default;
  FPush(const float* values, int size);
  bool TakesArgCount(int count) const override { return count == 0; }
  int ResultSize(int argCount, const uint8_t* argSizes) const override;
  bool Evaluate(TParticleView& view, TParticleCallFrame& frame) override;
  bool EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) override;

  int Size() const { return mSize; }
  const float* Values() const { return mValues; }

 private:
  float mValues[4] = {};
  int mSize = 1;
};

// FAssign with its target known when compiling (the usual case: member:Anim( value )):
// the value's floats, at most `size`, written from float `base`. The compiler puts it in
// place of pushing the two constants and FAssign, which saves two instructions per
// statement and particle.
class FAssignMember final : public TParticleFunctionClass<FAssignMember> {
 public:
  static constexpr const char* kClassName = "FAssignMember";
  FAssignMember() = default;
  FAssignMember(int base, int size) : mBase(base), mSize(size) {}
  bool TakesArgCount(int count) const override { return count == 1; }
  int ResultSize(int argCount, const uint8_t* argSizes) const override;
  bool Evaluate(TParticleView& view, TParticleCallFrame& frame) override;
  bool EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) override;

 private:
  int mBase = 0;
  int mSize = 0;
};

// A member of the particle, or a function member evaluated in its place.
class FGetParticleParam final : public TParticleFunctionClass<FGetParticleParam> {
 public:
  static constexpr const char* kClassName = "FGetParticleParam";
  FGetParticleParam() = default;
  explicit FGetParticleParam(TParticleMemberHandle handle) : mHandle(handle) {}
  bool TakesArgCount(int count) const override { return count == 0; }
  int ResultSize(int argCount, const uint8_t* argSizes) const override;
  bool Evaluate(TParticleView& view, TParticleCallFrame& frame) override;
  bool EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame) override;

 private:
  TParticleMemberHandle mHandle;
};
