// What the window manager needs of the application around it: time, the state of the
// program window, the quit path and the application's own task list. The application
// plugs in an adapter; tests use a scripted one.
#pragma once

#include <cstdint>
#include <string>

class TTaskList;

class TWindowHost {
 public:
  virtual ~TWindowHost() = default;
  virtual uint32_t Now() const = 0;
  // Foreground, embedded or "-pq=" mode: frames every 12 ms, else every 200 ms.
  virtual bool WantsFastFrames() const = 0;
  // Windowed mode only: whether the previous page flip has finished.
  virtual bool IsFlipDone() const { return true; }
  virtual bool IsRelativeMouse() const { return false; }
  // Application, stack and display are ready to draw.
  virtual bool CanDraw() const { return true; }
  virtual void PostQuit() = 0;
  virtual void OnFrameDrawn() {}
  virtual TTaskList* ApplicationTasks() { return nullptr; }
  virtual bool SetClipboardText(const std::string&) { return false; }
  virtual int ScreenWidth() const { return 800; }
  virtual int ScreenHeight() const { return 600; }
};
