#include "game/tile_navigation.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <tuple>

namespace {

// The top face of a 47 x 64 tile window is its upper-left 40 x 56 pixels.
constexpr int kFaceCentreX = 20;
constexpr int kFaceCentreY = 28;

// Reading order of free tiles: by the row their centre is in, then from the left.
bool ReadsBefore(const TTileCentre& a, const TTileCentre& b) {
  return std::tie(a.y, a.x) < std::tie(b.y, b.x);
}

}  // namespace

TTileCentre TileCentre(const TBoardTile& tile) {
  const TTileScreenPosition position = TileScreenPosition(tile.layer, tile.x, tile.y);
  return {position.left + kFaceCentreX, position.top + kFaceCentreY};
}

TTileId NearestFreeTile(const TBoard& board, TTileId from, TTileDirection direction) {
  if (from < 0 || from >= board.TileCount()) return NextFreeTile(board, kNoTile, false);
  const TTileCentre start = TileCentre(board.Tile(from));
  TTileId best = kNoTile;
  long bestScore = std::numeric_limits<long>::max();
  for (TTileId id : board.FreeTiles()) {
    if (id == from) continue;
    const TTileCentre c = TileCentre(board.Tile(id));
    const int dx = c.x - start.x, dy = c.y - start.y;
    int along = 0, across = 0;
    switch (direction) {
      case TTileDirection::kLeft:
        along = -dx, across = dy;
        break;
      case TTileDirection::kRight:
        along = dx, across = dy;
        break;
      case TTileDirection::kUp:
        along = -dy, across = dx;
        break;
      case TTileDirection::kDown:
        along = dy, across = dx;
        break;
    }
    if (along <= 0) continue;
    const long score = along + 2L * std::abs(across);
    if (score < bestScore) {
      bestScore = score;
      best = id;
    }
  }
  return best;
}

TTileId FreeTileNearestTo(const TBoard& board, TTileCentre point) {
  TTileId best = kNoTile;
  long bestDistance = std::numeric_limits<long>::max();
  for (TTileId id : board.FreeTiles()) {
    const TTileCentre c = TileCentre(board.Tile(id));
    const long dx = c.x - point.x, dy = c.y - point.y;
    const long distance = dx * dx + dy * dy;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = id;
    }
  }
  return best;
}

TTileId NextFreeTile(const TBoard& board, TTileId from, bool backwards) {
  std::vector<TTileId> free = board.FreeTiles();
  if (free.empty()) return kNoTile;
  std::stable_sort(free.begin(), free.end(), [&](TTileId a, TTileId b) {
    return ReadsBefore(TileCentre(board.Tile(a)), TileCentre(board.Tile(b)));
  });
  if (from < 0 || from >= board.TileCount()) return backwards ? free.back() : free.front();
  const TTileCentre start = TileCentre(board.Tile(from));
  if (backwards) {
    for (auto it = free.rbegin(); it != free.rend(); ++it)
      if (*it != from && ReadsBefore(TileCentre(board.Tile(*it)), start)) return *it;
    return free.back();
  }
  for (TTileId id : free)
    if (id != from && ReadsBefore(start, TileCentre(board.Tile(id)))) return id;
  return free.front();
}
