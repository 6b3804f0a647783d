#include "script/script.h"

#include <cstring>
#include <unordered_set>

#include "frame/log.h"
#include "script/engine_file_reader.h"
#include "script/lua/lua_api.h"
#include "script/lua/lua_aux.h"
#include "script/lua/lua_lib.h"
#include "script/lua_object_wrapper.h"
#include "script/lua_thread.h"
#include "script/script_code.h"
#include "script/script_globals.h"
#include "script/script_path.h"
#include "script/value_conversion.h"

namespace {

// "_SCRIPT" is an ordinary global that a script may overwrite; only addresses of live
// scripts are believed.
std::unordered_set<const TScript*>& LiveScripts() {
  static std::unordered_set<const TScript*> live;
  return live;
}

const char kGetClosureText[] =
    "function GetClosure( f, ... ) return function() f( arg[1], arg[2], arg[3], arg[4], "
    "arg[5], arg[6] ); end; end";

void RawGetGlobal(lua_State* L, const char* name) {
  lua_pushstring(L, name);
  lua_rawget(L, LUA_GLOBALSINDEX);
}

int Panic(lua_State* L) {
  Log("Lua error outside a protected call: %s", LuaErrorText(L, -1).c_str());
  return 0;
}

}  // namespace

int ProtectedCall(lua_State* L, int nargs, int nresults) {
  const int function = lua_gettop(L) - nargs;
  if (nargs < 0 || function < 1) return LUA_ERRRUN;
  RawGetGlobal(L, "_ALERT");
  int handler = 0;
  if (lua_isfunction(L, -1)) {
    lua_insert(L, function);
    handler = function;
  } else {
    lua_pop(L, 1);
  }
  const int status = lua_pcall(L, nargs, nresults, handler);
  if (handler) lua_remove(L, handler);
  return status;
}

void AlertLuaError(lua_State* L, const std::string& message) {
  const int top = lua_gettop(L);
  RawGetGlobal(L, "_ALERT");
  if (lua_isfunction(L, -1)) {
    lua_pushlstring(L, message.data(), message.size());
    if (lua_pcall(L, 1, 0, 0) != 0) Log("Lua error: %s", message.c_str());
  } else {
    Log("Lua error: %s", message.c_str());
  }
  lua_settop(L, top);
}

TScript::TScript(lua_State* L) {
  mL = L;
  if (!mL) {
    mL = lua_open();
    mOwnsState = mL != nullptr;
    if (mL) {
      lua_atpanic(mL, Panic);
      RememberMainState(mL);
    }
  }
  LiveScripts().insert(this);
  Unschedule();
  if (!mL) {
    Log("TScript: cannot open a Lua state");
    return;
  }
  InitState();
}

TScript::TScript(std::unique_ptr<TLuaThread> thread)
    : mL(thread->Thread()), mThread(std::move(thread)) {
  LiveScripts().insert(this);
  Unschedule();
}

TScript::~TScript() {
  LiveScripts().erase(this);
  ClearTempObjects();
  mCoroutine.reset();
  if (mThread) {
    mThread.reset();
  } else if (mOwnsState) {
    ForgetMainState(mL);
    lua_close(mL);
  } else if (mL) {
    // A borrowed state forgets this script.
    RawGetGlobal(mL, "_SCRIPT");
    const bool recorded = lua_touserdata(mL, -1) == this;
    lua_pop(mL, 1);
    if (recorded) {
      lua_pushstring(mL, "_SCRIPT");
      lua_pushnil(mL);
      lua_rawset(mL, LUA_GLOBALSINDEX);
    }
  }
}

void TScript::InitState() {
  const int top = lua_gettop(mL);
  luaopen_base(mL);
  luaopen_string(mL);
  luaopen_table(mL);
  lua_settop(mL, top);
  InstallEngineFileReader(mL);
  DefineScriptGlobals(mL);
  lua_pushstring(mL, "_SCRIPT");
  lua_pushlightuserdata(mL, this);
  lua_rawset(mL, LUA_GLOBALSINDEX);
}

