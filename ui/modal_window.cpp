#include "ui/modal_window.h"

#include "ui/message.h"
#include "ui/widget_hooks.h"
#include "ui/window_manager.h"
#include "ui/window_spiders.h"

TModalWindow::TModalWindow() : mTasks(std::make_unique<TTaskList>()) {
  SetClassFlags(kWindowModal | kWindowFocusable);
}

TWindow* TModalWindow::Create() {
  return new TModalWindow;
}

TModalWindow::~TModalWindow() {
  if (TWindowManager* manager = TWindowManager::Get())
    manager->PostMessage(new TMessage(kModalClosed, IdText()));
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
  if (TWindowManager* manager = TWindowManager::Get()) manager->PopModal(message.name);
  return true;
}

bool TModalWindow::OnChar(int character) {
  if (character != 13) return false;
  FindDefault finder;
  ForEachChild(finder);
  bool detached = false;
  if (finder.result) {
    if (auto* button = dynamic_cast<TButtonWindow*>(finder.result)) detached = button->Press();
  }
  if (!detached) {
    if (TWindowManager* manager = TWindowManager::Get()) {
      auto message = std::make_unique<TMessage>(kDefaultAction, "");
      message->target = manager->GetFocus() ? manager->GetFocus() : this;
      manager->Deliver(std::move(message));
    }
  }
  return true;
}

void TModalWindow::OnFocus(TWindow* previous) {
  if (!mKeyTarget) return;
  if (TWindowManager* manager = TWindowManager::Get()) {
    manager->SetFocus(mKeyTarget);
  } else {
    mKeyTarget->OnFocus(previous);
  }
}

void TModalWindow::UpdateCoverMember(TWindow* window, bool covers) {
  if (covers)
    mCoverSet.insert(window);
  else
    mCoverSet.erase(window);
  uint32_t flags = GetFlags();
  SetFlagsRaw(mCoverSet.empty() && !mAlwaysOpaque ? flags & ~kWindowOpaque : flags | kWindowOpaque);
}
