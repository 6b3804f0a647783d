#include "ui/window_script.h"

#include <cstdio>

#include "frame/log.h"
#include "script/lua/lua_api.h"
#include "script/lua/lua_aux.h"
#include "script/value_conversion.h"
#include "ui/engine_vocabulary.h"
#include "ui/lua_message_value.h"
#include "ui/lua_window_style.h"
#include "ui/modal_window.h"
#include "ui/screen_init.h"
#include "ui/window_manager_bindings.h"

TWindowScript::TWindowScript(TWindowManager* manager) : TScript(nullptr), mManager(manager) {
  RegisterFunctions();
  RegisterWindowManagerFunctions(GetState(), manager);
  RegisterMessageMetatable(GetState());
  // The constants first: the dialog library's Lua text is written in their names.
  AddVocabulary(EngineVocabulary());
  DoLuaString(kScreenInitChunk);
}

TWindowScript::~TWindowScript() = default;

bool TWindowScript::Animate() {
  // The timer of HandleGetMessage fired (or a Yield's pass came): resume without a message.
  mWaitState = 0;
  return TScript::Animate();
}

bool TWindowScript::DeliverClosure() {
  lua_State* L = GetState();
  if (mWaitState != kWaitingForMessage) {
    // Suspended elsewhere (Yield): the closure would be lost in the resume; let the caller
    // run it directly.
    lua_pop(L, 1);
    return false;
  }
  lua_pushnil(L);
  lua_insert(L, -2);
  mWaitState = 0;
  return Resume(2) == 0;
}

void TWindowScript::OnTopChanged(TWindow* top) {
  mParentStack.clear();
  if (top) mParentStack.push_back(top);
}

void TWindowScript::OnWindowGone(TWindow* window) {
  std::erase(mParentStack, window);
}

void TWindowScript::AddWindowType(const std::string& name, TWindowCreator creator) {
  if (!creator) return;
  // Type names become Lua functions; anything but a plain identifier is refused.
  if (!IsScriptName(name)) {
    Log("AddWindowType: bad type name %s", name.c_str());
    return;
  }
  std::string text = "function " + name + "( table )\tCreating( '" + name +
                     "', table );\ttable.typename='" + name +
                     "';\n\treturn function() DoWindow( table ) end end;";
  DoLuaString(text.c_str());
  mTypeMap[name] = creator;
}

void TWindowScript::AddScriptConstant(const TScriptConstant& constant) {
  const std::string name(constant.name);
  if (!IsScriptName(name)) {
    Log("AddScriptConstant: bad constant name %s", name.c_str());
    return;
  }
  if (constant.kind == TScriptConstant::kMessageType) {
    const int type = static_cast<int>(constant.number);
    // A name registered again with a new number gives its old number free.
    std::erase_if(mMessageTypeNames,
                  [&](const auto& entry) { return entry.second == name && entry.first != type; });
    auto [it, added] = mMessageTypeNames.try_emplace(type, name);
    if (!added && it->second != name) {
      Log("AddScriptConstant: message type %d of %s is taken by %s", type, name.c_str(),
          it->second.c_str());
      return;
    }
  }
  lua_State* L = GetState();
  if (constant.kind == TScriptConstant::kText)
    lua_pushlstring(L, constant.text.data(), constant.text.size());
  else
    lua_pushnumber(L, constant.number);
  lua_setglobal(L, name.c_str());
}

TWindowCreator TWindowScript::FindType(const std::string& name) const {
  auto it = mTypeMap.find(name);
  return it == mTypeMap.end() ? nullptr : it->second;
}

bool TWindowScript::RunScriptFile(const std::string& name) {
  const bool ok = RunScript(name);
  if (mParentStack.size() > 1) mParentStack.erase(mParentStack.begin() + 1, mParentStack.end());
  return ok;
}

void TWindowScript::QueueScript(const std::string& text) {
  mQueuedScripts.push_back(text);
}

