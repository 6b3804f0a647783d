// TWindowManager: owns the modal stack (the screen at the bottom, one modal window per open
// screen or dialog above it, each a child of the one below), turns events into calls on
// windows, queues and delivers messages, keeps focus, capture and the window under the
// pointer, deletes windows between events and draws a frame when something changed.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "frame/event.h"
#include "ui/dialog_vocabulary.h"
#include "ui/message.h"
#include "ui/window.h"
#include "ui/window_tree_host.h"

class TModalWindow;
class TScreen;
class TTexture;
class TWindowHost;
class TWindowScriptLink;

// Offered every untargeted message before it goes to the focus; true = consumed.
class TMessageFilter {
 public:
  virtual ~TMessageFilter() = default;
  virtual bool Filter(TMessage& message) = 0;
};

// Handles OnMouseHover for windows that do not.
class THoverHandler {
 public:
  virtual ~THoverHandler() = default;
  virtual bool OnMouseHover(TWindow* window, TPoint2 point) = 0;
};

// The window script as the manager sees it (TWindowScript implements it).
class TWindowScriptLink {
 public:
  virtual ~TWindowScriptLink() = default;
  virtual void OnTopChanged(TWindow* top) = 0;
  // Takes ownership of the message; answers whether a script took it.
  virtual bool HandleMessage(std::unique_ptr<TMessage> message) = 0;
  virtual void AddWindowType(const std::string& name, TWindowCreator creator) = 0;
  virtual void AddScriptConstant(const TScriptConstant& /*constant*/) {}
  // Every window type, then every constant of the vocabulary.
  void AddVocabulary(const TDialogVocabulary& vocabulary);
  virtual bool RunScriptFile(const std::string& name) = 0;
  // The task that runs the script (the application task list takes it), or null.
  virtual class TTask* Task() { return nullptr; }
  // A window is being destroyed: drop every pointer to it.
  virtual void OnWindowGone(TWindow*) {}
  // Script texts handed over for the next frame (TWindowManager::QueueScript).
  virtual void QueueScript(const std::string& /*text*/) {}
  // The next frame has come: run them.
  virtual void RunQueuedScripts() {}
  // Some handed-over texts have not run yet.
  virtual bool ScriptsQueued() const { return false; }
};

class TWindowManager : public TWindowTreeHost {
 public:
  explicit TWindowManager(TWindowHost* host);
  ~TWindowManager() override;
  TWindowManager(const TWindowManager&) = delete;
  TWindowManager& operator=(const TWindowManager&) = delete;

  // The manager of the running program (the last one created and not yet destroyed).
  static TWindowManager* Get();

  void AddWindowType(const std::string& name, TWindowCreator creator);
  // A library's window types and script constants (see ui/dialog_vocabulary.h).
  void AddVocabulary(const TDialogVocabulary& vocabulary);
  void SetScript(TWindowScriptLink* script);
  TWindowScriptLink* Script() const { return mScript; }
  void SetScreen(TScreen* screen);
  TScreen* Screen() const { return mScreen; }

  TModalWindow* TopModal() const;
  const std::list<TModalWindow*>& ModalStack() const { return mModalStack; }
  void PushModal(TModalWindow* window);
  void PopTop();
  // Pops down to and including the window of that name or id text; false when none.
  bool PopModal(const std::string& nameOrId) override;

  void PostMessage(TMessage* message) override;
  void PostMessage(std::unique_ptr<TMessage> message) { PostMessage(message.release()); }
  void ProcessMessages();
  void Deliver(std::unique_ptr<TMessage> message) override;
  size_t QueuedMessages() const { return mMessageQueue.size(); }
  const std::deque<TMessage*>& MessageQueue() const { return mMessageQueue; }
  void AddMessageFilter(std::unique_ptr<TMessageFilter> filter);

  void HandleEvent(const TEvent& event);
  void Draw();
  void Invalidate() override { mDirty = true; }
  bool IsDirty() const { return mDirty; }

