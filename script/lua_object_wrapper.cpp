#include "script/lua_object_wrapper.h"

#include "script/lua/lua_api.h"

namespace {
// Its address is the registry key of the main thread record.
const char kMainStateKey = 0;
}  // namespace

void RememberMainState(lua_State* L) {
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

TLuaObjectWrapper::TLuaObjectWrapper(lua_State* L) : mL(MainStateOf(L)) {
  if (lua_gettop(L) == 0) lua_pushnil(L);
  lua_pushlightuserdata(L, this);
  lua_insert(L, -2);
  lua_rawset(L, LUA_REGISTRYINDEX);
}

TLuaObjectWrapper::~TLuaObjectWrapper() {
  lua_pushlightuserdata(mL, this);
  lua_pushnil(mL);
  lua_rawset(mL, LUA_REGISTRYINDEX);
}

void TLuaObjectWrapper::Push(lua_State* L) const {
  lua_pushlightuserdata(L, const_cast<TLuaObjectWrapper*>(this));
  lua_rawget(L, LUA_REGISTRYINDEX);
}