void TWindowScript::RunQueuedScripts() {
  std::vector<std::string> texts;
  texts.swap(mQueuedScripts);
  for (size_t i = 0; i < texts.size(); ++i) {
    if (!RunQueuedScript(texts[i])) {
      // The coroutine is busy elsewhere: this text and the later ones wait a frame, in order.
      mQueuedScripts.insert(mQueuedScripts.begin(), texts.begin() + static_cast<long>(i),
                            texts.end());
      return;
    }
  }
}

bool TWindowScript::RunQueuedScript(const std::string& text) {
  if (!IsSuspended()) {
    // No dialog coroutine to run in: the text runs as it stands.
    DoLuaString(text.c_str(), static_cast<int>(text.size()));
    return true;
  }
  if (mWaitState != kWaitingForMessage && mWaitState != kYielding) return false;
  lua_State* L = GetState();
  if (luaL_loadbuffer(L, text.data(), text.size(), "=queued script") != 0) {
    AlertLuaError(L, LuaErrorText(L, -1));
    lua_pop(L, 1);
    return true;
  }
  // WaitForMessage runs a function handed in beside the message; Yield one handed in alone.
  if (mWaitState == kWaitingForMessage) {
    lua_pushnil(L);
    lua_insert(L, -2);
    mWaitState = 0;
    Resume(2);
  } else {
    mWaitState = 0;
    Resume(1);
  }
  // Commands the text queued run now, as a message would have woken them; a bounded number,
  // so that a command that queues itself again cannot hold the frame.
  constexpr int kCommandsPerFrame = 16;
  for (int i = 0; i < kCommandsPerFrame && mWaitState == kWaitingForMessage && CommandsQueued();
       ++i) {
    mWaitState = 0;
    lua_pushnil(L);
    Resume(1);
  }
  return true;
}

bool TWindowScript::CommandsQueued() {
  lua_State* L = GetState();
  lua_getglobal(L, "gCommandQueue");
  bool queued = false;
  if (lua_istable(L, -1)) {
    lua_rawgeti(L, -1, 1);
    queued = !lua_isnil(L, -1);
    lua_pop(L, 1);
  }
  lua_pop(L, 1);
  return queued;
}

void TWindowScript::RunWithGlobal(const char* global, const char* text) {
  lua_State* L = GetState();
  lua_pushstring(L, global);
  lua_insert(L, -2);
  lua_settable(L, LUA_GLOBALSINDEX);
  DoLuaString(text);
}

bool TWindowScript::HandleMessage(std::unique_ptr<TMessage> message) {
  return HandleMessage(std::move(message), false);
}

bool TWindowScript::HandleMessage(std::unique_ptr<TMessage> message, bool hasClosure) {
  lua_State* L = GetState();
  if (!IsSuspended()) {
    // Running (or finished): queue for the next WaitForMessage.
    std::unique_ptr<TLuaObjectWrapper> closure;
    if (hasClosure) closure = std::make_unique<TLuaObjectWrapper>(L);
    if (message) {
      PushMessageForScript(L, std::move(message));
      RunWithGlobal("gMessageToQueue",
                    "table.insert(gMessageQueue,gMessageToQueue); gMessageToQueue=nil;");
    }
    if (closure) {
      closure->Push(L);
      RunWithGlobal("gMessageCommand",
                    "table.insert(gCommandQueue,gMessageCommand); gMessageCommand=nil;");
    }
    return true;
  }
  if (mWaitState == kWaitingForMessage) {
    if (!message) message = std::make_unique<TMessage>(kScriptCall, "");
    PushMessageForScript(L, std::move(message));
    int nargs = 1;
    if (hasClosure) {
      lua_insert(L, -2);  // message below the closure
      nargs = 2;
    }
    mWaitState = 0;
    Resume(nargs);
    return true;
  }
  // Suspended elsewhere: run the closure at once; the message is not for this wait.
  if (hasClosure && ProtectedCall(L, 0, 0) != 0) lua_pop(L, 1);
  return false;
}

