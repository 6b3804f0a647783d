#include "campaign/screens/window_fader.h"

#include <algorithm>

#include "ui/button.h"
#include "ui/image.h"
#include "ui/modal_window.h"
#include "ui/slider.h"
#include "ui/text.h"
#include "ui/window.h"
#include "ui/window_manager.h"

namespace {

constexpr char kShadowName[] = "shadow";
constexpr float kShadowOpacity = 0.99f;

// The modal window a window belongs to: itself when it is one.
TModalWindow* OwningModal(TWindow* window) {
  if (!window) return nullptr;
  if (TModalWindow* modal = window->AsModalWindow()) return modal;
  return window->GetModalAncestor();
}

// Visits root and all its descendants, parents before children.
void VisitTree(TWindow& root, TWindowSpider& spider) {
  if (!spider.Visit(&root)) return;
  // A copy: a spider may hide or reorder windows.
  const std::list<TWindow*> children = root.Children();
  for (TWindow* child : children) VisitTree(*child, spider);
}

}  // namespace

TFaderSpider::TFaderSpider(float step, float startOpacity, bool withChild)
    : mStart(startOpacity), mCurrent(startOpacity), mStep(step) {
  if (withChild) mChild = std::make_unique<TFaderSpider>(step, startOpacity, false);
}

bool TFaderSpider::Visit(TWindow* window) {
  if (auto* image = dynamic_cast<TImage*>(window)) {
    // A shadow keeps its own see-through look once the dialog is fully there.
    if (!(window->GetName() == kShadowName && mCurrent == 1.0f)) {
      image->SetOpacity(mCurrent);
      if (mChild) window->ForEachChild(*mChild);
    }
  } else if (auto* text = dynamic_cast<TText*>(window)) {
    text->SetOpacity(mCurrent);
  } else if (dynamic_cast<TButton*>(window)) {
    if (mChild) window->ForEachChild(*mChild);
  } else if (dynamic_cast<TSlider*>(window) && mStart == 1.0f) {
    // A slider cannot be drawn see-through: it leaves as the fade-out begins.
    window->SetFlags(window->GetFlags() & ~kWindowVisible);
  }
  return true;
}

bool TFaderSpider::StepUp() {
  if (mChild) mChild->StepUp();
  mCurrent += mStep;
  if (mCurrent < 1.0f) return true;
  mCurrent = 1.0f;
  return false;
}

bool TFaderSpider::StepDown() {
  if (mChild) mChild->StepDown();
  mCurrent -= mStep;
  if (mCurrent > 0.0f) return true;
  mCurrent = 0.0f;
  return false;
}

void TFaderSpider::Apply(TWindow& root) {
  VisitTree(root, *this);
}

bool RBlankActionSpider::Visit(TWindow* window) {
  if (auto* button = dynamic_cast<TButton*>(window)) button->Disarm();
  return true;
}

void RBlankActionSpider::Apply(TWindow& root) {
  VisitTree(root, *this);
}

RWindowFader::RWindowFader(TWindow* window, int mode, std::string endScript)
    : TAnimTask(OwningModal(window) ? &OwningModal(window)->Clock() : nullptr),
      mWindow(window),
      mMode(mode),
      mEndScript(std::move(endScript)),
      mSpider(kStep, mode == kClosing ? 1.0f : 0.0f, true) {
  // Each step is due one period after the previous one, so a slow frame runs the steps it
  // missed and a fade lasts the same time on every machine.
  Schedule(kStepMs, true, false, true);
  if (mWindow) mSpider.Apply(*mWindow);
}

bool RWindowFader::Animate() {
  const bool going = mMode == kClosing ? mSpider.StepDown() : mSpider.StepUp();
  if (mWindow) mSpider.Apply(*mWindow);
  if (TWindowManager* manager = TWindowManager::Get()) manager->Invalidate();
  if (going) return true;
  if (mWindow) {
    if (auto* shadow = dynamic_cast<TImage*>(mWindow->FindChild(kShadowName)))
      shadow->SetOpacity(kShadowOpacity);
  }
  if (!mEndScript.empty()) {
    if (TWindowManager* manager = TWindowManager::Get()) manager->QueueScript(mEndScript);
  }
  return false;
}

RWindowFader* StartFade(TWindow* window, int mode, const std::string& endScript) {
  TWindowManager* manager = TWindowManager::Get();
  TModalWindow* top = manager ? manager->TopModal() : nullptr;
  if (!window) window = top;
  TModalWindow* modal = OwningModal(window);
  if (!modal) return nullptr;
  auto* fader = new RWindowFader(window, mode, endScript);
  modal->Tasks().Add(fader);
  return fader;
}
