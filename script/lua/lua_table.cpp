// Tables: an array part for keys 1..n and a hash part of chained nodes.
//
// Every key has a main position, the node its hash selects. A key whose main position is
// taken goes to a free node and is linked into the chain that starts at its main position;
// when the node in the way is itself out of its main position it moves to the free node
// instead, so every chain starts at its own main position and lookups walk one short
// chain (the scheme of Lua's tables, Brent's variation). Free nodes are found by a cursor
// that only moves down; when it reaches the bottom the table is rehashed: its live keys
// are counted, the array part is sized so that more than a quarter of it is used, and
// the rest goes to a hash part of the next power of two.
#include "script/lua/lua_table.h"

#include <cmath>

#include "script/lua/lua_debug.h"
#include "script/lua/lua_gc.h"

#define dummynode (&luaH_dummynode)

static inline int sizenode(const Table* t) {
  lua_assert(t->node != dummynode || t->lsizenode == 0);
  return 1 << t->lsizenode;
}

static inline bool KeyIs(const NodeKey* k, const Value* v) {
  if (k->tt != v->tt) return false;
  switch (v->tt) {
    case LUA_TNUMBER:
      return k->n == v->n;
    case LUA_TBOOLEAN:
      return k->b == v->b;
    default:
      return k->p == v->p;
  }
}

static inline uint32_t HashPointer(const void* p) {
  uintptr_t x = reinterpret_cast<uintptr_t>(p);
  x ^= x >> 17;
  x *= 0x9e3779b97f4a7c15ull;
  return static_cast<uint32_t>(x >> 32);
}

// Integer keys: the remainder by an odd number near the node count. Runs of keys land on
// neighbouring nodes (a loop over them walks memory in order), and strides of a power of
// two spread over all nodes instead of sharing their low bits.
static inline Node* IntSlot(const Table* t, int32_t k) {
  uint32_t oddsize = ((1u << t->lsizenode) - 1) | 1;
  return &t->node[static_cast<uint32_t>(k) % oddsize];
}

static inline uint32_t HashDouble(double n) {
  if (n == 0) n = 0;  // +0 and -0 are the same key
  uint64_t bits;
  memcpy(&bits, &n, sizeof bits);
  bits ^= bits >> 29;
  bits *= 0xbf58476d1ce4e5b9ull;
  bits ^= bits >> 32;
  return static_cast<uint32_t>(bits);
}

static inline Node* HashSlot(const Table* t, uint32_t h) {
  return luaH_hashslot(t, h);
}

static Node* MainPosition(const Table* t, const Value* key) {
  switch (key->tt) {
    case LUA_TNUMBER: {
      int32_t i;
      return luaH_numbertoint(key->n, &i) ? IntSlot(t, i) : HashSlot(t, HashDouble(key->n));
    }
    case LUA_TSTRING:
    case LUA_TWSTRING:
      return HashSlot(t, tsvalue(key)->hash);
    case LUA_TBOOLEAN:
      return HashSlot(t, static_cast<uint32_t>(key->b) * 0x5bd1e995u + 1);
    default:
      return HashSlot(t, HashPointer(key->p));
  }
}
static Node* MainPositionOfNode(const Table* t, const Node* n) {
  Value k = nodekey(&n->key);
  return MainPosition(t, &k);
}

// The node holding key (dead or alive), or nullptr.
static Node* FindNode(const Table* t, const Value* key) {
  Node* n = MainPosition(t, key);
  for (;;) {
    if (KeyIs(&n->key, key)) return n;
    if (n->key.next == 0) return nullptr;
    n += n->key.next;
  }
}

static Node* FindInt(const Table* t, int32_t key) {
  Node* n = IntSlot(t, key);
  double k = key;
  for (;;) {
    if (n->key.tt == LUA_TNUMBER && n->key.n == k) return n;
    if (n->key.next == 0) return nullptr;
    n += n->key.next;
  }
}

static void SetNodeVector(lua_State* L, Table* t, int lsize) {
  if (lsize < 0) {
    t->node = dummynode;
    t->lsizenode = 0;
    t->lastfree = 0;  // no free node
    return;
  }
  if (lsize > 26) luaG_runerror(L, "table overflow");
  int size = 1 << lsize;
  // All zero bytes: nil values, nil keys, no chains.
  static_assert(LUA_TNIL == 0);
  t->node = luaM_newzeroed<Node>(L, size);
  t->lsizenode = static_cast<uint8_t>(lsize);
  t->lastfree = size;
}

static void SetArrayVector(lua_State* L, Table* t, int size) {
  t->array = luaM_reallocvector(L, t->array, t->sizearray, size);
  for (int i = t->sizearray; i < size; i++) setnilvalue(&t->array[i]);
  t->sizearray = size;
}

