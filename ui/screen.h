// TScreen: the bottom of the modal stack, as large as the logical screen. It clears the
// frame and draws the window manager's backdrop.
#pragma once

#include "ui/modal_window.h"

class TScreen : public TModalWindow {
 public:
  TScreen();
  static TWindow* Create();
  const char* GetClassName() const override { return "TScreen"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &TScreen::Create || TModalWindow::IsKindOf(type);
  }
  void Draw() override;

  bool alwaysClear = false;
  bool neverClear = false;
  float clearColour[4] = {0, 0, 0, 1};
};
