// The function on the top of a Lua stack dumped as a binary chunk (lua_dump), for the tests
// that compile, dump and load chunks back. The function stays on the stack.
#pragma once

#include <string>

#include "script/lua/lua_api.h"

inline std::string DumpBytes(lua_State* L) {
  std::string bytes;
  lua_dump(
      L,
      [](lua_State*, const void* p, size_t n, void* ud) {
        static_cast<std::string*>(ud)->append(static_cast<const char*>(p), n);
        return 0;
      },
      &bytes);
  return bytes;
}
