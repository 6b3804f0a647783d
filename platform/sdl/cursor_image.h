// The colour cursor at the display's real scale: the game's cursor pictures are 32 x 32
// logical pixels, and on an enlarged screen the pointer is shown as large as the picture
// around it, smoothly enlarged, with the hotspot moved along.
#pragma once

#include <cstdint>
#include <vector>

struct TCursorImage {
  std::vector<uint32_t> argb;  // width * height, alpha in the top byte
  int width = 0;
  int height = 0;
  int hotX = 0;
  int hotY = 0;
};

// The image scaled by `scale` (device pixels per logical pixel; at most 256 pixels a side,
// as cursors allow). Scale 1, or a picture that is not there, is returned unchanged.
TCursorImage ScaleCursorImage(const TCursorImage& image, float scale);
