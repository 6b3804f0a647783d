#include "game/sets_box.h"

#include <algorithm>

bool TSetsBox::CanAccept(const TBoard& board, TFace face) const {
  if (face.IsNone()) return false;
  if (mCount == 0) return true;
  const TFace first = FirstFace(board);
  if (face.suit != first.suit) return false;
  return !IsTreasureSuit(face.suit) || face.variant == first.variant;
}

bool TSetsBox::IsValidSet(const TBoard& board, bool tutorialLevel) const {
  if (mCount < 2) return false;
  const std::vector<TFace> faces = Faces(board);
  const TFace first = faces.front();
  // Two tiles make a pair only when they show the same face; three or four of one suit
  // are a set or a run (the box never holds two suits).
  if (mCount == 2 && faces[1] != first) return false;
  if (IsTreasureSuit(first.suit)) {
    if (!std::all_of(faces.begin(), faces.end(), [&](TFace f) { return f == first; })) return false;
    for (TTileId id : board.GridOrder()) {
      const TBoardTile& tile = board.Tile(id);
      if (!tile.removed && tile.face == first) return false;
    }
  }
  if (tutorialLevel) {
    if (first.suit == kTutorialThreeOfAKindSuit && mCount != 3) return false;
    if (first.suit == kTutorialFourOfAFamilySuit && mCount != 4) return false;
  }
  return true;
}

void TSetsBox::Append(const TPlacedTile& entry) {
  if (Full()) return;
  mEntries[mCount++] = entry;
}

void TSetsBox::Clear() {
  mEntries.fill(TPlacedTile{});
  mCount = 0;
}

TFace TSetsBox::FirstFace(const TBoard& board) const {
  return mCount == 0 ? kNoFace : board.Tile(mEntries[0].tile).face;
}

std::vector<TFace> TSetsBox::Faces(const TBoard& board) const {
  std::vector<TFace> faces;
  faces.reserve(mCount);
  for (const TPlacedTile& entry : Entries()) faces.push_back(board.Tile(entry.tile).face);
  return faces;
}
