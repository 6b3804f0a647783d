// The parser: a recursive-descent compiler from source text to prototypes, driving
// the code generator. Each function carries its grammar rule.
#pragma once

#include "script/lua/lua_state.h"

Proto* luaY_parser(lua_State* L, const char* text, size_t len, const char* name);
