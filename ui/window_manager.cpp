#include "ui/window_manager.h"

#include <algorithm>

#include "frame/application_time.h"
#include "frame/log.h"
#include "frame/task.h"
#include "frame/task_list.h"
#include "gfx/renderer.h"
#include "gfx/texture.h"
#include "ui/modal_window.h"
#include "ui/screen.h"
#include "ui/window_canvas.h"
#include "ui/window_host.h"
#include "ui/window_paint.h"
#include "ui/window_spiders.h"

namespace {
TWindowManager* gWindowManager = nullptr;

constexpr uint32_t kForegroundFrameMs = 12;
constexpr uint32_t kBackgroundFrameMs = 200;

}  // namespace

TWindowManager::TWindowManager(TWindowHost* host)
    : mHost(host), mPrevious(gWindowManager), mTree(std::make_shared<TWindowTreeHandle>()) {
  mTree->host = this;
  gWindowManager = this;
}

TWindowManager::~TWindowManager() {
  mMessageFilters.clear();
  mCaptureList.clear();
  while (!mModalStack.empty()) PopTop();
  ProcessDeletes();
  for (TWindow* overlay : mOverlayWindows) delete overlay;
  mOverlayWindows.clear();
  // Destroying modal windows posts kModalClosed; nobody is left to read them.
  while (!mMessageQueue.empty()) {
    delete mMessageQueue.front();
    mMessageQueue.pop_front();
  }
  mBackdrop.reset();
  mTree->host = nullptr;
  if (gWindowManager == this) gWindowManager = mPrevious;
}

TWindowManager* TWindowManager::Get() {
  return gWindowManager;
}

void TWindowManager::AddWindowType(const std::string& name, TWindowCreator creator) {
  if (mScript) mScript->AddWindowType(name, creator);
}

void TWindowManager::AddVocabulary(const TDialogVocabulary& vocabulary) {
  if (mScript) mScript->AddVocabulary(vocabulary);
}

void TWindowScriptLink::AddVocabulary(const TDialogVocabulary& vocabulary) {
  for (const TWindowType& type : vocabulary.windowTypes)
    AddWindowType(std::string(type.name), type.create);
  for (const TScriptConstant& constant : vocabulary.constants) AddScriptConstant(constant);
}

void TWindowManager::SetScript(TWindowScriptLink* script) {
  mScript = script;
  if (!script) return;
  TTask* task = script->Task();
  if (task && mHost && mHost->ApplicationTasks() && !mHost->ApplicationTasks()->Contains(task))
    mHost->ApplicationTasks()->Add(task);
}

void TWindowManager::SetScreen(TScreen* screen) {
  mScreen = screen;
  if (!screen) return;
  PushModal(screen);
  screen->SetSize(ScreenWidth(), ScreenHeight());
  screen->OnAttach();
}

TModalWindow* TWindowManager::TopModal() const {
  return mModalStack.empty() ? nullptr : mModalStack.front();
}

void TWindowManager::PushModal(TModalWindow* window) {
  if (!window) return;
  mHoverWindow = nullptr;
  if (!mCaptureList.empty()) {
    std::vector<TWindow*> copy;
    copy.swap(mCaptureList);
    for (TWindow* w : copy) w->OnMouseLeave();
  }
  TModalWindow* oldTop = TopModal();
  window->JoinTree(mTree);
  mModalStack.push_front(window);
  if (oldTop) {
    oldTop->AddChild(window, false);
    oldTop->Clock().Pause();
  }
  TWindow* previous = mFocus;
  mFocus = window;
  window->OnFocus(previous);
  if (mScript) mScript->OnTopChanged(window);
  window->OnAttach();
  if (window->Width() == 0 && window->GetParent())
    window->SetSize(window->GetParent()->Width(), window->GetParent()->Height());
  Invalidate();
}

void TWindowManager::PopTop() {
  if (mModalStack.empty()) return;
  TModalWindow* top = mModalStack.front();
  if (TWindow* parent = top->GetParent()) parent->RemoveChild(top);
  DeleteLater(top);
  mModalStack.pop_front();
  top->Tasks().Clear();
  if (TModalWindow* next = TopModal()) {
    if (mScript) mScript->OnTopChanged(next);
    TWindow* previous = mFocus;
    mFocus = next;
    next->OnFocus(previous);
  } else {
    if (mScript) mScript->OnTopChanged(nullptr);
    mFocus = nullptr;
  }
  TModalPoppedSpider popped;
  top->ForEachChild(popped);
  Invalidate();
  mPoppedDuringDraw = true;
}

