#include "ui/lua_window_style.h"

#include "script/lua/lua_api.h"
#include "script/lua_function.h"
#include "script/lua_object_wrapper.h"
#include "script/lua_table.h"
#include "script/value_conversion.h"

namespace {
// Style chains are data: a cycle of "parent" links must not hang the lookup.
constexpr int kMaxStyleDepth = 64;
}  // namespace

TLuaWindowStyle::TLuaWindowStyle(lua_State* L, int index) : mL(L) {
  lua_pushvalue(L, index);
  mTable = std::make_unique<TLuaObjectWrapper>(L);
}

TLuaWindowStyle::~TLuaWindowStyle() = default;

void TLuaWindowStyle::Lookup(const std::string& key) const {
  mTable->Push(mL);
  if (lua_istable(mL, -1)) {
    lua_pushlstring(mL, key.data(), key.size());
    lua_rawget(mL, -2);
    lua_remove(mL, -2);
    if (!lua_isnil(mL, -1)) return;
  }
  lua_pop(mL, 1);
  lua_pushstring(mL, "gCurrentDefaultStyle");
  lua_rawget(mL, LUA_GLOBALSINDEX);
  for (int depth = 0; depth < kMaxStyleDepth && lua_istable(mL, -1); ++depth) {
    lua_pushlstring(mL, key.data(), key.size());
    lua_rawget(mL, -2);
    if (!lua_isnil(mL, -1)) {
      lua_remove(mL, -2);
      return;
    }
    lua_pop(mL, 1);
    lua_pushstring(mL, "parent");
    lua_rawget(mL, -2);
    lua_remove(mL, -2);
  }
  lua_pop(mL, 1);
  lua_pushnil(mL);
}

bool TLuaWindowStyle::Has(const std::string& key) const {
  Lookup(key);
  const bool has = !lua_isnil(mL, -1);
  lua_pop(mL, 1);
  return has;
}

double TLuaWindowStyle::GetNumber(const std::string& key, double fallback) const {
  Lookup(key);
  double v = fallback;
  if (lua_type(mL, -1) == LUA_TNUMBER || lua_type(mL, -1) == LUA_TSTRING) {
    if (lua_isnumber(mL, -1)) v = LuaValueToNumber(mL, -1);
  }
  lua_pop(mL, 1);
  return v;
}

std::string TLuaWindowStyle::GetString(const std::string& key, const std::string& fallback) const {
  Lookup(key);
  std::string v = fallback;
  if (lua_type(mL, -1) == LUA_TSTRING || lua_type(mL, -1) == LUA_TNUMBER)
    v = LuaValueToString(mL, -1);
  lua_pop(mL, 1);
  return v;
}

bool TLuaWindowStyle::GetBool(const std::string& key, bool fallback) const {
  Lookup(key);
  bool v = lua_isnil(mL, -1) ? fallback : LuaValueToBool(mL, -1);
  lua_pop(mL, 1);
  return v;
}

TLuaTable* TLuaWindowStyle::GetTable(const std::string& key) const {
  Lookup(key);
  if (!lua_istable(mL, -1)) {
    lua_pop(mL, 1);
    return nullptr;
  }
  return new TLuaTable(mL);
}

TLuaFunction* TLuaWindowStyle::GetFunction(const std::string& key) const {
  Lookup(key);
  if (!lua_isfunction(mL, -1)) {
    lua_pop(mL, 1);
    return nullptr;
  }
  return new TLuaFunction(mL);
}
