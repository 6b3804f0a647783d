#include "campaign/screens/r_tutorial.h"

#include "campaign/game_app.h"
#include "campaign/screens/story_window.h"
#include "game/tutorial_prompt_queue.h"
#include "game/window/editor_prompts.h"

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
  // Skipping the tutorial level is offered over a game only: the layout editor's prompts
  // explain the editor, and leaving for the map from there would make no sense.
  TGameApp* game = TGameApp::Get();
  TWindow* skip = FindChild("tutorial_skip_button");
  const bool overEditor = prompt && IsEditorPrompt(prompt->id);
  if (skip && ((game && game->State().Progress().tutorialLevelDone) || overEditor))
    skip->SetFlags(skip->GetFlags() & ~kWindowVisible);
}