// The shared empty hash part: one node holding a nil key, never written.
Node luaH_dummynode = {{{nullptr}, LUA_TNIL}, {{nullptr}, LUA_TNIL, 0}};

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
  t->lastfree = 0;
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
  return sizeof(Table) + sizeof(Value) * t->sizearray +
         (t->node == dummynode ? 0 : sizeof(Node) * sizenode(t));
}

const Value* luaH_getintnode(Table* t, int key) {
  Node* n = FindInt(t, key);
  return n ? &n->val : &luaO_nilobject;
}

const Value* luaH_getother(Table* t, const Value* key) {
  Node* n = FindNode(t, key);
  return n ? &n->val : &luaO_nilobject;
}

// --- rehash -------------------------------------------------------------------

// Index of the power-of-two slice of an array index: 0 for 1, i for 2^(i-1) < k <= 2^i.
static inline int Slice(unsigned k) {
  return k <= 1 ? 0 : 32 - __builtin_clz(k - 1);
}

// The array size 2^i for which more than a quarter of the slots would be used, the
// largest such up to the first that holds every integer key; nums[i] counts the integer
// keys of slice i. Answers the keys that go there. A node takes the room of two array
// slots and the hash part is a power of two, so the nodes the keys of such an array
// would take are at least as large as the array: it costs no memory, and its keys need
// no hashing (a table filled at every second or third integer key, as a sieve fills it,
// lives in its array part from the start). A larger array would only add empty slots
// (a dense run of keys grows its array by doubling).
static int ComputeArraySize(const int nums[], int nint, int* narray) {
  static_assert(sizeof(Node) == 2 * sizeof(Value));
  int a = 0, na = 0, best = 0;
  for (int i = 0, twotoi = 1; i < 31 && twotoi / 4 < nint && na < nint; i++, twotoi *= 2) {
    a += nums[i];
    if (a > twotoi / 4) {
      best = twotoi;
      na = a;
    }
  }
  lua_assert(na <= nint && (best == 0 || na > best / 4));
  *narray = best;
  return na;
}

static void CountKey(const Value* key, int nums[], int* nint) {
  int32_t k;
  if (key->tt == LUA_TNUMBER && luaH_numbertoint(key->n, &k) && k >= 1) {
    nums[Slice(static_cast<unsigned>(k))]++;
    (*nint)++;
  }
}

static Value* NewKey(lua_State* L, Table* t, const Value* key);

