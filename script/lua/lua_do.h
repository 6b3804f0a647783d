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

// Leaves the current frame: its function's slot and those above get the results from
// firstResult up to L->top, as many as wanted (nil-padded) or all for LUA_MULTRET.
inline void luaD_poscall(lua_State* L, int wanted, Value* firstResult) {
  lua_assert(L->ci > L->base_ci && firstResult >= L->ci->func && firstResult <= L->top);
  Value* res = L->ci->func;
  L->ci--;
  L->base = L->ci->base;
  Value* top = L->top;
  while (wanted != 0 && firstResult < top) {
    *res++ = *firstResult++;
    wanted--;
  }
  while (wanted-- > 0) setnilvalue(res++);
  L->top = res;
}

inline CallInfo* luaD_nextCI(lua_State* L) {
  return L->ci == L->end_ci ? luaD_growCI(L) : ++L->ci;
}

// Calls the native function at func with the arguments up to L->top and leaves its
// results at func, as luaD_poscall. Answers PCRC, or PCRYIELD when it yielded. The part
// of luaD_precall the interpreter's call instruction uses directly.
inline int luaD_callnative(lua_State* L, Value* func, int nresults) {
  if (L->stack_last - L->top <= LUA_MINSTACK) {
    ptrdiff_t funcr = savestack(L, func);
    luaD_growstack(L, LUA_MINSTACK);
    func = restorestack(L, funcr);
  }
  CallInfo* ci = luaD_nextCI(L);
  ci->func = func;
  ci->base = func + 1;
  L->base = ci->base;
  ci->top = L->top + LUA_MINSTACK;
  ci->savedpc = nullptr;
  ci->nresults = nresults;
  ci->tailcalls = 0;
  ci->isLua = 0;
  ci->yielded = 0;
  ci->entry = 0;
  int n = (*clvalue(func)->c.f)(L);
  if (n < 0) return PCRYIELD;
  // A native function answers at most the values it left on its frame.
  lua_assert(!L->ci->isLua && n <= L->top - L->base);
  luaD_poscall(L, nresults, L->top - n);
  return PCRC;
}

int luaD_precall(lua_State* L, Value* func, int nresults);
void luaD_call(lua_State* L, Value* func, int nResults);
void luaD_seterrorobj(lua_State* L, int errcode, Value* oldtop);

// Compiles (text or binary) a chunk through the reader and pushes its closure.
int luaD_protectedparser(lua_State* L, lua_Chunkreader reader, void* data, const char* name);

int luaD_resume(lua_State* L, int nargs);
int luaD_yield(lua_State* L, int nresults);
