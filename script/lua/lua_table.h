// Tables: an array part for keys 1..n and an open-addressing hash part for the rest.
// A key whose value became nil stays in its slot (a dead key) so that traversal with
// next() keeps working while fields are cleared; rehashing drops dead keys.
#pragma once

#include "script/lua/lua_state.h"

Table* luaH_new(lua_State* L, int narray, int lnhash);
void luaH_free(lua_State* L, Table* t);
const Value* luaH_get(Table* t, const Value* key);
const Value* luaH_getnum(Table* t, int key);
const Value* luaH_getstr(Table* t, TString* key);
// Slot for key, created when absent; raises an error for nil or NaN keys.
Value* luaH_set(lua_State* L, Table* t, const Value* key);
Value* luaH_setnum(lua_State* L, Table* t, int key);
Value* luaH_setstr(lua_State* L, Table* t, TString* key);
// Traversal: key at *key replaced by the next key, value pushed into val. Answers
// false at the end; raises "invalid key to `next'" for a key not in the table.
bool luaH_next(lua_State* L, Table* t, Value* key, Value* val);
// Border n with t[n] ~= nil and t[n+1] == nil (for table.getn fallback).
int luaH_getn(Table* t);
size_t luaH_memsize(const Table* t);
