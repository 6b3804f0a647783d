// What the game window asks of its animation layer (the child "animationlayer"): money
// popups and dust for matched tiles, particles for a submitted set, and the treasure ending
// that cashes and fades the remaining tiles. A layer implements this beside its TWindow
// base; without one the game shows nothing extra and ends a treasure level at once.
#pragma once

#include "game/board_tile.h"
#include "game/face.h"

class TGame;
class TSetsBox;

class TGameAnimations {
 public:
  virtual ~TGameAnimations() = default;

  // A matched tile is about to leave the board.
  virtual void ShowMatch(TGame& /*game*/, TTileId /*tile*/) {}
  // A set of the sets box was accepted; the box still holds it.
  virtual void ShowSetsSubmit(TGame& /*game*/, const TSetsBox& /*box*/) {}
  // The treasure ending. True when the layer runs it: it then cashes the tiles left and
  // ends the level itself (TBoard::FinishTreasureEnding or the same steps over time).
  virtual bool StartTreasureEnding(TGame& /*game*/, TFace /*won*/) { return false; }
};
