// Errors with positions and variable names, and the debug interface behind them.
#pragma once

#include "script/lua/lua_state.h"

[[noreturn]] void luaG_runerror(lua_State* L, const char* fmt, ...);
[[noreturn]] void luaG_errormsg(lua_State* L);
[[noreturn]] void luaG_typeerror(lua_State* L, const Value* o, const char* opname);
[[noreturn]] void luaG_concaterror(lua_State* L, const Value* p1, const Value* p2);
[[noreturn]] void luaG_aritherror(lua_State* L, const Value* p1, const Value* p2);
[[noreturn]] void luaG_ordererror(lua_State* L, const Value* p1, const Value* p2);
int luaG_currentline(const CallInfo* ci);
// Pushes a formatted message (%s %d %f %c %p %%) and answers its text.
const char* luaO_pushvfstring(lua_State* L, const char* fmt, va_list argp);
const char* luaO_pushfstring(lua_State* L, const char* fmt, ...);
// Checks that code is consistent (also used by the chunk loader).
bool luaG_checkcode(const Proto* pt, const char** why);
