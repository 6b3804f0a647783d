// RWindow: a dialog window that fades in when its description sets "rfadeup" and offers the
// script function FadeDown(script), which disarms its buttons and fades it out, running the
// script (typically the dialog's PopModal) at the end, and FadeUp(script), a fade-in that
// runs the script once the dialog is all there. The base of the campaign's pop-ups.
#pragma once

#include <string>

#include "campaign/screens/keyboard_screen.h"
#include "campaign/screens/screen_functions.h"

class RWindow : public TKeyboardScreen {
 public:
  RWindow();
  ~RWindow() override;

  static TWindow* Create();
  const char* GetClassName() const override { return "RWindow"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &RWindow::Create || TWindow::IsKindOf(type);
  }

  void PostCreate(const TWindowStyle& style) override;

  void FadeDown(const std::string& script);
  void FadeUp(const std::string& script);

 protected:
  TScreenFunctions& Functions() { return mFunctions; }
  // The tree a fade covers: the dialog's modal window (this window without one).
  TWindow& FadeTarget();

 private:
  TScreenFunctions mFunctions;
};
