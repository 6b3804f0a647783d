// Help: the four pages of how to play ("HelpWindow"). Next and Previous turn the pages; the
// previous button hides on the first page and the next button on the last.
#pragma once

#include "campaign/screens/r_window.h"

class Help : public RWindow {
 public:
  static constexpr int kPageCount = 4;

  Help();

  static TWindow* Create();
  const char* GetClassName() const override { return "Help"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &Help::Create || RWindow::IsKindOf(type);
  }

  void PostCreate(const TWindowStyle& style) override;

  void Next();
  void Previous();
  int Page() const { return mPage; }

 private:
  void ShowPage();

  int mPage = 1;
};
