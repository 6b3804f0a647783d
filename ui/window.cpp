#include "ui/window.h"

#include <algorithm>
#include <cstdio>

#include "frame/event.h"
#include "frame/task_list.h"
#include "frame/window_anim.h"
#include "ui/layout.h"
#include "ui/message.h"
#include "ui/window_canvas.h"
#include "ui/window_spiders.h"
#include "ui/window_style.h"
#include "ui/window_tree_host.h"

namespace {
int gNextWindowId = 1;
}

int TWindowStyle::GetInt(const std::string& key, int fallback) const {
  double v = GetNumber(key, fallback);
  if (!(v > -2147483648.0 && v < 2147483648.0)) return fallback;
  return static_cast<int>(v);
}

TWindow::TWindow() : mId(gNextWindowId++) {}

TWindow* TWindow::Create() {
  return new TWindow;
}

TWindow::~TWindow() {
  if (mAnimTask) {
    mAnimTask->DetachWindow();
    mAnimTask = nullptr;
  }
  Invalidate();
  if (TWindow* modal = ModalAncestorWindow()) modal->DescendantLeaving(this);
  // Children unlink themselves from this list through their parent pointer; take them out
  // first so that no child touches a half-destroyed parent.
  std::list<TWindow*> children;
  children.swap(mChildren);
  for (TWindow* child : children) {
    child->mParent = nullptr;
    delete child;
  }
  if (TWindowTreeHost* host = TreeHost()) host->Forget(this);
}

std::string TWindow::IdText() const {
  char text[16];
  std::snprintf(text, sizeof text, "%8x", static_cast<unsigned>(mId));
  return text;
}

void TWindow::Invalidate() const {
  if (TWindowTreeHost* host = TreeHost()) host->Invalidate();
}

bool TWindow::OnMouseHover(TPoint2 point) {
  TWindowTreeHost* host = TreeHost();
  return host && host->OnMouseHover(this, point);
}

TWindowTreeHost* TWindow::TreeHost() const {
  return mTree ? mTree->host : nullptr;
}

void TWindow::JoinTree(const std::shared_ptr<TWindowTreeHandle>& tree) {
  if (mTree == tree) return;
  mTree = tree;
  for (TWindow* child : mChildren) child->JoinTree(tree);
}

TWindow* TWindow::SetParent(TWindow* parent) {
  TWindow* old = mParent;
  mParent = parent;
  return old;
}

TRect TWindow::GetAbsoluteRect() const {
  TRect r = GetRect();
  for (const TWindow* p = mParent; p; p = p->mParent) {
    r.left += p->mLeft;
    r.right += p->mLeft;
    r.top += p->mTop;
    r.bottom += p->mTop;
  }
  return r;
}

TPoint2 TWindow::ScreenToLocal(TPoint2 p) const {
  TRect r = GetAbsoluteRect();
  return {p.x - r.left, p.y - r.top};
}

TPoint2 TWindow::LocalToScreen(TPoint2 p) const {
  TRect r = GetAbsoluteRect();
  return {p.x + r.left, p.y + r.top};
}

bool TWindow::Contains(TPoint2 p) const {
  return p.x >= mLeft && p.x < mRight && p.y >= mTop && p.y < mBottom;
}

void TWindow::SetPosition(int x, int y) {
  int w = Width(), h = Height();
  mLeft = x;
  mTop = y;
  mRight = x + w;
  mBottom = y + h;
  Invalidate();
}

void TWindow::SetSize(int w, int h) {
  mRight = mLeft + w;
  mBottom = mTop + h;
  Invalidate();
  UpdateCover();
}

void TWindow::SetFlags(uint32_t flags) {
  mFlags = (mFlags & 0xffu) | (flags & ~0xffu);
  UpdateCover();
}

void TWindow::UpdateCover() {
  if (TWindow* modal = ModalAncestorWindow()) modal->DescendantChanged(this);
}

bool TWindow::IsShown() const {
  for (const TWindow* w = this; w; w = w->mParent) {
    if (!w->IsVisible()) return false;
    if (w->IsModal()) break;
  }
  return true;
}

TWindow* TWindow::ModalAncestorWindow() const {
  for (TWindow* p = mParent; p; p = p->mParent) {
    if (p->IsModal()) return p;
  }
  return nullptr;
}

TModalWindow* TWindow::GetModalAncestor() const {
  TWindow* modal = ModalAncestorWindow();
  return modal ? modal->AsModalWindow() : nullptr;
}

TWindow* TWindow::FindChild(const std::string& name, int depth) {
  if (mName == name) return this;
  if (depth == 0) return nullptr;
  for (TWindow* child : mChildren) {
    if (TWindow* found = child->FindChild(name, depth < 0 ? -1 : depth - 1)) return found;
  }
  return nullptr;
}

TWindow* TWindow::FindChildAt(TPoint2 point) {
  for (TWindow* child : mChildren) {
    if (child->Contains(point) && child->IsShown() && !(child->mFlags & kWindowPassThrough))
      return child;
  }
  return this;
}

