#include "gfx/lua_particle_system.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "files/file_system.h"
#include "frame/log.h"
#include "gfx/2d_particle_renderer.h"
#include "gfx/animated_texture.h"
#include "gfx/builtin_chunks.h"
#include "gfx/particle_functions.h"
#include "gfx/particle_random.h"
#include "script/lua/lua_api.h"
#include "script/lua/lua_aux.h"
#include "script/lua/lua_lib.h"
#include "script/native_binding.h"
#include "script/script.h"
#include "script/script_code.h"

namespace {

// The expression builders the scripts call: each wraps its arguments into a value.
constexpr const char* kValueBuilders[] = {"fTimeScale", "fAge",        "fPick",     "fFade",
                                          "f2dRadius",  "f2dRotation", "fVec",      "fRange",
                                          "fExpire",    "fLess",       "fLessEqual"};

double RandomFloat() {
  return particle_random::Uniform();
}

double RandomRange(double a, double b) {
  return particle_random::Range(luaL_clampint(a), luaL_clampint(b));
}

}  // namespace

TLuaParticleSystem::TLuaParticleSystem(TParticleRenderer* renderer) : mRenderer(renderer) {
  if (!mRenderer) {
    mOwnedRenderer = std::make_unique<T2dParticleRenderer>();
    mRenderer = mOwnedRenderer.get();
  }
  mScript = std::make_unique<TScript>();
  luaopen_math(mScript->GetState());
  lua_settop(mScript->GetState(), 0);
  RegisterFunctions();
  RunBuiltinScript();
}

TLuaParticleSystem::~TLuaParticleSystem() {
  // The script's native functions point at this object: the state goes first.
  mScript.reset();
}

void TLuaParticleSystem::RegisterFunctions() {
  const std::pair<const char*, TParticleFunctionCreator> registry[] = {
      {"assign", &FAssign::Create},
      {"lt", &FLt::Create},
      {"fLess", &FLt::Create},
      {"le", &FLe::Create},
      {"fLessEqual", &FLe::Create},
      {"add", &FAdd::Create},
      {"mul", &FMul::Create},
      {"div", &FDiv::Create},
      {"sub", &FSub::Create},
      {"index", &FIndex::Create},
      {"newindex", &FNewIndex::Create},
      {"fTimeScale", &FTimeScale::Create},
      {"fAge", &FAge::Create},
      {"fPick", &FPick::Create},
      {"fFade", &FFade::Create},
      {"f2dRadius", &F2dRadius::Create},
      {"f2dRotation", &F2dRotation::Create},
      {"fVec", &FVec::Create},
      {"fRange", &FRange::Create},
      {"fExpire", &FExpire::Create}};
  for (const auto& [name, create] : registry) mCompiler.Register(name, create);

  for (const char* name : kValueBuilders) {
    char text[128];
    std::snprintf(text, sizeof text, "function %s(...) return CreateValue('%s',arg); end", name,
                  name);
    mScript->DoLuaString(text);
  }
  lua_State* L = mScript->GetState();
  lua_newtable(L);
  lua_setglobal(L, TParticleCompiler::kMemberMetatable);

  RegisterStateMethod(L, "Allocate", this, &TLuaParticleSystem::LuaAllocate);
  RegisterMethod(L, "SetNumParticles", this, &TLuaParticleSystem::SetNumParticles);
  RegisterMethod(L, "CreateParticles", this, &TLuaParticleSystem::CreateParticles);
  RegisterMethod(L, "_SetTexture", this, &TLuaParticleSystem::SetTexture);
  RegisterMethod(L, "SetRendererOption1", mRenderer, &TParticleRenderer::SetOption);
  RegisterFunction(L, "RandomFloat", &RandomFloat);
  RegisterFunction(L, "RandomRange", &RandomRange);
  RegisterStateMethod(L, "CompileParam", this, &TLuaParticleSystem::LuaCompileParam);
  RegisterStateMethod(L, "GetParticleMemberParts", this,
                      &TLuaParticleSystem::LuaGetParticleMemberParts);
  RegisterStateMethod(L, "AccumulateInitStream", this,
                      &TLuaParticleSystem::LuaAccumulateInitStream);
  RegisterStateMethod(L, "AccumulateAnimStream", this,
                      &TLuaParticleSystem::LuaAccumulateAnimStream);
  mScript->DoLuaString("function Done() end");
}

void TLuaParticleSystem::RunBuiltinScript() {
  lua_State* L = mScript->GetState();
  const int top = lua_gettop(L);
  if (luaL_loadbuffer(L, reinterpret_cast<const char*>(ParticleChunkData()), ParticleChunkSize(),
                      "particles.lua") != 0 ||
      mScript->RunFunction(0, 0) != 0)
    Log("Particle system: the built-in script failed: %s", LuaErrorText(L, -1).c_str());
  lua_settop(L, top);
}

