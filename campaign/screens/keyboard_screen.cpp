#include "campaign/screens/keyboard_screen.h"

#include "ui/button.h"
#include "ui/modal_window.h"
#include "ui/text_edit.h"
#include "ui/window_manager.h"
#include "ui/window_style.h"

namespace {

constexpr int kKeyEscape = 0x1B;

TWindow* FirstTextEdit(TWindow& root) {
  for (TWindow* child : root.Children()) {
    if (dynamic_cast<TTextEdit*>(child) && child->IsVisible()) return child;
    if (TWindow* found = FirstTextEdit(*child)) return found;
  }
  return nullptr;
}

}  // namespace

TKeyboardScreen::TKeyboardScreen() {
  SetClassFlags(kWindowFocusable);
}

void TKeyboardScreen::PostCreate(const TWindowStyle& style) {
  TWindow::PostCreate(style);
  mEscapeButton = style.GetString("escapebutton", "");
  TWindowManager* manager = TWindowManager::Get();
  TModalWindow* modal = GetModalAncestor();
  if (!manager || !modal) return;
  // A dialog with a text field types into it; the keys it leaves climb to this window.
  TWindow* target = FirstTextEdit(*this);
  if (!target) target = this;
  manager->SetKeyTarget(modal, target);
  if (manager->TopModal() == modal) manager->SetFocus(target);
}

void TKeyboardScreen::PostDraw() {
  mFocus.Draw(*this);
}

bool TKeyboardScreen::OnKeyDown(int key, int modifiers) {
  if (key == kKeyEscape && !mEscapeButton.empty()) {
    auto* button = dynamic_cast<TButton*>(FindChild(mEscapeButton));
    if (button && button->IsShown()) {
      button->Click();
      return true;
    }
  }
  return mFocus.OnKeyDown(*this, key, modifiers);
}

bool TKeyboardScreen::OnChar(int character) {
  return mFocus.OnChar(*this, character);
}
