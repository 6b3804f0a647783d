// The collector: stop-the-world mark and sweep with weak tables and userdata finalizers.
#include "script/lua/lua_gc.h"

#include <vector>

#include "script/lua/lua_do.h"
#include "script/lua/lua_func.h"
#include "script/lua/lua_string.h"
#include "script/lua/lua_table.h"

void luaC_link(lua_State* L, GCObject* o) {
  global_State* g = G(L);
  lua_assert(!(o->marked & GC_MARKED) && o->tt >= LUA_TTABLE && o->tt <= LUAI_TUPVAL &&
             o->tt != LUA_TWSTRING);
  o->gcnext = g->rootgc;
  g->rootgc = o;
}

namespace {

struct Marker {
  global_State* g;
  std::vector<GCObject*> gray;
  std::vector<Table*> weak;  // weak tables with their mode bits in gclist

  // Marks o and queues it when it refers to other objects. An upvalue's value is marked at
  // once: a value is never an upvalue, so this goes one level deep at most.
  void MarkObject(GCObject* o) {
    if (o->marked & GC_MARKED) return;
    o->marked |= GC_MARKED;
    switch (o->tt) {
      case LUA_TSTRING:
      case LUA_TWSTRING:
        return;
      case LUAI_TUPVAL:
        MarkValue(static_cast<UpVal*>(o)->v);
        return;
      default:
        gray.push_back(o);
    }
  }
  void MarkValue(const Value* v) {
    if (iscollectable(v)) MarkObject(v->gc);
  }
  // A table's or a stack's value: a function is traversed at once (its references are
  // queued, not followed), so a table of many closures does not queue them all.
  void MarkMember(const Value* v) {
    if (v->tt == LUA_TFUNCTION) {
      GCObject* o = v->gc;
      if (o->marked & GC_MARKED) return;
      o->marked |= GC_MARKED;
      TraverseClosure(reinterpret_cast<Closure*>(o));
    } else if (iscollectable(v)) {
      MarkObject(v->gc);
    }
  }

  static bool IsCleared(const Value* v) {
    if (!iscollectable(v)) return false;
    if (v->tt == LUA_TSTRING || v->tt == LUA_TWSTRING) return false;  // strings stay
    return !(v->gc->marked & GC_MARKED);
  }

  void TraverseTable(Table* h) {
    bool weakkey = false, weakvalue = false;
    if (h->metatable) {
      MarkObject(h->metatable);
      const Value* mode = luaH_getstr(h->metatable, g->tmname[TM_MODE]);
      if (ttisstring(mode)) {
        weakkey = strchr(tsvalue(mode)->data(), 'k') != nullptr;
        weakvalue = strchr(tsvalue(mode)->data(), 'v') != nullptr;
        if (weakkey || weakvalue) {
          h->gclist = reinterpret_cast<GCObject*>(
              static_cast<uintptr_t>((weakkey ? 1 : 0) | (weakvalue ? 2 : 0)));
          weak.push_back(h);
        }
      }
    }
    if (!weakvalue) {
      for (int i = 0; i < h->sizearray; i++) MarkMember(&h->array[i]);
    } else {
      for (int i = 0; i < h->sizearray; i++) {
        if (ttisstring(&h->array[i]) || ttiswstring(&h->array[i])) MarkValue(&h->array[i]);
      }
    }
    if (luaH_hashempty(h)) return;
    int size = 1 << h->lsizenode;
    for (int i = 0; i < size; i++) {
      Node* n = &h->node[i];
      if (ttisnil(&n->val)) continue;
      Value key = nodekey(&n->key);
      if (!weakkey || ttisstring(&key) || ttiswstring(&key)) MarkValue(&key);
      if (!weakvalue || ttisstring(&n->val) || ttiswstring(&n->val)) MarkMember(&n->val);
    }
  }

  void TraverseProto(Proto* f) {
    if (f->source) MarkObject(f->source);
    for (int i = 0; i < f->sizek; i++) MarkValue(&f->k[i]);
    for (int i = 0; i < f->sizeupvalues; i++)
      if (f->upvalues[i]) MarkObject(f->upvalues[i]);
    for (int i = 0; i < f->sizep; i++)
      if (f->p[i]) MarkObject(f->p[i]);
    for (int i = 0; i < f->sizelocvars; i++)
      if (f->locvars[i].varname) MarkObject(f->locvars[i].varname);
  }

