// Messages as Lua values: a full userdata holding an owned TMessage* whose metatable is the
// registry entry "tvMessageMetatable" ("type" and "name" readable, "__gc" deletes it).
// TLuaMessageWrapper carries such a value through the window manager's queue so that the
// script that posted it gets the very same value back.
#pragma once

#include <memory>

#include "script/lua_message.h"
#include "ui/message.h"

struct lua_State;

// Creates "tvMessageMetatable" in L's registry (once).
void RegisterMessageMetatable(lua_State* L);
// Pushes a new message userdata that owns message.
void PushMessageValue(lua_State* L, std::unique_ptr<TMessage> message);
// The message inside the userdata at index, or null when it is no message value.
TMessage* ToMessage(lua_State* L, int index);

class TLuaMessageWrapper : public TMessage {
 public:
  // Takes the message value at the top of L's stack (popped); copies its fields.
  explicit TLuaMessageWrapper(lua_State* L);
  const char* GetClassName() const override { return "TLuaMessageWrapper"; }
  // Pushes the wrapped Lua value.
  void PushValue(lua_State* L) const;

 private:
  std::unique_ptr<TLuaMessage> mValue;
};

// Pushes a message for a script: the wrapped value itself, or a new userdata owning it.
void PushMessageForScript(lua_State* L, std::unique_ptr<TMessage> message);
