// TLuaThread: a new coroutine thread on a state, kept alive by the handle. Its stack is the
// place where a TScript on another script's state runs, or where a script's coroutine body
// is resumed.
#pragma once

#include "script/lua_object_wrapper.h"

class TLuaThread : public TLuaObjectWrapper {
 public:
  // Creates the thread on L's state (sharing its global table).
  explicit TLuaThread(lua_State* L);

  lua_State* Thread() const { return mThread; }

 private:
  TLuaThread(lua_State* L, lua_State* thread) : TLuaObjectWrapper(L), mThread(thread) {}

  lua_State* mThread;
};
