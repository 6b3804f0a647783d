#include "gfx/animation_script.h"

#include <cctype>

#include "frame/application.h"
#include "frame/log.h"
#include "frame/mersenne_twister.h"
#include "gfx/animated_sprite.h"
#include "gfx/builtin_chunks.h"
#include "script/lua/lua_api.h"
#include "script/lua/lua_aux.h"
#include "script/native_binding.h"
#include "script/value_conversion.h"

namespace {

bool IsIdentifier(const std::string& name) {
  if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
  for (char c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  return true;
}

uint32_t NextRandom() {
  if (TApplication* app = TApplication::Get()) return app->Random();
  static TMersenneTwister fallback;
  return fallback.Next();
}

}  // namespace

TAnimationScript::TAnimationScript(TAnimatedSprite* sprite) : mSprite(sprite) {}

TAnimationScript::~TAnimationScript() {
  if (mSprite) mSprite->TaskGone(this);
}

void TAnimationScript::Detach() {
  if (!mSprite) return;
  mSprite->TaskGone(this);
  mSprite = nullptr;
  SetClock(nullptr);
  // Due at once, so that the list runs it and lets it go.
  Schedule(0, false, true, false);
}

bool TAnimationScript::IsPlaying() const {
  return mSprite && !mPaused && !mDead && IsSuspended();
}

void TAnimationScript::BindFunctions() {
  lua_State* L = GetState();
  RegisterMethod(L, "SetCurrentFrame", this, &TAnimationScript::SetCurrentFrame);
  RegisterStateMethod(L, "WaitLuaNextFrame", this, &TAnimationScript::WaitLuaNextFrame);
  RegisterMethod(L, "SetAlpha", this, &TAnimationScript::SetAlpha);
  RegisterMethod(L, "SetLayer", this, &TAnimationScript::SetLayer);
  RegisterMethod(L, "Pause", this, &TAnimationScript::Pause);
  RegisterMethod(L, "IsPlaying", this, &TAnimationScript::IsPlayingWhich);
  RegisterMethod(L, "Load", this, &TAnimationScript::Load);
  RegisterMethod(L, "GetScript", this, &TAnimationScript::GetScript);
  RegisterStateMethod(L, "Die", this, &TAnimationScript::Die);
  RegisterMethod(L, "RemoveSprite", this, &TAnimationScript::RemoveSprite);
  RegisterMethod(L, "Random", this, &TAnimationScript::Random);
}

bool TAnimationScript::Start(const std::string& script, const std::string& function) {
  lua_State* L = GetState();
  const int top = lua_gettop(L);
  if (luaL_loadbuffer(L, reinterpret_cast<const char*>(AnimationChunkData()), AnimationChunkSize(),
                      "ganimationscript") != 0 ||
      RunFunction(0, 0) != 0) {
    Log("Animation script: the built-in chunk failed: %s", LuaErrorText(L, -1).c_str());
    lua_settop(L, top);
    return false;
  }
  lua_settop(L, top);
  BindFunctions();
  if (luaL_loadbuffer(L, script.data(), script.size(), "=animation") != 0 ||
      RunFunction(0, 0) != 0) {
    Log("Animation script failed: %s", LuaErrorText(L, -1).c_str());
    lua_settop(L, top);
    return false;
  }
  lua_settop(L, top);
  lua_getglobal(L, function.c_str());
  const bool isFunction = lua_isfunction(L, -1);
  lua_settop(L, top);
  if (!IsIdentifier(function) || !isFunction) {
    Log("Animation script has no function %s", function.c_str());
    return false;
  }
  // A chunk that answers the function: RunFunction starts it as the task's coroutine.
  const std::string starter = "return " + function;
  if (luaL_loadbuffer(L, starter.data(), starter.size(), "=animation") != 0 ||
      RunFunction(0, 1) != 0) {
    lua_settop(L, top);
    return false;
  }
  lua_settop(L, top);
  return true;
}

bool TAnimationScript::DoTask() {
  if (!mSprite) return false;
  const bool keep = TScript::DoTask();
  return keep && mSprite != nullptr;
}

bool TAnimationScript::Animate() {
  if (!mSprite) return false;
  if (mDead) {
    Unschedule();
    return true;
  }
  if (mPaused) return true;
  if (mWake >= 0 && GetTime() - mWake < 0) return true;  // the frame's time has not come
  return TScript::Animate();
}

void TAnimationScript::SetCurrentFrame(int index) {
  if (mSprite) mSprite->SetCurrentFrame(index);
}

// Suspends the coroutine for ms on the sprite's clock (without a time: until the next
// pass). Waits follow each other from the time the previous one ended, so a script keeps
// its pace however the update passes fall, unless it fell a whole wait behind.
int TAnimationScript::WaitLuaNextFrame(lua_State* L) {
  const int ms = lua_type(L, 1) == LUA_TNUMBER ? luaL_clampint(lua_tonumber(L, 1)) : 0;
  const int now = GetTime();
  if (ms <= 0) {
    mWake = now;
  } else {
    const int from = mWake >= 0 && now - mWake < ms ? mWake : now;
    mWake = from + ms;
  }
  if (L != Coroutine()) return 0;  // not inside the animation's coroutine: nothing to suspend
  return lua_yield(L, 0);
}

void TAnimationScript::SetAlpha(float alpha) {
  if (mSprite) mSprite->SetAlpha(alpha);
}

void TAnimationScript::SetLayer(int layer) {
  if (mSprite) mSprite->SetLayer(layer);
}

TAnimatedSprite* TAnimationScript::Target(int which) const {
  if (!mSprite || which < 0) return mSprite;
  const auto& children = mSprite->Children();
  if (static_cast<size_t>(which) >= children.size()) return nullptr;
  TSprite* child = children[static_cast<size_t>(which)].get();
  return dynamic_cast<TAnimatedSprite*>(child);
}

void TAnimationScript::Pause(bool paused, int which) {
  TAnimatedSprite* target = Target(which);
  if (!target) return;
  if (target == mSprite) mPaused = paused;
  target->Pause(paused);
}

bool TAnimationScript::IsPlayingWhich(int which) {
  TAnimatedSprite* target = Target(which);
  if (target == mSprite) return IsPlaying();
  return target && target->IsPlaying();
}

bool TAnimationScript::Load(const std::string& name, const std::string& image,
                            const std::string& mask) {
  return mSprite && mSprite->Load(name, image, mask);
}

std::string TAnimationScript::GetScript() {
  if (!mSprite || !mSprite->Animation()) return "";
  return mSprite->Animation()->Script();
}

int TAnimationScript::Die(lua_State* L) {
  mDead = true;
  if (L != Coroutine()) return 0;
  return lua_yield(L, 0);
}

void TAnimationScript::RemoveSprite() {
  if (mSprite) mSprite->RemoveFromParent();
}

// a + (a random integer modulo (b - a)); a when b is not above a.
int TAnimationScript::Random(int a, int b) {
  if (b <= a) return a;
  const uint32_t span = static_cast<uint32_t>(static_cast<int64_t>(b) - a);
  return static_cast<int>(static_cast<int64_t>(a) + NextRandom() % span);
}
