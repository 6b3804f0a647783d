#include "game/window/window_functions.h"

#include "script/lua/lua_api.h"
#include "ui/window_manager.h"
#include "ui/window_script.h"

lua_State* WindowScriptState() {
  TWindowManager* manager = TWindowManager::Get();
  auto* script = manager ? dynamic_cast<TWindowScript*>(manager->Script()) : nullptr;
  return script ? script->GetState() : nullptr;
}

void ClearScriptGlobals(lua_State* L, std::span<const char* const> names) {
  for (const char* name : names) {
    lua_pushstring(L, name);
    lua_pushnil(L);
    lua_settable(L, LUA_GLOBALSINDEX);
  }
}

void QueueDialogCommand(const std::string& statement) {
  TWindowManager* manager = TWindowManager::Get();
  if (!manager) return;
  manager->QueueScript("gLaterCommand = function() " + statement +
                       " end; table.insert(gCommandQueue, gLaterCommand); gLaterCommand = nil");
}
