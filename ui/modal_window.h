// TModalWindow: a screen or dialog on the modal stack. It owns the task list and the
// pausable clock of everything in it, may name a key target that takes the keyboard while
// it is on top, and keeps the set of its descendants that cover it opaquely: a descendant
// covers it while it is marked opaque and at least as large as the logical screen.
#pragma once

#include <memory>
#include <set>

#include "frame/clock.h"
#include "frame/task_list.h"
#include "ui/window.h"

class TModalWindow : public TWindow {
 public:
  TModalWindow();
  ~TModalWindow() override;

  static TWindow* Create();
  const char* GetClassName() const override { return "TModalWindow"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &TModalWindow::Create || TWindow::IsKindOf(type);
  }

  bool OnAttach() override;
  void PostCreate(const TWindowStyle& style) override;
  bool OnMessage(TMessage& message) override;
  bool OnChar(int character) override;
  void OnFocus(TWindow* previous) override;
  TModalWindow* AsModalWindow() override { return this; }

  TTaskList& Tasks() { return *mTasks; }
  TClock& Clock() { return mClock; }
  TWindow* KeyTarget() const { return mKeyTarget; }
  void SetKeyTargetField(TWindow* window) { mKeyTarget = window; }

  bool IsCovered() const { return !mCoverSet.empty(); }

 protected:
  void DescendantChanged(TWindow* descendant) override;
  void DescendantLeaving(TWindow* descendant) override;
  TClock* AnimationClock() override { return &mClock; }
  TTaskList* AnimationTasks() override { return mTasks.get(); }

  // The screen is opaque whatever covers it.
  bool mAlwaysOpaque = false;

 private:
  void UpdateCoverMember(TWindow* window, bool covers);

  std::unique_ptr<TTaskList> mTasks;
  TWindow* mKeyTarget = nullptr;
  std::set<TWindow*> mCoverSet;
  TClock mClock;
};
