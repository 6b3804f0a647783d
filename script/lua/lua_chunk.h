// Precompiled chunks: writing a prototype tree in the binary chunk format and
// loading one back with a complete check of everything it holds.
#pragma once

#include "script/lua/lua_state.h"

void luaU_dump(lua_State* L, const Proto* f, lua_Chunkwriter w, void* data);
// Raises LUA_ERRSYNTAX with a message for any damaged or inconsistent chunk.
Proto* luaU_undump(lua_State* L, const char* data, size_t size, const char* name);