TScript* TScript::FromState(lua_State* L) {
  if (!L) return nullptr;
  RawGetGlobal(L, "_SCRIPT");
  TScript* script =
      lua_islightuserdata(L, -1) ? static_cast<TScript*>(lua_touserdata(L, -1)) : nullptr;
  lua_pop(L, 1);
  return LiveScripts().count(script) ? script : nullptr;
}

TScript* TScript::CreateThreadScript() {
  if (!mL) return nullptr;
  return new TScript(std::make_unique<TLuaThread>(mL));
}

lua_State* TScript::Coroutine() const {
  return mCoroutine ? mCoroutine->Thread() : nullptr;
}

bool TScript::IsSuspended() const {
  return mCoroutine && lua_status(mCoroutine->Thread()) == LUA_YIELD_STATUS;
}

void TScript::AddTempObject(TLuaObjectWrapper* wrapper) {
  if (wrapper) mTempObjects.emplace_back(wrapper);
}

void TScript::ClearTempObjects() {
  // Moved out first: a handle's destructor must not see a half-cleared list.
  std::vector<std::unique_ptr<TLuaObjectWrapper>> old;
  old.swap(mTempObjects);
}

bool TScript::DeliverClosure() {
  lua_pop(mL, 1);
  return false;
}

bool TScript::Animate() {
  if (Resume(0) != 0 || !IsSuspended()) {
    Unschedule();
    if (!mResuming) mCoroutine.reset();
  }
  return true;
}

bool TScript::RunScript(const std::string& fileName) {
  if (!mL || FindScriptFile(fileName, ScriptSearchPath()).empty()) return false;
  std::string errorText;
  std::shared_ptr<TScriptCode> code = LoadScriptCode(fileName, ScriptSearchPath(), errorText);
  const int top = lua_gettop(mL);
  if (!code || code->LoadInto(mL, fileName) != 0) {
    AlertLuaError(mL, !errorText.empty()     ? errorText
                      : lua_gettop(mL) > top ? LuaErrorText(mL, -1)
                                             : "cannot load " + fileName);
    lua_settop(mL, top);
    return false;
  }
  const int status = RunFunction(0, 1);
  lua_settop(mL, top);
  if (status != 0) {
    Log("Failed to run script %s: %d", fileName.c_str(), status);
    return false;
  }
  return true;
}

void TScript::DoLuaString(const char* text, int length) {
  if (!mL || !text) return;
  const size_t size = length < 0 ? std::strlen(text) : static_cast<size_t>(length);
  const std::string source(text, size);
  const int top = lua_gettop(mL);
  const char* stage = nullptr;
  if (luaL_loadbuffer(mL, source.data(), source.size(), source.c_str()) != 0)
    stage = "parsing";
  else if (RunFunction(0, 1) != 0)
    stage = "running";
  if (stage && lua_gettop(mL) > top && lua_type(mL, -1) == LUA_TSTRING) {
    const std::string built =
        "Lua Error: " + LuaErrorText(mL, -1) + "\n\twhen " + std::string(stage);
    Log("DoLuaString %s %s", built.c_str(), source.c_str());
    RawGetGlobal(mL, "LuaErrorMessage");
    if (!lua_isnil(mL, -1)) {
      lua_pushlstring(mL, built.data(), built.size());
      ProtectedCall(mL, 1, 0);
    }
  }
  lua_settop(mL, top);
}

