// TLuaFunction: a handle on a Lua function, used by native code for callbacks.
#pragma once

#include "script/lua_object_wrapper.h"

class TLuaFunction : public TLuaObjectWrapper {
 public:
  using TLuaObjectWrapper::TLuaObjectWrapper;

  // Calls the function with the nargs values on the top of State()'s stack, leaving
  // nresults results. Through the owning script's RunFunction when the state has one (so a
  // call into a suspended script is delivered as a closure), else a protected call with
  // "_ALERT" as error handler. Answers 0 or the Lua error code; never raises. After the
  // state was closed: LUA_ERRRUN, nothing touched.
  int Call(int nargs = 0, int nresults = 0) const;
};
