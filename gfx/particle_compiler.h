// TParticleCompiler: turns the expression values a particle script builds (numbers, member
// handles, {cmd = name, params = {...}} tables and plain number vectors) into instructions
// of the particle machine, appended to a scratch list that the script then moves onto the
// creation list or the per-step list.
//
// A statement the machine could not run is refused as a whole, with a script error that
// names the script line: a value that is not one (nil from a misspelt member, a table of
// five numbers, a statement used as an argument), an unknown function name, a member the
// system does not have, too many arguments, or a list that would pass the stack's limits.
// The rest of the script goes on; the refused statement adds nothing.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "gfx/particle_function.h"

struct lua_State;

// What the compiled code may refer to: the particle's floats and the function members.
struct TParticleScope {
  int floatCount = 0;
  const std::vector<TParticleFunction*>* functionMembers = nullptr;
};

class TParticleCompiler {
 public:
  // The metatable of member handles is the global of this name.
  static constexpr const char* kMemberMetatable = "ParticleMemberMT";

  void Register(const std::string& name, TParticleFunctionCreator create);
  const std::map<std::string, TParticleFunctionCreator>& Registry() const { return mRegistry; }

  // Compiles the value at `index` of L's stack. Answers its size, or -1 for a table that
  // compiles to nothing ("no value"). Lua errors raised by the script's own
  // CompileParameters pass through.
  int CompileParam(lua_State* L, int index, const TParticleScope& scope);

  // Moves the scratch list onto `target`, whose running stack depth is *targetDepth. False
  // (and nothing moved) when the statement was refused or would overflow the stack.
  bool Accumulate(lua_State* L, TParticleInstructionList* target, int* targetDepth);

  const TParticleInstructionList& Scratch() const { return mScratch; }
  void Clear();

  // The member handle at `index`, if the value is one.
  static bool ReadMemberHandle(lua_State* L, int index, TParticleMemberHandle* handle);
  static void PushMemberHandle(lua_State* L, TParticleMemberHandle handle);

 private:
  void Append(std::shared_ptr<TParticleFunction> function, int argCount, const uint8_t* argSizes,
              int resultSize);
  // Whether the last n instructions push one float each; their values into `values`.
  bool TrailingConstants(int n, float* values) const;
  // Replaces an assignment to constant floats, or a read of a constant index, by one
  // instruction that does the same. False when the call is not of that shape.
  bool AppendFolded(const std::shared_ptr<TParticleFunction>& function, int argCount,
                    const uint8_t* argSizes);
  int CompileTable(lua_State* L, int index);
  int CompileCall(lua_State* L, const std::string& name, int argsIndex);
  void Refuse(lua_State* L, const std::string& reason);

  std::map<std::string, TParticleFunctionCreator> mRegistry;
  TParticleInstructionList mScratch;
  int mDepth = 0;     // stack entries the scratch list leaves
  int mMaxDepth = 0;  // the most entries it holds at once
  bool mRefused = false;
};
