// Prototypes, closures and upvalues.
#include "script/lua/lua_func.h"

#include <new>

#include "script/lua/lua_exec.h"
#include "script/lua/lua_gc.h"

Proto* luaF_newproto(lua_State* L) {
  Proto* f = static_cast<Proto*>(luaM_alloc(L, sizeof(Proto)));
  new (f) Proto();
  f->tt = LUAI_TPROTO;
  f->marked = 0;
  luaC_link(L, f);
  return f;
}

void luaF_freeproto(lua_State* L, Proto* f) {
  luaM_freevector(L, f->code, f->sizecode);
  luaM_freevector(L, f->exec, f->sizecode);
  luaM_freevector(L, f->p, f->sizep);
  luaM_freevector(L, f->k, f->sizek);
  luaM_freevector(L, f->lineinfo, f->sizelineinfo);
  luaM_freevector(L, f->locvars, f->sizelocvars);
  luaM_freevector(L, f->upvalues, f->sizeupvalues);
  luaM_free(L, f, sizeof(Proto));
}

static size_t CSize(int n) {
  return sizeof(CClosure) + sizeof(Value) * (n > 0 ? n - 1 : 0);
}
static size_t LSize(int n) {
  return sizeof(LClosure) + sizeof(UpVal*) * (n > 0 ? n - 1 : 0);
}

size_t luaF_closuresize(const Closure* c) {
  return c->c.isC ? CSize(c->c.nupvalues) : LSize(c->l.nupvalues);
}

Closure* luaF_newCclosure(lua_State* L, int nelems, Table* env) {
  Closure* c = static_cast<Closure*>(luaM_alloc(L, CSize(nelems)));
  c->c.tt = LUA_TFUNCTION;
  c->c.marked = 0;
  c->c.isC = 1;
  c->c.nupvalues = static_cast<uint8_t>(nelems);
  c->c.env = env;
  c->c.f = nullptr;
  for (int i = 0; i < nelems; i++) setnilvalue(&c->c.upvalue[i]);
  luaC_link(L, &c->c);
  return c;
}

Closure* luaF_newLclosure(lua_State* L, int nelems, Table* env) {
  Closure* c = static_cast<Closure*>(luaM_alloc(L, LSize(nelems)));
  c->l.tt = LUA_TFUNCTION;
  c->l.marked = 0;
  c->l.isC = 0;
  c->l.nupvalues = static_cast<uint8_t>(nelems);
  c->l.env = env;
  c->l.p = nullptr;
  for (int i = 0; i < nelems; i++) c->l.upvals[i] = nullptr;
  luaC_link(L, &c->l);
  return c;
}

void luaF_freeclosure(lua_State* L, Closure* c) {
  luaM_free(L, c, luaF_closuresize(c));
}

UpVal* luaF_findupval(lua_State* L, Value* level) {
  lua_assert(level >= L->stack && level < L->stack + L->stacksize);
  UpVal** pp = &L->openupval;
  UpVal* p;
  while ((p = *pp) != nullptr && p->v >= level) {
    if (p->v == level) return p;
    pp = &p->nextopen;
  }
  UpVal* v = static_cast<UpVal*>(luaM_alloc(L, sizeof(UpVal)));
  v->tt = LUAI_TUPVAL;
  v->marked = 0;
  v->v = level;
  setnilvalue(&v->value);
  v->nextopen = *pp;
  *pp = v;
  luaC_link(L, v);
  return v;
}

void luaF_close(lua_State* L, Value* level) {
  UpVal* p;
  while ((p = L->openupval) != nullptr && p->v >= level) {
    p->value = *p->v;
    p->v = &p->value;
    L->openupval = p->nextopen;
    p->nextopen = nullptr;
  }
}

const char* luaF_getlocalname(const Proto* f, int local_number, int pc) {
  for (int i = 0; i < f->sizelocvars && f->locvars[i].startpc <= pc; i++) {
    if (pc < f->locvars[i].endpc) {
      local_number--;
      if (local_number == 0) return f->locvars[i].varname->data();
    }
  }
  return nullptr;
}