TParticleScope TLuaParticleSystem::Scope() const {
  return TParticleScope{mFloatCount, &mFunctionMembers};
}

int TLuaParticleSystem::Allocate(int floats) {
  floats &= 0xFF;
  if (mFloatCount + floats > kMaxFloats) return -1;
  const int base = mFloatCount;
  mMembers.push_back(TParticleMember{base, floats});
  mFloatCount += floats;
  if (mPool.Capacity() > 0) {
    // Particles exist already: move them into a block with room for the new member.
    std::vector<float> wider(static_cast<size_t>(mPool.Capacity()) * mFloatCount, 0.0f);
    mPool.Widen(wider.data(), mFloatCount);
    mBlock.swap(wider);
  }
  return base;
}

int TLuaParticleSystem::LuaAllocate(lua_State* L) {
  const int floats = luaL_clampint(lua_tonumber(L, 1)) & 0xFF;
  const int base = Allocate(floats);
  if (base < 0) {
    AlertLuaError(L, "Allocate(" + std::to_string(floats) + "): a particle holds at most " +
                         std::to_string(kMaxFloats) + " floats and " + std::to_string(mFloatCount) +
                         " are taken");
    lua_pushnil(L);
    return 1;
  }
  TParticleCompiler::PushMemberHandle(
      L, TParticleMemberHandle{static_cast<int16_t>(base), static_cast<uint16_t>(floats)});
  return 1;
}

void TLuaParticleSystem::SetNumParticles(int count) {
  if (count > kMaxParticles) {
    Log("Particle system: %d particles asked for, %d is the most a system holds", count,
        kMaxParticles);
    count = kMaxParticles;
  }
  count = std::max(count, 0);
  mBlock.assign(static_cast<size_t>(count) * mFloatCount, 0.0f);
  mPool.Reset(mBlock.data(), count, mFloatCount);
}

void TLuaParticleSystem::RunList(const TParticleInstructionList& list, bool inBlocks,
                                 const std::vector<int>& slots, uint32_t elapsedMs,
                                 std::vector<uint8_t>* expired) {
  expired->assign(slots.size(), 0);
  if (!inBlocks) {
    TParticleView view;
    view.floatCount = mFloatCount;
    view.members = &mMembers;
    view.elapsedMs = elapsedMs;
    for (size_t i = 0; i < slots.size(); ++i) {
      view.particle = mPool.Particle(slots[i]);
      view.keepAlive = true;
      RunParticleInstructions(list, view, mStack, mFunctionMembers);
      (*expired)[i] = !view.keepAlive;
    }
    return;
  }
  if (!mBlockStack) mBlockStack = std::make_unique<TParticleBlockStack>();
  TParticleBlock block;
  block.floatCount = mFloatCount;
  block.members = &mMembers;
  block.elapsedMs = elapsedMs;
  for (size_t start = 0; start < slots.size(); start += kParticleBlockLanes) {
    block.lanes = static_cast<int>(std::min<size_t>(kParticleBlockLanes, slots.size() - start));
    for (int l = 0; l < block.lanes; ++l) block.particle[l] = mPool.Particle(slots[start + l]);
    block.active = block.AllLanes();
    block.expired = 0;
    RunParticleBlock(list, block, *mBlockStack, mFunctionMembers);
    for (int l = 0; l < block.lanes; ++l) (*expired)[start + l] = (block.expired >> l & 1) != 0;
  }
}

void TLuaParticleSystem::CreateParticles(double count) {
  if (mPool.Capacity() == 0 || !std::isfinite(count)) return;
  mAccumulator += count;
  const float* defaults = mRenderer->GetDefaults();
  const int defaultCount = std::min(mRenderer->GetDefaultCount(), mFloatCount);
  mSlots.clear();
  while (mAccumulator > 0) {
    mAccumulator -= 1;
    if (mPool.Full()) break;
    const int slot = mPool.Create();
    float* particle = mPool.Particle(slot);
    std::fill(particle, particle + mFloatCount, 0.0f);
    std::copy(defaults, defaults + defaultCount, particle);
    mSlots.push_back(slot);
  }
  // The new particles get their creation values together (an expiry does not apply yet).
  RunList(mInitList, mInitInBlocks, mSlots, 0, &mExpired);
}

