#include "campaign/screens/button_focus.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "frame/event.h"
#include "ui/button.h"
#include "ui/message.h"
#include "ui/slider.h"
#include "ui/window.h"
#include "ui/window_manager.h"
#include "ui/window_paint.h"

namespace {

// Windows virtual-key codes of the keys handled here.
constexpr int kKeyTab = 0x09;
constexpr int kKeyLeft = 0x25;
constexpr int kKeyUp = 0x26;
constexpr int kKeyRight = 0x27;
constexpr int kKeyDown = 0x28;
constexpr int kCharReturn = 13;
constexpr int kCharSpace = 32;

constexpr float kSliderKeyStep = 0.05f;
constexpr int kRingWidth = 2;
constexpr float kRingColour[4] = {1.0f, 0.84f, 0.25f, 0.95f};

bool IsControl(TWindow& window) {
  if (!window.IsShown()) return false;
  if (auto* button = dynamic_cast<TButton*>(&window)) return !button->IsDisarmed();
  return dynamic_cast<TSlider*>(&window) != nullptr;
}

void Collect(TWindow& window, std::vector<TWindow*>& out) {
  for (TWindow* child : window.Children()) {
    if (child->IsModal() || !child->IsVisible()) continue;
    if (IsControl(*child)) {
      out.push_back(child);
      continue;  // the pictures and texts of a button are not controls of their own
    }
    Collect(*child, out);
  }
}

}  // namespace

std::vector<TWindow*> TButtonFocus::Controls(TWindow& root) {
  std::vector<TWindow*> controls;
  Collect(root, controls);
  // Reading order: rows first (a few pixels of slack), then left to right.
  std::stable_sort(controls.begin(), controls.end(), [](TWindow* a, TWindow* b) {
    const TRect ra = a->GetAbsoluteRect(), rb = b->GetAbsoluteRect();
    if (std::abs(ra.top - rb.top) > 8) return ra.top < rb.top;
    return ra.left < rb.left;
  });
  return controls;
}

TWindow* TButtonFocus::Focused(TWindow& root) {
  if (!mFocus) return nullptr;
  const std::vector<TWindow*> controls = Controls(root);
  if (std::find(controls.begin(), controls.end(), mFocus) == controls.end()) mFocus = nullptr;
  return mFocus;
}

void TButtonFocus::Move(TWindow& root, int direction) {
  const std::vector<TWindow*> controls = Controls(root);
  if (controls.empty()) {
    mFocus = nullptr;
    return;
  }
  auto at = std::find(controls.begin(), controls.end(), mFocus);
  int index = 0;
  if (at == controls.end()) {
    index = direction > 0 ? 0 : static_cast<int>(controls.size()) - 1;
  } else {
    const int count = static_cast<int>(controls.size());
    index = (static_cast<int>(at - controls.begin()) + direction + count) % count;
  }
  mFocus = controls[static_cast<size_t>(index)];
  if (TWindowManager* manager = TWindowManager::Get()) manager->Invalidate();
}

bool TButtonFocus::OnKeyDown(TWindow& root, int key, int modifiers) {
  TWindow* focused = Focused(root);
  auto* slider = dynamic_cast<TSlider*>(focused);
  switch (key) {
    case kKeyTab:
      Move(root, (modifiers & kModShift) ? -1 : 1);
      return true;
    case kKeyLeft:
    case kKeyRight:
      if (slider) {
        slider->SetValue(slider->GetValue() + (key == kKeyLeft ? -kSliderKeyStep : kSliderKeyStep),
                         false);
        // A key step is a whole gesture: the screen hears the release as after a drag.
        if (TWindowManager* manager = TWindowManager::Get())
          manager->Deliver(
              std::make_unique<TMessage>(kSliderReleased, slider->GetName(), slider->GetParent()));
        return true;
      }
      Move(root, key == kKeyLeft ? -1 : 1);
      return true;
    case kKeyUp:
    case kKeyDown:
      Move(root, key == kKeyUp ? -1 : 1);
      return true;
    default:
      return false;
  }
}

bool TButtonFocus::OnChar(TWindow& root, int character) {
  if (character != kCharReturn && character != kCharSpace) return false;
  auto* button = dynamic_cast<TButton*>(Focused(root));
  if (!button) return false;
  button->Click();
  if (TWindowManager* manager = TWindowManager::Get()) manager->Invalidate();
  return true;
}

void TButtonFocus::Draw(TWindow& root) {
  TWindow* focused = Focused(root);
  if (!focused) return;
  const TRect rootRect = root.GetAbsoluteRect();
  TRect r = focused->GetAbsoluteRect();
  r = {r.left - rootRect.left - 3, r.top - rootRect.top - 3, r.right - rootRect.left + 3,
       r.bottom - rootRect.top + 3};
  FillScreenRect({r.left, r.top, r.right, r.top + kRingWidth}, kRingColour);
  FillScreenRect({r.left, r.bottom - kRingWidth, r.right, r.bottom}, kRingColour);
  FillScreenRect({r.left, r.top + kRingWidth, r.left + kRingWidth, r.bottom - kRingWidth},
                 kRingColour);
  FillScreenRect({r.right - kRingWidth, r.top + kRingWidth, r.right, r.bottom - kRingWidth},
                 kRingColour);
}
