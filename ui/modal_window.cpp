#include "ui/modal_window.h"

#include "ui/message.h"
#include "ui/widget_hooks.h"
#include "ui/window_spiders.h"
#include "ui/window_tree_host.h"

TModalWindow::TModalWindow() : mTasks(std::make_unique<TTaskList>()) {
  SetClassFlags(kWindowModal | kWindowFocusable);
}

TWindow* TModalWindow::Create() {
  return new TModalWindow;
}

TModalWindow::~TModalWindow() {
  if (TWindowTreeHost* host = TreeHost()) host->PostMessage(new TMessage(kModalClosed, IdText()));
  mTasks->Clear();
  mTasks.reset();
}

bool TModalWindow::OnAttach() {
  mClock.Start();
  return true;
}

void TModalWindow::PostCreate(const TWindowStyle& style) {
  FitToChildren();
  TWindow::PostCreate(style);
}

bool TModalWindow::OnMessage(TMessage& message) {
  if (message.type != kCloseWindow) return false;
  if (TWindowTreeHost* host = TreeHost()) host->PopModal(message.name);
  return true;
}

// Enter presses the default button (or sends the default action); Escape presses the
// button marked "cancel", when the dialog has one.
bool TModalWindow::OnChar(int character) {
  if (character == 27) {
    FindDefault finder(true);
    ForEachChild(finder);
    auto* button = dynamic_cast<TButtonWindow*>(finder.result);
    if (button) button->Press();
    return button != nullptr;
  }
  if (character != 13) return false;
  FindDefault finder;
  ForEachChild(finder);
  bool detached = false;
  if (finder.result) {
    if (auto* button = dynamic_cast<TButtonWindow*>(finder.result)) detached = button->Press();
  }
  if (!detached) {
    if (TWindowTreeHost* host = TreeHost()) {
      auto message = std::make_unique<TMessage>(kDefaultAction, "");
      message->target = host->GetFocus() ? host->GetFocus() : this;
      host->Deliver(std::move(message));
    }
  }
  return true;
}

void TModalWindow::OnFocus(TWindow* previous) {
  if (!mKeyTarget) return;
  if (TWindowTreeHost* host = TreeHost()) {
    host->SetFocus(mKeyTarget);
  } else {
    mKeyTarget->OnFocus(previous);
  }
}

void TModalWindow::DescendantChanged(TWindow* descendant) {
  // Without a host there is no screen to cover.
  TWindowTreeHost* host = TreeHost();
  const bool covers = host && (descendant->GetFlags() & kWindowOpaque) &&
                      descendant->Width() >= host->ScreenWidth() &&
                      descendant->Height() >= host->ScreenHeight();
  UpdateCoverMember(descendant, covers);
}

void TModalWindow::DescendantLeaving(TWindow* descendant) {
  UpdateCoverMember(descendant, false);
}

void TModalWindow::UpdateCoverMember(TWindow* window, bool covers) {
  if (covers)
    mCoverSet.insert(window);
  else
    mCoverSet.erase(window);
  uint32_t flags = GetFlags();
  SetFlagsRaw(mCoverSet.empty() && !mAlwaysOpaque ? flags & ~kWindowOpaque : flags | kWindowOpaque);
}
