#include "script/lua_thread.h"

#include "script/lua/lua_api.h"

namespace {
// The new thread goes on the stack first so the base handle can take it.
lua_State* PushNewThread(lua_State* L) {
  return lua_newthread(L);
}
}  // namespace

TLuaThread::TLuaThread(lua_State* L) : TLuaThread(L, PushNewThread(L)) {}
