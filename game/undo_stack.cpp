#include "game/undo_stack.h"

#include <algorithm>

void TUndoStack::Push(std::span<const TPlacedTile> tiles, int scoreSlot) {
  TUndoRecord record;
  record.count = static_cast<int>(std::min<size_t>(tiles.size(), record.tiles.size()));
  std::copy_n(tiles.begin(), record.count, record.tiles.begin());
  record.scoreSlot = scoreSlot;
  mRecords.push_back(record);
}

bool TUndoStack::Pop(TUndoRecord& record) {
  if (mRecords.empty()) return false;
  record = mRecords.back();
  mRecords.pop_back();
  return true;
}

void TUndoStack::SetTopGift(TFace gift) {
  if (!mRecords.empty()) mRecords.back().gift = gift;
}
