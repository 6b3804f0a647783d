// Helpers for the window tests: a description backed by a map, a scripted host, a window
// that records what happens to it, and the window system the dialog tests drive.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "frame/application_time.h"
#include "frame/task_list.h"
#include "ui/modal_window.h"
#include "ui/window.h"
#include "ui/window_host.h"
#include "ui/window_style.h"

class TMapStyle : public TWindowStyle {
 public:
  TMapStyle() = default;
  TMapStyle(std::initializer_list<std::pair<const std::string, double>> numbers)
      : numbers(numbers) {}
  bool Has(const std::string& key) const override {
    return numbers.count(key) || strings.count(key);
  }
  double GetNumber(const std::string& key, double fallback) const override {
    auto it = numbers.find(key);
    return it == numbers.end() ? fallback : it->second;
  }
  std::string GetString(const std::string& key, const std::string& fallback) const override {
    auto it = strings.find(key);
    return it == strings.end() ? fallback : it->second;
  }
  bool GetBool(const std::string& key, bool fallback) const override {
    auto it = numbers.find(key);
    return it == numbers.end() ? fallback : it->second != 0;
  }
  std::map<std::string, double> numbers;
  std::map<std::string, std::string> strings;
};

class TTestHost : public TWindowHost {
 public:
  uint32_t Now() const override { return now; }
  bool WantsFastFrames() const override { return foreground; }
  bool IsRelativeMouse() const override { return relative; }
  void PostQuit() override { ++quits; }
  void OnFrameDrawn() override { ++frames; }
  TTaskList* ApplicationTasks() override { return &tasks; }
  std::string GetClipboardText() override { return clipboard; }

  uint32_t now = 1000;
  bool foreground = true;
  bool relative = false;
  int quits = 0;
  int frames = 0;
  std::string clipboard;
  TTaskList tasks;
};

// Records calls; each handler answers what the test set.
class TProbeWindow : public TWindow {
 public:
  explicit TProbeWindow(std::string name = "", std::vector<std::string>* log = nullptr) : log(log) {
    SetName(name);
  }
  bool OnMouseDown(TPoint2 p) override { return Note("down", p, takesDown); }
  bool OnMouseUp(TPoint2 p) override { return Note("up", p, takesUp); }
  bool OnMouseMove(TPoint2 p) override { return Note("move", p, takesMove); }
  bool OnMouseLeave() override {
    Record("leave");
    if (releaseOnLeave) ReleaseCapture();
    return false;
  }
  bool OnKeyDown(int key, int) override { return Note("key" + std::to_string(key), {}, takesKey); }
  bool OnMessage(TMessage& m) override;
  void OnFocus(TWindow*) override { Record("focus"); }
  void OnModalPopped() override { Record("popped"); }
  void Draw() override { Record("draw"); }
  void ReleaseCapture();
  void SetFocusable() { SetClassFlags(kWindowFocusable); }

  bool takesDown = false, takesUp = false, takesMove = false, takesKey = false;
  bool takesMessages = false, releaseOnLeave = false;
  TPoint2 lastPoint;
  std::vector<std::string>* log;

 private:
  bool Note(const std::string& what, TPoint2 p, bool answer) {
    lastPoint = p;
    Record(what);
    return answer;
  }
  void Record(const std::string& what) {
    if (log) log->push_back(GetName() + ":" + what);
  }
};

class TWindowManager;
class TWindowScript;
struct lua_State;

// The window system the dialog tests drive: the scripted host, a window manager with its
// window script and a screen, and one pass of the game loop at a time. A fixture derives
// from it beside its test base, starts it in SetUp and stops it in TearDown.
class TWindowSystemHarness {
 protected:
  // clearEveryFrame: the screen clears under the dialogs every frame (for pixel tests).
  void StartWindowSystem(bool clearEveryFrame = false);
  void StopWindowSystem();
  // One pass of the game loop: time moves on, the application tasks run, then the idle
  // event reaches the window manager.
  void Pass(uint32_t ms = 20);
  void Event(int kind, int x = 0, int y = 0, int param = 0, int modifiers = 0);
  void Run(const std::string& text);

  TManualTime time{1000};
  TTestHost host;
  std::unique_ptr<TWindowManager> manager;
  TWindowScript* script = nullptr;  // owned by the host's task list
  lua_State* L = nullptr;
};
