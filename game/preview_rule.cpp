#include "game/preview_rule.h"

#include "game/level_layout.h"

bool IsPreviewable(const TBoard& board, const TBoardTile& tile) {
  const int layer = tile.layer, x = tile.x, y = tile.y;
  if (layer >= TLevelLayout::kLayers - 1) return true;
  const int up = layer + 1;
  // A tile directly above that is itself free can be taken away to show this one.
  if (board.TileAt(up, x, y) != kNoTile && board.IsFree(up, x, y)) return true;
  if (x > 2 && !board.Stands(layer, x - 2, y)) return true;
  if (y < TLevelLayout::kRows - 1 && !board.Stands(layer, x, y + 2)) return true;
  if (board.Stands(up, x, y)) return false;
  if (x >= 1 && x <= TLevelLayout::kColumns - 2 && board.Stands(up, x - 1, y) &&
      board.Stands(up, x + 1, y))
    return false;
  if (y >= 1 && y <= TLevelLayout::kRows - 2 && board.Stands(up, x, y - 1) &&
      board.Stands(up, x, y + 1))
    return false;
  if (x == 0 || x == TLevelLayout::kColumns - 1 || y == 0 || y == TLevelLayout::kRows - 1)
    return true;
  return !(board.Stands(up, x - 1, y - 1) && board.Stands(up, x + 1, y - 1) &&
           board.Stands(up, x - 1, y + 1) && board.Stands(up, x + 1, y + 1));
}