bool TWindowManager::PopModal(const std::string& nameOrId) {
  auto matches = [&](const TWindow* w) {
    return w->GetName() == nameOrId || w->IdText() == nameOrId;
  };
  TWindow* target = nullptr;
  for (TWindow* w = TopModal(); w; w = w->GetParent()) {
    if (matches(w)) {
      target = w;
      break;
    }
  }
  // Only modal windows on the stack can be popped; a matching plain window is no target.
  if (!target || std::find(mModalStack.begin(), mModalStack.end(), target) == mModalStack.end())
    return false;
  while (!mModalStack.empty()) {
    TModalWindow* top = mModalStack.front();
    PopTop();
    if (top == target) break;
  }
  if (TModalWindow* top = TopModal()) top->Clock().Start();
  return true;
}

void TWindowManager::PostMessage(TMessage* message) {
  if (message) mMessageQueue.push_back(message);
}

void TWindowManager::ProcessMessages() {
  while (!mMessageQueue.empty()) {
    std::unique_ptr<TMessage> message(mMessageQueue.front());
    mMessageQueue.pop_front();
    Deliver(std::move(message));
  }
}

void TWindowManager::AddMessageFilter(std::unique_ptr<TMessageFilter> filter) {
  if (filter) mMessageFilters.push_back(std::move(filter));
}

void TWindowManager::Deliver(std::unique_ptr<TMessage> message) {
  if (!message) return;
  if (message->type == kQuitNow) {
    if (mHost) mHost->PostQuit();
    return;
  }
  if (!message->target) {
    for (auto& filter : mMessageFilters) {
      if (filter->Filter(*message)) return;
    }
    message->target = mFocus ? mFocus : TopModal();
    if (!message->target) return;
  }
  for (TWindow* w = message->target; w; w = w->GetParent()) {
    if (w->OnMessage(*message)) return;
    if (w->IsModal()) {
      auto* modal = dynamic_cast<TModalWindow*>(w);
      if (modal && modal->KeyTarget() && modal->KeyTarget()->OnMessage(*message)) return;
      break;
    }
  }
  if (mScript) mScript->HandleMessage(std::move(message));
}

void TWindowManager::DeleteLater(TWindow* window) {
  if (!window) return;
  if (std::find(mPendingDelete.begin(), mPendingDelete.end(), window) == mPendingDelete.end())
    mPendingDelete.push_back(window);
  mHoverWindow = nullptr;
  for (TMessage* message : mMessageQueue) {
    for (TWindow* w = message->target; w; w = w->GetParent()) {
      if (w == window) {
        message->target = nullptr;
        break;
      }
    }
  }
  RemoveCapture(window);
}

void TWindowManager::ProcessDeletes() {
  // Destructors may queue more deletions (a deleted window's own handlers); run to the end.
  while (!mPendingDelete.empty()) {
    std::vector<TWindow*> batch;
    batch.swap(mPendingDelete);
    for (TWindow* window : batch) {
      // A window still in the tree is deleted by its parent; take it out first.
      if (TWindow* parent = window->GetParent()) parent->RemoveChild(window);
      delete window;
    }
  }
  Invalidate();
}

void TWindowManager::Forget(TWindow* window) {
  if (mScript) mScript->OnWindowGone(window);
  if (mHoverWindow == window) mHoverWindow = nullptr;
  if (mFocus == window) mFocus = nullptr;
  RemoveCapture(window);
  for (TModalWindow* modal : mModalStack) {
    if (modal->KeyTarget() == window) SetKeyTarget(modal, nullptr);
  }
  // A window deleted directly (not through DeleteLater) must not stay a message target.
  for (TMessage* message : mMessageQueue) {
    if (message->target == window) message->target = nullptr;
  }
  mPendingDelete.erase(std::remove(mPendingDelete.begin(), mPendingDelete.end(), window),
                       mPendingDelete.end());
  // A modal window deleted directly leaves the stack with it.
  mModalStack.remove_if([window](TModalWindow* m) { return static_cast<TWindow*>(m) == window; });
}

