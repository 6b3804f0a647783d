#include "script/lua_table.h"

#include "script/lua/lua_api.h"
#include "script/script.h"

bool TLuaTable::GetValue(const char* key) const {
  lua_State* L = State();
  Push(L);
  if (!lua_istable(L, -1) || key == nullptr) {
    lua_pop(L, 1);
    lua_pushnil(L);
    return false;
  }
  lua_pushstring(L, key);
  lua_rawget(L, -2);
  lua_remove(L, -2);
  return !lua_isnil(L, -1);
}

bool TLuaTable::GetValue(int index) const {
  return PushField(index);
}

bool TLuaTable::PushField(int index) const {
  lua_State* L = State();
  Push(L);
  if (!lua_istable(L, -1)) {
    lua_pop(L, 1);
    lua_pushnil(L);
    return false;
  }
  lua_rawgeti(L, -1, index);
  lua_remove(L, -2);
  return !lua_isnil(L, -1);
}

std::string TLuaTable::StringOnTop(const std::string& def) const {
  lua_State* L = State();
  std::string result = def;
  const int type = lua_type(L, -1);
  if (type == LUA_TSTRING || type == LUA_TNUMBER) {
    const char* text = lua_tostring(L, -1);
    if (text) result.assign(text, lua_strlen(L, -1));
  }
  lua_pop(L, 1);
  return result;
}

double TLuaTable::NumberOnTop(double def) const {
  lua_State* L = State();
  const double result = lua_isnumber(L, -1) ? lua_tonumber(L, -1) : def;
  lua_pop(L, 1);
  return result;
}

std::string TLuaTable::GetString(const char* key, const std::string& def) const {
  if (!StateAlive()) return def;
  GetValue(key);
  return StringOnTop(def);
}

std::string TLuaTable::GetString(int index, const std::string& def) const {
  if (!StateAlive()) return def;
  GetValue(index);
  return StringOnTop(def);
}

double TLuaTable::GetNumber(const char* key, double def) const {
  if (!StateAlive()) return def;
  GetValue(key);
  return NumberOnTop(def);
}

double TLuaTable::GetNumber(int index, double def) const {
  if (!StateAlive()) return def;
  GetValue(index);
  return NumberOnTop(def);
}

bool TLuaTable::RegisterTemp() {
  if (!StateAlive() || OwnedByCall()) return false;
  TScript* script = TScript::FromState(State());
  if (!script) return false;
  script->AddTempObject(this);
  return true;
}
