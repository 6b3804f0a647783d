// Small drawing helpers for windows: coordinates are those of the window being drawn (the
// current drawing origin). Without a renderer they do nothing.
#pragma once

#include "gfx/render_types.h"

class TTexture;

// Fills the rectangle with the colour (r, g, b, a components 0 to 1).
void FillScreenRect(const TRect& rect, const float colour[4]);
// Draws the texture with its top-left corner at (x, y).
void DrawBackdrop(TTexture& texture, int x = 0, int y = 0);
uint32_t PackColour(const float colour[4]);
