// RTutorial: the tutorial pop-up ("RTutorial") and the in-game prompt dialog. Its tips
// switch follows the player's option and is hidden for a prompt that is always shown; its
// skip button goes once the tutorial level is behind the player.
#pragma once

#include "campaign/screens/r_window.h"

class RTutorial : public RWindow {
 public:
  static TWindow* Create();
  const char* GetClassName() const override { return "RTutorial"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &RTutorial::Create || RWindow::IsKindOf(type);
  }

  void PostCreate(const TWindowStyle& style) override;
};
