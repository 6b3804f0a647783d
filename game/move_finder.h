// The move searches of a board: a pair for the hint (a free pair, or a pair that blocks
// itself and can only be cleared through the sets box) and a group for the sets box. Both
// start from the free tiles in grid order. A finder lives for one search: it reads the
// board as it is and may set tiles aside for the moment, never touching the board.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "frame/mersenne_twister.h"
#include "game/board.h"

class TMoveFinder {
 public:
  explicit TMoveFinder(const TBoard& board);

  // A free pair of one face (not a treasure dealt more than twice), chosen at random among
  // the tiles that have a partner when random is given, else the first such tile; its
  // partner is the last free tile of its face. Otherwise a blocked pair: a free tile t and
  // the first tile that is free once t is gone.
  std::optional<std::array<TTileId, 2>> FindPair(TMersenneTwister* random) const;
  // For each free tile in turn: the tiles that could go into the sets box one after the
  // other with it — all copies of a treasure face on the board, or three tiles of one
  // common suit. The first such group of at least two tiles, or empty.
  std::vector<TTileId> FindSet() const;

  const std::vector<TTileId>& FreeTiles() const { return mFree; }

 private:
  bool Stands(int layer, int x, int y) const;
  bool IsFree(TTileId id) const;
  bool Hidden(TTileId id) const;
  // The first tile in grid order among candidates that is on the board, not set aside
  // and free.
  TTileId FirstFree(const std::vector<TTileId>& candidates, TFace face, bool sameFace) const;

  const TBoard& mBoard;
  std::vector<TTileId> mFree;
  // Tiles on the board by suit, in grid order.
  std::array<std::vector<TTileId>, kSuitCount> mBySuit;
  mutable std::array<TTileId, 4> mHidden{};
  mutable int mHiddenCount = 0;
};
