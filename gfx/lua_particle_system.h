// TLuaParticleSystem: a particle effect scripted in Lua. The script declares the members
// every particle carries, gives expressions for their values at creation and for how they
// change on every step, and spawns particles from its Update function. The expressions are
// compiled once into instruction lists of the particle machine, which runs them over every
// particle natively; Lua runs once per step, not once per particle.
//
// Use from a window:
//   auto dust = std::make_unique<TLuaParticleSystem>();
//   FLocus locus(x, y);                        // must outlive the system
//   dust->AddFunctionMember("dLocus", &locus);
//   dust->Load("gamepiece/dust.lua");
//   each frame: dust->Update(elapsedMs); dust->Draw(TVec3{0, 0, 0});  // inside 2D drawing
//   to stop emitting: dust->Script().DoLuaString("gActive = false");
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gfx/particle_block.h"
#include "gfx/particle_collection.h"
#include "gfx/particle_compiler.h"
#include "gfx/particle_function.h"
#include "gfx/vec.h"

class TParticleRenderer;
class TScript;
class TScriptCode;
struct lua_State;

class TLuaParticleSystem {
 public:
  // The most particles one system holds: what a single 16-bit indexed draw call can show.
  static constexpr int kMaxParticles = 16383;
  // A particle record holds at most this many floats (the member total is 8 bits wide).
  static constexpr int kMaxFloats = 255;

  // Without a renderer the system makes a T2dParticleRenderer and owns it.
  explicit TLuaParticleSystem(TParticleRenderer* renderer = nullptr);
  virtual ~TLuaParticleSystem();
  TLuaParticleSystem(const TLuaParticleSystem&) = delete;
  TLuaParticleSystem& operator=(const TLuaParticleSystem&) = delete;

  // A name without ".lua" is script text and is run as it is; otherwise the file is loaded
  // (compiled once per run) and run. False for a missing file or code that does not load.
  // Loading adds to what earlier scripts compiled.
  virtual bool Load(const std::string& name);
  // One step: the script's Update(seconds), then the per-step list over every live
  // particle; particles that expired during the step are freed.
  virtual void Update(unsigned milliseconds);
  // Draws the live particles moved by offset (inside 2D drawing).
  void Draw(const TVec3& offset);

  // Appends a function the script can use as the member `name` (the function is not owned
  // and must outlive the system). Answers the member's base, -(number of function members).
  int AddFunctionMember(const std::string& name, TParticleFunction* function);

  TScript& Script() { return *mScript; }
  TParticleRenderer& Renderer() { return *mRenderer; }
  const TParticleCollection& Particles() const { return mPool; }
  int FloatsPerParticle() const { return mFloatCount; }
  const std::vector<TParticleMember>& Members() const { return mMembers; }
  const TParticleInstructionList& InitList() const { return mInitList; }
  const TParticleInstructionList& AnimList() const { return mAnimList; }
  float SpawnAccumulator() const { return mAccumulator; }
  void SetAlphaFactor(float alpha) { mAlphaFactor = alpha; }

  // What the script functions of the same names do (public for the bindings and tests).
  int Allocate(int floats);  // the new member's base, or -1 when the record is full
  void SetNumParticles(int count);
  void CreateParticles(double count);
  void SetTexture(const std::string& name);

 private:
  void RegisterFunctions();
  void RunBuiltinScript();
  TParticleScope Scope() const;
  // Runs a list over the given slots: in blocks when it can, else particle by particle.
  // Answers, per slot of `slots`, whether an expiry ended the particle.
  void RunList(const TParticleInstructionList& list, bool inBlocks, const std::vector<int>& slots,
               uint32_t elapsedMs, std::vector<uint8_t>* expired);

  // Script functions that read the Lua stack themselves.
  int LuaAllocate(lua_State* L);
  int LuaCompileParam(lua_State* L);
  int LuaGetParticleMemberParts(lua_State* L);
  int LuaAccumulateInitStream(lua_State* L);
  int LuaAccumulateAnimStream(lua_State* L);

  std::unique_ptr<TParticleRenderer> mOwnedRenderer;
  TParticleRenderer* mRenderer;
  std::unique_ptr<TScript> mScript;
  std::shared_ptr<TScriptCode> mCode;
  std::string mFolder;

  std::vector<float> mBlock;
  TParticleCollection mPool;
  int mFloatCount = 0;
  std::vector<TParticleMember> mMembers;
  std::vector<TParticleFunction*> mFunctionMembers;

  TParticleCompiler mCompiler;
  TParticleInstructionList mInitList;
  TParticleInstructionList mAnimList;
  int mInitDepth = 0;
  int mAnimDepth = 0;
  bool mInitInBlocks = true;
  bool mAnimInBlocks = true;
  TParticleStack mStack;
  std::unique_ptr<TParticleBlockStack> mBlockStack;
  std::vector<int> mSlots;        // scratch: the slots a list runs over
  std::vector<uint8_t> mExpired;  // scratch: which of them expired
  std::vector<uint8_t> mLive;     // scratch: per slot, whether it lives

  float mAlphaFactor = 1.0f;
  double mAccumulator = 0;
};
