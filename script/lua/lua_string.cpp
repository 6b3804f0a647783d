// Interned strings and wide strings: one copy of every distinct text, hashed once.
#include "script/lua/lua_string.h"

#include <cstdlib>

#include "script/lua/lua_do.h"
#include "script/lua/lua_gc.h"

static uint32_t HashBytes(const char* str, size_t l, uint8_t tt) {
  // FNV-1a over the bytes (long texts are sampled), then a final avalanche so that
  // the low bits used for the bucket depend on every byte hashed.
  uint32_t h = 2166136261u ^ static_cast<uint32_t>(l) ^ (static_cast<uint32_t>(tt) << 24);
  size_t step = (l >> 6) + 1;
  for (size_t i = 0; i < l; i += step) {
    h ^= static_cast<uint8_t>(str[i]);
    h *= 16777619u;
  }
  h ^= h >> 16;
  h *= 0x85ebca6bu;
  h ^= h >> 13;
  h *= 0xc2b2ae35u;
  h ^= h >> 16;
  return h;
}

void luaS_resize(lua_State* L, int newsize) {
  stringtable* tb = &G(L)->strt;
  TString** newhash = luaM_newvector<TString*>(L, newsize);
  for (int i = 0; i < newsize; i++) newhash[i] = nullptr;
  for (int i = 0; i < tb->size; i++) {
    TString* p = tb->hash[i];
    while (p) {
      TString* next = p->hnext;
      int h1 = static_cast<int>(p->hash & static_cast<uint32_t>(newsize - 1));
      p->hnext = newhash[h1];
      newhash[h1] = p;
      p = next;
    }
  }
  luaM_freevector(L, tb->hash, tb->size);
  tb->size = newsize;
  tb->hash = newhash;
}

static TString* Intern(lua_State* L, const char* bytes, size_t nbytes, size_t len, uint8_t tt) {
  if (nbytes == 0) bytes = "";
  uint32_t h = HashBytes(bytes, nbytes, tt);
  stringtable* tb = &G(L)->strt;
  for (TString* ts = tb->hash[h & static_cast<uint32_t>(tb->size - 1)]; ts; ts = ts->hnext) {
    if (ts->tt == tt && ts->len == len && ts->hash == h && memcmp(bytes, ts->data(), nbytes) == 0) {
      return ts;
    }
  }
  TString* ts = static_cast<TString*>(luaM_alloc(L, luaS_blocksize(tt, len)));
  ts->tt = tt;
  ts->marked = 0;
  ts->reserved = 0;
  ts->hash = h;
  ts->len = len;
  memcpy(ts->data(), bytes, nbytes);
  ts->data()[nbytes] = 0;
  if (tt == LUA_TWSTRING) ts->data()[nbytes + 1] = 0;
  int idx = static_cast<int>(h & static_cast<uint32_t>(tb->size - 1));
  ts->hnext = tb->hash[idx];
  tb->hash[idx] = ts;
  ts->gcnext = nullptr;
  tb->nuse++;
  if (tb->nuse > tb->size && tb->size <= (1 << 29)) luaS_resize(L, tb->size * 2);
  return ts;
}

TString* luaS_newlstr(lua_State* L, const char* str, size_t l) {
  return Intern(L, str, l, l, LUA_TSTRING);
}

TString* luaS_newwstr(lua_State* L, const char16_t* str, size_t l) {
  return Intern(L, reinterpret_cast<const char*>(str), l * 2, l, LUA_TWSTRING);
}

void luaS_free(lua_State* L, TString* ts) {
  stringtable* tb = &G(L)->strt;
  TString** p = &tb->hash[ts->hash & static_cast<uint32_t>(tb->size - 1)];
  while (*p != ts) p = &(*p)->hnext;
  *p = ts->hnext;
  tb->nuse--;
  luaM_free(L, ts, luaS_blocksize(ts->tt, ts->len));
}

void luaS_freeall(lua_State* L) {
  stringtable* tb = &G(L)->strt;
  for (int i = 0; i < tb->size; i++) {
    while (tb->hash[i]) luaS_free(L, tb->hash[i]);
  }
  luaM_freevector(L, tb->hash, tb->size);
  tb->hash = nullptr;
  tb->size = 0;
}

char* luaS_scratch(lua_State* L, size_t size) {
  global_State* g = G(L);
  if (size > g->buffsize) {
    size_t want = size < 256 ? 256 : size + size / 2;
    char* b = static_cast<char*>(realloc(g->buff, want));
    if (!b) luaD_throw(L, LUA_ERRMEM);
    g->buff = b;
    g->buffsize = want;
  }
  return g->buff;
}

void luaS_trimscratch(lua_State* L) {
  constexpr size_t kKept = 64 * 1024;
  global_State* g = G(L);
  if (g->buffsize <= kKept) return;
  free(g->buff);
  g->buff = nullptr;
  g->buffsize = 0;
}

Udata* luaS_newudata(lua_State* L, size_t s) {
  Udata* u = static_cast<Udata*>(luaM_alloc(L, sizeof(Udata) + Udata::padding() + s));
  u->tt = LUA_TUSERDATA;
  u->marked = 0;
  u->metatable = nullptr;
  u->len = s;
  luaC_link(L, u);
  return u;
}
