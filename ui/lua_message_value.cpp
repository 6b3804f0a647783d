#include "ui/lua_message_value.h"

#include <cstring>

#include "script/lua/lua_api.h"

namespace {

const char kMetatableName[] = "tvMessageMetatable";

struct TMessageBox {
  TMessage* message;
};

TMessageBox* ToBox(lua_State* L, int index) {
  if (lua_type(L, index) != LUA_TUSERDATA || !lua_getmetatable(L, index)) return nullptr;
  lua_pushstring(L, kMetatableName);
  lua_rawget(L, LUA_REGISTRYINDEX);
  const bool ours = lua_rawequal(L, -1, -2) != 0;
  lua_pop(L, 2);
  return ours ? static_cast<TMessageBox*>(lua_touserdata(L, index)) : nullptr;
}

int MessageIndex(lua_State* L) {
  TMessageBox* box = ToBox(L, 1);
  const char* key = lua_type(L, 2) == LUA_TSTRING ? lua_tostring(L, 2) : nullptr;
  if (!box || !box->message || !key) {
    lua_pushnil(L);
  } else if (std::strcmp(key, "type") == 0) {
    lua_pushnumber(L, box->message->type);
  } else if (std::strcmp(key, "name") == 0) {
    lua_pushlstring(L, box->message->name.data(), box->message->name.size());
  } else {
    lua_pushnil(L);
  }
  return 1;
}

int MessageGc(lua_State* L) {
  if (TMessageBox* box = ToBox(L, 1)) {
    delete box->message;
    box->message = nullptr;
  }
  return 0;
}

}  // namespace

void RegisterMessageMetatable(lua_State* L) {
  lua_pushstring(L, kMetatableName);
  lua_rawget(L, LUA_REGISTRYINDEX);
  const bool exists = lua_istable(L, -1);
  lua_pop(L, 1);
  if (exists) return;
  lua_pushstring(L, kMetatableName);
  lua_newtable(L);
  lua_pushstring(L, "__index");
  lua_pushcfunction(L, &MessageIndex);
  lua_rawset(L, -3);
  lua_pushstring(L, "__gc");
  lua_pushcfunction(L, &MessageGc);
  lua_rawset(L, -3);
  lua_rawset(L, LUA_REGISTRYINDEX);
}

void PushMessageValue(lua_State* L, std::unique_ptr<TMessage> message) {
  auto* box = static_cast<TMessageBox*>(lua_newuserdata(L, sizeof(TMessageBox)));
  // A window pointer must not outlive the window inside a Lua value; scripts never read it.
  message->target = nullptr;
  box->message = message.release();
  lua_pushstring(L, kMetatableName);
  lua_rawget(L, LUA_REGISTRYINDEX);
  lua_setmetatable(L, -2);
}

TMessage* ToMessage(lua_State* L, int index) {
  TMessageBox* box = ToBox(L, index);
  return box ? box->message : nullptr;
}

TLuaMessageWrapper::TLuaMessageWrapper(lua_State* L) : TMessage(0, "") {
  if (TMessage* inner = ToMessage(L, -1)) {
    type = inner->type;
    name = inner->name;
  }
  mValue = std::make_unique<TLuaMessage>(L);
}

void TLuaMessageWrapper::PushValue(lua_State* L) const {
  mValue->Push(L);
}

void PushMessageForScript(lua_State* L, std::unique_ptr<TMessage> message) {
  if (auto* wrapper = dynamic_cast<TLuaMessageWrapper*>(message.get())) {
    wrapper->PushValue(L);
    return;
  }
  PushMessageValue(L, std::move(message));
}
