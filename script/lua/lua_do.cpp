// Calls, returns, the stack and errors: protected execution, stack growth with
// pointer fix-ups, and the coroutine resume/yield protocol.
#include "script/lua/lua_do.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "script/lua/lua_chunk.h"
#include "script/lua/lua_debug.h"
#include "script/lua/lua_func.h"
#include "script/lua/lua_gc.h"
#include "script/lua/lua_parser.h"
#include "script/lua/lua_string.h"
#include "script/lua/lua_table.h"
#include "script/lua/lua_tm.h"
#include "script/lua/lua_vm.h"

void luaD_seterrorobj(lua_State* L, int errcode, Value* oldtop) {
  switch (errcode) {
    case LUA_ERRMEM:
      setsvalue(oldtop, luaS_new(L, "not enough memory"));
      break;
    case LUA_ERRERR:
      setsvalue(oldtop, luaS_new(L, "error in error handling"));
      break;
    default:
      *oldtop = *(L->top - 1);
      break;
  }
  L->top = oldtop + 1;
}

void luaD_throw(lua_State* L, int errcode) {
  if (L->nprotected > 0) throw LuaException{errcode};
  if (G(L)->panic) G(L)->panic(L);
  fprintf(stderr, "lua: unprotected error, aborting\n");
  abort();
}

int luaD_rawrunprotected(lua_State* L, Pfunc f, void* ud) {
  unsigned short oldnCcalls = G(L)->nCcalls;
  L->nprotected++;
  int status = 0;
  try {
    f(L, ud);
  } catch (const LuaException& e) {
    status = e.status;
  } catch (const std::bad_alloc&) {
    status = LUA_ERRMEM;
  }
  L->nprotected--;
  G(L)->nCcalls = oldnCcalls;
  return status;
}

static void CorrectStack(lua_State* L, Value* oldstack) {
  L->top = (L->top - oldstack) + L->stack;
  for (UpVal* up = L->openupval; up; up = up->nextopen) up->v = (up->v - oldstack) + L->stack;
  for (CallInfo* ci = L->base_ci; ci <= L->ci; ci++) {
    ci->top = (ci->top - oldstack) + L->stack;
    ci->base = (ci->base - oldstack) + L->stack;
    ci->func = (ci->func - oldstack) + L->stack;
  }
  L->base = L->ci->base;
}

void luaD_reallocstack(lua_State* L, int newsize) {
  Value* oldstack = L->stack;
  int realsize = newsize + 1 + EXTRA_STACK;
  Value* ns = luaM_newvector<Value>(L, realsize);
  int keep = L->stacksize < realsize ? L->stacksize : realsize;
  for (int i = 0; i < keep; i++) ns[i] = oldstack[i];
  for (int i = keep; i < realsize; i++) setnilvalue(&ns[i]);
  luaM_freevector(L, oldstack, L->stacksize);
  L->stack = ns;
  L->stacksize = realsize;
  L->stack_last = L->stack + newsize;
  CorrectStack(L, oldstack);
  lua_assert(L->top <= L->stack + L->stacksize && L->ci->top <= L->stack + L->stacksize);
}

void luaD_growstack(lua_State* L, int n) {
  int cur = L->stacksize - 1 - EXTRA_STACK;
  int need = static_cast<int>(L->top - L->stack) + n + 1;
  if (cur > LUA_MAXSTACKSIZE) luaD_throw(L, LUA_ERRERR);  // already handling an overflow
  int newsize = cur * 2 > need ? cur * 2 : need;
  if (newsize > LUA_MAXSTACKSIZE) {
    luaD_reallocstack(L, LUA_MAXSTACKSIZE + 200 + n);
    luaG_runerror(L, "stack overflow");
  }
  luaD_reallocstack(L, newsize);
}

CallInfo* luaD_growCI(lua_State* L) {
  if (L->size_ci > LUA_MAXCALLS) luaD_throw(L, LUA_ERRERR);
  lua_assert(L->ci == L->end_ci);
  int newsize = 2 * L->size_ci;
  bool overflow = newsize > LUA_MAXCALLS;
  if (overflow) newsize = LUA_MAXCALLS + 64;
  CallInfo* old = L->base_ci;
  L->base_ci = luaM_reallocvector(L, L->base_ci, L->size_ci, newsize);
  L->ci = L->base_ci + (L->ci - old);
  L->size_ci = newsize;
  L->end_ci = L->base_ci + newsize - 1;
  if (overflow) luaG_runerror(L, "stack overflow");
  return ++L->ci;
}

