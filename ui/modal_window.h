// TModalWindow: a screen or dialog on the modal stack. It owns the task list and the
// pausable clock of everything in it, may name a key target that takes the keyboard while
// it is on top, and keeps the set of its descendants that cover it opaquely.
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

  TTaskList& Tasks() { return *mTasks; }
  TClock& Clock() { return mClock; }
  TWindow* KeyTarget() const { return mKeyTarget; }
  void SetKeyTargetField(TWindow* window) { mKeyTarget = window; }

  // The opaque cover set (see window.cpp UpdateCover).
  void UpdateCoverMember(TWindow* window, bool covers);
  bool IsCovered() const { return !mCoverSet.empty(); }

 protected:
  // The screen is opaque whatever covers it.
  bool mAlwaysOpaque = false;

 private:
  std::unique_ptr<TTaskList> mTasks;
  TWindow* mKeyTarget = nullptr;
  std::set<TWindow*> mCoverSet;
  TClock mClock;
};
