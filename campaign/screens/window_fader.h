// Fading of dialog windows: a dialog fades in when it opens and out before it closes.
// TFaderSpider sets the opacity of the pictures and texts of a window tree, RBlankActionSpider
// disarms its buttons (nothing can be clicked while a dialog fades away), and RWindowFader is
// the task that steps the opacity every 30 ms and, at the end, queues the dialog's end script
// (usually the PopModal of the dialog).
#pragma once

#include <memory>
#include <string>

#include "frame/anim_task.h"
#include "ui/window_spiders.h"

class TWindow;

class TFaderSpider : public TWindowSpider {
 public:
  // withChild: a child spider of the same step and start steps along (the one that visits
  // the pictures and texts inside pictures and buttons).
  TFaderSpider(float step, float startOpacity, bool withChild);

  bool Visit(TWindow* window) override;
  // One step towards opaque or transparent; false when the step reached the end (clamped).
  bool StepUp();
  bool StepDown();
  // Visits root and every window below it.
  void Apply(TWindow& root);

  float Opacity() const { return mCurrent; }
  float StartOpacity() const { return mStart; }

 private:
  float mStart;
  float mCurrent;
  float mStep;
  std::unique_ptr<TFaderSpider> mChild;
};

// Takes every button's action away for good.
class RBlankActionSpider : public TWindowSpider {
 public:
  bool Visit(TWindow* window) override;
  // Visits root and every window below it.
  void Apply(TWindow& root);
};

class RWindowFader : public TAnimTask {
 public:
  enum TMode : int { kOpening = 0, kClosing = 1 };
  static constexpr int kStepMs = 30;
  static constexpr float kStep = 0.17f;

  // Sets the first opacity of the window's tree at once and schedules itself on the
  // window's modal clock. The caller adds it to a task list (StartFade does both).
  RWindowFader(TWindow* window, int mode, std::string endScript);

  bool Animate() override;
  const TFaderSpider& Spider() const { return mSpider; }

 private:
  TWindow* mWindow;  // not owned: the window's modal task list ends the task with it
  int mMode;
  std::string mEndScript;
  TFaderSpider mSpider;
};

// Starts a fade of the top modal window on that window's task list (window: the tree to
// fade; null means the top modal window itself). Returns the task, or null without a
// window manager or modal window.
RWindowFader* StartFade(TWindow* window, int mode, const std::string& endScript);
