// The public interface: every function checks its stack indices and works only
// through the internal modules.
#include "script/lua/lua_api.h"

#include <cstdlib>
#include <exception>
#include <string>

#include "script/lua/lua_aux.h"
#include "script/lua/lua_chunk.h"
#include "script/lua/lua_debug.h"
#include "script/lua/lua_do.h"
#include "script/lua/lua_func.h"
#include "script/lua/lua_gc.h"
#include "script/lua/lua_string.h"
#include "script/lua/lua_table.h"
#include "script/lua/lua_tm.h"
#include "script/lua/lua_vm.h"

// A host or library misusing the interface (an index outside the frame, a push past the
// room the frame was given, popping more than the frame holds) stops the test build at
// the faulty call; release builds trust the caller as Lua hosts do.
#define api_check(L, c) lua_assert(c)
// At least n values above the frame's base.
#define api_checknelems(L, n) api_check(L, (n) <= L->top - L->base)

// Address of a stack index: positive indices count from the frame's base (beyond the top
// they read as "no value"), negative ones from the top, and the pseudo-indices name the
// registry, the globals and the running native function's upvalues.
static Value* Index2Adr(lua_State* L, int idx) {
  if (idx > 0) {
    api_check(L, idx <= L->ci->top - L->base);
    Value* o = L->base + (idx - 1);
    if (o >= L->top) return const_cast<Value*>(&luaO_nilobject);
    return o;
  }
  if (idx > LUA_REGISTRYINDEX) {
    api_check(L, idx != 0 && -idx <= L->top - L->base);
    return L->top + idx;
  }
  switch (idx) {
    case LUA_REGISTRYINDEX:
      return registry(L);
    case LUA_GLOBALSINDEX:
      return gt(L);
    default: {
      // Upvalues exist only for a running native function.
      api_check(L, !L->ci->isLua && ttisfunction(L->ci->func));
      if (!ttisfunction(L->ci->func)) return const_cast<Value*>(&luaO_nilobject);
      Closure* func = clvalue(L->ci->func);
      idx = LUA_GLOBALSINDEX - idx;
      if (func->c.isC && idx <= func->c.nupvalues) return &func->c.upvalue[idx - 1];
      return const_cast<Value*>(&luaO_nilobject);
    }
  }
}

// A push stays inside the frame: a native function has LUA_MINSTACK slots and asks
// lua_checkstack for more.
static inline void api_incr_top(lua_State* L) {
  api_check(L, L->top < L->ci->top);
  L->top++;
}

lua_CFunction lua_atpanic(lua_State* L, lua_CFunction panicf) {
  lua_CFunction old = G(L)->panic;
  G(L)->panic = panicf;
  return old;
}

void lua_setfilereader(lua_State* L, lua_FileReader reader, void* ud) {
  G(L)->filereader = reader;
  G(L)->filereaderud = ud;
}

bool lua_readfile(lua_State* L, const char* name, char** out, size_t* size) {
  *out = nullptr;
  *size = 0;
  if (!G(L)->filereader) return false;
  return G(L)->filereader(G(L)->filereaderud, name, out, size);
}

void lua_freefilebuffer(char* buffer) {
  free(buffer);
}

lua_State* lua_newthread(lua_State* L) {
  luaC_checkGC(L);
  lua_State* L1 = luaE_newthread(L);
  setthvalue(L->top, L1);
  api_incr_top(L);
  return L1;
}

int lua_gettop(lua_State* L) {
  return static_cast<int>(L->top - L->base);
}

void lua_settop(lua_State* L, int idx) {
  if (idx >= 0) {
    api_check(L, idx <= L->stack_last - L->base);
    while (L->top < L->base + idx) setnilvalue(L->top++);
    L->top = L->base + idx;
  } else {
    api_check(L, -(idx + 1) <= L->top - L->base);
    L->top += idx + 1;
  }
}

// The index of remove, insert and replace names a slot of the frame (not "no value").
static Value* FrameSlot(lua_State* L, int idx) {
  Value* p = Index2Adr(L, idx);
  api_check(L, p != &luaO_nilobject);
  return p;
}