// Turns the function and its nargs arguments on the stack into one closure (keeping at most
// six arguments) on the top. False when that fails (the error is reported and the function
// and its arguments are gone, replaced by the error value).
bool TScript::PrepareClosure(int nargs) {
  RawGetGlobal(mL, "GetClosure");
  if (lua_isnil(mL, -1)) {
    lua_pop(mL, 1);
    const int top = lua_gettop(mL);
    if (luaL_loadbuffer(mL, kGetClosureText, sizeof kGetClosureText - 1, "=GetClosure") != 0 ||
        lua_pcall(mL, 0, 0, 0) != 0)
      AlertLuaError(mL, LuaErrorText(mL, -1));
    lua_settop(mL, top);
    RawGetGlobal(mL, "GetClosure");
  }
  lua_insert(mL, -(nargs + 2));
  return ProtectedCall(mL, nargs + 1, 1) == 0;
}

int TScript::RunFunction(int nargs, int nresults) {
  ClearTempObjects();
  if (!mL || nargs < 0 || lua_gettop(mL) < nargs + 1) {
    Log("TScript::RunFunction called without a function and %d arguments", nargs);
    return LUA_ERRRUN;
  }
  const bool suspended = IsSuspended();
  if (suspended && nresults <= 1) {
    if (!PrepareClosure(nargs)) return LUA_ERRRUN;
    lua_pushvalue(mL, -1);
    if (DeliverClosure()) {
      lua_pop(mL, 1);
      return 0;
    }
    nargs = 0;
  }
  const int status = ProtectedCall(mL, nargs, nresults);
  if (status != 0) {
    if (nresults > 1)
      Log("TScript::RunFunction failure. Too many return results? (%d, FAILURE CODE %d)", nresults,
          status);
    return status;
  }
  if (!suspended && nresults == 1 && lua_isfunction(mL, -1)) StartCoroutine();
  return 0;
}

// The function on the top of the stack (left there) becomes the coroutine body.
int TScript::StartCoroutine() {
  if (mResuming) {
    Log("TScript: a new coroutine body cannot replace the one that is running");
    return LUA_ERRRUN;
  }
  mCoroutine = std::make_unique<TLuaThread>(mL);
  lua_pushvalue(mL, -1);
  lua_xmove(mL, mCoroutine->Thread(), 1);
  if (!IsScheduled()) Schedule(0, true, true, false);
  const int status = ResumeCoroutine(0, "lua_resume error: %s");
  // A body that returns without yielding has nothing left to resume.
  if (!IsSuspended()) {
    Unschedule();
    mCoroutine.reset();
  }
  return status;
}

int TScript::Resume(int nargs) {
  ClearTempObjects();
  if (!mL || nargs < 0 || lua_gettop(mL) < nargs) return LUA_ERRRUN;
  if (!mCoroutine) {
    lua_pop(mL, nargs);
    Log("lua_resume ERROR: %s", "no coroutine to resume");
    return LUA_ERRRUN;
  }
  return ResumeCoroutine(nargs, "lua_resume ERROR: %s");
}

int TScript::ResumeCoroutine(int nargs, const char* failureFormat) {
  lua_State* co = mCoroutine->Thread();
  lua_xmove(mL, co, nargs);
  mResuming = true;
  const int status = lua_resume(co, nargs);
  mResuming = false;
  if (status != 0) {
    const std::string message = LuaErrorText(co, -1);
    lua_settop(co, 0);
    Log(failureFormat, message.c_str());
    AlertLuaError(mL, message);
  } else if (!IsSuspended()) {
    lua_settop(co, 0);  // the body's results
  }
  return status;
}

bool TScript::PopBool() {
  if (!mL || lua_gettop(mL) == 0) return false;
  const bool result = LuaValueToBool(mL, -1);
  lua_pop(mL, 1);
  return result;
}

double TScript::PopNumber() {
  if (!mL || lua_gettop(mL) == 0) return 0;
  const double result = LuaValueToNumber(mL, -1);
  lua_pop(mL, 1);
  return result;
}

std::string TScript::PopString() {
  if (!mL || lua_gettop(mL) == 0) return "";
  const std::string result = LuaValueToString(mL, -1);
  lua_pop(mL, 1);
  return result;
}
