// RIntro: the letter that opens the adventure ("RIntro"). Opening it starts the game (and
// marks the intro as seen), even if the player never presses start; it makes the first
// location the current one and tilts the letterhead.
#pragma once

#include "campaign/screens/r_window.h"

class RIntro : public RWindow {
 public:
  RIntro();

  static TWindow* Create();
  const char* GetClassName() const override { return "RIntro"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &RIntro::Create || RWindow::IsKindOf(type);
  }

  void PostCreate(const TWindowStyle& style) override;
};
