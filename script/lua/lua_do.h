// Calls, returns, the stack and errors: protected execution, stack growth with
// pointer fix-ups, and the coroutine resume/yield protocol.
#pragma once

#include "script/lua/lua_state.h"

// Thrown to unwind to the nearest protected call; the error value is on the stack top.
struct LuaException {
  int status;
};

enum { PCRLUA = 0, PCRC = 1, PCRYIELD = 2 };

using Pfunc = void (*)(lua_State* L, void* ud);

inline ptrdiff_t savestack(lua_State* L, const Value* p) {
  return p - L->stack;
}
inline Value* restorestack(lua_State* L, ptrdiff_t n) {
  return L->stack + n;
}

[[noreturn]] void luaD_throw(lua_State* L, int errcode);
int luaD_rawrunprotected(lua_State* L, Pfunc f, void* ud);
int luaD_pcall(lua_State* L, Pfunc func, void* u, ptrdiff_t oldtop, ptrdiff_t ef);
// Calls the function below the top nargs values, protected; errors are left as the
// single result at the function's slot. Answers the status.
int luaD_pcallvalues(lua_State* L, int nargs, int nresults);

void luaD_reallocstack(lua_State* L, int newsize);
void luaD_growstack(lua_State* L, int n);
inline void luaD_checkstack(lua_State* L, int n) {
  if (L->stack_last - L->top <= n) luaD_growstack(L, n);
}
CallInfo* luaD_growCI(lua_State* L);

int luaD_precall(lua_State* L, Value* func, int nresults);
void luaD_poscall(lua_State* L, int wanted, Value* firstResult);
void luaD_call(lua_State* L, Value* func, int nResults);
void luaD_seterrorobj(lua_State* L, int errcode, Value* oldtop);

// Compiles (text or binary) a chunk through the reader and pushes its closure.
int luaD_protectedparser(lua_State* L, lua_Chunkreader reader, void* data, const char* name);

int luaD_resume(lua_State* L, int nargs);
int luaD_yield(lua_State* L, int nresults);
