// Public C++ interface of the interpreter: states, the value stack, tables, calls,
// registry references, userdata, threads, loading and dumping chunks. It follows the
// shape of the Lua 5.0 C interface so that host code reads the way Lua hosts read.
// No C++ exception leaves these functions except through lua_error/lua_call used
// outside a protected call, which ends in the panic function.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>

struct lua_State;
typedef int (*lua_CFunction)(lua_State* L);

// Reads the next block of a chunk; answers nullptr (or size 0) at the end.
typedef const char* (*lua_Chunkreader)(lua_State* L, void* ud, size_t* size);
// Receives a block of a dumped chunk; answers non-zero to stop.
typedef int (*lua_Chunkwriter)(lua_State* L, const void* p, size_t sz, void* ud);

// File-reading hook used by loadfile/dofile and luaL_loadfile. It answers the whole
// content of the named file in *out and true, or false when the file cannot be read.
// The default reads through stdio; a host plugs its own file system in.
typedef bool (*lua_FileReader)(void* ud, const char* name, char** out, size_t* size);

#define LUA_VERSION "Lua 5.0.2"
#define LUA_SIGNATURE "\033Lua"

#define LUA_MULTRET (-1)

#define LUA_REGISTRYINDEX (-10000)
#define LUA_GLOBALSINDEX (-10001)
#define lua_upvalueindex(i) (LUA_GLOBALSINDEX - (i))

// Error codes.
#define LUA_ERRRUN 1
#define LUA_ERRFILE 2
#define LUA_ERRSYNTAX 3
#define LUA_ERRMEM 4
#define LUA_ERRERR 5

// Basic types.
#define LUA_TNONE (-1)
#define LUA_TNIL 0
#define LUA_TBOOLEAN 1
#define LUA_TLIGHTUSERDATA 2
#define LUA_TNUMBER 3
#define LUA_TSTRING 4
#define LUA_TTABLE 5
#define LUA_TFUNCTION 6
#define LUA_TUSERDATA 7
#define LUA_TTHREAD 8
#define LUA_TWSTRING 9

#define LUA_MINSTACK 20

typedef double lua_Number;

// State manipulation.
lua_State* lua_open(void);
void lua_close(lua_State* L);
lua_State* lua_newthread(lua_State* L);
lua_CFunction lua_atpanic(lua_State* L, lua_CFunction panicf);
void lua_setfilereader(lua_State* L, lua_FileReader reader, void* ud);
bool lua_readfile(lua_State* L, const char* name, char** out, size_t* size);
void lua_freefilebuffer(char* buffer);

// Stack manipulation.
int lua_gettop(lua_State* L);
void lua_settop(lua_State* L, int idx);
void lua_pushvalue(lua_State* L, int idx);
void lua_remove(lua_State* L, int idx);
void lua_insert(lua_State* L, int idx);
void lua_replace(lua_State* L, int idx);
int lua_checkstack(lua_State* L, int sz);
void lua_xmove(lua_State* from, lua_State* to, int n);

// Access functions (stack -> C).
int lua_isnumber(lua_State* L, int idx);
int lua_isstring(lua_State* L, int idx);  // strings, wide strings and numbers
int lua_iscfunction(lua_State* L, int idx);
int lua_isuserdata(lua_State* L, int idx);
int lua_type(lua_State* L, int idx);
const char* lua_typename(lua_State* L, int tp);
int lua_equal(lua_State* L, int idx1, int idx2);
int lua_rawequal(lua_State* L, int idx1, int idx2);
int lua_lessthan(lua_State* L, int idx1, int idx2);
lua_Number lua_tonumber(lua_State* L, int idx);
int lua_toboolean(lua_State* L, int idx);
// Strings and numbers (converted in place); nullptr for anything else, wide strings too.
const char* lua_tostring(lua_State* L, int idx);
size_t lua_strlen(lua_State* L, int idx);              // characters for wide strings
const char16_t* lua_towstring(lua_State* L, int idx);  // wide strings only, else nullptr
lua_CFunction lua_tocfunction(lua_State* L, int idx);
void* lua_touserdata(lua_State* L, int idx);
lua_State* lua_tothread(lua_State* L, int idx);
const void* lua_topointer(lua_State* L, int idx);

// Push functions (C -> stack).
void lua_pushnil(lua_State* L);
void lua_pushnumber(lua_State* L, lua_Number n);
void lua_pushlstring(lua_State* L, const char* s, size_t l);
void lua_pushstring(lua_State* L, const char* s);
void lua_pushwstring(lua_State* L, const char16_t* s, size_t l);
const char* lua_pushvfstring(lua_State* L, const char* fmt, va_list argp);
const char* lua_pushfstring(lua_State* L, const char* fmt, ...);
void lua_pushcclosure(lua_State* L, lua_CFunction fn, int n);
void lua_pushboolean(lua_State* L, int b);
void lua_pushlightuserdata(lua_State* L, void* p);

