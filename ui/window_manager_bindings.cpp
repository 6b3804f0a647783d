#include "ui/window_manager_bindings.h"

#include "script/native_binding.h"
#include "ui/window_manager.h"

void RegisterWindowManagerFunctions(lua_State* L, TWindowManager* manager) {
  if (manager) RegisterMethod(L, "SetTopModalOnly", manager, &TWindowManager::SetTopModalOnly);
}
