// Prototypes, closures and upvalues.
#pragma once

#include "script/lua/lua_state.h"

Proto* luaF_newproto(lua_State* L);
void luaF_freeproto(lua_State* L, Proto* f);
Closure* luaF_newCclosure(lua_State* L, int nelems, Table* env);
Closure* luaF_newLclosure(lua_State* L, int nelems, Table* env);
void luaF_freeclosure(lua_State* L, Closure* c);
size_t luaF_closuresize(const Closure* c);
// Upvalue for stack slot level, shared with closures already referring to it.
UpVal* luaF_findupval(lua_State* L, Value* level);
// Closes every open upvalue at or above level: the values move into the upvalues.
void luaF_close(lua_State* L, Value* level);
// Name of the n-th active local variable at pc, or nullptr.
const char* luaF_getlocalname(const Proto* func, int local_number, int pc);
