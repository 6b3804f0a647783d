// Helpers for libraries and hosts built on the public interface: argument checks,
// registration, loading files through the file-reading hook, references.
#pragma once

#include <string>

#include "script/lua/lua_api.h"

struct luaL_reg {
  const char* name;
  lua_CFunction func;
};

#define LUA_NOREF (-2)
#define LUA_REFNIL (-1)

void luaL_openlib(lua_State* L, const char* libname, const luaL_reg* l, int nup);
int luaL_getmetafield(lua_State* L, int obj, const char* e);
int luaL_callmeta(lua_State* L, int obj, const char* e);
[[noreturn]] int luaL_typerror(lua_State* L, int narg, const char* tname);
[[noreturn]] int luaL_argerror(lua_State* L, int numarg, const char* extramsg);
const char* luaL_checklstring(lua_State* L, int numArg, size_t* l);
const char* luaL_optlstring(lua_State* L, int numArg, const char* def, size_t* l);
lua_Number luaL_checknumber(lua_State* L, int numArg);
lua_Number luaL_optnumber(lua_State* L, int nArg, lua_Number def);
const char16_t* luaL_checkwstring(lua_State* L, int numArg, size_t* l);
void luaL_checkstack(lua_State* L, int sz, const char* msg);
void luaL_checktype(lua_State* L, int narg, int t);
void luaL_checkany(lua_State* L, int narg);
int luaL_newmetatable(lua_State* L, const char* tname);
void luaL_getmetatable(lua_State* L, const char* tname);
void* luaL_checkudata(lua_State* L, int ud, const char* tname);
void luaL_where(lua_State* L, int lvl);
[[noreturn]] int luaL_error(lua_State* L, const char* fmt, ...);
int luaL_findstring(const char* st, const char* const lst[]);
int luaL_ref(lua_State* L, int t);
void luaL_unref(lua_State* L, int t, int ref);
int luaL_getn(lua_State* L, int t);
void luaL_setn(lua_State* L, int t, int n);
// Loads a file through the state's file-reading hook ("@name" chunk name); a file
// starting with the chunk signature is loaded as a precompiled chunk.
int luaL_loadfile(lua_State* L, const char* filename);
int luaL_loadbuffer(lua_State* L, const char* buff, size_t sz, const char* name);
// Compiles and runs; answers 0 or an error code with the message on the stack.
int luaL_dostring(lua_State* L, const char* str);
int luaL_dofile(lua_State* L, const char* filename);

#define luaL_argcheck(L, cond, numarg, extramsg) \
  if (!(cond)) luaL_argerror(L, numarg, extramsg)
#define luaL_checkstring(L, n) (luaL_checklstring(L, (n), nullptr))
#define luaL_optstring(L, n, d) (luaL_optlstring(L, (n), (d), nullptr))
// Number to integer conversions that saturate instead of overflowing (NaN gives 0).
inline int luaL_clampint(double d) {
  if (!(d == d)) return 0;
  if (d >= 2147483647.0) return 2147483647;
  if (d <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(d);
}
inline long long luaL_clampll(double d) {
  if (!(d == d)) return 0;
  if (d >= 9.2e18) return 9200000000000000000LL;
  if (d <= -9.2e18) return -9200000000000000000LL;
  return static_cast<long long>(d);
}
#define luaL_checkint(L, n) (luaL_clampint(luaL_checknumber(L, n)))
#define luaL_checklong(L, n) (static_cast<long>(luaL_clampll(luaL_checknumber(L, n))))
#define luaL_optint(L, n, d) (luaL_clampint(luaL_optnumber(L, n, (lua_Number)(d))))
#define luaL_optlong(L, n, d) \
  (static_cast<long>(luaL_clampll(luaL_optnumber(L, n, (lua_Number)(d)))))