  void DeleteLater(TWindow* window) override;
  void ProcessDeletes();
  size_t PendingDeletes() const { return mPendingDelete.size(); }
  void Forget(TWindow* window) override;

  void AddCapture(TWindow* window) override;
  void RemoveCapture(TWindow* window) override;
  bool IsCapturing(TWindow* window) const;
  TWindow* GetFocus() const override { return mFocus; }
  void SetFocus(TWindow* window) override;
  void SetKeyTarget(TModalWindow* modal, TWindow* window);
  TWindow* HoverWindow() const { return mHoverWindow; }
  bool RunScriptFile(const std::string& name);
  // Runs a script text on the next frame inside the dialog coroutine, where it may open a
  // dialog and wait ("DisplayDialog{ ... }") or queue a command for the running screen
  // ("gX = function() DoModal( 'scripts/x.lua' ) end; table.insert( gCommandQueue, gX );").
  void QueueScript(const std::string& text);
  // Texts handed to QueueScript that have not run yet (a dialog asked for is not open yet).
  bool ScriptsQueued() const { return mScript && mScript->ScriptsQueued(); }

  // Overlay windows are owned and drawn above the whole stack.
  void AddOverlay(TWindow* window);
  void SetBackdrop(std::shared_ptr<TTexture> backdrop) { mBackdrop = std::move(backdrop); }
  const std::shared_ptr<TTexture>& Backdrop() const { return mBackdrop; }
  void SetHoverHandler(std::unique_ptr<THoverHandler> handler);
  THoverHandler* HoverHandler() const { return mHoverHandler.get(); }
  bool OnMouseHover(TWindow* window, TPoint2 point) override;
  TTaskList* ApplicationTasks() override;
  // The host's logical screen, 800 x 600 without a host.
  int ScreenWidth() const override;
  int ScreenHeight() const override;

  void SetTopModalOnly(bool on) { mTopModalOnly = on; }
  bool TopModalOnly() const { return mTopModalOnly; }
  void SetSuspended(bool on) { mSuspended = on; }
  bool IsSuspended() const { return mSuspended; }
  void SetInputBlocked(bool on) { mInputBlocked = on; }
  bool InputBlocked() const { return mInputBlocked; }
  void SetHighlightHover(bool on) { mHighlightHover = on; }
  TWindowHost* Host() const { return mHost; }
  uint32_t LastDrawTime() const { return mLastDrawTime; }
  // Observes each drawn frame (tests, diagnostics).
  void SetFrameObserver(std::function<void()> observer) { mFrameObserver = std::move(observer); }
  // The windows drawn in the last frame, bottom first (for tests and the log).
  const std::vector<TModalWindow*>& LastDrawnModals() const { return mLastDrawn; }

 private:
  void DispatchMouse(const TEvent& event);
  void DrawModals(int mode);
  void DrawHoverOutline();

  std::shared_ptr<TTexture> mBackdrop;
  bool mPoppedDuringDraw = false;
  TScreen* mScreen = nullptr;
  uint32_t mLastDrawTime = 0;
  bool mEverDrawn = false;
  std::list<TModalWindow*> mModalStack;
  std::vector<TWindow*> mPendingDelete;
  std::vector<TWindow*> mOverlayWindows;
  bool mSuspended = false;
  bool mInputBlocked = false;
  bool mTopModalOnly = false;
  bool mDirty = true;
  bool mHighlightHover = false;
  TWindow* mHoverWindow = nullptr;
  std::vector<TWindow*> mCaptureList;
  TWindow* mFocus = nullptr;
  TWindowScriptLink* mScript = nullptr;
  std::deque<TMessage*> mMessageQueue;
  std::vector<std::unique_ptr<TMessageFilter>> mMessageFilters;
  std::unique_ptr<THoverHandler> mHoverHandler;
  TWindowHost* mHost;
  std::function<void()> mFrameObserver;
  std::vector<TModalWindow*> mLastDrawn;
  TWindowManager* mPrevious;
  // Given to every window of the trees this manager keeps; cleared when it goes.
  std::shared_ptr<TWindowTreeHandle> mTree;
};
