// TWindowTreeHost: what the windows of a tree need of the window manager that keeps the
// tree (the window manager implements it). Every window of a managed tree reaches its host
// through TWindow::TreeHost(); windows of a tree no manager keeps have none, and then
// nothing is redrawn, focused or queued for them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class TMessage;
class TTaskList;
class TWindow;
struct TPoint2;

class TWindowTreeHost {
 public:
  virtual ~TWindowTreeHost() = default;

  // Something on screen changed: a frame is due.
  virtual void Invalidate() = 0;
  // The window is being destroyed: every pointer the host keeps to it goes.
  virtual void Forget(TWindow* window) = 0;
  // Deletes the window between events (a handler of it may be running now).
  virtual void DeleteLater(TWindow* window) = 0;

  // Messages: queued for the next delivery (the host owns the message), or delivered now.
  virtual void PostMessage(TMessage* message) = 0;
  virtual void Deliver(std::unique_ptr<TMessage> message) = 0;
  // Pops modal windows down to and including the one of that name or id text.
  virtual bool PopModal(const std::string& nameOrId) = 0;

  virtual TWindow* GetFocus() const = 0;
  virtual void SetFocus(TWindow* window) = 0;
  virtual void AddCapture(TWindow* window) = 0;
  virtual void RemoveCapture(TWindow* window) = 0;
  // OnMouseHover for windows that do not handle it themselves.
  virtual bool OnMouseHover(TWindow* window, TPoint2 point) = 0;

  // Where the animations of windows outside every modal window run; may be null.
  virtual TTaskList* ApplicationTasks() = 0;
  // The logical screen: an opaque window this large hides everything below it.
  virtual int ScreenWidth() const = 0;
  virtual int ScreenHeight() const = 0;
};

// The handle windows keep to their host. The host clears it when it goes, so that a window
// that outlives it (taken out of the tree and kept) finds no host instead of a dead one.
struct TWindowTreeHandle {
  TWindowTreeHost* host = nullptr;
};
