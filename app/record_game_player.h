// The game window's player over the application object: the next level, the money carried
// in and the location come from the current player's progress record; Zozad Uravi's
// treasures go into (and back out of) the record's display case and collection, saved at
// once; a won level is recorded as the end-of-level screen records it; music and cursors
// are the application object's.
#pragma once

#include "game/window/game_player.h"

class TGameApp;

class TRecordGamePlayer : public TGamePlayer {
 public:
  explicit TRecordGamePlayer(TGameApp& app) : mApp(app) {}

  TLevelProgress Progress() const override;
  int GameMode() const override;
  void SetGameMode(int mode) override;
  int Bankroll() const override;
  std::string Name() const override;
  int CurrentLocation() const override;
  bool TutorialSeen() const override;
  TFace PickTreasure(TFace excluded, uint32_t seed) override;
  bool GiveTreasure(TFace face) override;
  void TakeBackTreasure(TFace face) override;
  void RecordWonLevel(const std::string& levelFile, TFace won, int total) override;
  bool TutorialsOn() const override;
  bool PromptSeen(int id) const override;
  void MarkPromptSeen(int id) override;
  void RecordFreePlayLevel(const std::string& levelFile, int total) override;
  int BestLayoutScore(const std::string& levelFile) override;
  void PlayLocationMusic() override;
  void StopLocationMusic() override;
  void UseNormalCursor() override;
  void UseMagnifyCursor() override;

 private:
  TGameApp& mApp;
};
