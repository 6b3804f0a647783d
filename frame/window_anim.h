// The animation task of one window. The window is not owned: when it goes away it calls
// DetachWindow, and the task ends itself at its next run.
#pragma once

#include "frame/anim_task.h"

class TAnimatedWindow;

class TWindowAnim : public TAnimTask {
 public:
  TWindowAnim(TAnimatedWindow* window, TClock* clock = nullptr)
      : TAnimTask(clock), mWindow(window) {}
  ~TWindowAnim() override;

  bool Animate() override;
  void DetachWindow() { mWindow = nullptr; }
  TAnimatedWindow* Window() const { return mWindow; }

 private:
  TAnimatedWindow* mWindow;
};
