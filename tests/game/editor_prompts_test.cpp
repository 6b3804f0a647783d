// The layout editor's prompts over the program's prompt queue, with a player whose record
// and tips option the tests set: each prompt once, recorded when shown, none while the tips
// are off, and another screen's prompt left in the queue dropped unshown.
#include "game/window/editor_prompts.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "game/tutorial_prompt.h"
#include "game/tutorial_prompt_queue.h"
#include "game/window/game_player.h"

namespace {

class TRecordingPlayer : public TGamePlayer {
 public:
  TLevelProgress Progress() const override { return {}; }
  int GameMode() const override { return 0; }
  void SetGameMode(int) override {}
  int Bankroll() const override { return 0; }
  std::string Name() const override { return "Ada"; }
  int CurrentLocation() const override { return 0; }
  bool TutorialSeen() const override { return false; }
  TFace PickTreasure(TFace, uint32_t) override { return kNoFace; }
  bool GiveTreasure(TFace) override { return false; }
  void TakeBackTreasure(TFace) override {}
  void RecordWonLevel(const std::string&, TFace, int) override {}

  bool TutorialsOn() const override { return tipsOn; }
  bool PromptSeen(int id) const override { return seen.count(id) > 0; }
  void MarkPromptSeen(int id) override {
    seen.insert(id);
    marked.push_back(id);
  }

  bool tipsOn = true;
  std::set<int> seen;
  std::vector<int> marked;
};

class EditorPrompts : public ::testing::Test {
 protected:
  void SetUp() override {
    TutorialPromptQueue().Clear();
    SetCurrentGamePlayer(&player);
  }
  void TearDown() override {
    SetCurrentGamePlayer(nullptr);
    TutorialPromptQueue().Clear();
  }
  static int Shown() {
    const TTutorialPrompt* current = TutorialPromptQueue().Current();
    return current ? current->id : -1;
  }

  TRecordingPlayer player;
};

TEST_F(EditorPrompts, TheFiveEditorPromptsAreTheTablesLastRows) {
  for (int id = 0; id < kTutorialPromptCount; ++id)
    EXPECT_EQ(IsEditorPrompt(id), id >= 17 && id <= 21) << id;
  EXPECT_FALSE(IsEditorPrompt(-1));
  EXPECT_FALSE(IsEditorPrompt(kTutorialPromptCount));
}

TEST_F(EditorPrompts, APromptIsShownOnceAndRecordedAsSeen) {
  TEditorPrompts prompts;
  prompts.Ask(kEditorPromptInitial);
  prompts.Ask(kEditorPromptMove);
  EXPECT_EQ(TutorialPromptQueue().Waiting(), 2);
  // One per update, in the order asked; each recorded as it is shown.
  prompts.Drive();
  EXPECT_EQ(Shown(), 17);
  EXPECT_EQ(player.marked, std::vector<int>{17});
  prompts.Drive();
  EXPECT_EQ(Shown(), 18);
  EXPECT_EQ(player.marked, (std::vector<int>{17, 18}));
  EXPECT_EQ(TutorialPromptQueue().Waiting(), 0);
  // Asked again in the same editor: nothing; in a new editor: seen, so not queued.
  prompts.Ask(kEditorPromptInitial);
  TEditorPrompts again;
  again.Ask(kEditorPromptMove);
  EXPECT_EQ(TutorialPromptQueue().Waiting(), 0);
}

TEST_F(EditorPrompts, WithTheTipsOffNoneIsShown) {
  player.tipsOn = false;
  TEditorPrompts prompts;
  for (const char* key : {kEditorPromptInitial, kEditorPromptMove, kEditorPromptLayer,
                          kEditorPromptDelete, kEditorPromptSave})
    prompts.Ask(key);
  prompts.Drive();
  EXPECT_EQ(TutorialPromptQueue().Waiting(), 0);
  EXPECT_EQ(Shown(), -1);
  EXPECT_TRUE(player.marked.empty());
  // Turned off after a prompt was queued: it leaves the queue unshown and unrecorded.
  player.tipsOn = true;
  TEditorPrompts later;
  later.Ask(kEditorPromptSave);
  player.tipsOn = false;
  later.Drive();
  EXPECT_EQ(TutorialPromptQueue().Waiting(), 0);
  EXPECT_EQ(Shown(), -1);
  EXPECT_TRUE(player.marked.empty());
}

TEST_F(EditorPrompts, AnotherScreensPromptLeftInTheQueueIsDroppedUnshown) {
  // A test play's game asked for the speed auction's prompt and closed before showing it.
  ASSERT_TRUE(TutorialPromptQueue().Add(FindTutorialPrompt("tutorial_discover_speedauction")->id));
  TEditorPrompts prompts;
  prompts.Ask(kEditorPromptLayer);
  prompts.Drive();
  EXPECT_EQ(Shown(), 19);
  EXPECT_EQ(player.marked, std::vector<int>{19});
  EXPECT_EQ(TutorialPromptQueue().Waiting(), 0);
  EXPECT_FALSE(player.PromptSeen(13)) << "dropped, not seen";
}

}  // namespace
