// TGameTutorial: how a level teaches itself. On the tutorial level (15 tiles dealt in a
// fixed order) seven lessons follow each other: each lights the tiles to use in green and
// asks for its prompt, and the input rules refuse the moves that would break the lesson.
// On any level, prompts explain features the first time they matter; they wait in the
// program's prompt queue and are shown one by one through the prompt dialog
// "scripts/gametutorial.lua". A prompt the player has seen (recorded once the tutorial level
// is won) is not shown again; the prompts flagged in the table need the player's tips on.
//
// The lessons, in order, with the suits of the tutorial's faces:
//   normal pair     the two kitchen timers (75) are lit: match them by clicks
//   blocked pair    the two stampers (63) lie on each other: through the sets box
//   three of a kind the three canteens (58): all three through the sets box
//   four of a family the four watches (36, four variants): a run of four; appraisal opens
//   hint pair       the hint button opens: it finds the next pair
//   treasure pair   the two radios (73) are matched; then the treasure (126) ends the level
//   end             nothing more to teach
// A lesson becomes due ("prompt pending") when the move that ends the one before it is
// made (an accepted pair or a valid submit of the lesson's suit).
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "game/face.h"

enum class TLesson {
  kNormalPair,
  kBlockedPair,
  kThreeOfAKind,
  kFourOfAFamily,
  kHintPair,
  kTreasurePair,
  kEnd,
};
inline constexpr int kLessonCount = 7;

// The tutorial level's suits.
namespace tutorial_suit {
inline constexpr int kNormalPair = 75;
inline constexpr int kBlockedPair = 63;
inline constexpr int kThreeOfAKind = 58;
inline constexpr int kFourOfAFamily = 36;
inline constexpr int kHintPair = 73;
inline constexpr int kTreasure = 126;
}  // namespace tutorial_suit

// A suit whose move makes a lesson due (game_tutorial.cpp's tables).
struct TDueLesson;

// What the tutorial needs of the game window and the player.
class TGameTutorialHost {
 public:
  virtual ~TGameTutorialHost() = default;

  // The application's game mode is the campaign.
  virtual bool CampaignMode() const = 0;
  // The player has won the tutorial level ("mj_tutorialseen").
  virtual bool TutorialWon() const = 0;
  virtual int LevelsBeaten() const = 0;
  // The player's tips option ("tutorialson").
  virtual bool TutorialsOn() const = 0;
  // The player's record of shown prompts ("mj_tutorials"); marking saves it.
  virtual bool PromptSeen(int id) const = 0;
  virtual void MarkPromptSeen(int id) = 0;
  virtual bool LevelEnded() const = 0;
  // The game window has finished its initialisation (prompts wait for it).
  virtual bool Initialised() const = 0;
  // Hands a script text to the dialog-script runner for the next frame.
  virtual void QueueScript(const std::string& text) = 0;
  // Every tile of the suit gets the green hint blank, which stays for the level.
  virtual void LightSuit(int suit) = 0;
  // The help buttons follow the lessons.
  virtual void UpdateButtons() = 0;
};

class TGameTutorial {
 public:
  // Updates a prompt waits after the previous one during the tutorial level.
  static constexpr int kPromptGap = 30;

  // tutorialLevel: this game plays the tutorial level. Otherwise every lesson counts as
  // shown and only the prompts run.
  TGameTutorial(TGameTutorialHost& host, bool tutorialLevel);

  bool TutorialLevel() const { return mTutorialLevel; }
  bool LessonShown(TLesson lesson) const { return mShown[static_cast<size_t>(lesson)]; }
  bool PromptPending() const { return mPending; }
  int PromptWait() const { return mWait; }

  // Queues the prompt with this body key, unless it is unknown, seen, the level has ended
  // or it needs tips that are off.
  void RequestPrompt(std::string_view bodyKey);
  // Shows the prompt now (through the dialog runner), unless it has been seen, the level
  // has ended or the window is not initialised. Once the tutorial level is won it is
  // recorded as seen.
  void ShowPrompt(int id);
  // One update of the game window: the level prompts, the queue, the next lesson.
  void Drive();

  // The moves that make the next lesson due.
  void OnPairAccepted(TFace face);
  void OnSubmitting(TFace first);

  // Input rules. A left click on this tile while another is selected is refused.
  bool BlocksSelection(TFace face) const;
  // A right click (the tile flies to the sets box) or a drop on the box is refused.
  bool BlocksSetsBox(TFace face) const;

  // The help buttons while the tutorial level is played (outside it: always true).
  bool HintAllowed() const;
  bool AppraisalAllowed() const;
  bool ShuffleAllowed() const;

 private:
  void ScanQueue();
  void RunLesson();
  void MarkDue(std::span<const TDueLesson> table, TFace face);
  bool& Shown(TLesson lesson) { return mShown[static_cast<size_t>(lesson)]; }

  TGameTutorialHost& mHost;
  bool mTutorialLevel;
  bool mPending = true;
  std::array<bool, kLessonCount> mShown{};
  int mWait = 0;
};
