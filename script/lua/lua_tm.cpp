// Metamethod lookup with a per-table cache of absent events.
#include "script/lua/lua_tm.h"

#include "script/lua/lua_string.h"

const char* const luaT_typenames[] = {"nil",    "boolean", "userdata", "number",
                                      "string", "table",   "function", "userdata",
                                      "thread", "wstring", "proto",    "upval"};

void luaT_init(lua_State* L) {
  static const char* const names[] = {"__index", "__newindex", "__gc",  "__mode",   "__eq",
                                      "__add",   "__sub",      "__mul", "__div",    "__pow",
                                      "__unm",   "__lt",       "__le",  "__concat", "__call"};
  for (int i = 0; i < TM_N; i++) {
    G(L)->tmname[i] = luaS_new(L, names[i]);
    G(L)->tmname[i]->marked |= GC_FIXED;
  }
  G(L)->argcount = luaS_new(L, "n");
  G(L)->argcount->marked |= GC_FIXED;
}

Table* luaT_getmetatable(lua_State* L, const Value* o) {
  (void)L;
  switch (o->tt) {
    case LUA_TTABLE:
      return hvalue(o)->metatable;
    case LUA_TUSERDATA:
      return uvalue(o)->metatable;
    default:
      return nullptr;
  }
}

const Value* luaT_gettmbyobj(lua_State* L, const Value* o, TMS event) {
  Table* mt = luaT_getmetatable(L, o);
  if (!mt) return &luaO_nilobject;
  return luaH_getstr(mt, G(L)->tmname[event]);
}
