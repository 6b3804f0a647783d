// Tables: an array part for keys 1..n and a hash part of chained nodes. A key whose value
// became nil stays in its node (a dead key) so that traversal with next() keeps working
// while fields are cleared; rehashing drops dead keys.
#pragma once

#include "script/lua/lua_state.h"

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

// The hash part of every table without one.
extern Node luaH_dummynode;
inline bool luaH_hashempty(const Table* t) {
  return t->node == &luaH_dummynode;
}

Table* luaH_new(lua_State* L, int narray, int lnhash);
void luaH_free(lua_State* L, Table* t);

// Lookups answer the value slot of a key, or luaO_nilobject when the table has no node
// for it. They are inline: the interpreter's table instructions are made of them.

// Whole numbers in the int range, the keys of the array part among them.
inline bool luaH_numbertoint(double n, int32_t* out) {
  if (!(n >= -2147483648.0 && n <= 2147483647.0)) return false;
  int32_t i = static_cast<int32_t>(n);
  if (static_cast<double>(i) != n) return false;
  *out = i;
  return true;
}
inline Node* luaH_hashslot(const Table* t, uint32_t h) {
  return &t->node[h & ((1u << t->lsizenode) - 1)];
}
inline const Value* luaH_getstr(Table* t, TString* key) {
  Node* n = luaH_hashslot(t, key->hash);
  for (;;) {
    if (n->key.gc == key && n->key.tt == key->tt) return &n->val;
    if (n->key.next == 0) return &luaO_nilobject;
    n += n->key.next;
  }
}
// The hash part's share of luaH_getnum, and luaH_get for keys of the other types.
const Value* luaH_getintnode(Table* t, int key);
const Value* luaH_getother(Table* t, const Value* key);
inline const Value* luaH_getnum(Table* t, int key) {
  if ((static_cast<unsigned>(key) - 1u) < static_cast<unsigned>(t->sizearray))
    return &t->array[key - 1];
  return luaH_getintnode(t, key);
}
// The array slot of a number key, or nullptr when the key is not a whole number within
// the array part. One truncation, no range tests: a NaN or a number beyond the 64-bit range
// truncates to INT64_MIN, which is no slot, and the round trip rejects fractions.
inline Value* luaH_arrayslot(Table* t, double n) {
#if defined(__x86_64__)
  int64_t i = _mm_cvttsd_si64(_mm_set_sd(n));
#else
  int64_t i = n > -9.2e18 && n < 9.2e18 ? static_cast<int64_t>(n) : 0;
#endif
  uint64_t slot = static_cast<uint64_t>(i) - 1u;
  if (slot < static_cast<uint64_t>(t->sizearray) && static_cast<double>(i) == n)
    return &t->array[slot];
  return nullptr;
}
inline const Value* luaH_get(Table* t, const Value* key) {
  if (key->tt == LUA_TNUMBER) [[likely]] {
    if (const Value* slot = luaH_arrayslot(t, key->n)) return slot;
    int32_t k;
    if (luaH_numbertoint(key->n, &k)) return luaH_getintnode(t, k);
    return luaH_getother(t, key);
  }
  if (key->tt == LUA_TSTRING) return luaH_getstr(t, tsvalue(key));
  if (key->tt == LUA_TNIL) return &luaO_nilobject;
  return luaH_getother(t, key);
}

// Slot for key, created when absent; raises an error for nil or NaN keys.
Value* luaH_set(lua_State* L, Table* t, const Value* key);
Value* luaH_setnum(lua_State* L, Table* t, int key);
Value* luaH_setstr(lua_State* L, Table* t, TString* key);
// Slot for a key that luaH_get did not find (it answered luaO_nilobject): saves the
// second lookup of luaH_set. Raises an error for nil or NaN keys.
Value* luaH_newkey(lua_State* L, Table* t, const Value* key);
// Traversal: key at *key replaced by the next key, value pushed into val. Answers
// false at the end; raises "invalid key to `next'" for a key not in the table.
bool luaH_next(lua_State* L, Table* t, Value* key, Value* val);
// The same in two steps: the traversal position after key (-1 for a key not in the
// table), then the first entry from a position on, answering the position after it (0 at
// the end).
int luaH_nextindex(Table* t, const Value* key);
int luaH_nextfrom(Table* t, int index, Value* key, Value* val);
// luaH_nextindex when hint may already be key's position: checked, and used when right.
int luaH_nextindexhint(Table* t, const Value* key, double hint);
// Border n with t[n] ~= nil and t[n+1] == nil (for table.getn fallback).
int luaH_getn(Table* t);
size_t luaH_memsize(const Table* t);
