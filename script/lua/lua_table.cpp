// Tables: an array part for keys 1..n and an open-addressing hash part for the rest.
#include "script/lua/lua_table.h"

#include <cmath>

#include "script/lua/lua_debug.h"
#include "script/lua/lua_gc.h"

// The shared empty hash part: one node holding a nil key, never written.
static Node dummynode_ = {{{nullptr}, LUA_TNIL}, {{nullptr}, LUA_TNIL}};
#define dummynode (&dummynode_)

static inline int sizenode(const Table* t) {
  lua_assert(t->node != dummynode || (t->lsizenode == 0 && t->nodeused == 0));
  return t->node == dummynode ? 0 : (1 << t->lsizenode);
}

static inline uint32_t HashPointer(const void* p) {
  uintptr_t x = reinterpret_cast<uintptr_t>(p);
  x ^= x >> 17;
  x *= 0x9e3779b97f4a7c15ull;
  return static_cast<uint32_t>(x >> 32);
}

static inline uint32_t HashNumber(double n) {
  if (n == 0) n = 0;  // +0 and -0 are the same key
  uint64_t bits;
  memcpy(&bits, &n, sizeof bits);
  bits ^= bits >> 29;
  bits *= 0xbf58476d1ce4e5b9ull;
  bits ^= bits >> 32;
  return static_cast<uint32_t>(bits);
}

static inline uint32_t HashKey(const Value* k) {
  switch (k->tt) {
    case LUA_TNUMBER:
      return HashNumber(k->n);
    case LUA_TSTRING:
    case LUA_TWSTRING:
      return tsvalue(k)->hash;
    case LUA_TBOOLEAN:
      return static_cast<uint32_t>(k->b) * 0x5bd1e995u + 1;
    default:
      return HashPointer(k->p);
  }
}

static inline bool IsArrayIndex(double n, int* out) {
  if (!(n >= 1 && n <= 2147483647.0)) return false;
  int i = static_cast<int>(n);
  if (static_cast<double>(i) != n) return false;
  *out = i;
  return true;
}

static void SetNodeVector(lua_State* L, Table* t, int lsize) {
  if (lsize < 0) {
    t->node = dummynode;
    t->lsizenode = 0;
  } else {
    if (lsize > 26) luaG_runerror(L, "table overflow");
    int size = 1 << lsize;
    t->node = luaM_newvector<Node>(L, size);
    for (int i = 0; i < size; i++) {
      setnilvalue(&t->node[i].key);
      setnilvalue(&t->node[i].val);
    }
    t->lsizenode = static_cast<uint8_t>(lsize);
  }
  t->nodeused = 0;
}

static void SetArrayVector(lua_State* L, Table* t, int size) {
  t->array = luaM_reallocvector(L, t->array, t->sizearray, size);
  for (int i = t->sizearray; i < size; i++) setnilvalue(&t->array[i]);
  t->sizearray = size;
}

Table* luaH_new(lua_State* L, int narray, int lnhash) {
  Table* t = static_cast<Table*>(luaM_alloc(L, sizeof(Table)));
  t->tt = LUA_TTABLE;
  t->marked = 0;
  t->flags = 0;
  t->metatable = nullptr;
  t->array = nullptr;
  t->sizearray = 0;
  t->node = dummynode;
  t->lsizenode = 0;
  t->nodeused = 0;
  t->gclist = nullptr;
  luaC_link(L, t);
  if (narray > 0) SetArrayVector(L, t, narray);
  SetNodeVector(L, t, lnhash);
  return t;
}

void luaH_free(lua_State* L, Table* t) {
  if (t->node != dummynode) luaM_freevector(L, t->node, sizenode(t));
  luaM_freevector(L, t->array, t->sizearray);
  luaM_free(L, t, sizeof(Table));
}

size_t luaH_memsize(const Table* t) {
  return sizeof(Table) + sizeof(Value) * t->sizearray + sizeof(Node) * sizenode(t);
}

// Finds the node holding key, or nullptr.
static Node* FindNode(const Table* t, const Value* key) {
  if (t->node == dummynode) return nullptr;
  uint32_t mask = (1u << t->lsizenode) - 1;
  uint32_t i = HashKey(key) & mask;
  for (;;) {
    Node* n = &t->node[i];
    if (n->key.tt == LUA_TNIL) return nullptr;
    if (n->key.tt == key->tt) {
      if (key->tt == LUA_TNUMBER
              ? n->key.n == key->n
              : (key->tt == LUA_TBOOLEAN ? n->key.b == key->b : n->key.p == key->p))
        return n;
    }
    i = (i + 1) & mask;
  }
}

