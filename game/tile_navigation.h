// Moving a keyboard focus over the free tiles of a board: from one tile to the nearest free
// tile in a direction, as the player sees the tiles on screen. Distances are measured
// between the centres of the tiles' top faces; a tile counts as lying in a direction when
// its centre is further that way, and among those the nearest wins, with sideways distance
// weighing twice as much as distance along the direction, so that the focus keeps to its
// row or column where it can.
#pragma once

#include "game/board.h"

enum class TTileDirection { kLeft, kRight, kUp, kDown };

// The centre of the tile's top face in game-window pixels.
struct TTileCentre {
  int x;
  int y;
};
TTileCentre TileCentre(const TBoardTile& tile);

// The nearest free tile in that direction from the tile, or kNoTile when there is none.
TTileId NearestFreeTile(const TBoard& board, TTileId from, TTileDirection direction);
// The free tile nearest to a point (ties: the first in grid order), or kNoTile.
TTileId FreeTileNearestTo(const TBoard& board, TTileCentre point);
// The free tile after (or before) this one in reading order — rows of the screen from top
// to bottom, left to right — wrapping around; the first free tile for kNoTile.
TTileId NextFreeTile(const TBoard& board, TTileId from, bool backwards);
