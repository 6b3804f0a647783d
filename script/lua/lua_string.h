// Interned strings and wide strings: one copy of every distinct text, hashed once.
#pragma once

#include "script/lua/lua_state.h"

void luaS_resize(lua_State* L, int newsize);
TString* luaS_newlstr(lua_State* L, const char* str, size_t l);
TString* luaS_newwstr(lua_State* L, const char16_t* str, size_t l);
inline TString* luaS_new(lua_State* L, const char* s) {
  return luaS_newlstr(L, s, strlen(s));
}
void luaS_freeall(lua_State* L);
// The state's scratch buffer with room for at least size bytes; its content is kept only
// until the next call.
char* luaS_scratch(lua_State* L, size_t size);
// Gives a large scratch buffer back (the collector calls it), so that one long
// concatenation does not hold its size for the state's whole life.
void luaS_trimscratch(lua_State* L);
// Frees a string that the collector found dead (removes it from the table).
void luaS_free(lua_State* L, TString* ts);
// Bytes of a string's block: header, text and its terminator (one zero byte, two for
// wide strings).
inline size_t luaS_blocksize(uint8_t tt, size_t len) {
  return tt == LUA_TWSTRING ? sizeof(TString) + 2 * len + 2 : sizeof(TString) + len + 1;
}
Udata* luaS_newudata(lua_State* L, size_t s);
