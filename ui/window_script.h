// TWindowScript: the one script task of the window manager. Its Lua state holds the dialog
// library ("gScreenInit"); its coroutine is the running dialog script ("scripts/
// mainloop.lua"), which builds window trees from descriptions through the type registry and
// waits in HandleGetMessage for the messages no window consumed.
//
// Errors: Lua errors go to "_ALERT"; native failures answer nil/false/"" as the script
// functions document; nothing raises out of here.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "script/script.h"
#include "ui/window.h"
#include "ui/window_manager.h"

class TModalWindow;
class TWindowStyle;

// Told about every window a description creates.
class TCreationHook {
 public:
  virtual ~TCreationHook() = default;
  virtual void OnCreated(TWindow* window, const TWindowStyle& description) = 0;
};

class TWindowScript : public TScript, public TWindowScriptLink {
 public:
  // Where the coroutine is suspended: in HandleGetMessage, or in Yield until the next pass.
  static constexpr int kWaitingForMessage = 3;
  static constexpr int kYielding = 4;

  explicit TWindowScript(TWindowManager* manager);
  ~TWindowScript() override;

  // TScript
  bool Animate() override;
  bool DeliverClosure() override;

  // TWindowScriptLink
  void OnTopChanged(TWindow* top) override;
  bool HandleMessage(std::unique_ptr<TMessage> message) override;
  void AddWindowType(const std::string& name, TWindowCreator creator) override;
  void AddScriptConstant(const TScriptConstant& constant) override;
  bool RunScriptFile(const std::string& name) override;
  void OnWindowGone(TWindow* window) override;
  void QueueScript(const std::string& text) override;
  void RunQueuedScripts() override;
  bool ScriptsQueued() const override { return !mQueuedScripts.empty(); }
  TTask* Task() override { return this; }

  // The message (may be null) and the closure on the top of the stack (when hasClosure).
  bool HandleMessage(std::unique_ptr<TMessage> message, bool hasClosure);

  TWindowManager* Manager() const { return mManager; }
  TWindow* CurrentParent() const { return mParentStack.empty() ? nullptr : mParentStack.back(); }
  const std::vector<TWindow*>& ParentStack() const { return mParentStack; }
  TWindowCreator FindType(const std::string& name) const;
  int WaitState() const { return mWaitState; }
  // Yield is about to suspend the coroutine until the next pass.
  void MarkYielding() { mWaitState = kYielding; }
  void SetLocalizeLabels(bool on) { mLocalizeLabels = on; }
  bool LocalizeLabels() const { return mLocalizeLabels; }
  void SetCreationHook(std::unique_ptr<TCreationHook> hook) { mCreationHook = std::move(hook); }

  // Script-function logic (bound in window_script_bindings.cpp).
  void PostCreateWindow(const TWindowStyle& style);
  void PopWindow();
  // Creates a window from the description at index of L's stack; null when nothing was made.
  TWindow* GenericCreate(lua_State* L, int index);
  std::string PushModal(const std::string& name);
  void ClearModalChildren();
  int GetWindowDepth() const;
  TWindow* FindInTop(const std::string& name) const;
  TWindow* FindInStack(const std::string& name) const;
  TWindow* FindInParent(const std::string& name) const;
  // A descendant of that name that belongs to this level (nested modal windows skipped).
  static TWindow* FindOwnChild(TWindow* modal, const std::string& name);
  // Yields the coroutine until a message, a closure or the timeout (ms; < 0 none).
  int HandleGetMessage(lua_State* L, int timeout);
  // Queues a message value (at index of L) with the manager; target as given.
  void PostMessageValue(lua_State* L, int index, TWindow* target);

 private:
  void RegisterFunctions();
  // Runs a short Lua text with one value (top of the stack, popped) bound to a global.
  void RunWithGlobal(const char* global, const char* text);
  // Runs one queued text; false when the coroutine cannot take it now.
  bool RunQueuedScript(const std::string& text);
  bool CommandsQueued();

  TWindowManager* mManager;
  std::vector<TWindow*> mParentStack;
  std::map<std::string, TWindowCreator> mTypeMap;
  std::map<int, std::string> mMessageTypeNames;
  int mWaitState = 0;
  bool mLocalizeLabels = false;
  std::unique_ptr<TCreationHook> mCreationHook;
  std::vector<std::string> mQueuedScripts;
};