// Collects the extra arguments of a vararg function into the table "arg" (with n).
static void AdjustVarargs(lua_State* L, int nfixargs, Value* base) {
  int actual = static_cast<int>(L->top - base);
  if (actual < nfixargs) {
    luaD_checkstack(L, nfixargs - actual);
    for (; actual < nfixargs; ++actual) setnilvalue(L->top++);
  }
  int nextra = actual - nfixargs;
  Table* htab = luaH_new(L, nextra, 0);
  for (int i = 0; i < nextra; i++) htab->array[i] = *(L->top - nextra + i);
  setnvalue(luaH_setstr(L, htab, G(L)->argcount), nextra);
  L->top -= nextra;
  sethvalue(L->top, htab);
  L->top++;
}

// Replaces a non-function in the call slot by its "__call" handler, which gets the
// original value as first argument.
static Value* TryFuncTM(lua_State* L, Value* func) {
  const Value* tm = luaT_gettmbyobj(L, func, TM_CALL);
  if (!ttisfunction(tm)) luaG_typeerror(L, func, "call");
  ptrdiff_t funcr = savestack(L, func);
  luaD_checkstack(L, 1);
  func = restorestack(L, funcr);
  for (Value* p = L->top; p > func; p--) *p = *(p - 1);
  L->top++;
  *func = *tm;
  return func;
}

int luaD_precall(lua_State* L, Value* func, int nresults) {
  lua_assert(func >= L->base && func < L->top);
  if (!ttisfunction(func)) func = TryFuncTM(L, func);
  Closure* cl = clvalue(func);
  if (!cl->c.isC) {
    Proto* p = cl->l.p;
    if (L->stack_last - L->top <= p->maxstacksize + 2) {
      ptrdiff_t funcr = savestack(L, func);
      luaD_growstack(L, p->maxstacksize + 2);
      func = restorestack(L, funcr);
    }
    if (p->is_vararg) AdjustVarargs(L, p->numparams, func + 1);
    luaD_nextCI(L);
    luaD_enterluaframe(L, func, p, nresults);
    return PCRLUA;
  }
  return luaD_callnative(L, func, nresults);
}

void luaD_call(lua_State* L, Value* func, int nResults) {
  if (++G(L)->nCcalls >= LUA_MAXCCALLS) {
    if (G(L)->nCcalls == LUA_MAXCCALLS)
      luaG_runerror(L, "C stack overflow");
    else if (G(L)->nCcalls >= LUA_MAXCCALLS + LUA_MAXCCALLS / 8)
      luaD_throw(L, LUA_ERRERR);
  }
  int r = luaD_precall(L, func, nResults);
  if (r == PCRLUA) {
    L->ci->entry = 1;
    luaV_execute(L);
  } else if (r == PCRYIELD) {
    luaG_runerror(L, "attempt to yield across metamethod/C-call boundary");
  }
  G(L)->nCcalls--;
}

int luaD_pcall(lua_State* L, Pfunc func, void* u, ptrdiff_t old_top, ptrdiff_t ef) {
  ptrdiff_t old_ci = L->ci - L->base_ci;
  long old_errfunc = L->errfunc;
  L->errfunc = static_cast<long>(ef);
  int status = luaD_rawrunprotected(L, func, u);
  if (status != 0) {
    Value* oldtop = restorestack(L, old_top);
    luaF_close(L, oldtop);
    luaD_seterrorobj(L, status, oldtop);
    L->ci = L->base_ci + old_ci;
    L->base = L->ci->base;
  }
  L->errfunc = old_errfunc;
  return status;
}

namespace {
struct CallS {
  Value* func;
  int nresults;
};
void FCall(lua_State* L, void* ud) {
  CallS* c = static_cast<CallS*>(ud);
  luaD_call(L, c->func, c->nresults);
}
}  // namespace

