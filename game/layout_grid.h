// A play grid over a layout for tools that reason about positions without faces or
// windows: which positions still stand, and the free rule of the game (a tile is free when
// nothing stands on it and one of its sides, left or right, is open).
#pragma once

#include <array>
#include <cstdint>

#include "game/level_layout.h"

class TLayoutGrid {
 public:
  explicit TLayoutGrid(const TLevelLayout& layout);

  bool Stands(int layer, int x, int y) const {
    return TLevelLayout::InGrid(layer, x, y) && mStanding[TLevelLayout::CellIndex(layer, x, y)];
  }
  void Remove(int layer, int x, int y) { Set(layer, x, y, false); }
  void Restore(int layer, int x, int y) { Set(layer, x, y, true); }

  // Not covered by a standing tile of the next layer (the nine overlapping cells) and open
  // on the left (x <= 1 or nothing at x - 2, y - 1..y + 1) or on the right (x >= 36 or
  // nothing at x + 2). Cells outside the grid count as empty.
  bool IsCovered(int layer, int x, int y) const;
  bool IsFree(int layer, int x, int y) const;

  // The standing test as a function object for free_rule.h.
  auto StandsFunction() const {
    return [this](int layer, int x, int y) { return Stands(layer, x, y); };
  }

 private:
  void Set(int layer, int x, int y, bool standing) {
    if (TLevelLayout::InGrid(layer, x, y))
      mStanding[TLevelLayout::CellIndex(layer, x, y)] = standing;
  }

  std::array<bool, TLevelLayout::kCells> mStanding{};
};
