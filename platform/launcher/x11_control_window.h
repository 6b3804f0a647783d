// TX11ControlWindow: the launcher control's window, an X11 child of the page host's window.
// It has a display connection of its own and a thread that serves it: exposures paint the
// control's rectangle and status line, WM_USER ClientMessages from the game are handed to
// the control as host-text pieces. Every Xlib call holds the window's lock, so page calls
// (commands), the launch thread (existence, redraw) and the event thread can share it.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "webcontrol/launcher_control.h"

class TX11ControlWindow : public TControlWindow {
 public:
  // Opens the display and creates the window over (x, y, width, height) of parent; check
  // Id() != 0.
  TX11ControlWindow(TLauncherControl* control, const std::string& display, uint64_t parent, int x,
                    int y, int width, int height);
  ~TX11ControlWindow() override;  // stops the event thread, destroys the window
  TX11ControlWindow(const TX11ControlWindow&) = delete;
  TX11ControlWindow& operator=(const TX11ControlWindow&) = delete;

  uint64_t Id() const { return mId; }

  bool Exists() const override;
  bool HasGameWindow() const override;
  void PostHostCommand(uint32_t code) override;
  void PostQuit() override;
  void Invalidate() override;

  // Moves and resizes the window (the page's layout changed).
  void Place(int x, int y, int width, int height);

 private:
  struct TState;
  void Serve();
  void Paint();
  uint64_t GameWindow() const;  // lock held
  bool Post(uint64_t target, bool quit, long wparam);

  TLauncherControl* mControl;
  std::unique_ptr<TState> mState;
  uint64_t mId = 0;
  mutable std::mutex mLock;
  std::atomic<bool> mStop{false};
  int mWake[2] = {-1, -1};
  std::thread mThread;
};
