// The sets box as the rules see it: up to four tiles taken off the board, in slot order
// with no gaps. All its tiles are of one suit (and, for a treasure suit, of one face), so
// what it holds is always on the way to a pair, a set of identical tiles or a run of one
// suit. A tile in the box has left the board (removed, not counted) but keeps its cell, so
// that undo can put it back.
#pragma once

#include <array>
#include <span>
#include <vector>

#include "game/board.h"

class TSetsBox {
 public:
  static constexpr int kSlots = 4;

  int Count() const { return mCount; }
  bool Empty() const { return mCount == 0; }
  bool Full() const { return mCount >= kSlots; }
  std::span<const TPlacedTile> Entries() const { return {mEntries.data(), size_t(mCount)}; }

  // Whether a tile with this face could join the box: any tile when it is empty, otherwise
  // one of the first tile's suit, and for a treasure suit only the first tile's face.
  bool CanAccept(const TBoard& board, TFace face) const;
  // CanAccept and a free slot.
  bool CanHold(const TBoard& board, TFace face) const { return !Full() && CanAccept(board, face); }

  // Whether Submit would take the box: two identical tiles, or three or four of one suit; a
  // treasure face only with every copy of it in the box (none left on the board). On the
  // tutorial level a box of suit 58 takes exactly three tiles and one of suit 36 four.
  bool IsValidSet(const TBoard& board, bool tutorialLevel) const;

  void Append(const TPlacedTile& entry);
  void Clear();

  TFace FirstFace(const TBoard& board) const;
  std::vector<TFace> Faces(const TBoard& board) const;

 private:
  std::array<TPlacedTile, kSlots> mEntries{};
  int mCount = 0;
};

// The tutorial level's sets: its three-of-a-kind lesson uses suit 58 and its
// four-of-a-family lesson suit 36.
inline constexpr int kTutorialThreeOfAKindSuit = 58;
inline constexpr int kTutorialFourOfAFamilySuit = 36;
