#include "gfx/formats/animation_data.h"

#include <algorithm>

int TAnimationData::MaxFrameWidth() const {
  int widest = 0;
  for (const TAnimationFrame& frame : frames) widest = std::max(widest, frame.w);
  return widest;
}

int TAnimationData::MaxFrameHeight() const {
  int tallest = 0;
  for (const TAnimationFrame& frame : frames) tallest = std::max(tallest, frame.h);
  return tallest;
}
