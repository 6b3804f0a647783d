// The window system of the running program: the window manager, its screen and its window
// script, plugged into the application frame (TWindowManagerLink) and answering the window
// manager's questions about the application (TWindowHost).
#pragma once

#include <memory>
#include <string>

#include "app/widget_sounds.h"
#include "frame/frame_links.h"
#include "ui/window_host.h"

class TApplication;
class TWindowManager;
class TWindowScript;

class TWindowSystem : public TWindowManagerLink, public TWindowHost {
 public:
  explicit TWindowSystem(TApplication& app);
  ~TWindowSystem() override;

  // TWindowManagerLink
  void HandleEvent(const TEvent& event) override;
  bool IsSuspended() const override;
  bool BlocksMouseInput() const override;
  void RequestRedraw() override;
  void SetTopModalClockRunning(bool running) override;

  // TWindowHost
  uint32_t Now() const override;
  bool WantsFastFrames() const override;
  bool IsRelativeMouse() const override;
  void PostQuit() override;
  void OnFrameDrawn() override;
  TTaskList* ApplicationTasks() override;
  bool SetClipboardText(const std::string& text) override;
  std::string GetClipboardText() override;

  TWindowManager& Manager() { return *mManager; }
  TWindowScript* Script() { return mScript; }

 private:
  TApplication& mApp;
  std::unique_ptr<TWindowManager> mManager;
  TWindowScript* mScript = nullptr;  // owned by the application task list
  TWidgetSounds mWidgetSounds;
};

// The window system of the running program, or null.
TWindowSystem* GetWindowSystem(TApplication& app);
