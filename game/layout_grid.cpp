#include "game/layout_grid.h"

#include "game/free_rule.h"

TLayoutGrid::TLayoutGrid(const TLevelLayout& layout) {
  for (int i = 0; i < TLevelLayout::kCells; ++i) mStanding[i] = layout.Types()[i] != 0;
}

bool TLayoutGrid::IsCovered(int layer, int x, int y) const {
  return free_rule::IsCovered(StandsFunction(), layer, x, y);
}

bool TLayoutGrid::IsFree(int layer, int x, int y) const {
  return free_rule::IsFree(StandsFunction(), layer, x, y);
}
