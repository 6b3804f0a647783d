// Per-thread and global interpreter state: creation, threads, allocation accounting.
#include "script/lua/lua_state.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "script/lua/lua_debug.h"
#include "script/lua/lua_do.h"
#include "script/lua/lua_func.h"
#include "script/lua/lua_gc.h"
#include "script/lua/lua_lex.h"
#include "script/lua/lua_string.h"
#include "script/lua/lua_table.h"
#include "script/lua/lua_tm.h"

void* luaM_zalloc(lua_State* L, size_t size) {
#ifndef MC_LUA_NO_POOL
  if (size <= kPoolMax) {
    void* block = luaM_alloc(L, size);
    if (block) memset(block, 0, size);
    return block;
  }
#endif
  if (size == 0) return nullptr;
  void* block = calloc(1, size);
  if (!block) luaD_throw(L, LUA_ERRMEM);
  G(L)->totalbytes += size;
  return block;
}

static void FreeChunks(global_State* g) {
  while (PoolChunk* c = g->chunks) {
    g->chunks = c->next;
    free(c);
  }
}

static inline size_t PoolClass(size_t size) {
  return (size - 1) / kPoolGrain;
}

[[maybe_unused]] static void* PoolAlloc(lua_State* L, global_State* g, size_t size) {
  PoolBlock*& head = luaM_freelist(g, size);
  if (PoolBlock* b = head) {
    head = b->next;
    return b;
  }
  size_t c = PoolClass(size);
  size_t bytes = (c + 1) * kPoolGrain;
  if (static_cast<size_t>(g->chunkend - g->chunkcur) < bytes) {
    constexpr size_t kChunk = 64 * 1024;
    // The rest of the old chunk goes to the free lists.
    while (static_cast<size_t>(g->chunkend - g->chunkcur) >= kPoolGrain) {
      size_t rest = static_cast<size_t>(g->chunkend - g->chunkcur);
      size_t rc = PoolClass(rest < kPoolMax ? rest : kPoolMax);
      if ((rc + 1) * kPoolGrain > rest) rc--;
      PoolBlock* b = reinterpret_cast<PoolBlock*>(g->chunkcur);
      b->next = g->freelist[rc];
      g->freelist[rc] = b;
      g->chunkcur += (rc + 1) * kPoolGrain;
    }
    char* chunk = static_cast<char*>(malloc(kChunk));
    if (!chunk) luaD_throw(L, LUA_ERRMEM);
    PoolChunk* pc = reinterpret_cast<PoolChunk*>(chunk);
    pc->next = g->chunks;
    g->chunks = pc;
    g->chunkcur = chunk + kPoolGrain;
    g->chunkend = chunk + kChunk;
  }
  void* b = g->chunkcur;
  g->chunkcur += bytes;
  return b;
}

[[maybe_unused]] static inline void PoolFree(global_State* g, void* block, size_t size) {
  PoolBlock*& head = luaM_freelist(g, size);
  PoolBlock* b = static_cast<PoolBlock*>(block);
  b->next = head;
  head = b;
}

void* luaM_realloc(lua_State* L, void* block, size_t oldsize, size_t size) {
  global_State* g = G(L);
  if (block == nullptr) oldsize = 0;
  lua_assert(g->totalbytes >= oldsize);
#ifdef MC_LUA_NO_POOL
  // Sanitizer builds see every block: a use after free is reported, not recycled.
  void* nb = nullptr;
  if (size == 0) {
    free(block);
  } else {
    nb = realloc(block, size);
    if (!nb) luaD_throw(L, LUA_ERRMEM);
  }
  g->totalbytes = g->totalbytes - oldsize + size;
  return nb;
#else
  bool oldsmall = oldsize > 0 && oldsize <= kPoolMax;
  bool newsmall = size > 0 && size <= kPoolMax;
  void* nb;
  if (size == 0) {
    if (block) {
      if (oldsmall)
        PoolFree(g, block, oldsize);
      else
        free(block);
    }
    nb = nullptr;
  } else if (oldsmall && newsmall && PoolClass(oldsize) == PoolClass(size)) {
    nb = block;
  } else if (!oldsmall && !newsmall) {
    nb = realloc(block, size);
    if (!nb) luaD_throw(L, LUA_ERRMEM);
  } else {
    nb = newsmall ? PoolAlloc(L, g, size) : malloc(size);
    if (!nb) luaD_throw(L, LUA_ERRMEM);
    if (block) {
      memcpy(nb, block, oldsize < size ? oldsize : size);
      if (oldsmall)
        PoolFree(g, block, oldsize);
      else
        free(block);
    }
  }
  g->totalbytes = g->totalbytes - oldsize + size;
  return nb;
#endif
}

