#include "game/layout_grid.h"

TLayoutGrid::TLayoutGrid(const TLevelLayout& layout) {
  for (int i = 0; i < TLevelLayout::kCells; ++i) mStanding[i] = layout.Types()[i] != 0;
}

bool TLayoutGrid::IsCovered(int layer, int x, int y) const {
  if (layer >= TLevelLayout::kLayers - 1) return false;
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy)
      if (Stands(layer + 1, x + dx, y + dy)) return true;
  return false;
}

bool TLayoutGrid::IsFree(int layer, int x, int y) const {
  if (IsCovered(layer, x, y)) return false;
  bool leftOpen = x <= 1;
  bool rightOpen = x >= TLevelLayout::kColumns - 2;
  if (!leftOpen) {
    leftOpen = true;
    for (int dy = -1; dy <= 1; ++dy) leftOpen = leftOpen && !Stands(layer, x - 2, y + dy);
  }
  if (!rightOpen) {
    rightOpen = true;
    for (int dy = -1; dy <= 1; ++dy) rightOpen = rightOpen && !Stands(layer, x + 2, y + dy);
  }
  return leftOpen || rightOpen;
}
