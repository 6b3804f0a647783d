#include "campaign/screens/r_tutorial.h"

#include "campaign/game_app.h"
#include "campaign/screens/story_window.h"

TWindow* RTutorial::Create() {
  return new RTutorial;
}

void RTutorial::PostCreate(const TWindowStyle& style) {
  RWindow::PostCreate(style);
  ShowTutorialsSwitch(*this, "tutorialson_button");
  TGameApp* game = TGameApp::Get();
  TWindow* skip = FindChild("tutorial_skip_button");
  if (skip && game && game->State().Progress().tutorialLevelDone)
    skip->SetFlags(skip->GetFlags() & ~kWindowVisible);
}