void lua_remove(lua_State* L, int idx) {
  Value* p = FrameSlot(L, idx);
  while (++p < L->top) *(p - 1) = *p;
  L->top--;
}

void lua_insert(lua_State* L, int idx) {
  Value* p = FrameSlot(L, idx);
  for (Value* q = L->top; q > p; q--) *q = *(q - 1);
  *p = *L->top;
}

void lua_replace(lua_State* L, int idx) {
  api_checknelems(L, 1);
  *FrameSlot(L, idx) = *(L->top - 1);
  L->top--;
}

void lua_pushvalue(lua_State* L, int idx) {
  *L->top = *Index2Adr(L, idx);
  api_incr_top(L);
}

int lua_checkstack(lua_State* L, int size) {
  if (size < 0 || (L->top - L->base) + size > LUA_MAXSTACKSIZE) return 0;
  luaD_checkstack(L, size);
  if (L->ci->top < L->top + size) L->ci->top = L->top + size;
  return 1;
}

void lua_xmove(lua_State* from, lua_State* to, int n) {
  if (from == to) return;
  api_checknelems(from, n);
  luaD_checkstack(to, n);
  from->top -= n;
  for (int i = 0; i < n; i++) {
    *to->top = from->top[i];
    api_incr_top(to);
  }
}

int lua_type(lua_State* L, int idx) {
  Value* o = Index2Adr(L, idx);
  return o == &luaO_nilobject ? LUA_TNONE : o->tt;
}

const char* lua_typename(lua_State*, int t) {
  return t == LUA_TNONE ? "no value" : (t >= 0 && t <= LUA_TWSTRING ? luaT_typenames[t] : "?");
}

int lua_iscfunction(lua_State* L, int idx) {
  Value* o = Index2Adr(L, idx);
  return ttisfunction(o) && clvalue(o)->c.isC;
}

int lua_isnumber(lua_State* L, int idx) {
  double n;
  return luaV_tonumber(Index2Adr(L, idx), &n);
}

int lua_isstring(lua_State* L, int idx) {
  int t = lua_type(L, idx);
  return t == LUA_TSTRING || t == LUA_TNUMBER || t == LUA_TWSTRING;
}

int lua_isuserdata(lua_State* L, int idx) {
  Value* o = Index2Adr(L, idx);
  return ttisuserdata(o) || ttislightuserdata(o);
}

int lua_rawequal(lua_State* L, int index1, int index2) {
  Value* o1 = Index2Adr(L, index1);
  Value* o2 = Index2Adr(L, index2);
  return (o1 == &luaO_nilobject || o2 == &luaO_nilobject) ? 0 : luaO_rawequal(o1, o2);
}

int lua_equal(lua_State* L, int index1, int index2) {
  Value* o1 = Index2Adr(L, index1);
  Value* o2 = Index2Adr(L, index2);
  return (o1 == &luaO_nilobject || o2 == &luaO_nilobject) ? 0 : equalobj(L, o1, o2);
}

int lua_lessthan(lua_State* L, int index1, int index2) {
  Value* o1 = Index2Adr(L, index1);
  Value* o2 = Index2Adr(L, index2);
  return (o1 == &luaO_nilobject || o2 == &luaO_nilobject) ? 0 : luaV_lessthan(L, o1, o2);
}

lua_Number lua_tonumber(lua_State* L, int idx) {
  const Value* o = Index2Adr(L, idx);
  if (ttisnumber(o)) return o->n;
  double n;
  return luaV_tonumber(o, &n) ? n : 0;
}

int lua_toboolean(lua_State* L, int idx) {
  return !l_isfalse(Index2Adr(L, idx));
}

const char* lua_tostring(lua_State* L, int idx) {
  Value* o = Index2Adr(L, idx);
  if (ttisstring(o)) return tsvalue(o)->data();
  if (ttisnumber(o) && o != &luaO_nilobject) {
    luaV_tostring(L, o);
    luaC_checkGC(L);
    return tsvalue(Index2Adr(L, idx))->data();
  }
  return nullptr;
}