TWindow* TWindow::FindWindowAt(TPoint2 point, int depth) {
  if (depth == 0) return nullptr;
  TWindow* window = this;
  while (depth != 0) {
    TWindow* child = window->FindChildAt(point);
    if (child == window) break;
    point = child->ParentToLocal(point);
    window = child;
    if (depth > 0) --depth;
  }
  return window;
}

void TWindow::ForEachChild(TWindowSpider& spider, bool backwards) {
  // A copy: spiders may detach the child they visit.
  std::vector<TWindow*> children(mChildren.begin(), mChildren.end());
  if (backwards) std::reverse(children.begin(), children.end());
  for (TWindow* child : children) {
    if (!spider.Visit(child)) break;
  }
}

void TWindow::FitToChildren() {
  GetLargest largest(Width(), Height());
  ForEachChild(largest);
  SetSize(largest.maxRight, largest.maxBottom);
}

void TWindow::DeleteChildren() {
  ChildrenDelete spider(this, TreeHost());
  ForEachChild(spider);
}

void TWindow::ChangeOrder(int mode, TWindow* other) {
  if (!mParent) return;
  auto& list = mParent->mChildren;
  auto self = std::find(list.begin(), list.end(), this);
  if (self == list.end()) return;
  switch (mode) {
    case kToBack:
      list.erase(self);
      list.push_back(this);
      break;
    case kToFront:
      list.erase(self);
      list.push_front(this);
      break;
    case kStepBack: {
      auto next = std::next(self);
      if (next != list.end()) std::iter_swap(self, next);
      break;
    }
    case kStepFront:
      if (self != list.begin()) std::iter_swap(self, std::prev(self));
      break;
    case kInFrontOf: {
      list.erase(self);
      auto at = std::find(list.begin(), list.end(), other);
      list.insert(at, this);  // end() when other is no sibling: to the back
      break;
    }
    default:
      return;
  }
  Invalidate();
}

bool TWindow::AddChild(TWindow* child, bool attach) {
  if (!child || child == this) return false;
  if (std::find(mChildren.begin(), mChildren.end(), child) == mChildren.end()) {
    mChildren.push_front(child);
    child->mParent = this;
    if (mTree) child->JoinTree(mTree);
  }
  if (!attach || child->OnAttach()) {
    child->UpdateCover();
    return true;
  }
  mChildren.remove(child);
  child->mParent = nullptr;
  child->SetSize(child->Width(), child->Height());
  return false;
}

void TWindow::RemoveChild(TWindow* child) {
  auto it = std::find(mChildren.begin(), mChildren.end(), child);
  if (it != mChildren.end()) {
    mChildren.erase(it);
    Invalidate();
  }
  if (!child) return;
  if (TWindow* modal = child->ModalAncestorWindow()) modal->DescendantLeaving(child);
  if (child->mParent == this) child->mParent = nullptr;
}

void TWindow::Init(const TWindowStyle& style) {
  mName = style.GetString("name", mName);
  Layout(style);
}

void TWindow::PostCreate(const TWindowStyle& style) {
  if (style.GetBool("fit", false)) FitToChildren();
  Layout(style);
}

void TWindow::Layout(const TWindowStyle& style) {
  TAxis h{style.GetInt("x", 0), style.GetInt("w", Width())};
  TAxis v{style.GetInt("y", 0), style.GetInt("h", Height())};
  const bool hasParent = mParent != nullptr;
  const int pw = hasParent ? mParent->Width() : 0;
  const int ph = hasParent ? mParent->Height() : 0;
  if (hasParent) {
    if ((IsRelativePosition(h.pos) || IsRelativeSize(h.size)) && pw == 0) return;
    if ((IsRelativePosition(v.pos) || IsRelativeSize(v.size)) && ph == 0) return;
  }
  if (IsRelativePosition(h.pos) && h.size == 0) return;
  if (IsRelativePosition(v.pos) && v.size == 0) return;
  int align = style.GetInt("align", -1);
  const bool alignGiven = align != -1;
  if (!alignGiven) align = 0;
  ResolveAxis(h, hasParent, pw, align & kAlignHCenter, align & kAlignRight, alignGiven);
  ResolveAxis(v, hasParent, ph, align & kAlignVCenter, align & kAlignBottom, alignGiven);
  int w = Width(), hgt = Height();
  SetPosition(mLeft != 0 ? mLeft : h.pos, mTop != 0 ? mTop : v.pos);
  SetSize(w != 0 ? w : h.size, hgt != 0 ? hgt : v.size);
}