int luaD_pcallvalues(lua_State* L, int nargs, int nresults) {
  CallS c;
  c.func = L->top - (nargs + 1);
  c.nresults = nresults;
  return luaD_pcall(L, FCall, &c, savestack(L, c.func), 0);
}

namespace {
struct SParser {
  lua_Chunkreader reader;
  void* data;
  const char* name;
};

void FParser(lua_State* L, void* ud) {
  SParser* p = static_cast<SParser*>(ud);
  std::string text;
  size_t size;
  const char* block;
  while ((block = p->reader(L, p->data, &size)) != nullptr && size > 0) text.append(block, size);
  Proto* tf;
  if (!text.empty() && text[0] == LUA_SIGNATURE[0])
    tf = luaU_undump(L, text.data(), text.size(), p->name);
  else
    tf = luaY_parser(L, text.data(), text.size(), p->name);
  Closure* cl = luaF_newLclosure(L, 0, hvalue(gt(L)));
  cl->l.p = tf;
  setclvalue(L->top, cl);
  L->top++;
}
}  // namespace

int luaD_protectedparser(lua_State* L, lua_Chunkreader reader, void* data, const char* name) {
  SParser p{reader, data, name};
  int status = luaD_pcall(L, FParser, &p, savestack(L, L->top), L->errfunc);
  if (status == 0) luaC_checkGC(L);
  return status;
}

// --- coroutines -------------------------------------------------------------

static void ResumeBody(lua_State* L, void* ud) {
  int nargs = *static_cast<int*>(ud);
  L->baseCcalls = ++G(L)->nCcalls;
  if (L->status == 0) {
    Value* func = L->top - (nargs + 1);
    int r = luaD_precall(L, func, LUA_MULTRET);
    if (r == PCRLUA) {
      L->ci->entry = 1;
      luaV_execute(L);
    }
  } else {
    lua_assert(L->status == LUA_YIELD_STATUS);
    L->status = 0;
    CallInfo* ci = L->ci;
    // Suspended inside the native function that yielded (coroutine.yield or a host's).
    lua_assert(ci->yielded && !ci->isLua && ci > L->base_ci);
    ci->yielded = 0;
    int wanted = ci->nresults;
    luaD_poscall(L, wanted, L->top - nargs);
    if (L->ci->isLua) {
      if (wanted >= 0) L->top = L->ci->top;
      luaV_execute(L);
    }
  }
  G(L)->nCcalls--;
}

int luaD_resume(lua_State* L, int nargs) {
  const char* err = nullptr;
  if (L->status != LUA_YIELD_STATUS) {
    if (L->status != 0 || (L->ci == L->base_ci && L->top - L->base <= nargs))
      err = "cannot resume dead coroutine";
    else if (L->ci != L->base_ci)
      err = "cannot resume non-suspended coroutine";
  }
  if (err) {
    setsvalue(L->top, luaS_new(L, err));
    L->top++;
    return LUA_ERRRUN;
  }
  unsigned short oldbase = L->baseCcalls;
  int status = luaD_rawrunprotected(L, ResumeBody, &nargs);
  L->baseCcalls = oldbase;
  if (status != 0) {
    // The coroutine is dead: keep only the error value.
    L->status = static_cast<uint8_t>(status);
    luaF_close(L, L->stack);
    Value msg = *(L->top - 1);
    if (status == LUA_ERRMEM) setsvalue(&msg, luaS_new(L, "not enough memory"));
    if (status == LUA_ERRERR) setsvalue(&msg, luaS_new(L, "error in error handling"));
    L->ci = L->base_ci;
    L->base = L->ci->base;
    L->top = L->base;
    *L->top++ = msg;
  }
  return status;
}

int luaD_yield(lua_State* L, int nresults) {
  CallInfo* ci = L->ci;
  if (G(L)->nCcalls != L->baseCcalls || L == G(L)->mainthread || ci->isLua)
    luaG_runerror(L, "attempt to yield across metamethod/C-call boundary");
  lua_assert(nresults >= 0 && nresults <= L->top - L->base);
  Value* from = L->top - nresults;
  Value* to = L->base;
  for (int i = 0; i < nresults; i++) to[i] = from[i];
  L->top = to + nresults;
  L->status = LUA_YIELD_STATUS;
  ci->yielded = 1;
  return -1;
}