size_t lua_strlen(lua_State* L, int idx) {
  Value* o = Index2Adr(L, idx);
  if (ttisstring(o) || ttiswstring(o)) return tsvalue(o)->len;
  if (ttisnumber(o)) {
    char buf[32];
    return static_cast<size_t>(luaO_num2str(o->n, buf));
  }
  return 0;
}

const char16_t* lua_towstring(lua_State* L, int idx) {
  Value* o = Index2Adr(L, idx);
  return ttiswstring(o) ? tsvalue(o)->wdata() : nullptr;
}

lua_CFunction lua_tocfunction(lua_State* L, int idx) {
  Value* o = Index2Adr(L, idx);
  return (ttisfunction(o) && clvalue(o)->c.isC) ? clvalue(o)->c.f : nullptr;
}

void* lua_touserdata(lua_State* L, int idx) {
  Value* o = Index2Adr(L, idx);
  if (ttisuserdata(o)) return uvalue(o)->data();
  if (ttislightuserdata(o)) return o->p;
  return nullptr;
}

lua_State* lua_tothread(lua_State* L, int idx) {
  Value* o = Index2Adr(L, idx);
  return ttisthread(o) ? thvalue(o) : nullptr;
}

const void* lua_topointer(lua_State* L, int idx) {
  Value* o = Index2Adr(L, idx);
  switch (o->tt) {
    case LUA_TTABLE:
    case LUA_TFUNCTION:
    case LUA_TTHREAD:
      return o->gc;
    case LUA_TUSERDATA:
    case LUA_TLIGHTUSERDATA:
      return lua_touserdata(L, idx);
    default:
      return nullptr;
  }
}

void lua_pushnil(lua_State* L) {
  setnilvalue(L->top);
  api_incr_top(L);
}

void lua_pushnumber(lua_State* L, lua_Number n) {
  setnvalue(L->top, n);
  api_incr_top(L);
}

void lua_pushlstring(lua_State* L, const char* s, size_t len) {
  setsvalue(L->top, luaS_newlstr(L, s, len));
  api_incr_top(L);
  luaC_checkGC(L);
}

void lua_pushstring(lua_State* L, const char* s) {
  if (s == nullptr)
    lua_pushnil(L);
  else
    lua_pushlstring(L, s, strlen(s));
}

void lua_pushwstring(lua_State* L, const char16_t* s, size_t len) {
  setsvalue(L->top, luaS_newwstr(L, s, len));
  api_incr_top(L);
  luaC_checkGC(L);
}

const char* lua_pushvfstring(lua_State* L, const char* fmt, va_list argp) {
  const char* r = luaO_pushvfstring(L, fmt, argp);
  if (L->top > L->ci->top) L->ci->top = L->top;
  luaC_checkGC(L);
  return r;
}

const char* lua_pushfstring(lua_State* L, const char* fmt, ...) {
  va_list argp;
  va_start(argp, fmt);
  const char* r = lua_pushvfstring(L, fmt, argp);
  va_end(argp);
  return r;
}

void lua_pushcclosure(lua_State* L, lua_CFunction fn, int n) {
  api_checknelems(L, n);
  Closure* cl = luaF_newCclosure(L, n, hvalue(gt(L)));
  cl->c.f = fn;
  L->top -= n;
  for (int i = 0; i < n; i++) cl->c.upvalue[i] = L->top[i];
  setclvalue(L->top, cl);
  api_incr_top(L);
  luaC_checkGC(L);
}

void lua_pushboolean(lua_State* L, int b) {
  setbvalue(L->top, b != 0);
  api_incr_top(L);
}

void lua_pushlightuserdata(lua_State* L, void* p) {
  setpvalue(L->top, p);
  api_incr_top(L);
}

void lua_gettable(lua_State* L, int idx) {
  api_checknelems(L, 1);
  Value* t = Index2Adr(L, idx);
  Value tv = *t;
  luaV_gettable(L, &tv, L->top - 1, L->top - 1);
}

void lua_rawget(lua_State* L, int idx) {
  api_checknelems(L, 1);
  Value* t = Index2Adr(L, idx);
  if (!ttistable(t)) luaG_runerror(L, "table expected");
  *(L->top - 1) = *luaH_get(hvalue(t), L->top - 1);
}

