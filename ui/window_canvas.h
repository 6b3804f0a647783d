// The drawing state of the window walk: the clip rectangle and the stack of drawing origins
// (each window draws in its own coordinates). Both are mirrored onto the renderer when one
// exists (origin = viewport, clip = scissor), so windows draw at (0, 0) of themselves.
#pragma once

#include <vector>

#include "gfx/render_types.h"

class TWindowCanvas {
 public:
  // The clip rectangle in screen coordinates; the whole screen when nothing set it.
  static TRect Clip();
  static void SetClip(const TRect& clip);
  static void PushOrigin(const TRect& absolute);
  static void PopOrigin();
  static int OriginDepth();
  // Back to the full screen of the given size (start of a frame).
  static void Reset(int width, int height);
};
