// The free rule of the game, written once for every grid that can say whether a tile
// stands on a cell: the board in play, the layout tools and the solver. A tile stands on
// the cell of its upper-left quarter and covers the 2 x 2 cells x..x+1, y..y+1 of its
// layer; stands(layer, x, y) must answer false for cells outside the grid.
//
// A tile is free when nothing stands on it (any of the nine cells of the next layer whose
// tile would overlap it) and it is open on the left (x <= 1, or nothing at x - 2 on rows
// y - 1..y + 1) or on the right (x >= 36, or nothing at x + 2).
#pragma once

#include "game/level_layout.h"

namespace free_rule {

inline constexpr int kTopLayer = TLevelLayout::kLayers - 1;
inline constexpr int kLastColumn = TLevelLayout::kColumns - 1;
inline constexpr int kLastRow = TLevelLayout::kRows - 1;

template <class Stands>
bool IsCovered(const Stands& stands, int layer, int x, int y) {
  if (layer >= kTopLayer) return false;
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy)
      if (stands(layer + 1, x + dx, y + dy)) return true;
  return false;
}

template <class Stands>
bool IsOpenTowards(const Stands& stands, int layer, int x, int y, int dx) {
  for (int dy = -1; dy <= 1; ++dy)
    if (stands(layer, x + dx, y + dy)) return false;
  return true;
}

template <class Stands>
bool IsFree(const Stands& stands, int layer, int x, int y) {
  if (IsCovered(stands, layer, x, y)) return false;
  return x <= 1 || x >= kLastColumn - 1 || IsOpenTowards(stands, layer, x, y, -2) ||
         IsOpenTowards(stands, layer, x, y, 2);
}

// For hovering: no tile of the next layer lies over any part of this one. Cells beside
// the tile count only where the tile is not on the grid's border, so a tile on the border
// whose only upper neighbour is diagonal still shows as top-visible.
template <class Stands>
bool IsTopVisible(const Stands& stands, int layer, int x, int y) {
  if (layer >= kTopLayer) return true;
  const int up = layer + 1;
  if (stands(up, x, y)) return false;
  const bool innerColumn = x >= 1 && x <= kLastColumn - 1;
  const bool innerRow = y >= 1 && y <= kLastRow - 1;
  if (innerColumn && (stands(up, x - 1, y) || stands(up, x + 1, y))) return false;
  if (innerRow && (stands(up, x, y - 1) || stands(up, x, y + 1))) return false;
  if (innerColumn && innerRow)
    for (int dx : {-1, 1})
      for (int dy : {-1, 1})
        if (stands(up, x + dx, y + dy)) return false;
  return true;
}

}  // namespace free_rule
