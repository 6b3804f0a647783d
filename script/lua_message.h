// TLuaMessage: a handle on a message table of the dialog scripts (their metatable and
// fields belong to the window script).
#pragma once

#include "script/lua_object_wrapper.h"

class TLuaMessage : public TLuaObjectWrapper {
 public:
  using TLuaObjectWrapper::TLuaObjectWrapper;
};
