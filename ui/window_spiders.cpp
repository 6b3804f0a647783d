#include "ui/window_spiders.h"

#include "ui/widget_hooks.h"
#include "ui/window.h"
#include "ui/window_tree_host.h"

bool ChildrenDelete::Visit(TWindow* window) {
  mParent->RemoveChild(window);
  if (mHost)
    mHost->DeleteLater(window);
  else
    delete window;  // no manager, no event loop: nothing can be running inside it
  return true;
}

bool GetLargest::Visit(TWindow* window) {
  TRect r = window->GetRect();
  if (r.right > maxRight) maxRight = r.right;
  if (r.bottom > maxBottom) maxBottom = r.bottom;
  return true;
}

bool FindDefault::Visit(TWindow* window) {
  auto* button = dynamic_cast<TButtonWindow*>(window);
  const bool marked = button && (mCancel ? button->IsCancelButton() : button->IsDefaultButton());
  if (marked && window->IsShown()) {
    result = window;
    return false;
  }
  window->ForEachChild(*this);
  return result == nullptr;
}

bool TWindowClearFlags::Visit(TWindow* window) {
  window->SetFlags(window->GetFlags() & mMask);
  if (mRecursive) window->ForEachChild(*this);
  return true;
}

bool TModalPoppedSpider::Visit(TWindow* window) {
  window->ForEachChild(*this);
  window->OnModalPopped();
  return true;
}
