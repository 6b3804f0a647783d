// How native code reads Lua values: the rules shared by PopBool/PopNumber/PopString and by
// the arguments of bound native functions. None of them raises.
#pragma once

#include <cmath>
#include <limits>
#include <string>
#include <type_traits>

struct lua_State;

// nil false, booleans their value, numbers non-zero; a string is false with the log line
// "PopBool used on lua string %s", any other type false with a log line naming the type.
bool LuaValueToBool(lua_State* L, int index);
// Numbers and numeric strings; anything else 0.
double LuaValueToNumber(lua_State* L, int index);
// Strings, and numbers as text; a wide string narrowed character by character (codes
// above 255 become '?'); anything else "".
std::string LuaValueToString(lua_State* L, int index);
// Wide strings as they are; strings and numbers widened byte by byte; anything else empty.
std::u16string LuaValueToWideString(lua_State* L, int index);
// A readable text for an error value of any type.
std::string LuaErrorText(lua_State* L, int index);

// Truncates toward zero into T's range (NaN gives 0).
template <class T>
T TruncateToInteger(double value) {
  static_assert(std::is_integral_v<T>);
  if (std::isnan(value)) return 0;
  const double low = static_cast<double>(std::numeric_limits<T>::min());
  const double high = static_cast<double>(std::numeric_limits<T>::max());
  if (value <= low) return std::numeric_limits<T>::min();
  if (value >= high) return std::numeric_limits<T>::max();
  return static_cast<T>(value);
}
