// The result of the last level that ended, kept for the end-of-level screen: the treasure
// won (kNoFace when the board was cleared without one), the level, the time played and a
// copy of the level's score ledger (the totals by kind are the screen's lines). The copy
// outlives the game window, which closes when the player goes on to the map.
#pragma once

#include <memory>
#include <string>

#include "game/face.h"
#include "game/score_ledger.h"

struct TLevelResult {
  TFace won = kNoFace;
  std::string levelFile;
  int timeMs = 0;
  std::shared_ptr<const TScoreLedger> ledger;
  // Played in the campaign (game mode 1); a classic game's result is not recorded.
  bool campaign = true;
  // The player's record has been told (the money carried on, the level and day won).
  bool recorded = false;
};

const TLevelResult& LastLevelResult();
void SetLastLevelResult(TLevelResult result);

// The result as the lines of the plain end-of-level dialog: what ended the level, the
// money carried in, earned by matches and sets, the tiles left and the total.
std::string DescribeLevelResult(const TLevelResult& result);