void TWindowScript::PostCreateWindow(const TWindowStyle& style) {
  if (TWindow* parent = CurrentParent()) parent->PostCreate(style);
}

void TWindowScript::PopWindow() {
  if (mParentStack.size() > 1) mParentStack.pop_back();
}

TWindow* TWindowScript::GenericCreate(lua_State* L, int index) {
  TLuaWindowStyle style(L, index);
  TWindow* parent = CurrentParent();
  const std::string typeName = style.GetString("typename", "");
  TWindowCreator creator = FindType(typeName);
  if (!creator && parent) Log("GenericCreate: unknown window type '%s'", typeName.c_str());
  TWindow* window = nullptr;
  if (creator && parent) {
    window = creator();
    if (window && !parent->AddChild(window, true)) {
      delete window;  // refused: nobody else owns it
      window = nullptr;
    }
  }
  if (!window) {
    // DoWindow goes on with MakeDialog and PopWindow. An empty place on the stack keeps it
    // balanced and makes them leave the enclosing window alone: no name, no layout and no
    // children of the description that made nothing.
    mParentStack.push_back(nullptr);
    return nullptr;
  }
  window->Init(style);
  mParentStack.push_back(window);
  lua_pushnumber(L, window->Width());
  lua_setglobal(L, "gDialogWidth");
  lua_pushnumber(L, window->Height());
  lua_setglobal(L, "gDialogHeight");
  if (mCreationHook) mCreationHook->OnCreated(window, style);
  return window;
}

std::string TWindowScript::PushModal(const std::string& name) {
  if (!mManager) return "";
  auto* modal = new TModalWindow;
  modal->SetName(name);
  mManager->PushModal(modal);
  return modal->IdText();
}

void TWindowScript::ClearModalChildren() {
  TModalWindow* top = mManager ? mManager->TopModal() : nullptr;
  if (!top) return;
  top->Tasks().Clear();
  top->DeleteChildren();
  top->SetPosition(0, 0);
  top->SetSize(0, 0);
  OnTopChanged(top);
}

int TWindowScript::GetWindowDepth() const {
  int depth = 0;
  for (TWindow* w = mManager ? mManager->TopModal() : nullptr; w; w = w->GetParent()) ++depth;
  return depth;
}

TWindow* TWindowScript::FindInTop(const std::string& name) const {
  TModalWindow* top = mManager ? mManager->TopModal() : nullptr;
  return top ? top->FindChild(name, -1) : nullptr;
}

TWindow* TWindowScript::FindInStack(const std::string& name) const {
  if (!mManager) return nullptr;
  for (TModalWindow* modal : mManager->ModalStack()) {
    if (TWindow* w = modal->FindChild(name, -1)) return w;
  }
  return nullptr;
}

TWindow* TWindowScript::FindOwnChild(TWindow* modal, const std::string& name) {
  if (!modal) return nullptr;
  for (TWindow* child : modal->Children()) {
    if (child->IsModal()) continue;  // a nested dialog is a level of its own
    if (child->GetName() == name) return child;
    if (TWindow* found = FindOwnChild(child, name)) return found;
  }
  return nullptr;
}

TWindow* TWindowScript::FindInParent(const std::string& name) const {
  TWindow* parent = CurrentParent();
  return parent ? parent->FindChild(name, -1) : nullptr;
}

int TWindowScript::HandleGetMessage(lua_State* L, int timeout) {
  if (timeout >= 0)
    Schedule(timeout, true, true, false);
  else
    Unschedule();
  mWaitState = kWaitingForMessage;
  lua_getglobal(L, "gYieldResult");
  return lua_yield(L, 1);
}

void TWindowScript::PostMessageValue(lua_State* L, int index, TWindow* target) {
  if (!mManager || !ToMessage(L, index)) return;
  lua_pushvalue(L, index);
  auto* wrapper = new TLuaMessageWrapper(L);
  wrapper->target = target;
  mManager->PostMessage(wrapper);
}
