// What an animation task needs of its window. The window tree implements it; the window
// owns no task but keeps a pointer to its TWindowAnim, which lives on a task list.
#pragma once

class TWindowAnim;

class TAnimatedWindow {
 public:
  // One animation step; false ends the animation task.
  virtual bool Animate() = 0;
  // The window's animation task is being deleted: forget the pointer to it.
  virtual void AnimTaskGone(TWindowAnim* task) = 0;

 protected:
  ~TAnimatedWindow() = default;
};
