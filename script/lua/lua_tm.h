// Metamethod lookup with a per-table cache of absent events.
#pragma once

#include "script/lua/lua_table.h"

void luaT_init(lua_State* L);
// Metamethod of a metatable for one of the cached events (index..eq), or nullptr; an
// absent one is remembered in the metatable's flags.
inline const Value* luaT_gettm(Table* events, TMS event, TString* ename) {
  const Value* tm = luaH_getstr(events, ename);
  if (ttisnil(tm)) {
    if (event <= TM_EQ) events->flags |= static_cast<uint8_t>(1u << event);
    return nullptr;
  }
  return tm;
}
const Value* luaT_gettmbyobj(lua_State* L, const Value* o, TMS event);
Table* luaT_getmetatable(lua_State* L, const Value* o);
extern const char* const luaT_typenames[];

inline const Value* fasttm(lua_State* L, Table* et, TMS e) {
  if (et == nullptr || (et->flags & (1u << e))) return nullptr;
  return luaT_gettm(et, e, G(L)->tmname[e]);
}
