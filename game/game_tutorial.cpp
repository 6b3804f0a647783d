#include "game/game_tutorial.h"

#include <span>
#include <string>

#include "frame/log.h"
#include "game/tutorial_prompt_queue.h"

namespace {

// The campaign day after which a level prompt explains what the next days bring.
struct TLevelPrompt {
  int levelsBeaten;
  const char* bodyKey;
};
constexpr TLevelPrompt kLevelPrompts[] = {
    {4, "tutorial_level_multipleantiques"},
    {9, "tutorial_level_unclehenry"},
    {13, "tutorial_level_antiquesets"},
};

// Each lesson's green tiles and prompt (suit 0: nothing is lit; no key: no prompt).
struct TLessonStep {
  int litSuit;
  const char* bodyKey;
};
constexpr TLessonStep kLessonSteps[kLessonCount] = {
    {tutorial_suit::kNormalPair, "tutorial_normalpair"},
    {tutorial_suit::kBlockedPair, "tutorial_blockedpair"},
    {tutorial_suit::kThreeOfAKind, "tutorial_threeofakind"},
    {tutorial_suit::kFourOfAFamily, "tutorial_fourofafamily"},
    {0, "tutorial_hintpair"},
    {0, "tutorial_antiquepair"},
    {0, nullptr},
};

}  // namespace

TGameTutorial::TGameTutorial(TGameTutorialHost& host, bool tutorialLevel)
    : mHost(host), mTutorialLevel(tutorialLevel) {
  mShown.fill(!tutorialLevel);
}

void TGameTutorial::RequestPrompt(std::string_view bodyKey) {
  const TTutorialPrompt* prompt = FindTutorialPrompt(bodyKey);
  if (!prompt) {
    Log("Tutorial: no prompt \"%.*s\"", static_cast<int>(bodyKey.size()), bodyKey.data());
    return;
  }
  if (mHost.PromptSeen(prompt->id) || mHost.LevelEnded()) return;
  if (prompt->needsTutorialsOn && !mHost.TutorialsOn()) return;
  if (!TutorialPromptQueue().Add(prompt->id)) return;
  mWait = 0;
}

void TGameTutorial::ShowPrompt(int id) {
  const TTutorialPrompt* prompt = TutorialPromptById(id);
  if (!prompt || mHost.PromptSeen(id) || mHost.LevelEnded() || !mHost.Initialised()) return;
  TutorialPromptQueue().SetCurrent(prompt);
  const std::string body(prompt->bodyKey), title(prompt->titleKey);
  mHost.QueueScript("DisplayDialog { 'scripts/gametutorial.lua', body = '" + body + "', title = '" +
                    title + "' };");
  Log("Tutorial: prompt %d %s shown", id, body.c_str());
  // The tutorial level's prompts come back when it is played again; the others once only.
  if (mHost.TutorialWon()) mHost.MarkPromptSeen(id);
}

void TGameTutorial::Drive() {
  if (!mHost.Initialised()) return;
  if (mHost.CampaignMode())
    for (const TLevelPrompt& level : kLevelPrompts)
      if (mHost.LevelsBeaten() == level.levelsBeaten) RequestPrompt(level.bodyKey);
  ++mWait;
  ScanQueue();
  RunLesson();
}

// The first waiting prompt is shown when the previous one is far enough behind; prompts
// seen meanwhile, and flagged ones while the tips are off, leave the queue unseen.
void TGameTutorial::ScanQueue() {
  TTutorialPromptQueue& queue = TutorialPromptQueue();
  for (int slot = 0; slot < TTutorialPromptQueue::kSlots; ++slot) {
    const int id = queue.At(slot);
    if (id == TTutorialPromptQueue::kEmpty) continue;
    const TTutorialPrompt* prompt = TutorialPromptById(id);
    if (mHost.PromptSeen(id) || (prompt->needsTutorialsOn && !mHost.TutorialsOn())) {
      queue.Empty(slot);
      continue;
    }
    if (!mHost.CampaignMode() || mHost.TutorialWon() || mWait >= kPromptGap) {
      ShowPrompt(id);
      queue.Empty(slot);
      mWait = 0;
    }
    return;
  }
}

void TGameTutorial::RunLesson() {
  if (!mPending) return;
  for (int i = 0; i < kLessonCount; ++i) {
    const TLesson lesson = static_cast<TLesson>(i);
    if (LessonShown(lesson)) continue;
    mPending = false;
    Shown(lesson) = true;
    const TLessonStep& step = kLessonSteps[i];
    if (step.litSuit != 0) mHost.LightSuit(step.litSuit);
    if (step.bodyKey) RequestPrompt(step.bodyKey);
    if (lesson == TLesson::kFourOfAFamily || lesson == TLesson::kHintPair) mHost.UpdateButtons();
    Log("Tutorial: lesson %d", i);
    return;
  }
}

// The lesson a move of the suit makes due.
struct TDueLesson {
  int suit;
  TLesson next;
};
constexpr TDueLesson kDueAfterPair[] = {
    {tutorial_suit::kNormalPair, TLesson::kBlockedPair},
    {tutorial_suit::kBlockedPair, TLesson::kThreeOfAKind},
    {tutorial_suit::kHintPair, TLesson::kTreasurePair},
    {tutorial_suit::kTreasure, TLesson::kEnd},
};
constexpr TDueLesson kDueAfterSubmit[] = {
    {tutorial_suit::kNormalPair, TLesson::kBlockedPair},
    {tutorial_suit::kBlockedPair, TLesson::kThreeOfAKind},
    {tutorial_suit::kThreeOfAKind, TLesson::kFourOfAFamily},
    {tutorial_suit::kFourOfAFamily, TLesson::kHintPair},
    {tutorial_suit::kHintPair, TLesson::kTreasurePair},
    {tutorial_suit::kTreasure, TLesson::kEnd},
};

void TGameTutorial::MarkDue(std::span<const TDueLesson> table, TFace face) {
  if (!mTutorialLevel) return;
  for (const TDueLesson& due : table)
    if (due.suit == face.suit && !LessonShown(due.next)) mPending = true;
}

void TGameTutorial::OnPairAccepted(TFace face) {
  MarkDue(kDueAfterPair, face);
}

void TGameTutorial::OnSubmitting(TFace first) {
  MarkDue(kDueAfterSubmit, first);
}

bool TGameTutorial::BlocksSelection(TFace face) const {
  if (!mTutorialLevel) return false;
  return (face.suit == tutorial_suit::kHintPair && !LessonShown(TLesson::kHintPair)) ||
         face.suit == tutorial_suit::kThreeOfAKind;
}

bool TGameTutorial::BlocksSetsBox(TFace face) const {
  if (!mTutorialLevel) return false;
  return (face.suit == tutorial_suit::kHintPair && !LessonShown(TLesson::kHintPair)) ||
         (face.suit == tutorial_suit::kThreeOfAKind && !LessonShown(TLesson::kThreeOfAKind)) ||
         (face.suit == tutorial_suit::kFourOfAFamily && !LessonShown(TLesson::kFourOfAFamily));
}

bool TGameTutorial::HintAllowed() const {
  return !mTutorialLevel || LessonShown(TLesson::kHintPair);
}

bool TGameTutorial::AppraisalAllowed() const {
  return !mTutorialLevel ||
         (LessonShown(TLesson::kFourOfAFamily) && !LessonShown(TLesson::kHintPair));
}

bool TGameTutorial::ShuffleAllowed() const {
  return !mTutorialLevel;
}
