#include "game/move_finder.h"

#include <algorithm>

#include "game/face_catalogue.h"
#include "game/free_rule.h"

TMoveFinder::TMoveFinder(const TBoard& board) : mBoard(board) {
  for (TTileId id : board.GridOrder()) {
    const TBoardTile& tile = board.Tile(id);
    if (tile.removed) continue;
    mBySuit[tile.face.suit].push_back(id);
    if (board.IsFree(tile.layer, tile.x, tile.y)) mFree.push_back(id);
  }
}

bool TMoveFinder::Hidden(TTileId id) const {
  return std::find(mHidden.begin(), mHidden.begin() + mHiddenCount, id) !=
         mHidden.begin() + mHiddenCount;
}

bool TMoveFinder::Stands(int layer, int x, int y) const {
  const TTileId id = mBoard.TileAt(layer, x, y);
  return id != kNoTile && !mBoard.Tile(id).removed && !Hidden(id);
}

bool TMoveFinder::IsFree(TTileId id) const {
  const TBoardTile& tile = mBoard.Tile(id);
  return free_rule::IsFree([this](int l, int x, int y) { return Stands(l, x, y); }, tile.layer,
                           tile.x, tile.y);
}

TTileId TMoveFinder::FirstFree(const std::vector<TTileId>& candidates, TFace face,
                               bool sameFace) const {
  for (TTileId id : candidates)
    if ((!sameFace || mBoard.Tile(id).face == face) && !Hidden(id) && IsFree(id)) return id;
  return kNoTile;
}

std::optional<std::array<TTileId, 2>> TMoveFinder::FindPair(TMersenneTwister* random) const {
  std::array<uint8_t, kCatalogueFaceCount> freeOfFace{};
  for (TTileId id : mFree) {
    uint8_t& count = freeOfFace[FaceIndex(mBoard.Tile(id).face)];
    if (count < 255) ++count;
  }
  std::vector<TTileId> withPartner;
  for (TTileId id : mFree) {
    const TFace face = mBoard.Tile(id).face;
    if (freeOfFace[FaceIndex(face)] >= 2 && !mBoard.HasManyCopies(face)) withPartner.push_back(id);
  }
  if (!withPartner.empty()) {
    // Drawing tiles until one has a partner picks evenly among those that have one.
    const TTileId first =
        random ? withPartner[random->Next() % withPartner.size()] : withPartner.front();
    const TFace face = mBoard.Tile(first).face;
    TTileId partner = kNoTile;
    for (TTileId id : mFree)
      if (id != first && mBoard.Tile(id).face == face) partner = id;
    return std::array<TTileId, 2>{first, partner};
  }
  // A pair that blocks itself: the second tile is free only once the first is gone.
  for (TTileId id : mFree) {
    const TFace face = mBoard.Tile(id).face;
    if (mBoard.HasManyCopies(face)) continue;
    mHidden[0] = id;
    mHiddenCount = 1;
    const TTileId partner = FirstFree(mBySuit[face.suit], face, true);
    mHiddenCount = 0;
    if (partner != kNoTile) return std::array<TTileId, 2>{id, partner};
  }
  return std::nullopt;
}

std::vector<TTileId> TMoveFinder::FindSet() const {
  for (TTileId start : mFree) {
    const TFace face = mBoard.Tile(start).face;
    const bool treasure = IsTreasureSuit(face.suit);
    const std::vector<TTileId>& suitTiles = mBySuit[face.suit];
    // A treasure goes all copies on the board at once; a common suit three at a time.
    const int target = treasure ? static_cast<int>(std::count_if(
                                      suitTiles.begin(), suitTiles.end(),
                                      [&](TTileId id) { return mBoard.Tile(id).face == face; }))
                                : 3;
    if (target < 2 || target > 4) continue;
    mHidden[0] = start;
    mHiddenCount = 1;
    while (mHiddenCount < target) {
      const TTileId next = FirstFree(suitTiles, face, treasure);
      if (next == kNoTile) break;
      mHidden[mHiddenCount++] = next;
    }
    std::vector<TTileId> group(mHidden.begin(), mHidden.begin() + mHiddenCount);
    mHiddenCount = 0;
    if (static_cast<int>(group.size()) >= target) return group;
  }
  return {};
}
