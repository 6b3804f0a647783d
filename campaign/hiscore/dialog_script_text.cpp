#include "campaign/hiscore/dialog_script_text.h"

#include <cstdio>

#include "frame/log.h"
#include "script/lua/lua_api.h"
#include "script/lua/lua_aux.h"
#include "ui/message.h"
#include "ui/modal_window.h"
#include "ui/window_manager.h"
#include "ui/window_script.h"

lua_State* DialogScriptState() {
  TWindowManager* manager = TWindowManager::Get();
  auto* script = manager ? dynamic_cast<TWindowScript*>(manager->Script()) : nullptr;
  return script ? script->GetState() : nullptr;
}

void RunDialogText(const std::string& text) {
  lua_State* L = DialogScriptState();
  if (!L) return;
  if (luaL_loadbuffer(L, text.data(), text.size(), "=hiscore") != 0 || lua_pcall(L, 0, 0, 0) != 0) {
    const char* error = lua_tostring(L, -1);
    Log("High-score screen script failed: %s", error ? error : "(no message)");
    lua_pop(L, 1);
  }
}

void QueueDialogText(const std::string& text) {
  if (TWindowManager* manager = TWindowManager::Get()) manager->QueueScript(text);
}

std::string QuoteForLua(const std::string& text) {
  std::string quoted;
  quoted.reserve(text.size());
  for (const unsigned char c : text) {
    if (c == '\\' || c == '\'') {
      quoted += '\\';
      quoted += static_cast<char>(c);
    } else if (c < 32 || c == 127) {
      // Three digits always, so that a digit after it cannot join the escape.
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\%03u", static_cast<unsigned>(c));
      quoted += escape;
    } else {
      quoted += static_cast<char>(c);
    }
  }
  return quoted;
}

void UnbindDialogFunction(const char* name) {
  lua_State* L = DialogScriptState();
  if (!L) return;
  lua_pushstring(L, name);
  lua_pushnil(L);
  lua_settable(L, LUA_GLOBALSINDEX);
}

void CloseDialogOf(TWindow* window) {
  TModalWindow* dialog = window ? window->GetModalAncestor() : nullptr;
  TWindowManager* manager = TWindowManager::Get();
  if (dialog && manager)
    manager->PostMessage(std::make_unique<TMessage>(kCloseWindow, dialog->IdText()));
}

void TakeDialogKeys(TWindow* window) {
  TModalWindow* dialog = window ? window->GetModalAncestor() : nullptr;
  TWindowManager* manager = TWindowManager::Get();
  if (dialog && manager) manager->SetKeyTarget(dialog, window);
}
