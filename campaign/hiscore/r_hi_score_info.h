// RHiScoreInfo: the information pop-up of the high-score screen ("RHiScoreInfo", dialog
// "scripts/hiscoreinfo.lua"), which explains world scores and accounts. Its script closes
// it through FadeAndCloseInfo(script), which runs the given end script (the shipped dialog
// passes "PopModal( 'highscores_info' );").
//
// The fade of the campaign's fading dialogs is not on this branch yet: the pop-up opens and
// closes at once until it is.
#pragma once

#include <string>

#include "ui/window.h"

class RHiScoreInfo : public TWindow {
 public:
  RHiScoreInfo();
  ~RHiScoreInfo() override;

  static TWindow* Create();
  const char* GetClassName() const override { return "RHiScoreInfo"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &RHiScoreInfo::Create || TWindow::IsKindOf(type);
  }

  void PostCreate(const TWindowStyle& style) override;
  // Enter and Escape close it as its button does.
  bool OnKeyDown(int key, int modifiers) override;

  void FadeAndCloseInfo(const std::string& endScript);
};
