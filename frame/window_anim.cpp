#include "frame/window_anim.h"

#include "frame/animated_window.h"

TWindowAnim::~TWindowAnim() {
  if (mWindow) mWindow->AnimTaskGone(this);
}

bool TWindowAnim::Animate() {
  return mWindow && mWindow->Animate();
}