// Get functions (Lua -> stack).
void lua_gettable(lua_State* L, int idx);
void lua_rawget(lua_State* L, int idx);
void lua_rawgeti(lua_State* L, int idx, int n);
void lua_newtable(lua_State* L);
void* lua_newuserdata(lua_State* L, size_t sz);
int lua_getmetatable(lua_State* L, int objindex);
void lua_getfenv(lua_State* L, int idx);

// Set functions (stack -> Lua).
void lua_settable(lua_State* L, int idx);
void lua_rawset(lua_State* L, int idx);
void lua_rawseti(lua_State* L, int idx, int n);
int lua_setmetatable(lua_State* L, int objindex);
int lua_setfenv(lua_State* L, int idx);

// Load and call.
void lua_call(lua_State* L, int nargs, int nresults);
int lua_pcall(lua_State* L, int nargs, int nresults, int errfunc);
int lua_cpcall(lua_State* L, lua_CFunction func, void* ud);
int lua_load(lua_State* L, lua_Chunkreader reader, void* dt, const char* chunkname);
// Runs body(L, context) for a native function: a C++ exception escaping it becomes a Lua
// error carrying the exception's text ("native function failed" for one that is not a
// std::exception). The interpreter's own errors pass through untouched, so a host never
// needs to tell them apart. Answers what body answers.
int lua_nativecall(lua_State* L, int (*body)(lua_State* L, void* context), void* context);
int lua_dump(lua_State* L, lua_Chunkwriter writer, void* data);

// Coroutines.
int lua_yield(lua_State* L, int nresults);
int lua_resume(lua_State* L, int narg);
// 0 when the thread can be resumed or has finished normally, LUA_YIELD_STATUS when
// suspended in a yield, an error code after an error.
#define LUA_YIELD_STATUS 6
int lua_status(lua_State* L);

// Garbage collection: figures in kilobytes.
int lua_getgcthreshold(lua_State* L);
int lua_getgccount(lua_State* L);
void lua_setgcthreshold(lua_State* L, int newthreshold);
// Runs a full collection now.
void lua_fullgc(lua_State* L);

// Miscellaneous.
const char* lua_version(void);
int lua_error(lua_State* L);  // raises the value on top; does not return
int lua_next(lua_State* L, int idx);
void lua_concat(lua_State* L, int n);

// Debug information used by the libraries for error positions.
struct lua_Debug {
  const char* event;
  const char* name;
  const char* namewhat;  // "global", "local", "field", "method", "upvalue" or ""
  const char* what;      // "Lua", "C", "main", "tail"
  const char* source;
  int currentline;
  int nups;
  int linedefined;
  char short_src[60];
  int i_ci;  // private
};
int lua_getstack(lua_State* L, int level, lua_Debug* ar);
// what: any of "S" "l" "u" "n", optionally starting with ">" (function on top of stack).
int lua_getinfo(lua_State* L, const char* what, lua_Debug* ar);

// Convenience macros.
#define lua_pop(L, n) lua_settop(L, -(n)-1)
#define lua_register(L, n, f) \
  (lua_pushstring(L, n), lua_pushcfunction(L, f), lua_settable(L, LUA_GLOBALSINDEX))
#define lua_pushcfunction(L, f) lua_pushcclosure(L, f, 0)
#define lua_isfunction(L, n) (lua_type(L, n) == LUA_TFUNCTION)
#define lua_istable(L, n) (lua_type(L, n) == LUA_TTABLE)
#define lua_islightuserdata(L, n) (lua_type(L, n) == LUA_TLIGHTUSERDATA)
#define lua_isnil(L, n) (lua_type(L, n) == LUA_TNIL)
#define lua_isboolean(L, n) (lua_type(L, n) == LUA_TBOOLEAN)
#define lua_isnone(L, n) (lua_type(L, n) == LUA_TNONE)
#define lua_isnoneornil(L, n) (lua_type(L, n) <= 0)
#define lua_pushliteral(L, s) lua_pushlstring(L, "" s, (sizeof(s) / sizeof(char)) - 1)
#define lua_getregistry(L) lua_pushvalue(L, LUA_REGISTRYINDEX)
#define lua_getglobal(L, s) (lua_pushstring(L, s), lua_gettable(L, LUA_GLOBALSINDEX))
#define lua_setglobal(L, s) \
  (lua_pushstring(L, s), lua_insert(L, -2), lua_settable(L, LUA_GLOBALSINDEX))
