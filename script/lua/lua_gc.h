// The collector: stop-the-world mark and sweep with weak tables and userdata
// finalizers. Collections start only at check points where every live value is
// reachable from a root (the VM sets the stack top to the frame top before checking).
#pragma once

#include "script/lua/lua_state.h"

void luaC_link(lua_State* L, GCObject* o);
// Full collection: mark, separate userdata to finalize, clear weak entries, sweep,
// then run the pending finalizers.
void luaC_collectgarbage(lua_State* L);
// Frees every object (state shutdown), running finalizers first.
void luaC_freeall(lua_State* L);
void luaC_callallgcTM(lua_State* L);

inline void luaC_checkGC(lua_State* L) {
#ifdef MC_LUA_STRESS
  luaC_collectgarbage(L);
#else
  if (G(L)->totalbytes >= G(L)->GCthreshold) luaC_collectgarbage(L);
#endif
}
