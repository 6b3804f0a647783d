// TKeyboardScreen: a screen or dialog window that takes the keyboard while its dialog is on
// top: Tab moves between its buttons, Enter and Space press them (TButtonFocus), and Escape
// presses the button the description names under "escapebutton" (the dialog's way back;
// without one the dialog script hears Escape as a key message).
#pragma once

#include <string>

#include "campaign/screens/button_focus.h"
#include "ui/window.h"

class TKeyboardScreen : public TWindow {
 public:
  TKeyboardScreen();

  void PostCreate(const TWindowStyle& style) override;
  void PostDraw() override;
  bool OnKeyDown(int key, int modifiers) override;
  bool OnChar(int character) override;

  TButtonFocus& Focus() { return mFocus; }
  const std::string& EscapeButton() const { return mEscapeButton; }

 private:
  TButtonFocus mFocus;
  std::string mEscapeButton;
};
