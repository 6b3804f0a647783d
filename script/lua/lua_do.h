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

// Fills in the frame of Lua function p called at func, its arguments from func + 1 up to
// L->top: extra fixed arguments are dropped, missing ones and the other registers become
// nil. The caller has made room for p->maxstacksize registers, collected the varargs of a
// vararg function and made the new call-info entry current (L->ci). Shared by
// luaD_precall and the interpreter's in-place call so that both build the same frame.
inline void luaD_enterluaframe(lua_State* L, Value* func, const Proto* p, int nresults) {
  CallInfo* ci = L->ci;
  Value* base = func + 1;
  if (!p->is_vararg && L->top > base + p->numparams) L->top = base + p->numparams;
  ci->func = func;
  ci->base = base;
  ci->top = base + p->maxstacksize;
  lua_assert(ci > L->base_ci && ci <= L->end_ci);
  lua_assert(ci->top <= L->stack_last && L->top <= ci->top);
  ci->savedpc = p->exec;
  ci->nresults = nresults;
  ci->tailcalls = 0;
  ci->isLua = 1;
  ci->yielded = 0;
  ci->entry = 0;
  L->base = base;
  for (Value* st = L->top; st < ci->top; st++) setnilvalue(st);
  L->top = ci->top;
}

int luaD_precall(lua_State* L, Value* func, int nresults);
void luaD_poscall(lua_State* L, int wanted, Value* firstResult);
void luaD_call(lua_State* L, Value* func, int nResults);
void luaD_seterrorobj(lua_State* L, int errcode, Value* oldtop);

// Compiles (text or binary) a chunk through the reader and pushes its closure.
int luaD_protectedparser(lua_State* L, lua_Chunkreader reader, void* data, const char* name);

int luaD_resume(lua_State* L, int nargs);
int luaD_yield(lua_State* L, int nresults);