void luaM_toobig(lua_State* L, const char* what) {
  luaG_runerror(L, "too many %s", what);
}

static void StackInit(lua_State* L1, lua_State* L) {
  L1->stack = luaM_newvector<Value>(L, BASIC_STACK_SIZE + EXTRA_STACK);
  L1->stacksize = BASIC_STACK_SIZE + EXTRA_STACK;
  for (int i = 0; i < L1->stacksize; i++) setnilvalue(&L1->stack[i]);
  L1->top = L1->stack;
  L1->stack_last = L1->stack + (L1->stacksize - EXTRA_STACK) - 1;
  L1->base_ci = luaM_newvector<CallInfo>(L, BASIC_CI_SIZE);
  L1->ci = L1->base_ci;
  L1->ci->func = L1->top;
  setnilvalue(L1->top++);  // the slot of the "function" of the base level
  L1->base = L1->ci->base = L1->top;
  L1->ci->top = L1->top + LUA_MINSTACK;
  L1->ci->isLua = 0;
  L1->ci->yielded = 0;
  L1->ci->entry = 0;
  L1->ci->nresults = 0;
  L1->ci->tailcalls = 0;
  L1->ci->savedpc = nullptr;
  L1->size_ci = BASIC_CI_SIZE;
  L1->end_ci = L1->base_ci + L1->size_ci - 1;
}

static void PreInitState(lua_State* L, global_State* g) {
  L->g = g;
  L->tt = LUA_TTHREAD;
  L->marked = 0;
  L->gcnext = nullptr;
  L->status = 0;
  L->stack = nullptr;
  L->stacksize = 0;
  L->errfunc = 0;
  L->baseCcalls = 0;
  L->nprotected = 0;
  L->openupval = nullptr;
  L->gclist = nullptr;
  L->size_ci = 0;
  L->base_ci = L->ci = nullptr;
  setnilvalue(&L->gt);
}

lua_State* luaE_newthread(lua_State* L) {
  lua_State* L1 = static_cast<lua_State*>(luaM_alloc(L, sizeof(lua_State)));
  new (L1) lua_State();
  PreInitState(L1, G(L));
  StackInit(L1, L);
  L1->gt = L->gt;
  luaC_link(L, L1);
  G(L)->nthreads++;
  return L1;
}

void luaE_freethread(lua_State* L, lua_State* L1) {
  G(L)->nthreads--;
  luaF_close(L1, L1->stack);
  luaM_freevector(L, L1->base_ci, L1->size_ci);
  luaM_freevector(L, L1->stack, L1->stacksize);
  luaM_free(L, L1, sizeof(lua_State));
}

static bool DefaultFileReader(void*, const char* name, char** out, size_t* size) {
  FILE* f = fopen(name, "rb");
  if (!f) return false;
  size_t cap = 4096, len = 0;
  char* buf = static_cast<char*>(malloc(cap));
  if (!buf) {
    fclose(f);
    return false;
  }
  for (;;) {
    if (len == cap) {
      char* nb = static_cast<char*>(realloc(buf, cap * 2));
      if (!nb) {
        free(buf);
        fclose(f);
        return false;
      }
      buf = nb;
      cap *= 2;
    }
    size_t n = fread(buf + len, 1, cap - len, f);
    if (n == 0) break;
    len += n;
  }
  bool ok = !ferror(f);
  fclose(f);
  if (!ok) {
    free(buf);
    return false;
  }
  *out = buf;
  *size = len;
  return true;
}

