// Coverage summed edge by edge, for outlines whose winding number is 0 outside and one value
// of magnitude 1 inside (TWinding::kZeroOrOne in gfx/coverage_raster.h). Every crossing of an
// edge with a scanline adds (going one way) or takes away (going the other) what lies right
// of it on that scanline:
//
//   a span [a, b] covers of pixel p exactly what [a, inf) covers minus what [b, inf) covers,
//
// so the crossing's pixel gets the part of its width right of the crossing and the pixels
// after it a full 4 quarter pixels through a difference buffer. A pixel's coverage is the
// size of the sum. No active edge list and no sorting.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A straight edge in quarter pixels, top to bottom.
struct TRasterEdge {
  float x0, y0, x1, y1;  // y0 < y1
  int winding;           // +1 for edges that ran upward, -1 for downward ones
};

class TCoverageSums {
 public:
  // Prepares the buffers for a bitmap of width x height pixels.
  void Begin(int width, int height);
  // Adds the crossings of `e` with the scanline centres of the bitmap; `originX` is the
  // bitmap's left side in quarter pixels, `firstScanline` its top scanline.
  void AddEdge(const TRasterEdge& e, float originX, int firstScanline);
  // Writes the alpha of all pixels into `dst` (width x height) and clears the buffers.
  void Finish(uint8_t* dst);

 private:
  int mWidth = 0, mHeight = 0;
  std::vector<float> mCover;    // per pixel: coverage right of the crossings in it
  std::vector<int32_t> mDelta;  // per pixel: the difference of full pixels from it on
};