static void Rehash(lua_State* L, Table* t, const Value* extra) {
  int nums[32] = {0};
  int nint = 0, total = 0;
  for (int i = 0; i < t->sizearray; i++) {
    if (!ttisnil(&t->array[i])) {
      nums[Slice(static_cast<unsigned>(i + 1))]++;
      nint++;
      total++;
    }
  }
  int oldnsize = t->node == dummynode ? 0 : sizenode(t);
  for (int i = 0; i < oldnsize; i++) {
    Node* n = &t->node[i];
    if (!ttisnil(&n->val)) {
      Value k = nodekey(&n->key);
      CountKey(&k, nums, &nint);
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
  // The smallest power of two that holds the keys of the hash part.
  SetNodeVector(L, t, nhash > 0 ? Slice(static_cast<unsigned>(nhash)) : -1);
  if (narray > oldasize) {
    SetArrayVector(L, t, narray);
  } else if (narray < oldasize) {
    // The tail of the array moves into the hash part.
    t->array = luaM_newvector<Value>(L, narray);
    for (int i = 0; i < narray; i++) t->array[i] = oldarray[i];
    t->sizearray = narray;
    for (int i = narray; i < oldasize; i++) {
      if (!ttisnil(&oldarray[i])) {
        Value k;
        setnvalue(&k, i + 1);
        *NewKey(L, t, &k) = oldarray[i];
      }
    }
    luaM_freevector(L, oldarray, oldasize);
  }
  for (int i = 0; i < oldnsize; i++) {
    Node* n = &oldnode[i];
    if (ttisnil(&n->val)) continue;
    Value k = nodekey(&n->key);
    int32_t ik;
    if (k.tt == LUA_TNUMBER && luaH_numbertoint(k.n, &ik) &&
        (static_cast<unsigned>(ik) - 1u) < static_cast<unsigned>(t->sizearray))
      t->array[ik - 1] = n->val;
    else
      *NewKey(L, t, &k) = n->val;
  }
  if (oldnode != dummynode) luaM_freevector(L, oldnode, oldnsize);
}

// A node that has never held a key, or nullptr when the cursor reached the bottom.
static Node* FreePosition(Table* t) {
  while (t->lastfree > 0) {
    Node* n = &t->node[--t->lastfree];
    if (n->key.tt == LUA_TNIL) return n;
  }
  return nullptr;
}

// Inserts a key known to be absent and answers its (nil) value slot; rehashes when the
// hash part has no free node left.
static Value* NewKey(lua_State* L, Table* t, const Value* key) {
  Node* mp = MainPosition(t, key);
  if (!ttisnil(&mp->val) || mp == dummynode) {
    Node* f = FreePosition(t);
    if (f == nullptr) {
      Rehash(L, t, key);
      // The key now goes to the array or to a hash part with room.
      return luaH_set(L, t, key);
    }
    Node* othern = MainPositionOfNode(t, mp);
    if (othern != mp) {
      // The node in the way is out of its main position: it moves to the free node.
      while (othern + othern->key.next != mp) othern += othern->key.next;
      othern->key.next = static_cast<int32_t>(f - othern);
      *f = *mp;
      if (mp->key.next != 0) {
        f->key.next += static_cast<int32_t>(mp - f);
        mp->key.next = 0;
      }
      setnilvalue(&mp->val);
    } else {
      // The new key goes to the free node, second in its main position's chain.
      if (mp->key.next != 0)
        f->key.next = static_cast<int32_t>(mp + mp->key.next - f);
      else
        lua_assert(f->key.next == 0);
      mp->key.next = static_cast<int32_t>(f - mp);
      mp = f;
    }
  }
  // A dead key in its main position is simply replaced: its chain stays as it is.
  setnodekey(&mp->key, key);
  lua_assert(ttisnil(&mp->val));
  return &mp->val;
}

Value* luaH_newkey(lua_State* L, Table* t, const Value* key) {
  if (ttisnil(key)) luaG_runerror(L, "table index is nil");
  if (ttisnumber(key) && std::isnan(key->n)) luaG_runerror(L, "table index is NaN");
  t->flags = 0;  // the metamethod cache no longer holds
  int32_t k;
  if (ttisnumber(key) && luaH_numbertoint(key->n, &k) &&
      (static_cast<unsigned>(k) - 1u) < static_cast<unsigned>(t->sizearray))
    return &t->array[k - 1];
  return NewKey(L, t, key);
}

Value* luaH_set(lua_State* L, Table* t, const Value* key) {
  const Value* p = luaH_get(t, key);
  t->flags = 0;
  if (p != &luaO_nilobject) return const_cast<Value*>(p);
  return luaH_newkey(L, t, key);
}

Value* luaH_setnum(lua_State* L, Table* t, int key) {
  if ((static_cast<unsigned>(key) - 1u) < static_cast<unsigned>(t->sizearray))
    return &t->array[key - 1];
  Node* n = FindInt(t, key);
  if (n) return &n->val;
  Value k;
  setnvalue(&k, key);
  t->flags = 0;
  return NewKey(L, t, &k);
}

Value* luaH_setstr(lua_State* L, Table* t, TString* key) {
  const Value* p = luaH_getstr(t, key);
  if (p != &luaO_nilobject) return const_cast<Value*>(p);
  Value k;
  setsvalue(&k, key);
  t->flags = 0;
  return NewKey(L, t, &k);
}

// --- traversal ------------------------------------------------------------------

int luaH_nextindex(Table* t, const Value* key) {
  if (ttisnil(key)) return 0;
  int32_t k;
  if (ttisnumber(key) && luaH_numbertoint(key->n, &k) &&
      (static_cast<unsigned>(k) - 1u) < static_cast<unsigned>(t->sizearray))
    return k;
  Node* n = t->node == dummynode ? nullptr : FindNode(t, key);
  if (!n) return -1;
  return t->sizearray + static_cast<int>(n - t->node) + 1;
}

int luaH_nextindexhint(Table* t, const Value* key, double hint) {
  int32_t i;
  if (luaH_numbertoint(hint, &i) && i >= 1) {
    if (i <= t->sizearray) {
      if (ttisnumber(key) && key->n == i) return i;
    } else if (!luaH_hashempty(t) && i - t->sizearray <= sizenode(t)) {
      if (KeyIs(&t->node[i - t->sizearray - 1].key, key)) return i;
    }
  }
  return luaH_nextindex(t, key);
}

int luaH_nextfrom(Table* t, int i, Value* key, Value* val) {
  for (; i < t->sizearray; i++) {
    if (!ttisnil(&t->array[i])) {
      setnvalue(key, i + 1);
      *val = t->array[i];
      return i + 1;
    }
  }
  if (luaH_hashempty(t)) return 0;
  int size = sizenode(t);
  for (int n = i - t->sizearray; n < size; n++) {
    if (!ttisnil(&t->node[n].val)) {
      *key = nodekey(&t->node[n].key);
      *val = t->node[n].val;
      return t->sizearray + n + 1;
    }
  }
  return 0;
}

bool luaH_next(lua_State* L, Table* t, Value* key, Value* val) {
  int i = luaH_nextindex(t, key);
  if (i < 0) luaG_runerror(L, "invalid key to `next'");
  return luaH_nextfrom(t, i, key, val) != 0;
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
