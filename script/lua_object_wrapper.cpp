#include "script/lua_object_wrapper.h"

#include <unordered_map>

#include "script/lua/lua_api.h"

namespace {
// Its address is the registry key of the main thread record.
const char kMainStateKey = 0;

// One liveness flag per remembered state, shared with the handles made on it.
std::unordered_map<const lua_State*, std::shared_ptr<bool>>& AliveFlags() {
  static std::unordered_map<const lua_State*, std::shared_ptr<bool>> flags;
  return flags;
}

std::shared_ptr<const bool> AliveFlagOf(const lua_State* main) {
  auto found = AliveFlags().find(main);
  return found == AliveFlags().end() ? nullptr : found->second;
}
}  // namespace

void ForgetMainState(lua_State* L) {
  auto found = AliveFlags().find(L);
  if (found == AliveFlags().end()) return;
  *found->second = false;
  AliveFlags().erase(found);
}

void RememberMainState(lua_State* L) {
  AliveFlags()[L] = std::make_shared<bool>(true);
  lua_pushlightuserdata(L, const_cast<char*>(&kMainStateKey));
  lua_pushlightuserdata(L, L);
  lua_rawset(L, LUA_REGISTRYINDEX);
}

lua_State* MainStateOf(lua_State* L) {
  lua_pushlightuserdata(L, const_cast<char*>(&kMainStateKey));
  lua_rawget(L, LUA_REGISTRYINDEX);
  lua_State* main = static_cast<lua_State*>(lua_touserdata(L, -1));
  lua_pop(L, 1);
  return main ? main : L;
}

TLuaObjectWrapper::TLuaObjectWrapper(lua_State* L) : mL(MainStateOf(L)), mAlive(AliveFlagOf(mL)) {
  if (lua_gettop(L) == 0) lua_pushnil(L);
  lua_pushlightuserdata(L, this);
  lua_insert(L, -2);
  lua_rawset(L, LUA_REGISTRYINDEX);
}

TLuaObjectWrapper::~TLuaObjectWrapper() {
  if (!StateAlive()) return;
  lua_pushlightuserdata(mL, this);
  lua_pushnil(mL);
  lua_rawset(mL, LUA_REGISTRYINDEX);
}

void TLuaObjectWrapper::Push(lua_State* L) const {
  if (!StateAlive()) {
    lua_pushnil(L);
    return;
  }
  lua_pushlightuserdata(L, const_cast<TLuaObjectWrapper*>(this));
  lua_rawget(L, LUA_REGISTRYINDEX);
}
