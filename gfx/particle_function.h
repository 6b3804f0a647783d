// The particle expression machine. A particle script's expressions are compiled (by the
// particle system) into lists of instructions; this machine runs such a list over one
// particle record. Each instruction names a TParticleFunction and how many values it takes
// from the top of the evaluation stack; the function checks its arguments, reads them in
// place and pushes at most one result where its first argument was. A function whose
// check fails ends the list for that particle.
//
// Particle members are ranges of the particle's floats. A member handle packs a signed
// 16-bit base and an unsigned size: a base of 0 or more is the member's first float, a
// base of -(k + 1) names function member k, a function the host registered (the emitter
// position "dLocus", for instance) that is evaluated in the member's place.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gfx/particle_stack.h"

class TParticleFunction;
struct TParticleBlock;
struct TParticleBlockFrame;

struct TParticleMember {
  int base = 0;
  int size = 0;
};

struct TParticleMemberHandle {
  int16_t base = 0;
  uint16_t size = 0;

  uint32_t Pack() const {
    return static_cast<uint16_t>(base) | (static_cast<uint32_t>(size) << 16);
  }
  static TParticleMemberHandle Unpack(uint32_t word) {
    return {static_cast<int16_t>(word & 0xFFFF), static_cast<uint16_t>(word >> 16)};
  }
  bool IsFunction() const { return base < 0; }
  int FunctionIndex() const { return -base - 1; }
};

// The particle being run: its record, the members in allocation order, the step's time.
struct TParticleView {
  float* particle = nullptr;
  int floatCount = 0;  // floats per particle
  const std::vector<TParticleMember>* members = nullptr;
  uint32_t elapsedMs = 0;  // 0 while a particle is being created
  bool keepAlive = true;   // cleared by an expiry
};

// What a function is given: the stack, where its arguments start and how many there are.
struct TParticleCallFrame {
  const std::vector<TParticleFunction*>* functionMembers = nullptr;
  TParticleStack* stack = nullptr;
  int first = 0;
  int count = 0;

  const float* Arg(int i) const { return stack->Values(first + i); }
  int ArgSize(int i) const { return stack->Size(first + i); }
  // Writes the result over the first argument and moves `first` one entry on, so that the
  // stack's new depth is `first`. False when the stack has no room for it.
  bool Push(const float* values, int size) {
    if (!stack->Put(first, values, size)) return false;
    ++first;
    return true;
  }
};

// A class token: the class's creation function.
using TParticleFunctionCreator = std::shared_ptr<TParticleFunction> (*)();

class TParticleFunction {
 public:
  static std::shared_ptr<TParticleFunction> Create() { return nullptr; }

  virtual const char* ClassName() const = 0;
  // Every class answers for its own token and for the base class's.
  virtual bool IsKindOf(TParticleFunctionCreator token) const {
    return token == &TParticleFunction::Create;
  }
  virtual ~TParticleFunction() = default;

  // Whether a call with this many arguments can ever succeed; the compiler refuses others.
  virtual bool TakesArgCount(int /*count*/) const { return true; }
  // Size of the value the function will push for arguments of these sizes (0: none). Used
  // when compiling only.
  virtual int ResultSize(int argCount, const uint8_t* argSizes) const = 0;
  // Takes the frame's arguments and pushes at most one result. False when an argument
  // check failed.
  virtual bool Evaluate(TParticleView& view, TParticleCallFrame& frame) = 0;
  // The same for a block of particles (gfx/particle_block.h): false when a check failed
  // for all of them; lanes that fail alone are dropped from the block. The base runs
  // Evaluate lane by lane; the built-in functions work on whole rows.
  virtual bool EvaluateBlock(TParticleBlock& block, TParticleBlockFrame& frame);
};

struct TParticleInstruction {
  static constexpr int kMaxArgs = 11;

  std::shared_ptr<TParticleFunction> function;
  uint8_t argCount = 0;
  uint8_t argSizes[kMaxArgs] = {};
};

using TParticleInstructionList = std::vector<TParticleInstruction>;

// Runs every instruction of the list over the view's particle, on an emptied stack.
void RunParticleInstructions(const TParticleInstructionList& list, TParticleView& view,
                             TParticleStack& stack,
                             const std::vector<TParticleFunction*>& functionMembers);