void TLuaParticleSystem::SetTexture(const std::string& name) {
  const std::string full = mFolder + name;
  const bool animated = full.size() >= 4 && full.compare(full.size() - 4, 4, ".xml") == 0;
  std::shared_ptr<TTexture> texture =
      animated ? std::shared_ptr<TTexture>(LoadAnimatedTexture(full)) : GetTexture(full, 0);
  if (!texture) Log("Particle system: no texture %s", full.c_str());
  mRenderer->SetTexture(std::move(texture));
}

int TLuaParticleSystem::LuaCompileParam(lua_State* L) {
  const int size = mCompiler.CompileParam(L, 1, Scope());
  if (size < 0) return 0;  // a table that is no value answers nothing
  lua_pushnumber(L, size);
  return 1;
}

int TLuaParticleSystem::LuaGetParticleMemberParts(lua_State* L) {
  TParticleMemberHandle handle;
  if (!TParticleCompiler::ReadMemberHandle(L, 1, &handle))
    luaL_error(L, "GetParticleMemberParts: %s is not a particle member",
               lua_typename(L, lua_type(L, 1)));
  lua_pushnumber(L, handle.base);
  lua_pushnumber(L, handle.size);
  return 2;
}

int TLuaParticleSystem::LuaAccumulateInitStream(lua_State* L) {
  if (mCompiler.Accumulate(L, &mInitList, &mInitDepth)) mInitInBlocks = RunsInBlocks(mInitList);
  return 0;
}

int TLuaParticleSystem::LuaAccumulateAnimStream(lua_State* L) {
  if (mCompiler.Accumulate(L, &mAnimList, &mAnimDepth)) mAnimInBlocks = RunsInBlocks(mAnimList);
  return 0;
}

int TLuaParticleSystem::AddFunctionMember(const std::string& name, TParticleFunction* function) {
  mFunctionMembers.push_back(function);
  const int base = -static_cast<int>(mFunctionMembers.size());
  lua_State* L = mScript->GetState();
  const int size = function ? function->ResultSize(0, nullptr) : 0;
  TParticleCompiler::PushMemberHandle(
      L, TParticleMemberHandle{static_cast<int16_t>(base), static_cast<uint16_t>(size)});
  lua_setglobal(L, name.c_str());
  return base;
}

bool TLuaParticleSystem::Load(const std::string& name) {
  mAccumulator = 0;
  if (name.find(".lua") == std::string::npos) {
    mScript->DoLuaString(name.c_str(), static_cast<int>(name.size()));
    return true;
  }
  if (!FileExists(name)) return false;
  const size_t slash = name.rfind('/');
  mFolder = slash == std::string::npos ? "" : name.substr(0, slash + 1);
  std::string error;
  mCode = LoadScriptCode(name, mFolder + "?;assets/?;assets/fx/?", error);
  if (!mCode) {
    if (!error.empty()) Log("Particle script %s: %s", name.c_str(), error.c_str());
    return false;
  }
  lua_State* L = mScript->GetState();
  const int top = lua_gettop(L);
  if (mCode->LoadInto(L, "@" + name) != 0) {
    AlertLuaError(L, LuaErrorText(L, -1));
  } else {
    mScript->RunFunction(0, 0);
  }
  lua_settop(L, top);
  return true;
}

void TLuaParticleSystem::Update(unsigned milliseconds) {
  lua_State* L = mScript->GetState();
  const int top = lua_gettop(L);
  lua_getglobal(L, "Update");
  lua_pushnumber(L, milliseconds / 1000.0);
  mScript->RunFunction(1, 0);
  lua_settop(L, top);
  if (mPool.LiveCount() == 0) return;
  // The live particles in the order of their records, so that a block reads neighbouring
  // memory (which particle runs first makes no difference).
  mLive.assign(static_cast<size_t>(mPool.Capacity()), 0);
  for (int slot = mPool.FirstLive(); slot != TParticleCollection::kNone;
       slot = mPool.NextLive(slot))
    mLive[static_cast<size_t>(slot)] = 1;
  mSlots.clear();
  for (int slot = 0; slot < mPool.Capacity(); ++slot)
    if (mLive[static_cast<size_t>(slot)]) mSlots.push_back(slot);
  RunList(mAnimList, mAnimInBlocks, mSlots, milliseconds, &mExpired);
  // Expired particles are freed after the step.
  for (size_t i = 0; i < mSlots.size(); ++i) mLive[static_cast<size_t>(mSlots[i])] = !mExpired[i];
  mPool.Sweep([&](int slot) { return mLive[static_cast<size_t>(slot)] != 0; });
}

void TLuaParticleSystem::Draw(const TVec3& offset) {
  if (mPool.LiveCount() > 0) mRenderer->Draw(offset, mAlphaFactor, mPool);
}
