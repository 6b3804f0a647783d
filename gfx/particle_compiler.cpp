#include "gfx/particle_compiler.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gfx/particle_functions.h"
#include "script/lua/lua_api.h"
#include "script/lua/lua_aux.h"
#include "script/script.h"

namespace {

// The script line that made the expression: the innermost Lua function that is not part
// of the particle library itself.
std::string ScriptPlace(lua_State* L) {
  lua_Debug ar;
  for (int level = 0; lua_getstack(L, level, &ar); ++level) {
    if (!lua_getinfo(L, "Sl", &ar) || ar.currentline <= 0) continue;
    if (std::strstr(ar.short_src, "particles.lua")) continue;
    return std::string(ar.short_src) + ":" + std::to_string(ar.currentline) + ": ";
  }
  return "";
}

// The largest whole-number key of the table at index (a nil argument leaves a hole below
// it that the length stops at).
int HighestIndex(lua_State* L, int index) {
  int highest = 0;
  lua_pushnil(L);
  while (lua_next(L, index) != 0) {
    if (lua_type(L, -2) == LUA_TNUMBER) {
      const double key = lua_tonumber(L, -2);
      if (key >= 1 && key <= 1000 && key == std::floor(key))
        highest = std::max(highest, static_cast<int>(key));
    }
    lua_pop(L, 1);
  }
  return highest;
}

}  // namespace

void TParticleCompiler::Register(const std::string& name, TParticleFunctionCreator create) {
  mRegistry[name] = create;
}

void TParticleCompiler::Clear() {
  mScratch.clear();
  mDepth = mMaxDepth = 0;
  mRefused = false;
}

bool TParticleCompiler::ReadMemberHandle(lua_State* L, int index, TParticleMemberHandle* handle) {
  if (lua_type(L, index) != LUA_TUSERDATA || !lua_getmetatable(L, index)) return false;
  lua_getglobal(L, kMemberMetatable);
  const bool member = lua_rawequal(L, -1, -2) != 0;
  lua_pop(L, 2);
  if (!member) return false;
  uint32_t word;
  std::memcpy(&word, lua_touserdata(L, index), sizeof word);
  *handle = TParticleMemberHandle::Unpack(word);
  return true;
}

void TParticleCompiler::PushMemberHandle(lua_State* L, TParticleMemberHandle handle) {
  const uint32_t word = handle.Pack();
  std::memcpy(lua_newuserdata(L, sizeof word), &word, sizeof word);
  lua_getglobal(L, kMemberMetatable);
  lua_setmetatable(L, -2);
}

void TParticleCompiler::Refuse(lua_State* L, const std::string& reason) {
  if (mRefused) return;  // one report per statement
  mRefused = true;
  mScratch.clear();
  AlertLuaError(L, ScriptPlace(L) + "particle expression refused: " + reason);
}

void TParticleCompiler::Append(std::shared_ptr<TParticleFunction> function, int argCount,
                               const uint8_t* argSizes, int resultSize) {
  TParticleInstruction instruction;
  instruction.function = std::move(function);
  instruction.argCount = static_cast<uint8_t>(argCount);
  std::copy(argSizes, argSizes + argCount, instruction.argSizes);
  mScratch.push_back(std::move(instruction));
  mDepth = mDepth - argCount + (resultSize > 0 ? 1 : 0);
  mMaxDepth = std::max(mMaxDepth, mDepth);
}

bool TParticleCompiler::TrailingConstants(int n, float* values) const {
  if (static_cast<int>(mScratch.size()) < n) return false;
  for (int i = 0; i < n; ++i) {
    const TParticleInstruction& instruction = mScratch[mScratch.size() - n + i];
    if (!instruction.function->IsKindOf(&FPush::Create)) return false;
    const auto& push = static_cast<const FPush&>(*instruction.function);
    if (push.Size() != 1) return false;
    values[i] = push.Values()[0];
  }
  return true;
}

bool TParticleCompiler::AppendFolded(const std::shared_ptr<TParticleFunction>& function,
                                     int argCount, const uint8_t* argSizes) {
  float constants[2];
  if (argCount == 3 && function->IsKindOf(&FAssign::Create) && TrailingConstants(2, constants)) {
    const float base = constants[0], size = constants[1];
    if (!(base >= 0 && base < 256 && size >= 0 && size < 256)) return false;
    mScratch.resize(mScratch.size() - 2);
    mDepth -= 2;
    Append(std::make_shared<FAssignMember>(static_cast<int>(base), static_cast<int>(size)), 1,
           argSizes, 0);
    return true;
  }
  if (argCount == 2 && function->IsKindOf(&FIndex::Create) && TrailingConstants(2, constants)) {
    const float at = std::trunc(constants[0]) + std::trunc(constants[1]) - 1;
    if (!(at >= 0 && at < 256)) return false;
    mScratch.resize(mScratch.size() - 2);
    mDepth -= 2;
    const TParticleMemberHandle handle{static_cast<int16_t>(at), 1};
    Append(std::make_shared<FGetParticleParam>(handle), 0, nullptr, 1);
    return true;
  }
  return false;
}