  void TraverseClosure(Closure* cl) {
    if (cl->c.env) MarkObject(cl->c.env);
    if (cl->c.isC) {
      for (int i = 0; i < cl->c.nupvalues; i++) MarkValue(&cl->c.upvalue[i]);
    } else {
      if (cl->l.p) MarkObject(cl->l.p);
      for (int i = 0; i < cl->l.nupvalues; i++)
        if (cl->l.upvals[i]) MarkObject(cl->l.upvals[i]);
    }
  }

  void TraverseThread(lua_State* L1) {
    lua_assert(L1->top >= L1->stack && L1->top <= L1->stack + L1->stacksize);
    lua_assert(L1->ci >= L1->base_ci && L1->ci <= L1->end_ci);
    MarkValue(&L1->gt);
    for (Value* o = L1->stack; o < L1->top; o++) MarkMember(o);
    // Slots above the top are dead: clear them so stale references never resurface.
    for (Value* o = L1->top; o < L1->stack + L1->stacksize; o++) setnilvalue(o);
    for (UpVal* u = L1->openupval; u; u = u->nextopen) MarkObject(u);
  }

  void Propagate() {
    while (!gray.empty()) {
      GCObject* o = gray.back();
      gray.pop_back();
      lua_assert(o->marked & GC_MARKED);
      switch (o->tt) {
        case LUA_TTABLE:
          TraverseTable(static_cast<Table*>(o));
          break;
        case LUA_TFUNCTION:
          TraverseClosure(reinterpret_cast<Closure*>(o));
          break;
        case LUA_TUSERDATA:
          if (static_cast<Udata*>(o)->metatable) MarkObject(static_cast<Udata*>(o)->metatable);
          break;
        case LUA_TTHREAD:
          TraverseThread(reinterpret_cast<lua_State*>(o));
          break;
        case LUAI_TPROTO:
          TraverseProto(static_cast<Proto*>(o));
          break;
        default:
          break;
      }
    }
  }

  void ClearWeak() {
    for (Table* h : weak) {
      uintptr_t mode = reinterpret_cast<uintptr_t>(h->gclist);
      lua_assert(mode >= 1 && mode <= 3);
      h->gclist = nullptr;
      bool weakkey = mode & 1, weakvalue = mode & 2;
      if (weakvalue) {
        for (int i = 0; i < h->sizearray; i++)
          if (IsCleared(&h->array[i])) setnilvalue(&h->array[i]);
      }
      if (luaH_hashempty(h)) continue;
      int size = 1 << h->lsizenode;
      for (int i = 0; i < size; i++) {
        Node* n = &h->node[i];
        if (ttisnil(&n->val)) continue;
        Value key = nodekey(&n->key);
        if ((weakkey && IsCleared(&key)) || (weakvalue && IsCleared(&n->val))) setnilvalue(&n->val);
      }
    }
  }
};

const Value* GCMetamethod(global_State* g, Udata* u) {
  if (!u->metatable) return nullptr;
  const Value* tm = luaH_getstr(u->metatable, g->tmname[TM_GC]);
  return ttisnil(tm) ? nullptr : tm;
}

// Moves dead userdata that have a finalizer to the tmudata list and marks them so
// that they (and what they refer to) live until the finalizer has run.
void SeparateUdata(global_State* g, Marker& m) {
  GCObject** p = &g->rootgc;
  GCObject* collected = nullptr;
  while (GCObject* curr = *p) {
    if (curr->tt == LUA_TUSERDATA && !(curr->marked & (GC_MARKED | GC_FINALIZED)) &&
        GCMetamethod(g, static_cast<Udata*>(curr))) {
      *p = curr->gcnext;
      curr->gcnext = collected;
      collected = curr;
    } else {
      p = &curr->gcnext;
    }
  }
  // Append in order so that finalizers run in reverse order of creation.
  while (collected) {
    GCObject* next = collected->gcnext;
    collected->gcnext = g->tmudata;
    g->tmudata = collected;
    m.MarkObject(collected);
    collected = next;
  }
  m.Propagate();
}

void FreeObject(lua_State* L, GCObject* o) {
  switch (o->tt) {
    case LUA_TTABLE:
      luaH_free(L, static_cast<Table*>(o));
      break;
    case LUA_TFUNCTION:
      luaF_freeclosure(L, reinterpret_cast<Closure*>(o));
      break;
    case LUA_TUSERDATA: {
      Udata* u = static_cast<Udata*>(o);
      luaM_free(L, u, sizeof(Udata) + Udata::padding() + u->len);
      break;
    }
    case LUA_TTHREAD:
      luaE_freethread(L, reinterpret_cast<lua_State*>(o));
      break;
    case LUAI_TPROTO:
      luaF_freeproto(L, static_cast<Proto*>(o));
      break;
    case LUAI_TUPVAL:
      luaM_free(L, o, sizeof(UpVal));
      break;
    default:
      break;
  }
}

void Sweep(lua_State* L, bool all) {
  global_State* g = G(L);
  // Dead threads first give their open upvalues a value of their own, while every
  // object still exists.
  for (GCObject* o = g->nthreads > 0 ? g->rootgc : nullptr; o; o = o->gcnext) {
    if (o->tt == LUA_TTHREAD && (all || !(o->marked & GC_MARKED))) {
      lua_State* L1 = reinterpret_cast<lua_State*>(o);
      if (L1 != L) luaF_close(L1, L1->stack);
    }
  }
  GCObject** p = &g->rootgc;
  while (GCObject* curr = *p) {
    if (!all && (curr->marked & (GC_MARKED | GC_FIXED))) {
      curr->marked &= static_cast<uint8_t>(~GC_MARKED);
      p = &curr->gcnext;
    } else if (curr == L || curr == g->mainthread) {
      p = &curr->gcnext;
    } else {
      *p = curr->gcnext;
      FreeObject(L, curr);
    }
  }
  stringtable* tb = &g->strt;
  [[maybe_unused]] int live = 0;  // strings kept, checked against the table's count
  for (int i = 0; i < tb->size; i++) {
    TString** sp = &tb->hash[i];
    while (TString* s = *sp) {
      if (!all && (s->marked & (GC_MARKED | GC_FIXED))) {
        s->marked &= static_cast<uint8_t>(~GC_MARKED);
        sp = &s->hnext;
        live++;
      } else {
        *sp = s->hnext;
        tb->nuse--;
        luaM_free(L, s, luaS_blocksize(s->tt, s->len));
      }
    }
  }
  lua_assert(tb->nuse == live);
  if (!all && tb->nuse < tb->size / 4 && tb->size > 64) {
    int newsize = tb->size;
    while (tb->nuse < newsize / 4 && newsize > 64) newsize /= 2;
    luaS_resize(L, newsize);
  }
}

}  // namespace