void TWindowManager::AddCapture(TWindow* window) {
  if (window && !IsCapturing(window)) mCaptureList.push_back(window);
}

void TWindowManager::RemoveCapture(TWindow* window) {
  mCaptureList.erase(std::remove(mCaptureList.begin(), mCaptureList.end(), window),
                     mCaptureList.end());
}

bool TWindowManager::IsCapturing(TWindow* window) const {
  return std::find(mCaptureList.begin(), mCaptureList.end(), window) != mCaptureList.end();
}

void TWindowManager::SetFocus(TWindow* window) {
  TWindow* previous = mFocus;
  mFocus = window;
  if (window) window->OnFocus(previous);
}

void TWindowManager::SetKeyTarget(TModalWindow* modal, TWindow* window) {
  if (!modal) return;
  const bool isFocus = mFocus == modal;
  modal->SetKeyTargetField(window);
  if (isFocus && window) SetFocus(window);
}

bool TWindowManager::RunScriptFile(const std::string& name) {
  return mScript && mScript->RunScriptFile(name);
}

void TWindowManager::QueueScript(const std::string& text) {
  if (mScript) mScript->QueueScript(text);
}

void TWindowManager::AddOverlay(TWindow* window) {
  if (window) {
    window->JoinTree(mTree);
    mOverlayWindows.push_back(window);
  }
  Invalidate();
}

void TWindowManager::SetHoverHandler(std::unique_ptr<THoverHandler> handler) {
  mHoverHandler = std::move(handler);
}

bool TWindowManager::OnMouseHover(TWindow* window, TPoint2 point) {
  return mHoverHandler && mHoverHandler->OnMouseHover(window, point);
}

TTaskList* TWindowManager::ApplicationTasks() {
  return mHost ? mHost->ApplicationTasks() : nullptr;
}

int TWindowManager::ScreenWidth() const {
  return mHost ? mHost->ScreenWidth() : 800;
}

int TWindowManager::ScreenHeight() const {
  return mHost ? mHost->ScreenHeight() : 600;
}

void TWindowManager::HandleEvent(const TEvent& event) {
  if (event.kind == kEventNone) return;
  if (event.kind == kEventDisplayReset) mBackdrop.reset();
  ProcessDeletes();
  TModalWindow* top = TopModal();
  if (!top) return;
  TEvent e = event;
  switch (e.kind) {
    case kEventIdle:
      top->Tasks().Run(kUpdatePhase);
      if (mScript) mScript->RunQueuedScripts();
      ProcessMessages();
      Draw();
      break;
    case kEventLeftDown:
    case kEventMouse:
    case kEventLeftUp:
    case kEventMove:
    case kEventHover:
      DispatchMouse(e);
      break;
    case kEventLeave: {
      std::vector<TWindow*> copy = mCaptureList;
      for (TWindow* w : copy) {
        if (TopModal() != top) break;
        if (IsCapturing(w)) w->OnMouseLeave();
      }
      break;
    }
    case kEventKeyDown:
    case kEventKeyUp:
    case kEventChar:
      TWindow::DispatchEvent(mFocus ? mFocus : top, e);
      break;
    case kEventRepaint:
      Invalidate();
      ProcessMessages();
      Draw();
      break;
    case kEventFocus:
      break;
    default:
      ProcessMessages();
      TWindow::DispatchEvent(top, e);
      return;
  }
  ProcessMessages();
}

void TWindowManager::DispatchMouse(const TEvent& event) {
  TModalWindow* top = TopModal();
  const bool relative = mHost && mHost->IsRelativeMouse();
  if (!mCaptureList.empty()) {
    std::vector<TWindow*> copy = mCaptureList;
    for (TWindow* w : copy) {
      if (TopModal() != top) break;
      if (!IsCapturing(w)) continue;  // deleted or released by an earlier handler
      TRect r = w->GetAbsoluteRect();
      const bool inside =
          event.x >= r.left && event.x < r.right && event.y >= r.top && event.y < r.bottom;
      if (!inside && !relative) {
        w->OnMouseLeave();
        if (!IsCapturing(w)) continue;
      }
      TEvent e = event;
      if (!(relative && e.kind == kEventMove)) {
        TPoint2 p = w->ScreenToLocal({e.x, e.y});
        e.x = p.x;
        e.y = p.y;
      }
      TWindow::DispatchEvent(w, e);
    }
    return;
  }
  if (relative && event.kind == kEventMove) return;
  TPoint2 local = top->ScreenToLocal({event.x, event.y});
  TWindow* window = top->FindWindowAt(local, -1);
  if (!window) return;
  mHoverWindow = window;
  if (mHighlightHover) Invalidate();
  TEvent e = event;
  TPoint2 p = window->ScreenToLocal({e.x, e.y});
  e.x = p.x;
  e.y = p.y;
  TWindow::DispatchEvent(window, e);
}