int TParticleCompiler::CompileParam(lua_State* L, int index, const TParticleScope& scope) {
  if (mRefused) return 0;
  if (index < 0) index = lua_gettop(L) + index + 1;
  TParticleMemberHandle handle;
  if (lua_type(L, index) == LUA_TNUMBER ||
      (lua_type(L, index) == LUA_TSTRING && lua_isnumber(L, index))) {
    const float value = static_cast<float>(lua_tonumber(L, index));
    Append(std::make_shared<FPush>(&value, 1), 0, nullptr, 1);
    return 1;
  }
  if (ReadMemberHandle(L, index, &handle)) {
    const bool known = handle.IsFunction() ? scope.functionMembers &&
                                                 handle.FunctionIndex() <
                                                     static_cast<int>(scope.functionMembers->size())
                                           : handle.base + handle.size <= scope.floatCount;
    if (!known || handle.size == 0) {
      Refuse(L, "a member this particle system does not have (base " + std::to_string(handle.base) +
                    ", size " + std::to_string(handle.size) + ")");
      return 0;
    }
    Append(std::make_shared<FGetParticleParam>(handle), 0, nullptr, handle.size);
    return handle.size;
  }
  if (lua_type(L, index) == LUA_TTABLE) return CompileTable(L, index);
  return 0;
}

int TParticleCompiler::CompileTable(lua_State* L, int index) {
  const int n = luaL_getn(L, index);
  int numbers = 0;
  for (int i = 1; i <= n; ++i) {
    lua_rawgeti(L, index, i);
    const bool number = lua_type(L, -1) == LUA_TNUMBER;
    lua_pop(L, 1);
    if (!number) break;
    ++numbers;
  }
  lua_pushstring(L, "cmd");
  lua_rawget(L, index);
  const bool hasCmd = !lua_isnil(L, -1);
  const std::string cmd = hasCmd && lua_isstring(L, -1) ? lua_tostring(L, -1) : "";
  lua_pop(L, 1);
  if (hasCmd || numbers < n) {
    if (cmd.empty()) return CompileCall(L, "fVec", index);
    lua_pushstring(L, "params");
    lua_rawget(L, index);
    const int result = CompileCall(L, cmd, lua_gettop(L));
    lua_pop(L, 1);
    return result;
  }
  if (n < 2 || n > 4) return -1;  // not a vector: compiles to no value
  float values[4];
  for (int i = 0; i < n; ++i) {
    lua_rawgeti(L, index, i + 1);
    values[i] = static_cast<float>(lua_tonumber(L, -1));
    lua_pop(L, 1);
  }
  Append(std::make_shared<FPush>(values, n), 0, nullptr, n);
  return n;
}

// Compiles the call `name` of the arguments in the table at argsIndex: the arguments in
// order (through the script's CompileParameters), then the instruction.
int TParticleCompiler::CompileCall(lua_State* L, const std::string& name, int argsIndex) {
  if (lua_type(L, argsIndex) != LUA_TTABLE) {
    Refuse(L, name + " has no argument list");
    return 0;
  }
  const int argCount = luaL_getn(L, argsIndex);
  if (HighestIndex(L, argsIndex) > argCount) {
    Refuse(L, "argument " + std::to_string(argCount + 1) + " of " + name + " is not a value (nil)");
    return 0;
  }
  if (argCount > TParticleInstruction::kMaxArgs) {
    Refuse(L, name + " has " + std::to_string(argCount) + " arguments, at most " +
                  std::to_string(TParticleInstruction::kMaxArgs) + " are allowed");
    return 0;
  }
  const int depthBefore = mDepth;
  lua_getglobal(L, "CompileParameters");
  lua_pushvalue(L, argsIndex);
  lua_call(L, 1, 1);
  if (mRefused) {
    lua_pop(L, 1);
    return 0;
  }
  uint8_t sizes[TParticleInstruction::kMaxArgs] = {};
  int missing = 0;
  for (int i = 1; i <= argCount; ++i) {
    int size = 0;
    if (lua_istable(L, -1)) {
      lua_rawgeti(L, -1, i);
      size = lua_type(L, -1) == LUA_TNUMBER ? luaL_clampint(lua_tonumber(L, -1)) : 0;
      lua_pop(L, 1);
    }
    if (size <= 0 && missing == 0) missing = i;
    sizes[i - 1] = static_cast<uint8_t>(std::clamp(size, 0, 255));
  }
  lua_pop(L, 1);
  if (missing != 0 || mDepth != depthBefore + argCount) {
    Refuse(L, "argument " + std::to_string(missing ? missing : argCount) + " of " + name +
                  " is not a value (an unknown member, a table that is not a vector of 2 to 4 "
                  "numbers, or a statement)");
    return 0;
  }
  auto found = mRegistry.find(name);
  if (found == mRegistry.end()) {
    Refuse(L, "Type not found: " + name);
    return 0;
  }
  std::shared_ptr<TParticleFunction> function = found->second();
  if (!function || !function->TakesArgCount(argCount)) {
    Refuse(L, name + " cannot take " + std::to_string(argCount) +
                  " argument(s) (a misspelt member is nil and drops out)");
    return 0;
  }
  const int resultSize = function->ResultSize(argCount, sizes);
  if (!AppendFolded(function, argCount, sizes))
    Append(std::move(function), argCount, sizes, resultSize);
  return resultSize;
}

bool TParticleCompiler::Accumulate(lua_State* L, TParticleInstructionList* target,
                                   int* targetDepth) {
  if (!mRefused && *targetDepth + mMaxDepth > TParticleStack::kMaxEntries)
    Refuse(L, "the list would hold more than " + std::to_string(TParticleStack::kMaxEntries) +
                  " values at once");
  const bool accepted = !mRefused;
  if (accepted) {
    *targetDepth += mDepth;
    target->insert(target->end(), mScratch.begin(), mScratch.end());
  }
  Clear();
  return accepted;
}
