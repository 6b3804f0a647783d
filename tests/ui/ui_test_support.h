// Helpers for the window tests: a description backed by a map, a scripted host, and a
// window that records what happens to it.
#pragma once

#include <map>
#include <string>
#include <vector>

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

  uint32_t now = 1000;
  bool foreground = true;
  bool relative = false;
  int quits = 0;
  int frames = 0;
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
