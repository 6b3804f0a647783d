// REndLevelAnim: the treasure ending. The tiles left on the board (all but the won
// treasure's) are cashed: a popup every sixth tile counts the money, the score gains the
// bonus for the tiles left at the first step, then the tiles fade out while the level's
// picture turns to colour through the reveal picture; 25 steps after the fade the level
// ends (the end-of-level screen follows).
#pragma once

#include <memory>
#include <vector>

#include "game/board_tile.h"
#include "game/face.h"
#include "game/window/k_anim.h"

class TGame;
struct TGameLife;

class REndLevelAnim : public KAnim {
 public:
  static constexpr float kFadeRate = 0.03f;
  static constexpr int kStepsAfterFade = 25;
  // A popup counts this many cashed tiles.
  static constexpr int kTilesPerPopup = 6;

  // The tiles are collected at once; the game's level is already marked ended.
  REndLevelAnim(TGame& game, TFace won);

  bool Update(int elapsedMs) override;
  const std::vector<TTileId>& Cashed() const { return mTiles; }
  int TileValue() const { return mTileValue; }
  bool FadeDone() const { return mFadeEnd > 0; }

 private:
  std::shared_ptr<TGameLife> mLife;
  TFace mWon;
  std::vector<TTileId> mTiles;
  int mTileValue;
  int mFrame = 0;
  int mFadeEnd = 0;  // the step at which the fade ended
  bool mDone = false;
};
