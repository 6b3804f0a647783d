// The game window's side of the tutorial: the player's record, the level's state, the
// dialog-script runner, the green tiles and the help buttons, as TGameTutorial asks for them.
#pragma once

#include "game/game_tutorial.h"

class TGame;
class TGamePlayer;

class TGameTutorialLink : public TGameTutorialHost {
 public:
  TGameTutorialLink(TGame& game, TGamePlayer& player, int gameMode)
      : mGame(game), mPlayer(player), mGameMode(gameMode) {}

  bool CampaignMode() const override { return mGameMode == 1; }
  bool TutorialWon() const override;
  int LevelsBeaten() const override;
  bool TutorialsOn() const override;
  bool PromptSeen(int id) const override;
  void MarkPromptSeen(int id) override;
  bool LevelEnded() const override;
  bool Initialised() const override;
  void QueueScript(const std::string& text) override;
  void LightSuit(int suit) override;
  void UpdateButtons() override;

 private:
  TGame& mGame;
  TGamePlayer& mPlayer;
  int mGameMode;
};
