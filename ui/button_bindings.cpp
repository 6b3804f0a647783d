// The script side of buttons: the Lua action and the modal return value.
#include <memory>
#include <utility>

#include "script/lua/lua_api.h"
#include "script/lua_function.h"
#include "ui/button.h"
#include "ui/message.h"
#include "ui/window_manager.h"
#include "ui/window_script.h"

namespace {

TWindowScript* RunningWindowScript() {
  TWindowManager* manager = TWindowManager::Get();
  return manager ? dynamic_cast<TWindowScript*>(manager->Script()) : nullptr;
}

// Hands the function to the window script as a call: queued while the script runs, resumed
// with while it waits for a message, or called at once.
class LuaAction : public TButton::Action {
 public:
  explicit LuaAction(std::unique_ptr<TLuaFunction> function) : mFunction(std::move(function)) {}
  void Run(TButton& button) override {
    TWindowScript* script = RunningWindowScript();
    if (!script || !mFunction || !mFunction->StateAlive()) return;
    lua_State* L = script->GetState();
    mFunction->Push(L);
    script->HandleMessage(std::make_unique<TMessage>(kScriptCall, "LuaAction:" + button.GetName()),
                          true);
  }

 private:
  std::unique_ptr<TLuaFunction> mFunction;
};

}  // namespace

std::unique_ptr<TButton::Action> MakeLuaAction(std::unique_ptr<TLuaFunction> function) {
  if (!function) return nullptr;
  return std::make_unique<LuaAction>(std::move(function));
}

void SetScriptReturnValue(const std::string& text) {
  TWindowScript* script = RunningWindowScript();
  if (!script) return;
  lua_State* L = script->GetState();
  lua_pushstring(L, text.c_str());
  lua_setglobal(L, "gReturnValue");
}