void lua_rawgeti(lua_State* L, int idx, int n) {
  Value* o = Index2Adr(L, idx);
  if (!ttistable(o)) luaG_runerror(L, "table expected");
  *L->top = *luaH_getnum(hvalue(o), n);
  api_incr_top(L);
}

void lua_newtable(lua_State* L) {
  sethvalue(L->top, luaH_new(L, 0, -1));
  api_incr_top(L);
  luaC_checkGC(L);
}

int lua_getmetatable(lua_State* L, int objindex) {
  Table* mt = luaT_getmetatable(L, Index2Adr(L, objindex));
  if (!mt) return 0;
  sethvalue(L->top, mt);
  api_incr_top(L);
  return 1;
}

void lua_getfenv(lua_State* L, int idx) {
  Value* o = Index2Adr(L, idx);
  if (ttisfunction(o))
    sethvalue(L->top, clvalue(o)->c.env);
  else
    *L->top = *gt(L);
  api_incr_top(L);
}

void lua_settable(lua_State* L, int idx) {
  api_checknelems(L, 2);
  Value t = *Index2Adr(L, idx);
  luaV_settable(L, &t, L->top - 2, L->top - 1);
  L->top -= 2;
}

void lua_rawset(lua_State* L, int idx) {
  api_checknelems(L, 2);
  Value* t = Index2Adr(L, idx);
  if (!ttistable(t)) luaG_runerror(L, "table expected");
  hvalue(t)->flags = 0;
  *luaH_set(L, hvalue(t), L->top - 2) = *(L->top - 1);
  L->top -= 2;
}

void lua_rawseti(lua_State* L, int idx, int n) {
  api_checknelems(L, 1);
  Value* o = Index2Adr(L, idx);
  if (!ttistable(o)) luaG_runerror(L, "table expected");
  *luaH_setnum(L, hvalue(o), n) = *(L->top - 1);
  L->top--;
}

int lua_setmetatable(lua_State* L, int objindex) {
  api_checknelems(L, 1);
  Value* obj = Index2Adr(L, objindex);
  Value* mt = L->top - 1;
  Table* h = ttisnil(mt) ? nullptr : (ttistable(mt) ? hvalue(mt) : nullptr);
  int res = 1;
  if (!ttisnil(mt) && !h) {
    res = 0;
  } else if (ttistable(obj)) {
    hvalue(obj)->metatable = h;
  } else if (ttisuserdata(obj)) {
    uvalue(obj)->metatable = h;
    if (h) G(L)->udatawithmt = true;
  } else {
    res = 0;
  }
  L->top--;
  return res;
}

int lua_setfenv(lua_State* L, int idx) {
  api_checknelems(L, 1);
  Value* o = Index2Adr(L, idx);
  int res = 0;
  if (ttistable(L->top - 1) && ttisfunction(o)) {
    clvalue(o)->c.env = hvalue(L->top - 1);
    res = 1;
  }
  L->top--;
  return res;
}

void lua_call(lua_State* L, int nargs, int nresults) {
  api_checknelems(L, nargs + 1);
  Value* func = L->top - (nargs + 1);
  luaD_call(L, func, nresults);
  if (nresults == LUA_MULTRET && L->top >= L->ci->top) L->ci->top = L->top;
}

namespace {
struct CallS {
  ptrdiff_t func;
  int nresults;
};
void FCall(lua_State* L, void* ud) {
  CallS* c = static_cast<CallS*>(ud);
  luaD_call(L, restorestack(L, c->func), c->nresults);
}
struct CCallS {
  lua_CFunction func;
  void* ud;
};
void FCCall(lua_State* L, void* ud) {
  CCallS* c = static_cast<CCallS*>(ud);
  Closure* cl = luaF_newCclosure(L, 0, hvalue(gt(L)));
  cl->c.f = c->func;
  setclvalue(L->top, cl);
  api_incr_top(L);
  setpvalue(L->top, c->ud);
  api_incr_top(L);
  luaD_call(L, L->top - 2, 0);
}
}  // namespace

