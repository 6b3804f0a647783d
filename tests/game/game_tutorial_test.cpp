// The tutorial's lessons, prompt queue and input rules, without a window: a recording host
// stands for the game window and the player's record.
#include "game/game_tutorial.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "game/tutorial_prompt_queue.h"

namespace {

class TRecordingTutorialHost : public TGameTutorialHost {
 public:
  bool CampaignMode() const override { return campaign; }
  bool TutorialWon() const override { return tutorialWon; }
  int LevelsBeaten() const override { return levelsBeaten; }
  bool TutorialsOn() const override { return tipsOn; }
  bool PromptSeen(int id) const override { return seen.contains(id); }
  void MarkPromptSeen(int id) override { seen.insert(id); }
  bool LevelEnded() const override { return ended; }
  bool Initialised() const override { return initialised; }
  void QueueScript(const std::string& text) override { scripts.push_back(text); }
  void LightSuit(int suit) override { lit.push_back(suit); }
  void UpdateButtons() override { ++buttonUpdates; }

  // The body keys of the prompts shown, from the dialog texts queued.
  std::vector<std::string> Shown() const {
    std::vector<std::string> keys;
    for (const std::string& text : scripts) {
      const size_t at = text.find("body = '");
      if (at == std::string::npos) continue;
      const size_t start = at + 8;
      keys.push_back(text.substr(start, text.find('\'', start) - start));
    }
    return keys;
  }

