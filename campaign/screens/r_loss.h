// RLoss: the screen shown when no move is left ("RLoss"). Its own part is the price of a
// shuffle written on the shuffle button; its script offers undo, shuffle, starting the
// level over and leaving for the menu, and fades it in and out.
#pragma once

#include "campaign/screens/r_window.h"

class RLoss : public RWindow {
 public:
  static constexpr int kDefaultShuffleCost = 100;

  static TWindow* Create();
  const char* GetClassName() const override { return "RLoss"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &RLoss::Create || RWindow::IsKindOf(type);
  }

  void PostCreate(const TWindowStyle& style) override;
};
