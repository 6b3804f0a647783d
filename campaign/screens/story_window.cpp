#include "campaign/screens/story_window.h"

#include "campaign/game_app.h"
#include "campaign/screens/window_fader.h"
#include "ui/button.h"

void ShowTutorialsSwitch(TWindow& root, const char* name) {
  auto* button = dynamic_cast<TButton*>(root.FindChild(name));
  TGameApp* game = TGameApp::Get();
  if (button && game && button->Kind() == TButton::kToggle) button->SetToggle(game->TutorialsOn());
}

TStoryWindow::TStoryWindow() {
  Functions().Bind("FadeAndClose", static_cast<RWindow*>(this), &RWindow::FadeDown);
}

TWindow* TStoryWindow::Create() {
  return new TStoryWindow;
}

void TStoryWindow::PostCreate(const TWindowStyle& style) {
  // The fade is the story window's own, whatever the description says.
  TKeyboardScreen::PostCreate(style);
  ShowTutorialsSwitch(*this, "tutorialson_button");
  StartFade(&FadeTarget(), RWindowFader::kOpening, "");
}
