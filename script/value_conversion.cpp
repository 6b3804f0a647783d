#include "script/value_conversion.h"

#include "frame/log.h"
#include "script/lua/lua_api.h"

bool LuaValueToBool(lua_State* L, int index) {
  switch (lua_type(L, index)) {
    case LUA_TNONE:
    case LUA_TNIL:
      return false;
    case LUA_TBOOLEAN:
      return lua_toboolean(L, index) != 0;
    case LUA_TNUMBER:
      return lua_tonumber(L, index) != 0;
    case LUA_TSTRING:
      Log("PopBool used on lua string %s", LuaValueToString(L, index).c_str());
      return false;
    default:
      Log("PopBool used on a type that isn't a number, a boolean, or nil. (type: %d)",
          lua_type(L, index));
      return false;
  }
}

double LuaValueToNumber(lua_State* L, int index) {
  return lua_isnumber(L, index) ? lua_tonumber(L, index) : 0;
}

std::string LuaValueToString(lua_State* L, int index) {
  const int type = lua_type(L, index);
  if (type == LUA_TWSTRING) {
    const char16_t* wide = lua_towstring(L, index);
    const size_t length = lua_strlen(L, index);
    std::string narrow(length, '?');
    for (size_t i = 0; wide && i < length; ++i)
      if (wide[i] < 256) narrow[i] = static_cast<char>(wide[i]);
    return narrow;
  }
  if (type != LUA_TSTRING && type != LUA_TNUMBER) return "";
  // A number is converted in its own slot, which is what the stack rules say.
  const char* text = lua_tostring(L, index);
  return text ? std::string(text, lua_strlen(L, index)) : std::string();
}

std::string LuaErrorText(lua_State* L, int index) {
  const int type = lua_type(L, index);
  if (type == LUA_TSTRING || type == LUA_TNUMBER) return LuaValueToString(L, index);
  return std::string("(") + lua_typename(L, type) + " value)";
}

std::u16string LuaValueToWideString(lua_State* L, int index) {
  if (lua_type(L, index) == LUA_TWSTRING) {
    const char16_t* wide = lua_towstring(L, index);
    return wide ? std::u16string(wide, lua_strlen(L, index)) : std::u16string();
  }
  const std::string narrow = LuaValueToString(L, index);
  std::u16string widened(narrow.size(), u'\0');
  for (size_t i = 0; i < narrow.size(); ++i)
    widened[i] = static_cast<char16_t>(static_cast<unsigned char>(narrow[i]));
  return widened;
}
