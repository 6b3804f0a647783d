#include "script/lua_function.h"

#include "script/lua/lua_api.h"
#include "script/script.h"

int TLuaFunction::Call(int nargs, int nresults) const {
  if (!StateAlive()) return LUA_ERRRUN;
  lua_State* L = State();
  if (nargs < 0 || nargs > lua_gettop(L)) return LUA_ERRRUN;
  Push(L);
  lua_insert(L, -(nargs + 1));
  if (TScript* script = TScript::FromState(L); script && script->GetState() == L)
    return script->RunFunction(nargs, nresults);
  return ProtectedCall(L, nargs, nresults);
}
