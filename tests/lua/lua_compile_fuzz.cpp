// Fuzz target: arbitrary source text through the compiler (and, when it compiles,
// a bounded run is not attempted: the compiler alone must never crash).
#include <cstddef>
#include <cstdint>
#include <string>

#include "script/lua/lua_api.h"
#include "script/lua/lua_aux.h"
#include "tests/lua/dump_bytes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lua_State* L = lua_open();
  if (!L) return 0;
  if (size > 0 && data[0] == 0x1b) {
    lua_close(L);
    return 0;  // binary chunks belong to the chunk fuzzer
  }
  if (luaL_loadbuffer(L, reinterpret_cast<const char*>(data), size, "=fuzz") == 0) {
    // Dump what compiled and load it back: the loader must accept our own code.
    const std::string bytes = DumpBytes(L);
    if (luaL_loadbuffer(L, bytes.data(), bytes.size(), "=again") != 0) __builtin_trap();
  }
  lua_close(L);
  return 0;
}
