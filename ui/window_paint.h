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

class TRenderer;

// A 2D batch for one window's drawing: begins one unless the renderer is already in 2D
// state (a caller's batch), and ends only the batch it began.
class TScoped2d {
 public:
  TScoped2d();
  ~TScoped2d();
  TScoped2d(const TScoped2d&) = delete;
  TScoped2d& operator=(const TScoped2d&) = delete;
  // The renderer to draw with, or null when there is none or 2D state could not be entered.
  TRenderer* Renderer() const { return mRenderer; }

 private:
  TRenderer* mRenderer = nullptr;
  bool mBegan = false;
};
