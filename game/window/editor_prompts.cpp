#include "game/window/editor_prompts.h"

#include <string>

#include "frame/log.h"
#include "game/tutorial_prompt.h"
#include "game/window/game_player.h"
#include "ui/window_manager.h"

bool IsEditorPrompt(int id) {
  const TTutorialPrompt* prompt = TutorialPromptById(id);
  if (!prompt) return false;
  for (const char* key : {kEditorPromptInitial, kEditorPromptMove, kEditorPromptLayer,
                          kEditorPromptDelete, kEditorPromptSave})
    if (prompt->bodyKey == key) return true;
  return false;
}

// The editor as the prompts' host: the current player's record and tips option, the
// dialog-script runner. It plays no level, so nothing ends and no lesson runs.
class TEditorPrompts::THost : public TGameTutorialHost {
 public:
  bool CampaignMode() const override { return false; }
  // The editor is never the tutorial level: its prompts wait for no lesson and are
  // recorded as seen when shown, whether or not the tutorial level has been won.
  bool TutorialWon() const override { return true; }
  int LevelsBeaten() const override { return CurrentGamePlayer().Progress().levelsBeaten; }
  bool TutorialsOn() const override { return CurrentGamePlayer().TutorialsOn(); }
  // Another screen's prompt left in the queue (one a test play asked for and did not show)
  // is not the editor's to show: counted as seen here, the queue's scan drops it.
  bool PromptSeen(int id) const override {
    return !IsEditorPrompt(id) || CurrentGamePlayer().PromptSeen(id);
  }
  void MarkPromptSeen(int id) override { CurrentGamePlayer().MarkPromptSeen(id); }
  bool LevelEnded() const override { return false; }
  bool Initialised() const override { return true; }
  void QueueScript(const std::string& text) override {
    if (TWindowManager* manager = TWindowManager::Get()) manager->QueueScript(text);
  }
  void LightSuit(int /*suit*/) override {}
  void UpdateButtons() override {}
};

TEditorPrompts::TEditorPrompts()
    : mHost(std::make_unique<THost>()), mPrompts(std::make_unique<TGameTutorial>(*mHost, false)) {}

TEditorPrompts::~TEditorPrompts() = default;

void TEditorPrompts::Ask(std::string_view bodyKey) {
  if (!mAsked.emplace(bodyKey).second) return;
  Log("Editor: prompt %.*s asked for", static_cast<int>(bodyKey.size()), bodyKey.data());
  mPrompts->RequestPrompt(bodyKey);
}

void TEditorPrompts::Drive() {
  mPrompts->Drive();
}