int lua_pcall(lua_State* L, int nargs, int nresults, int errfunc) {
  api_checknelems(L, nargs + 1);
  ptrdiff_t func = 0;
  if (errfunc != 0) func = savestack(L, Index2Adr(L, errfunc));
  CallS c;
  c.func = savestack(L, L->top - (nargs + 1));
  c.nresults = nresults;
  int status = luaD_pcall(L, FCall, &c, c.func, func);
  if (nresults == LUA_MULTRET && L->top >= L->ci->top) L->ci->top = L->top;
  return status;
}

int lua_cpcall(lua_State* L, lua_CFunction func, void* ud) {
  CCallS c{func, ud};
  return luaD_pcall(L, FCCall, &c, savestack(L, L->top), 0);
}

int lua_nativecall(lua_State* L, int (*body)(lua_State* L, void* context), void* context) {
  std::string message;
  try {
    return body(L, context);
  } catch (const LuaException&) {
    throw;  // the interpreter's own unwinding
  } catch (const std::exception& e) {
    message = e.what();
  } catch (...) {
    message = "native function failed";
  }
  // Raised outside the handlers so that nothing of the C++ exception is live any more;
  // the message names the calling script line as every library error does.
  luaL_error(L, "%s", message.c_str());
}

int lua_load(lua_State* L, lua_Chunkreader reader, void* data, const char* chunkname) {
  if (!chunkname) chunkname = "?";
  int status = luaD_protectedparser(L, reader, data, chunkname);
  if (L->top > L->ci->top) L->ci->top = L->top;
  return status;
}

int lua_dump(lua_State* L, lua_Chunkwriter writer, void* data) {
  api_checknelems(L, 1);
  Value* o = L->top - 1;
  if (!isLfunction(o)) return 0;
  luaU_dump(L, clvalue(o)->l.p, writer, data);
  return 1;
}

int lua_status(lua_State* L) {
  return L->status;
}

int lua_yield(lua_State* L, int nresults) {
  api_checknelems(L, nresults);
  return luaD_yield(L, nresults);
}

int lua_resume(lua_State* L, int narg) {
  api_checknelems(L, narg);
  int status = luaD_resume(L, narg);
  if (L->top > L->ci->top) L->ci->top = L->top;
  return status;
}

int lua_getgcthreshold(lua_State* L) {
  return static_cast<int>(G(L)->GCthreshold >> 10);
}
int lua_getgccount(lua_State* L) {
  return static_cast<int>(G(L)->totalbytes >> 10);
}

void lua_setgcthreshold(lua_State* L, int newthreshold) {
  if (newthreshold < 0) newthreshold = 0;
  if (static_cast<size_t>(newthreshold) > (static_cast<size_t>(-1) >> 11))
    G(L)->GCthreshold = static_cast<size_t>(-1) >> 1;
  else
    G(L)->GCthreshold = static_cast<size_t>(newthreshold) << 10;
  luaC_checkGC(L);
}

void lua_fullgc(lua_State* L) {
  luaC_collectgarbage(L);
}

const char* lua_version(void) {
  return LUA_VERSION;
}

int lua_error(lua_State* L) {
  luaG_errormsg(L);
}

int lua_next(lua_State* L, int idx) {
  Value* t = Index2Adr(L, idx);
  if (!ttistable(t)) luaG_runerror(L, "table expected");
  api_checknelems(L, 1);
  bool more = luaH_next(L, hvalue(t), L->top - 1, L->top);
  if (more) {
    api_incr_top(L);
    return 1;
  }
  L->top--;
  return 0;
}

void lua_concat(lua_State* L, int n) {
  api_checknelems(L, n);
  if (n >= 2) {
    luaV_concat(L, n, static_cast<int>(L->top - L->base) - 1);
    L->top -= n - 1;
    luaC_checkGC(L);
  } else if (n == 0) {
    setsvalue(L->top, luaS_newlstr(L, "", 0));
    api_incr_top(L);
  }
}

void* lua_newuserdata(lua_State* L, size_t size) {
  Udata* u = luaS_newudata(L, size);
  setuvalue(L->top, u);
  api_incr_top(L);
  luaC_checkGC(L);
  return u->data();
}