const Value* luaH_getnum(Table* t, int key) {
  if (static_cast<unsigned>(key - 1) < static_cast<unsigned>(t->sizearray))
    return &t->array[key - 1];
  Value k;
  setnvalue(&k, key);
  Node* n = FindNode(t, &k);
  return n ? &n->val : &luaO_nilobject;
}

const Value* luaH_getstr(Table* t, TString* key) {
  if (t->node == dummynode) return &luaO_nilobject;
  uint32_t mask = (1u << t->lsizenode) - 1;
  uint32_t i = key->hash & mask;
  for (;;) {
    Node* n = &t->node[i];
    if (n->key.tt == LUA_TNIL) return &luaO_nilobject;
    if (n->key.gc == key && n->key.tt == key->tt) return &n->val;
    i = (i + 1) & mask;
  }
}

const Value* luaH_get(Table* t, const Value* key) {
  switch (key->tt) {
    case LUA_TNIL:
      return &luaO_nilobject;
    case LUA_TSTRING:
      return luaH_getstr(t, tsvalue(key));
    case LUA_TNUMBER: {
      int k;
      if (IsArrayIndex(key->n, &k) && k <= t->sizearray) return &t->array[k - 1];
      [[fallthrough]];
    }
    default: {
      Node* n = FindNode(t, key);
      return n ? &n->val : &luaO_nilobject;
    }
  }
}

// Counts integer keys per power-of-two slice to size the array part so that more
// than half of its slots are in use.
static int ComputeArraySize(const int nums[], int total, int* narray) {
  int a = 0, na = 0, best = 0;
  for (int i = 0, twotoi = 1; i < 31 && twotoi / 2 < total; i++, twotoi *= 2) {
    a += nums[i];
    if (a > twotoi / 2) {
      best = twotoi;
      na = a;
    }
  }
  // More than half of the chosen array slots are in use.
  lua_assert(na <= total && (best == 0 || na > best / 2));
  *narray = best;
  return na;
}

static void CountKey(const Value* key, int nums[], int* nint) {
  int k;
  if (key->tt == LUA_TNUMBER && IsArrayIndex(key->n, &k)) {
    nums[luaO_log2(static_cast<unsigned>(k - 1)) + 1]++;
    (*nint)++;
  }
}

static void InsertFresh(lua_State* L, Table* t, const Value* key, const Value* val);

static void Rehash(lua_State* L, Table* t, const Value* extra) {
  int nums[32] = {0};
  int nint = 0, total = 0;
  for (int i = 0; i < t->sizearray; i++) {
    if (!ttisnil(&t->array[i])) {
      nums[luaO_log2(static_cast<unsigned>(i)) + 1]++;
      nint++;
      total++;
    }
  }
  int oldnsize = sizenode(t);
  for (int i = 0; i < oldnsize; i++) {
    Node* n = &t->node[i];
    if (!ttisnil(&n->val)) {
      CountKey(&n->key, nums, &nint);
      total++;
    }
  }
  CountKey(extra, nums, &nint);
  total++;
  int narray;
  int inarray = ComputeArraySize(nums, nint, &narray);
  int nhash = total - inarray;
  int oldasize = t->sizearray;
  Value* oldarray = t->array;
  Node* oldnode = t->node;
  // New hash part with room to spare (load at most 3/4 after the insert).
  int lsize = -1;
  if (nhash > 0) {
    lsize = luaO_log2(static_cast<unsigned>(nhash + nhash / 3)) + 1;
    if (lsize < 1) lsize = 1;
  }
  SetNodeVector(L, t, lsize);
  if (narray > oldasize) {
    SetArrayVector(L, t, narray);
  } else if (narray < oldasize) {
    // Move the tail of the array into the hash part.
    t->array = luaM_newvector<Value>(L, narray);
    for (int i = 0; i < narray; i++) t->array[i] = oldarray[i];
    t->sizearray = narray;
    for (int i = narray; i < oldasize; i++) {
      if (!ttisnil(&oldarray[i])) {
        Value k;
        setnvalue(&k, i + 1);
        InsertFresh(L, t, &k, &oldarray[i]);
      }
    }
    luaM_freevector(L, oldarray, oldasize);
  }
  for (int i = 0; i < oldnsize; i++) {
    Node* n = &oldnode[i];
    if (!ttisnil(&n->val)) *luaH_set(L, t, &n->key) = n->val;
  }
  if (oldnode != dummynode) luaM_freevector(L, oldnode, oldnsize);
  // The key that did not fit now has a place: in the array or a hash part with room.
  lua_assert(t->nodeused <= sizenode(t));
}

