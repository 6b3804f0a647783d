// The standard libraries. A host opens the ones it needs; the runner opens all four.
#pragma once

#include "script/lua/lua_api.h"

int luaopen_base(lua_State* L);    // base functions, coroutine table, towstring
int luaopen_string(lua_State* L);  // string (with lualex, pack, unpack)
int luaopen_table(lua_State* L);
int luaopen_math(lua_State* L);
void luaL_openstdlibs(lua_State* L);  // all four
