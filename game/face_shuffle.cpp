#include "game/face_shuffle.h"

#include <map>
#include <vector>

#include "game/clearing_order.h"

namespace {

// The tiles whose faces are shuffled: on the board and not of a treasure suit, in grid
// order.
std::vector<TTileId> ShuffledTiles(const TBoard& board) {
  std::vector<TTileId> tiles;
  for (TTileId id : board.GridOrder()) {
    const TBoardTile& tile = board.Tile(id);
    if (!tile.removed && !IsTreasureSuit(tile.face.suit)) tiles.push_back(id);
  }
  return tiles;
}

void ShufflePlain(TBoard& board, const std::vector<TTileId>& tiles, TMersenneTwister& random) {
  TTileBag& bag = board.Bag();
  bag.Clear();
  for (TTileId id : tiles) bag.Append(board.Tile(id).face);
  bag.Shuffle(random);
  for (TTileId id : tiles) board.SetTileFace(id, bag.TakeLast());
}

// Groups the faces so that each group can be cleared together: pairs of one face, one set
// of three where a face is left over after its pairs, and what is left alone as singles.
void GroupFaces(const std::vector<TFace>& faces, TPlacementRequest& request) {
  std::map<std::pair<int, int>, int> counts;
  for (const TFace& face : faces) ++counts[{face.suit, face.variant}];
  for (const auto& [key, count] : counts) {
    const TFace face{key.first, key.second};
    int left = count;
    if (left % 2 == 1 && left >= 3) {
      request.groups.push_back({face, face, face});
      left -= 3;
    }
    for (; left >= 2; left -= 2) request.groups.push_back({face, face});
    if (left == 1) request.singles.push_back(face);
  }
}

bool ShuffleSolvable(TBoard& board, TMersenneTwister& random) {
  TPlacementRequest request;
  std::vector<TTileId> cells;
  std::vector<TFace> shuffled;
  for (TTileId id : board.GridOrder()) {
    const TBoardTile& tile = board.Tile(id);
    if (tile.removed) continue;
    const bool fixed = IsTreasureSuit(tile.face.suit);
    cells.push_back(id);
    request.cells.push_back({tile.layer, tile.x, tile.y, fixed ? tile.face : kNoFace});
    if (!fixed) shuffled.push_back(tile.face);
  }
  GroupFaces(shuffled, request);
  std::vector<TFace> faces;
  if (!PlaceInClearingOrder(request, random, faces)) return false;
  board.Bag().Clear();
  for (size_t i = 0; i < cells.size(); ++i)
    if (!IsTreasureSuit(board.Tile(cells[i]).face.suit)) board.SetTileFace(cells[i], faces[i]);
  return true;
}

}  // namespace

bool ShuffleFaces(TBoard& board, TMersenneTwister& random, bool solvable) {
  board.ClearSelection();
  const std::vector<TTileId> tiles = ShuffledTiles(board);
  if (solvable && ShuffleSolvable(board, random)) return true;
  ShufflePlain(board, tiles, random);
  return !solvable;
}
