// TMainMenu: the window class of the main menu ("MainMenu"). It plays the menu music, greets
// the current player, tilts the menu's painted labels, hides the more-games sign when there
// is no cross-sell file, and offers the script functions of the menu: SetWelcomeName,
// HasGameStarted, Reset, KillMusic, PlayMusic, PauseMusic, ResumeMusic and DoWork. With a
// sprite layer named "spritelayer" its decorations move (TMenuDecorations).
#pragma once

#include "campaign/screens/keyboard_screen.h"
#include "campaign/screens/menu_decorations.h"
#include "campaign/screens/screen_functions.h"

class TMainMenu : public TKeyboardScreen {
 public:
  static constexpr char kMenuMusic[] = "audio/music/music_mainmenu.ogg";
  static constexpr char kCrossSellFile[] = "xsell/xsell.xml";

  TMainMenu();
  ~TMainMenu() override;

  static TWindow* Create();
  const char* GetClassName() const override { return "TMainMenu"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &TMainMenu::Create || TWindow::IsKindOf(type);
  }

  void PostCreate(const TWindowStyle& style) override;
  bool Animate() override;

  // Script functions.
  void SetWelcomeName();
  bool HasGameStarted();
  void Reset();
  void KillMusic();
  void PlayMusic();
  void PauseMusic();
  void ResumeMusic();
  void DoWork() {}

  const TMenuDecorations& Decorations() const { return mDecorations; }

 private:
  TScreenFunctions mFunctions;
  TMenuDecorations mDecorations;
  bool mMusicPaused = false;
};