void TWindowManager::Draw() {
  mPoppedDuringDraw = false;
  if (mSuspended || !mDirty) return;
  if (mHost && !mHost->IsFlipDone()) return;
  const uint32_t now = mHost ? mHost->Now() : ApplicationTime();
  const uint32_t interval =
      (!mHost || mHost->WantsFastFrames()) ? kForegroundFrameMs : kBackgroundFrameMs;
  if (mEverDrawn && now - mLastDrawTime < interval) return;
  mEverDrawn = true;
  mLastDrawTime = now;
  if (!mModalStack.empty()) {
    TWindowClearFlags clear(~static_cast<uint32_t>(kWindowDrawn), true);
    mModalStack.back()->ForEachChild(clear);
  }
  TModalWindow* top = TopModal();
  if (!top) return;
  if (mHost && mHost->ApplicationTasks()) mHost->ApplicationTasks()->Run(kDrawPhase);
  if (TopModal() != top) return;  // a task closed the window: draw on the next pass
  top->Tasks().Run(kDrawPhase);
  mDirty = false;
  const int width = ScreenWidth();
  const int height = ScreenHeight();
  TRenderer* renderer = GetRenderer();
  if (renderer && !renderer->BeginDraw(false)) return;
  TWindowCanvas::Reset(width, height);
  mLastDrawn.clear();
  {
    // Windows drawn one after another share batches (a board of tiles from one picture).
    TBatchHold batches(renderer);
    if (mBackdrop && mScreen) {
      mScreen->DrawTree(kDrawAll);
      mLastDrawn.push_back(mScreen);
      DrawModals(kDrawUnmarked);
    } else {
      DrawModals(kDrawAll);
    }
    for (TWindow* overlay : mOverlayWindows) overlay->DrawTree(kDrawAll);
    if (mHighlightHover && mHoverWindow) DrawHoverOutline();
  }
  if (renderer) renderer->EndDraw(true);
  if (mHost) mHost->OnFrameDrawn();
  if (mFrameObserver) mFrameObserver();
}

void TWindowManager::DrawModals(int mode) {
  if (mPoppedDuringDraw || mModalStack.empty()) return;
  if (mHost && !mHost->CanDraw()) return;
  if (mode == kDrawUnmarked || mTopModalOnly) {
    TModalWindow* top = TopModal();
    top->DrawTree(mode);
    mLastDrawn.push_back(top);
    return;
  }
  const int width = ScreenWidth();
  const int height = ScreenHeight();
  auto start = mModalStack.begin();
  for (auto it = mModalStack.begin(); it != mModalStack.end(); ++it) {
    start = it;
    TModalWindow* w = *it;
    if ((w->GetFlags() & kWindowOpaque) && w->Width() >= width && w->Height() >= height) break;
  }
  // Lower windows first: from the opaque one back up to the top.
  std::vector<TModalWindow*> order(mModalStack.begin(), std::next(start));
  std::reverse(order.begin(), order.end());
  TModalWindow* top = TopModal();
  for (TModalWindow* w : order) {
    if (mode != kDrawAll && w == top) continue;
    w->DrawTree(mode);
    mLastDrawn.push_back(w);
    if (mPoppedDuringDraw) return;
  }
}

void TWindowManager::DrawHoverOutline() {
  TRect r = mHoverWindow->GetAbsoluteRect();
  const float colour[4] = {1, 1, 0, 1};
  FillScreenRect({r.left, r.top, r.right, r.top + 2}, colour);
  FillScreenRect({r.left, r.top, r.left + 2, r.bottom}, colour);
  FillScreenRect({r.right - 2, r.top, r.right, r.bottom}, colour);
  FillScreenRect({r.left, r.bottom - 2, r.right, r.bottom}, colour);
}
