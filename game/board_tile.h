// One tile of a board in play, as the rules see it. The board keeps every tile it placed
// for the whole level: a tile that leaves play (matched, moved into the sets box) is only
// marked removed and keeps its cell, so that undo can bring it back. Tiles are named by
// their index in the board (TTileId), which stays valid until the grid is cleared.
#pragma once

#include <cstdint>

#include "game/face.h"

using TTileId = int;
inline constexpr TTileId kNoTile = -1;

struct TBoardTile {
  TFace face;  // the shuffle may change it
  int16_t layer = 0;
  int16_t x = 0;  // the tile covers columns x..x+1 and rows y..y+1 of its layer
  int16_t y = 0;
  bool removed = false;
  bool selected = false;
};

// A tile with its cell, as the selection, the undo stack and the sets box hold it.
struct TPlacedTile {
  TTileId tile = kNoTile;
  int16_t layer = 0;
  int16_t x = 0;
  int16_t y = 0;
};
