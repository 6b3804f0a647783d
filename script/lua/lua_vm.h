// The virtual machine: instruction dispatch, coercions, comparisons, table access
// through metamethods and concatenation (with the wide-string rules).
#pragma once

#include "script/lua/lua_state.h"

bool luaV_tonumber(const Value* obj, double* n);
// Converts a number in place to its string; answers false for other non-strings.
bool luaV_tostring(lua_State* L, Value* obj);
void luaV_gettable(lua_State* L, const Value* t, const Value* key, Value* val);
// The same after the raw lookup of key in table t missed and t's "__index" is index.
void luaV_getfromindex(lua_State* L, const Value* t, const Value* index, const Value* key,
                       Value* val);
void luaV_settable(lua_State* L, const Value* t, const Value* key, const Value* val);
bool luaV_lessthan(lua_State* L, const Value* l, const Value* r);
bool luaV_equalval(lua_State* L, const Value* t1, const Value* t2);
// Concatenates `total` values ending at stack slot base+last into base+last-total+1.
void luaV_concat(lua_State* L, int total, int last);
// The base library's iterator functions of pairs and ipairs: the generic for steps them
// itself over a table instead of calling them.
int luaB_next(lua_State* L);
int luaB_ipairsaux(lua_State* L);
// Runs Lua frames from L->ci until the entry frame returns or the thread yields.
void luaV_execute(lua_State* L);

inline bool luaV_rawequal(const Value* a, const Value* b) {
  if (a->tt != b->tt) return false;
  if (a->tt == LUA_TNUMBER) return a->n == b->n;
  if (a->tt == LUA_TBOOLEAN) return a->b == b->b;
  if (a->tt == LUA_TNIL) return true;
  return a->p == b->p;
}
inline bool equalobj(lua_State* L, const Value* a, const Value* b) {
  return a->tt == b->tt && luaV_equalval(L, a, b);
}
// Bitwise helpers on 32-bit patterns.
uint32_t luaV_touint32(double x);