// Inserts a key known to be absent into a hash part known to have room.
static void InsertFresh(lua_State* L, Table* t, const Value* key, const Value* val) {
  (void)L;
  lua_assert(t->nodeused < sizenode(t) && FindNode(t, key) == nullptr);
  uint32_t mask = (1u << t->lsizenode) - 1;
  uint32_t i = HashKey(key) & mask;
  while (t->node[i].key.tt != LUA_TNIL) i = (i + 1) & mask;
  t->node[i].key = *key;
  t->node[i].val = *val;
  t->nodeused++;
}

Value* luaH_set(lua_State* L, Table* t, const Value* key) {
  t->flags = 0;  // the metamethod cache no longer holds
  const Value* p = luaH_get(t, key);
  if (p != &luaO_nilobject) return const_cast<Value*>(p);
  if (ttisnil(key)) luaG_runerror(L, "table index is nil");
  if (ttisnumber(key) && std::isnan(key->n)) luaG_runerror(L, "table index is NaN");
  int size = sizenode(t);
  if ((t->nodeused + 1) * 4 > size * 3) {
    Rehash(L, t, key);
    // The key now goes to the array or to a hash part with room: no second rehash.
    lua_assert((t->nodeused + 1) * 4 <= sizenode(t) * 3 ||
               (ttisnumber(key) && key->n >= 1 && key->n <= t->sizearray));
    return luaH_set(L, t, key);
  }
  uint32_t mask = static_cast<uint32_t>(size - 1);
  uint32_t i = HashKey(key) & mask;
  // Reuse a dead slot on the probe path when there is one (the key is absent).
  Node* dead = nullptr;
  while (t->node[i].key.tt != LUA_TNIL) {
    if (!dead && ttisnil(&t->node[i].val)) dead = &t->node[i];
    i = (i + 1) & mask;
  }
  Node* n = dead ? dead : &t->node[i];
  if (!dead) t->nodeused++;
  lua_assert(t->nodeused < size);  // a free slot always ends every probe
  n->key = *key;
  setnilvalue(&n->val);
  return &n->val;
}

Value* luaH_setnum(lua_State* L, Table* t, int key) {
  if (static_cast<unsigned>(key - 1) < static_cast<unsigned>(t->sizearray))
    return &t->array[key - 1];
  Value k;
  setnvalue(&k, key);
  return luaH_set(L, t, &k);
}

Value* luaH_setstr(lua_State* L, Table* t, TString* key) {
  const Value* p = luaH_getstr(t, key);
  if (p != &luaO_nilobject) return const_cast<Value*>(p);
  Value k;
  setsvalue(&k, key);
  return luaH_set(L, t, &k);
}

bool luaH_next(lua_State* L, Table* t, Value* key, Value* val) {
  int i;  // index of the position after key in the combined order
  if (ttisnil(key)) {
    i = 0;
  } else {
    int k;
    if (ttisnumber(key) && IsArrayIndex(key->n, &k) && k <= t->sizearray) {
      i = k;
    } else {
      Node* n = FindNode(t, key);
      if (!n) luaG_runerror(L, "invalid key to `next'");
      i = t->sizearray + static_cast<int>(n - t->node) + 1;
    }
  }
  for (; i < t->sizearray; i++) {
    if (!ttisnil(&t->array[i])) {
      setnvalue(key, i + 1);
      *val = t->array[i];
      return true;
    }
  }
  int size = sizenode(t);
  for (i -= t->sizearray; i < size; i++) {
    if (!ttisnil(&t->node[i].val)) {
      *key = t->node[i].key;
      *val = t->node[i].val;
      return true;
    }
  }
  return false;
}

int luaH_getn(Table* t) {
  int j = t->sizearray;
  if (j > 0 && ttisnil(&t->array[j - 1])) {
    // Binary search for a border inside the array part.
    int i = 0;
    while (j - i > 1) {
      int m = (i + j) / 2;
      if (ttisnil(&t->array[m - 1]))
        j = m;
      else
        i = m;
    }
    return i;
  }
  if (t->node == dummynode) return j;
  int i = j;
  j++;
  while (!ttisnil(luaH_getnum(t, j))) {
    i = j;
    if (j > 1073741823) {
      // Linear search as a last resort.
      int k = 1;
      while (!ttisnil(luaH_getnum(t, k))) k++;
      return k - 1;
    }
    j *= 2;
  }
  while (j - i > 1) {
    int m = (i + j) / 2;
    if (ttisnil(luaH_getnum(t, m)))
      j = m;
    else
      i = m;
  }
  return i;
}
