// TStoryWindow: the plain fading pop-up of story pages ("StoryWindow"): it fades in when
// built, shows the tutorial switch when it has one, and offers FadeAndClose(script), a
// fade-out that runs the script (the dialog's PopModal) at its end.
#pragma once

#include "campaign/screens/r_window.h"

class TStoryWindow : public RWindow {
 public:
  TStoryWindow();

  static TWindow* Create();
  const char* GetClassName() const override { return "TStoryWindow"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &TStoryWindow::Create || RWindow::IsKindOf(type);
  }

  void PostCreate(const TWindowStyle& style) override;
};

// Sets the toggle "tutorialson_button" (when root has one) to the player's tutorials option.
void ShowTutorialsSwitch(TWindow& root, const char* name);
