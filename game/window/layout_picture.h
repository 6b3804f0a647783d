// Layouts drawn with plain shapes, at any size: a tile is its face and the two drawn sides
// below and to the left, like the game's tiles; treasure candidates have a gilt face.
// Used for the layout chooser's small pictures and the layout editor's board.
#pragma once

#include "game/level_layout.h"
#include "gfx/render_types.h"

// The colours of one drawn tile.
struct TLayoutTileLook {
  float alpha = 1.0f;
  bool candidate = false;
  bool marked = false;  // a position a check found fault with: a red face
  int layer = 0;        // higher layers are drawn a little lighter, so stacks read
};

// Draws one tile whose face's top-left corner is at (left, top) in the current window,
// face width w and height h; the sides take depth pixels.
void DrawLayoutTile(float left, float top, float w, float h, float depth,
                    const TLayoutTileLook& look);

// The positions of a layout in the order the board draws its tiles: layers from the bottom,
// within a layer from the upper right to the lower left, so that a tile covers its
// neighbours' sides.
std::vector<TLayoutPosition> DrawingOrder(const TLevelLayout& layout);

// Draws the whole layout fitted into box (kept in proportion, centred).
void DrawLayoutPicture(const TLevelLayout& layout, const TRect& box);