void luaC_callallgcTM(lua_State* L) {
  global_State* g = G(L);
  while (GCObject* o = g->tmudata) {
    g->tmudata = o->gcnext;
    o->gcnext = g->rootgc;
    g->rootgc = o;
    o->marked |= GC_FINALIZED;
    Udata* u = static_cast<Udata*>(o);
    const Value* tm = GCMetamethod(g, u);
    if (!tm) continue;
    // Finalizers run protected; their errors are dropped.
    luaD_checkstack(L, 3);
    Value* oldtop = L->top;
    *L->top++ = *tm;
    setuvalue(L->top++, u);
    uint8_t oldstatus = L->status;
    luaD_pcallvalues(L, 1, 0);
    L->status = oldstatus;
    L->top = oldtop;
  }
}

void luaC_collectgarbage(lua_State* L) {
  global_State* g = G(L);
  if (g->gcrunning) return;
  g->gcrunning = true;
  Marker m;
  m.g = g;
  m.MarkObject(g->mainthread);
  m.MarkObject(L);
  m.MarkValue(&g->registry);
  for (GCObject* o = g->tmudata; o; o = o->gcnext) m.MarkObject(o);
  m.Propagate();
  if (g->udatawithmt) SeparateUdata(g, m);
  m.ClearWeak();
  Sweep(L, false);
  // Objects outside the swept list keep no mark into the next cycle, or a later
  // collection (even one started by a finalizer) would not traverse them.
  g->mainthread->marked &= static_cast<uint8_t>(~GC_MARKED);
  L->marked &= static_cast<uint8_t>(~GC_MARKED);
  for (GCObject* o = g->tmudata; o; o = o->gcnext) o->marked &= static_cast<uint8_t>(~GC_MARKED);
#ifdef MC_LUA_CHECKS
  // Every survivor starts the next cycle unmarked, or that cycle would skip it.
  for (GCObject* o = g->rootgc; o; o = o->gcnext) lua_assert(!(o->marked & GC_MARKED));
#endif
  luaS_trimscratch(L);
  size_t inuse = g->totalbytes;
  g->GCthreshold = inuse * 2 < 32 * 1024 ? 32 * 1024 : inuse * 2;
  g->gcrunning = false;
  luaC_callallgcTM(L);
}

void luaC_freeall(lua_State* L) {
  global_State* g = G(L);
  g->gcrunning = true;
  Sweep(L, true);
  while (GCObject* o = g->tmudata) {
    g->tmudata = o->gcnext;
    FreeObject(L, o);
  }
}