  bool campaign = true;
  bool tutorialWon = false;
  int levelsBeaten = 0;
  bool tipsOn = true;
  bool ended = false;
  bool initialised = true;
  std::set<int> seen;
  std::vector<std::string> scripts;
  std::vector<int> lit;
  int buttonUpdates = 0;
};

class GameTutorialTest : public ::testing::Test {
 protected:
  void SetUp() override { TutorialPromptQueue().Clear(); }
  void Drive(TGameTutorial& tutorial, int updates) {
    for (int i = 0; i < updates; ++i) tutorial.Drive();
  }
  TRecordingTutorialHost host;
};

TEST_F(GameTutorialTest, TheFirstLessonLightsTheTelevisionsAndItsPromptWaitsThirtyUpdates) {
  TGameTutorial tutorial(host, true);
  tutorial.Drive();
  EXPECT_EQ(host.lit, std::vector<int>{tutorial_suit::kNormalPair});
  EXPECT_TRUE(tutorial.LessonShown(TLesson::kNormalPair));
  EXPECT_FALSE(tutorial.PromptPending());
  EXPECT_EQ(TutorialPromptQueue().Waiting(), 1);
  Drive(tutorial, 29);
  EXPECT_TRUE(host.Shown().empty()) << "the prompt waits 30 updates";
  tutorial.Drive();
  ASSERT_EQ(host.Shown(), std::vector<std::string>{"tutorial_normalpair"});
  EXPECT_EQ(host.scripts[0],
            "DisplayDialog { 'scripts/gametutorial.lua', body = 'tutorial_normalpair', title = "
            "'tutorial_normalpair_title' };");
  EXPECT_EQ(TutorialPromptQueue().Current()->id, 0);
  EXPECT_TRUE(host.seen.empty()) << "prompts of the tutorial level are not recorded";
  Drive(tutorial, 100);
  EXPECT_EQ(host.Shown().size(), 1u) << "no lesson is due until the pair is matched";
}

TEST_F(GameTutorialTest, TheLessonsFollowTheMovesThatEndTheOneBefore) {
  TGameTutorial tutorial(host, true);
  Drive(tutorial, 31);
  // Each move makes the next lesson due; the lesson lights its suit and asks for its prompt.
  tutorial.OnPairAccepted({tutorial_suit::kNormalPair, 0});
  Drive(tutorial, 31);
  tutorial.OnSubmitting({tutorial_suit::kBlockedPair, 0});
  Drive(tutorial, 31);
  tutorial.OnSubmitting({tutorial_suit::kThreeOfAKind, 0});
  Drive(tutorial, 31);
  EXPECT_EQ(host.buttonUpdates, 1) << "appraisal opens with the four-of-a-family lesson";
  EXPECT_TRUE(tutorial.AppraisalAllowed());
  EXPECT_FALSE(tutorial.HintAllowed());
  tutorial.OnSubmitting({tutorial_suit::kFourOfAFamily, 0});
  Drive(tutorial, 31);
  EXPECT_EQ(host.buttonUpdates, 2);
  EXPECT_TRUE(tutorial.HintAllowed());
  EXPECT_FALSE(tutorial.AppraisalAllowed()) << "appraisal closes again with the hint lesson";
  tutorial.OnPairAccepted({tutorial_suit::kHintPair, 0});
  Drive(tutorial, 31);
  tutorial.OnPairAccepted({tutorial_suit::kTreasure, 0});
  Drive(tutorial, 31);

  EXPECT_EQ(host.lit, (std::vector<int>{75, 63, 58, 36}));
  EXPECT_EQ(host.Shown(),
            (std::vector<std::string>{"tutorial_normalpair", "tutorial_blockedpair",
                                      "tutorial_threeofakind", "tutorial_fourofafamily",
                                      "tutorial_hintpair", "tutorial_antiquepair"}));
  for (int i = 0; i < kLessonCount; ++i)
    EXPECT_TRUE(tutorial.LessonShown(static_cast<TLesson>(i))) << i;
  EXPECT_FALSE(tutorial.ShuffleAllowed()) << "never during the tutorial level";
}

TEST_F(GameTutorialTest, AMoveOfAnotherSuitOrARepeatedMoveMakesNoLessonDue) {
  TGameTutorial tutorial(host, true);
  tutorial.Drive();
  tutorial.OnPairAccepted({12, 0});
  tutorial.OnSubmitting({58, 0});  // the three-of-a-kind lesson comes after the blocked pair
  EXPECT_TRUE(tutorial.PromptPending()) << "a later lesson's move still makes the next one due";
  tutorial.Drive();
  EXPECT_TRUE(tutorial.LessonShown(TLesson::kBlockedPair));
  EXPECT_FALSE(tutorial.LessonShown(TLesson::kThreeOfAKind)) << "one lesson per due move";
  tutorial.OnPairAccepted({tutorial_suit::kNormalPair, 0});  // its next lesson was shown
  EXPECT_FALSE(tutorial.PromptPending());
}

TEST_F(GameTutorialTest, TheInputRulesRefuseMovesThatBreakTheLesson) {
  TGameTutorial tutorial(host, true);
  const TFace computer{73, 0}, canteen{58, 0}, watch{36, 2}, tv{75, 0};
  tutorial.Drive();
  EXPECT_TRUE(tutorial.BlocksSelection(computer));
  EXPECT_TRUE(tutorial.BlocksSelection(canteen));
  EXPECT_FALSE(tutorial.BlocksSelection(tv));
  EXPECT_TRUE(tutorial.BlocksSetsBox(computer));
  EXPECT_TRUE(tutorial.BlocksSetsBox(canteen));
  EXPECT_TRUE(tutorial.BlocksSetsBox(watch));
  EXPECT_FALSE(tutorial.BlocksSetsBox(tv));

  tutorial.OnPairAccepted(tv);
  tutorial.Drive();
  tutorial.OnSubmitting({63, 0});
  tutorial.Drive();  // three of a kind
  EXPECT_FALSE(tutorial.BlocksSetsBox(canteen));
  EXPECT_TRUE(tutorial.BlocksSelection(canteen)) << "canteens never go by clicks";
  EXPECT_TRUE(tutorial.BlocksSetsBox(watch));
  tutorial.OnSubmitting(canteen);
  tutorial.Drive();  // four of a family
  EXPECT_FALSE(tutorial.BlocksSetsBox(watch));
  EXPECT_TRUE(tutorial.BlocksSelection(computer));
  tutorial.OnSubmitting(watch);
  tutorial.Drive();  // hint pair
  EXPECT_FALSE(tutorial.BlocksSelection(computer));
  EXPECT_FALSE(tutorial.BlocksSetsBox(computer));

  TGameTutorial elsewhere(host, false);
  EXPECT_FALSE(elsewhere.BlocksSelection(canteen));
  EXPECT_FALSE(elsewhere.BlocksSetsBox(computer));
  EXPECT_TRUE(elsewhere.HintAllowed() && elsewhere.AppraisalAllowed() &&
              elsewhere.ShuffleAllowed());
}

TEST_F(GameTutorialTest, ALevelOtherThanTheTutorialRunsNoLessons) {
  host.tutorialWon = true;
  TGameTutorial tutorial(host, false);
  Drive(tutorial, 40);
  tutorial.OnPairAccepted({tutorial_suit::kNormalPair, 0});
  Drive(tutorial, 40);
  EXPECT_TRUE(host.lit.empty());
  EXPECT_TRUE(host.Shown().empty());
}

TEST_F(GameTutorialTest, OnceTheTutorialIsWonAPromptIsShownOnceAndRecorded) {
  host.tutorialWon = true;
  host.levelsBeaten = 1;
  TGameTutorial tutorial(host, false);
  tutorial.RequestPrompt("tutorial_discover_shuffle");
  tutorial.RequestPrompt("tutorial_discover_shuffle");
  EXPECT_EQ(TutorialPromptQueue().Waiting(), 2) << "the same id may wait twice";
  tutorial.Drive();
  tutorial.Drive();
  EXPECT_EQ(host.Shown(), std::vector<std::string>{"tutorial_discover_shuffle"});
  EXPECT_EQ(TutorialPromptQueue().Waiting(), 0) << "the second entry was dropped as seen";
  EXPECT_TRUE(host.seen.contains(7));
  tutorial.RequestPrompt("tutorial_discover_shuffle");
  Drive(tutorial, 40);
  EXPECT_EQ(host.Shown().size(), 1u) << "a seen prompt is not queued again";
}

TEST_F(GameTutorialTest, DuringTheTutorialLevelARepeatedRequestShowsTwiceThirtyUpdatesApart) {
  TGameTutorial tutorial(host, true);
  Drive(tutorial, 31);  // the first lesson's prompt
  host.scripts.clear();
  tutorial.RequestPrompt("tutorial_discover_notreasuresleft");
  tutorial.RequestPrompt("tutorial_discover_notreasuresleft");
  Drive(tutorial, 30);
  EXPECT_EQ(host.Shown().size(), 1u);
  Drive(tutorial, 29);
  EXPECT_EQ(host.Shown().size(), 1u);
  tutorial.Drive();
  EXPECT_EQ(host.Shown().size(), 2u);
}

TEST_F(GameTutorialTest, TipsOffSuppressExactlyTheFlaggedPrompts) {
  host.tutorialWon = true;
  host.tipsOn = false;
  TGameTutorial tutorial(host, false);
  for (const TTutorialPrompt& prompt : TutorialPrompts()) tutorial.RequestPrompt(prompt.bodyKey);
  Drive(tutorial, 40);
  std::vector<std::string> expected;
  for (const TTutorialPrompt& prompt : TutorialPrompts())
    if (!prompt.needsTutorialsOn) expected.emplace_back(prompt.bodyKey);
  // Ten slots: the first ten unflagged prompts get in.
  expected.resize(std::min<size_t>(expected.size(), TTutorialPromptQueue::kSlots));
  EXPECT_EQ(host.Shown(), expected);

  // A flagged prompt that waited while the tips were on leaves the queue unshown.
  host.tipsOn = true;
  tutorial.RequestPrompt("tutorial_discover_appraisal");
  host.tipsOn = false;
  tutorial.Drive();
  EXPECT_EQ(TutorialPromptQueue().Waiting(), 0);
  EXPECT_FALSE(host.seen.contains(8));
}

TEST_F(GameTutorialTest, NothingIsShownAfterTheLevelEndsOrBeforeTheWindowIsReady) {
  host.tutorialWon = true;
  TGameTutorial tutorial(host, false);
  host.initialised = false;
  tutorial.RequestPrompt("tutorial_discover_speedauction");
  Drive(tutorial, 5);
  EXPECT_TRUE(host.Shown().empty());
  EXPECT_EQ(TutorialPromptQueue().Waiting(), 1) << "it waits for the window";
  host.ended = true;
  host.initialised = true;
  tutorial.Drive();
  EXPECT_TRUE(host.Shown().empty());
  tutorial.RequestPrompt("tutorial_discover_treasuregallery");
  EXPECT_EQ(TutorialPromptQueue().Waiting(), 0);
  tutorial.RequestPrompt("no_such_prompt");
  EXPECT_EQ(TutorialPromptQueue().Waiting(), 0);
}

TEST_F(GameTutorialTest, LevelPromptsComeOnTheirDaysOfTheCampaign) {
  host.tutorialWon = true;
  for (const auto& [beaten, key] :
       std::vector<std::pair<int, std::string>>{{4, "tutorial_level_multipleantiques"},
                                                {9, "tutorial_level_unclehenry"},
                                                {13, "tutorial_level_antiquesets"}}) {
    host.scripts.clear();
    host.levelsBeaten = beaten;
    TGameTutorial tutorial(host, false);
    Drive(tutorial, 3);
    EXPECT_EQ(host.Shown(), std::vector<std::string>{key});
  }
  host.scripts.clear();
  host.levelsBeaten = 5;
  host.seen.clear();
  TGameTutorial other(host, false);
  Drive(other, 3);
  EXPECT_TRUE(host.Shown().empty());
  host.levelsBeaten = 4;
  host.campaign = false;
  TGameTutorial classic(host, false);
  Drive(classic, 3);
  EXPECT_TRUE(host.Shown().empty()) << "a classic game has no campaign days";
}

TEST(TutorialPromptQueueTest, TenSlotsFilledFrontToBackAndFlushedFromTheFront) {
  TTutorialPromptQueue queue;
  for (int i = 0; i < TTutorialPromptQueue::kSlots; ++i) EXPECT_TRUE(queue.Add(i));
  EXPECT_FALSE(queue.Add(11)) << "no free slot";
  EXPECT_FALSE(queue.Add(-1));
  queue.Empty(0);
  queue.Flush();
  EXPECT_EQ(queue.At(1), TTutorialPromptQueue::kEmpty) << "the first slot holding an id";
  EXPECT_EQ(queue.At(2), 2);
  EXPECT_TRUE(queue.Add(21));
  EXPECT_EQ(queue.At(0), 21);
  EXPECT_EQ(queue.Waiting(), 9);
  queue.SetCurrent(TutorialPromptById(3));
  queue.Clear();
  EXPECT_EQ(queue.Waiting(), 0);
  EXPECT_EQ(queue.Current(), nullptr);
  EXPECT_EQ(TutorialPromptById(22), nullptr);
  EXPECT_EQ(TutorialPromptById(21)->bodyKey, "tutorial_discover_editor_save");
}

}  // namespace
