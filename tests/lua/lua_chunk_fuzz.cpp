// Fuzz target: arbitrary bytes through the binary chunk loader; a chunk that passes
// the checks is not run (it may loop forever), only loading must be safe.
#include <cstddef>
#include <cstdint>
#include <string>

#include "script/lua/lua_api.h"
#include "script/lua/lua_aux.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lua_State* L = lua_open();
  if (!L) return 0;
  std::string bytes("\033Lua", 4);
  bytes.append(reinterpret_cast<const char*>(data), size);
  luaL_loadbuffer(L, bytes.data(), bytes.size(), "=fuzz");
  lua_close(L);
  return 0;
}
