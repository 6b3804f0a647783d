#include "campaign/screens/r_tutorial.h"

#include "campaign/game_app.h"
#include "campaign/screens/story_window.h"
#include "game/tutorial_prompt_queue.h"

TWindow* RTutorial::Create() {
  return new RTutorial;
}

void RTutorial::PostCreate(const TWindowStyle& style) {
  RWindow::PostCreate(style);
  ShowTutorialsSwitch(*this, "tutorialson_button");
  // A prompt that is always shown offers no switch: turning the tips off would not hide it.
  const TTutorialPrompt* prompt = TutorialPromptQueue().Current();
  TWindow* tips = FindChild("tutorialson_button");
  if (tips && prompt && !prompt->needsTutorialsOn)
    tips->SetFlags(tips->GetFlags() & ~kWindowVisible);
  TGameApp* game = TGameApp::Get();
  TWindow* skip = FindChild("tutorial_skip_button");
  if (skip && game && game->State().Progress().tutorialLevelDone)
    skip->SetFlags(skip->GetFlags() & ~kWindowVisible);
}
