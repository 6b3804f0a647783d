// TGamePlayer: what the game window needs of the player's progress record — which level
// comes next, the money carried in, where the player is, the collection that Zozad Uravi's
// gifts go into, the cursors and music of the campaign, and the way back to the main menu.
// The campaign layer implements it over its record and installs it with
// SetCurrentGamePlayer; until one is installed (tests, tools) a fresh player with no record
// answers: the tutorial level first, no money, the attic, nothing owned.
#pragma once

#include <cstdint>
#include <string>

#include "game/face.h"
#include "game/level_list.h"

class TGamePlayer {
 public:
  virtual ~TGamePlayer() = default;

  virtual TLevelProgress Progress() const = 0;
  // The game mode of the application: 1 the campaign (treasures, Kenny tiles, the
  // tutorial level), 0 free play.
  virtual int GameMode() const = 0;
  virtual void SetGameMode(int mode) = 0;
  // "mj_totalscore": the money carried into the next level.
  virtual int Bankroll() const = 0;
  virtual std::string Name() const = 0;
  // 0..6 the sale locations, 7 the last auction.
  virtual int CurrentLocation() const = 0;
  // Whether the player has seen the tutorial: while not, hint blanks stay lit.
  virtual bool TutorialSeen() const = 0;

  // A treasure of the current location the player does not own (other than excluded), or
  // kNoFace when every one is owned.
  virtual TFace PickTreasure(TFace excluded, uint32_t seed) = 0;
  // The collection: a treasure given (false when it cannot take it) and taken back.
  virtual bool GiveTreasure(TFace face) = 0;
  virtual void TakeBackTreasure(TFace face) = 0;
  // The end of a won level: the treasure into the collection, the level and day recorded,
  // the money carried on.
  virtual void RecordWonLevel(const std::string& levelFile, TFace won, int total) = 0;
  // The end of a level played outside the campaign: counted among the speed levels played,
  // and the total kept as a score on that layout (LayoutHiscoreCategory).
  virtual void RecordFreePlayLevel(const std::string& /*levelFile*/, int /*total*/) {}
  // The player's best score on a layout in free play; -1 when there is none.
  virtual int BestLayoutScore(const std::string& /*levelFile*/) { return -1; }

  // The player's tips option ("tutorialson"): prompts flagged in the table need it.
  virtual bool TutorialsOn() const { return true; }
  // The prompts the player has seen ("mj_tutorials"); marking one saves the record. A
  // player without a record remembers none.
  virtual bool PromptSeen(int /*id*/) const { return false; }
  virtual void MarkPromptSeen(int /*id*/) {}

  virtual void PlayLocationMusic() {}
  virtual void StopLocationMusic() {}
  virtual void UseNormalCursor() {}
  virtual void UseMagnifyCursor() {}
};

// The level backgrounds of a location, without extension: the black-and-white picture the
// level is played on and the coloured one the treasure ending reveals. Free play (game mode
// 0) is played at the speed auction whatever the location; the last auction borrows the
// estate sale's hall.
std::string LocationBackground(int location, int gameMode, bool revealed);
// The string-table key of a location's name ("citymap_grammasattic", ...).
const char* LocationNameKey(int location);
// The key of the place a game is played at: the location in the adventure (game mode 1),
// the speed auction in free play, whose hall the background shows.
const char* PlayedLocationNameKey(int location, int gameMode);

// The player the game windows use; null restores the fresh stand-in. Not owned.
void SetCurrentGamePlayer(TGamePlayer* player);
TGamePlayer& CurrentGamePlayer();