bool TWindow::DrawTree(int mode) {
  if (!IsVisible()) return false;
  if (mode == kDrawLayers) {
    if (!(mFlags & kWindowLayer) || !mParent || !(mParent->mFlags & kWindowDrawn)) return false;
  }
  if (mode == kDrawUnmarked && (mFlags & kWindowDrawn)) return false;
  if (mode == kDrawLayers) mFlags |= kWindowDrawn;
  const TRect absolute = GetAbsoluteRect();
  const TRect saved = TWindowCanvas::Clip();
  const TRect clip = Intersect(absolute, saved);
  if (clip.Empty()) return true;
  const bool origin = absolute.right != 0;
  if (origin) TWindowCanvas::PushOrigin(absolute);
  TWindowCanvas::SetClip(clip);
  Draw();
  // Back to front; a copy because drawing code may reorder its siblings.
  std::vector<TWindow*> children(mChildren.rbegin(), mChildren.rend());
  for (TWindow* child : children) {
    if (!child->IsModal()) child->DrawTree(mode);
  }
  PostDraw();
  if (origin) TWindowCanvas::PopOrigin();
  TWindowCanvas::SetClip(saved);
  return true;
}

bool TWindow::HandleKind(TWindow* window, const TEvent& event, TPoint2 point) {
  switch (event.kind) {
    case kEventLeftDown:
      return window->OnMouseDown(point);
    case kEventMouse:
      return window->OnMouseButton(point, event.param);
    case kEventLeftUp:
      return window->OnMouseUp(point);
    case kEventMove:
      return window->OnMouseMove(point);
    case kEventHover:
      return window->OnMouseHover(point);
    case kEventKeyDown:
      return window->OnKeyDown(event.param & 0xff, event.modifiers);
    case kEventKeyUp:
      return window->OnKeyUp(event.param & 0xff);
    case kEventChar:
      return window->OnChar(event.param & 0xff);
    default:
      return false;
  }
}

void TWindow::DispatchEvent(TWindow* window, const TEvent& event, bool focusHandled) {
  // Iterative climb; the event record carries the point in the current window's coordinates.
  TEvent e = event;
  while (window) {
    bool handled = HandleKind(window, e, {e.x, e.y});
    TWindowTreeHost* host = window->TreeHost();
    if (e.kind == kEventLeftDown && !focusHandled) {
      focusHandled = true;
      for (TWindow* w = window; w; w = w->mParent) {
        if (w->mFlags & kWindowFocusable) {
          if (host) host->SetFocus(w);
          break;
        }
      }
    }
    if (handled) return;
    if (window->IsModal()) {
      if (!host) return;
      if (e.kind == kEventLeftUp) {
        host->PostMessage(new TMessage(kPressAnyKey, "mouse:up"));
      } else if (e.kind == kEventKeyDown) {
        host->PostMessage(
            new TMessage(kPressAnyKey, std::string("raw:") + static_cast<char>(e.param & 0xff)));
      }
      return;
    }
    TWindow* parent = window->mParent;
    if (!parent) return;
    TPoint2 p = window->LocalToParent({e.x, e.y});
    e.x = p.x;
    e.y = p.y;
    const bool pointer = e.kind >= kEventLeftDown && e.kind <= kEventHover && e.kind != 9;
    TWindow* next = parent;
    if (pointer) {
      auto self = std::find(parent->mChildren.begin(), parent->mChildren.end(), window);
      if (self != parent->mChildren.end()) {
        for (auto it = std::next(self); it != parent->mChildren.end(); ++it) {
          TWindow* sibling = *it;
          if (sibling->Contains(p) && sibling->IsShown() &&
              !(sibling->mFlags & kWindowPassThrough)) {
            TPoint2 inside = sibling->ParentToLocal(p);
            TWindow* deepest = sibling->FindWindowAt(inside, -1);
            TPoint2 local = deepest->ScreenToLocal(parent->LocalToScreen(p));
            e.x = local.x;
            e.y = local.y;
            next = deepest;
            break;
          }
        }
      }
    }
    window = next;
  }
}

TWindowAnim* TWindow::GetAnimTask() {
  if (!mAnimTask) {
    // A window inside a modal window animates on that window's clock and task list; one
    // outside every modal window on the application's.
    TWindow* modal = IsModal() ? this : ModalAncestorWindow();
    TTaskList* tasks = modal ? modal->AnimationTasks() : nullptr;
    TClock* clock = modal ? modal->AnimationClock() : nullptr;
    if (!tasks) {
      TWindowTreeHost* host = TreeHost();
      tasks = host ? host->ApplicationTasks() : nullptr;
    }
    if (!tasks) return nullptr;  // nowhere to run
    mAnimTask = new TWindowAnim(this, clock);
    tasks->Add(mAnimTask);
  }
  return mAnimTask;
}

void TWindow::StartAnimation(int delay, bool periodic, bool fromNow, bool catchUp) {
  if (TWindowAnim* task = GetAnimTask()) task->Schedule(delay, periodic, fromNow, catchUp);
}

void TWindow::AnimTaskGone(TWindowAnim* task) {
  if (mAnimTask == task) mAnimTask = nullptr;
}
