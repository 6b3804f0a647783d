// Per-thread and global interpreter state: the value stack, the call-info stack,
// the string table, the registry and the collector's bookkeeping.
#pragma once

#include "script/lua/lua_object.h"

struct CallInfo {
  Value* func;               // the called function's slot
  Value* base;               // first fixed argument / first register
  Value* top;                // top of this frame's registers
  const ExecInstr* savedpc;  // next instruction of a Lua frame (lua_exec.h)
  int nresults;              // expected results, LUA_MULTRET for all
  int tailcalls;
  uint8_t isLua;
  uint8_t yielded;  // a C function of this frame yielded
  uint8_t entry;    // the VM loop that runs this frame returns when it returns
};

struct stringtable {
  TString** hash;
  int nuse;
  int size;
};

// Small blocks (up to kPoolMax bytes) come from per-size free lists carved out of
// large chunks: the collector frees many small objects at once and reuses them soon.
constexpr size_t kPoolGrain = 16;
constexpr size_t kPoolMax = 512;
constexpr size_t kPoolClasses = kPoolMax / kPoolGrain;
struct PoolBlock {
  PoolBlock* next;
};
struct PoolChunk {
  PoolChunk* next;
};

struct global_State {
  PoolBlock* freelist[kPoolClasses];
  PoolChunk* chunks;
  char* chunkcur;  // unused rest of the newest chunk
  char* chunkend;
  stringtable strt;
  GCObject* rootgc;
  GCObject* tmudata;  // userdata waiting for their finalizer
  size_t totalbytes;
  size_t GCthreshold;
  Value registry;
  lua_State* mainthread;
  TString* tmname[TM_N];
  TString* argcount;  // "n", the count field of a vararg function's table "arg"
  lua_CFunction panic;
  lua_FileReader filereader;
  void* filereaderud;
  bool gcrunning;
  bool udatawithmt;        // some userdata got a metatable: dead ones may need finalizing
  int nthreads;            // coroutine threads alive (not counting the main thread)
  unsigned short nCcalls;  // nesting of native calls over all threads (one C stack)
  char* buff;              // scratch buffer for the lexer and string building
  size_t buffsize;
};

struct lua_State : GCObject {
  uint8_t status;
  Value* top;
  Value* base;
  global_State* g;
  CallInfo* ci;
  Value* stack_last;  // last usable slot (extra slots kept beyond for safety)
  Value* stack;
  CallInfo* end_ci;
  CallInfo* base_ci;
  int stacksize;
  int size_ci;
  unsigned short baseCcalls;  // global nCcalls when this thread was last resumed
  int nprotected;  // protected calls active on this thread  // nCcalls at the start of the current
                   // resume
  UpVal* openupval;
  GCObject* gclist;
  long errfunc;  // stack offset of the error handler, 0 for none
  Value gt;      // table of globals
};

#define G(L) ((L)->g)
#define gt(L) (&(L)->gt)
#define registry(L) (&G(L)->registry)

constexpr int EXTRA_STACK = 5;
constexpr int BASIC_STACK_SIZE = 2 * LUA_MINSTACK;
constexpr int BASIC_CI_SIZE = 8;
constexpr int LUA_MAXCALLS = 200000;  // nesting of Lua calls
constexpr int LUA_MAXCCALLS = 200;    // nesting of native calls and parser levels
constexpr int LUA_MAXSTACKSIZE = 1000000;

lua_State* luaE_newthread(lua_State* L);
void luaE_freethread(lua_State* L, lua_State* L1);

// Raw allocation with accounting in the global state.
void* luaM_realloc(lua_State* L, void* block, size_t oldsize, size_t size);
// Small blocks come straight from their free list when it has one (the interpreter makes
// and drops closures, upvalues and tables at that rate); the rest goes through
// luaM_realloc.
// Free list of a small block's size; size - 1 < kPoolMax.
inline PoolBlock*& luaM_freelist(global_State* g, size_t size) {
  return g->freelist[(size - 1) / kPoolGrain];
}
inline void* luaM_alloc(lua_State* L, size_t size) {
#ifndef MC_LUA_NO_POOL
  if (size - 1 < kPoolMax) {
    global_State* g = G(L);
    PoolBlock*& head = luaM_freelist(g, size);
    if (PoolBlock* b = head) {
      head = b->next;
      g->totalbytes += size;
      return b;
    }
  }
#endif
  return luaM_realloc(L, nullptr, 0, size);
}
inline void luaM_free(lua_State* L, void* block, size_t size) {
  if (!block) return;
#ifndef MC_LUA_NO_POOL
  if (size - 1 < kPoolMax) {
    global_State* g = G(L);
    lua_assert(g->totalbytes >= size);
    PoolBlock*& head = luaM_freelist(g, size);
    PoolBlock* b = static_cast<PoolBlock*>(block);
    b->next = head;
    head = b;
    g->totalbytes -= size;
    return;
  }
#endif
  luaM_realloc(L, block, size, 0);
}
// A block of zero bytes: large ones come from calloc, whose fresh pages the system hands
// out already cleared (and only when first touched).
void* luaM_zalloc(lua_State* L, size_t size);
template <typename T>
T* luaM_newzeroed(lua_State* L, int n) {
  return static_cast<T*>(luaM_zalloc(L, sizeof(T) * static_cast<size_t>(n)));
}
template <typename T>
T* luaM_newvector(lua_State* L, int n) {
  return static_cast<T*>(luaM_alloc(L, sizeof(T) * static_cast<size_t>(n)));
}
template <typename T>
void luaM_freevector(lua_State* L, T* v, int n) {
  luaM_free(L, v, sizeof(T) * static_cast<size_t>(n));
}
template <typename T>
T* luaM_reallocvector(lua_State* L, T* v, int oldn, int n) {
  return static_cast<T*>(luaM_realloc(L, v, sizeof(T) * static_cast<size_t>(oldn),
                                      sizeof(T) * static_cast<size_t>(n)));
}
// Grows a vector by doubling, raising "too many %s" beyond limit.
[[noreturn]] void luaM_toobig(lua_State* L, const char* what);
template <typename T>
void luaM_growvector(lua_State* L, T*& v, int nelems, int& size, int limit, const char* what) {
  if (nelems + 1 <= size) return;
  if (size >= limit) luaM_toobig(L, what);
  int newsize = size < 2 ? 4 : size * 2;
  if (newsize > limit) newsize = limit;
  v = luaM_reallocvector(L, v, size, newsize);
  size = newsize;
}
