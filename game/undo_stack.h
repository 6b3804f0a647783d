// The record of what can be taken back: one record per match, submitted set or Kenny pair,
// holding the tiles it took off the board and the ledger slot of its score (-1 for none).
// Purchases are not records. The stack grows as needed; a level pushes at most one record
// per two tiles, so it stays small.
#pragma once

#include <array>
#include <span>
#include <vector>

#include "game/board_tile.h"

struct TUndoRecord {
  std::array<TPlacedTile, 4> tiles{};  // entries after the last tile have kNoTile
  int count = 0;
  int scoreSlot = -1;
  // A treasure given with this record, taken back with it; kNoFace when none.
  TFace gift = kNoFace;
};

class TUndoStack {
 public:
  // Copies up to 4 entries.
  void Push(std::span<const TPlacedTile> tiles, int scoreSlot);
  // The top record, taken off the stack; empty when there is none.
  bool Pop(TUndoRecord& record);
  // Records the gift of the top record (the Kenny offer).
  void SetTopGift(TFace gift);
  // The top record, or null on an empty stack (the Kenny offer adds its gift's score slot).
  TUndoRecord* Top() { return mRecords.empty() ? nullptr : &mRecords.back(); }
  const TUndoRecord* Top() const { return mRecords.empty() ? nullptr : &mRecords.back(); }

  bool Empty() const { return mRecords.empty(); }
  int Size() const { return static_cast<int>(mRecords.size()); }
  const std::vector<TUndoRecord>& Records() const { return mRecords; }
  void Clear() { mRecords.clear(); }

 private:
  std::vector<TUndoRecord> mRecords;
};