static void FOpen(lua_State* L, void*) {
  StackInit(L, L);
  Table* gt = luaH_new(L, 0, 4);
  sethvalue(&L->gt, gt);
  sethvalue(registry(L), luaH_new(L, 4, 4));
  luaS_resize(L, 64);
  luaT_init(L);
  luaX_init(L);
  G(L)->GCthreshold = 4 * G(L)->totalbytes;
}

lua_State* lua_open(void) {
  lua_State* L = static_cast<lua_State*>(malloc(sizeof(lua_State)));
  global_State* g = static_cast<global_State*>(malloc(sizeof(global_State)));
  if (!L || !g) {
    free(L);
    free(g);
    return nullptr;
  }
  new (L) lua_State();
  new (g) global_State();
  PreInitState(L, g);
  g->mainthread = L;
  g->strt.size = 0;
  g->strt.nuse = 0;
  g->strt.hash = nullptr;
  setnilvalue(&g->registry);
  g->rootgc = nullptr;
  g->tmudata = nullptr;
  g->totalbytes = sizeof(lua_State) + sizeof(global_State);
  g->GCthreshold = static_cast<size_t>(-1);  // no collection while opening
  g->panic = nullptr;
  g->filereader = DefaultFileReader;
  g->filereaderud = nullptr;
  g->gcrunning = false;
  g->udatawithmt = false;
  g->nthreads = 0;
  for (size_t i = 0; i < kPoolClasses; i++) g->freelist[i] = nullptr;
  g->chunks = nullptr;
  g->chunkcur = g->chunkend = nullptr;
  g->nCcalls = 0;
  g->buff = nullptr;
  g->buffsize = 0;
  for (int i = 0; i < TM_N; i++) g->tmname[i] = nullptr;
  g->argcount = nullptr;
  if (luaD_rawrunprotected(L, FOpen, nullptr) != 0) {
    lua_close(L);
    return nullptr;
  }
  return L;
}

static void CallAllFinalizers(lua_State* L, void*) {
  // Every userdata with a finalizer gets it run once before the state goes away.
  global_State* g = G(L);
  GCObject** p = &g->rootgc;
  while (GCObject* curr = *p) {
    if (curr->tt == LUA_TUSERDATA && !(curr->marked & GC_FINALIZED) &&
        static_cast<Udata*>(curr)->metatable &&
        !ttisnil(luaH_getstr(static_cast<Udata*>(curr)->metatable, g->tmname[TM_GC]))) {
      *p = curr->gcnext;
      curr->gcnext = g->tmudata;
      g->tmudata = curr;
    } else {
      p = &curr->gcnext;
    }
  }
  luaC_callallgcTM(L);
}

void lua_close(lua_State* L) {
  L = G(L)->mainthread;
  global_State* g = G(L);
  if (L->stack) {
    luaF_close(L, L->stack);
    L->ci = L->base_ci;
    L->base = L->top = L->ci->base;
    g->nCcalls = 0;
    luaD_rawrunprotected(L, CallAllFinalizers, nullptr);
  }
  luaC_freeall(L);
  luaS_freeall(L);
  if (L->stack) {
    luaM_freevector(L, L->base_ci, L->size_ci);
    luaM_freevector(L, L->stack, L->stacksize);
  }
  // Every block was given back with the size it was taken with.
  lua_assert(g->totalbytes == sizeof(lua_State) + sizeof(global_State));
  free(g->buff);
  FreeChunks(g);
  g->~global_State();
  free(g);
  free(L);
}
