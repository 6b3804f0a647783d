// TCoverageRaster: the anti-aliased scanline fill under the vector fonts. Edges are given in
// quarter pixels; every pixel row is sampled on four quarter-pixel scanlines, and on each
// scanline the spans where the non-zero winding rule says "inside" add their exact
// horizontal coverage (0 to 4 quarter pixels per scanline) to the pixels they touch. A pixel
// thus collects a coverage of 0 to 16, which becomes its alpha (c / 16).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "gfx/coverage_sums.h"

// Coverage of a rectangle of pixels: alpha 0..255 per pixel, rows top to bottom.
struct TCoverageBitmap {
  int left = 0, top = 0;  // pixel position of alpha[0]
  int width = 0, height = 0;
  std::vector<uint8_t> alpha;

  uint8_t At(int x, int y) const {
    x -= left;
    y -= top;
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    return alpha[static_cast<size_t>(y) * width + x];
  }
};

// A quadratic curve's points at t = 1/3 and 2/3: where the raster cuts it into three straight
// edges (and where strokes and the outline check cut it too, to follow the same edges).
struct TCurveThirds {
  float ax, ay, bx, by;
};
TCurveThirds CurveThirds(float x0, float y0, float cx, float cy, float x1, float y1);

// What the caller knows about the winding numbers of the edges it adds.
enum class TWinding {
  kAny,        // anything (overlapping contours, strokes): the non-zero rule is walked
  kZeroOrOne,  // 0 outside, one value of magnitude 1 inside (gfx/outline_winding.h)
};

class TCoverageRaster {
 public:
  // The row buffer is this many pixels wide; spans are clipped to it.
  static constexpr int kMaxWidth = 3200;

  // Forgets all edges. `winding`: what the caller knows about the edges it adds next.
  void Clear(TWinding winding = TWinding::kAny) {
    mWinding = winding;
    mEdges.clear();
    mMinX = mMinY = std::numeric_limits<float>::infinity();
    mMaxX = mMaxY = -std::numeric_limits<float>::infinity();
  }
  bool Empty() const { return mEdges.empty(); }
  size_t EdgeCount() const { return mEdges.size(); }

  // A straight edge in quarter pixels. Horizontal edges cross no scanline and are dropped.
  void AddLine(float x0, float y0, float x1, float y1) {
    if (!(std::isfinite(x0) && std::isfinite(y0) && std::isfinite(x1) && std::isfinite(y1))) {
      return;
    }
    if (y0 == y1) return;
    // Stored top to bottom; selects rather than branches, as the direction is anyone's guess.
    const bool down = y0 < y1;
    Store({down ? x0 : x1, std::min(y0, y1), down ? x1 : x0, std::max(y0, y1), down ? -1 : 1});
  }
  // A quadratic edge, replaced by three straight edges ending at t = 1/3, 2/3 and 1.
  void AddQuad(float x0, float y0, float cx, float cy, float x1, float y1);
  // The edge from (x0, y0) to (x1, y1) widened into a hexagon `width` quarter pixels across
  // (its sides run parallel to the edge, its ends are pointed). Filling the hexagons of all
  // edges of an outline gives the outline's stroke.
  void AddWideLine(float x0, float y0, float x1, float y1, float width);
  // An axis-aligned rectangle (underlines, cursors).
  void AddRect(float x0, float y0, float x1, float y1);

  // Fills the edges with the non-zero winding rule. An empty raster gives an empty bitmap.
  // Edges added after Clear(TWinding::kZeroOrOne) are inside wherever the winding number is
  // not 0, and there it is one value of magnitude 1, so their crossings are summed edge by
  // edge without being sorted (gfx/coverage_sums.h): much faster, the same result up to
  // float rounding.
  void Render(TCoverageBitmap* out);

 private:
  using TEdge = TRasterEdge;
  void Store(const TEdge& e) {
    mEdges.push_back(e);
    mMinX = std::min(mMinX, std::min(e.x0, e.x1));
    mMaxX = std::max(mMaxX, std::max(e.x0, e.x1));
    mMinY = std::min(mMinY, e.y0);
    mMaxY = std::max(mMaxY, e.y1);
  }

  TWinding mWinding = TWinding::kAny;
  std::vector<TEdge> mEdges;
  // Bounds of the stored edges, kept up to date as they are added.
  float mMinX = std::numeric_limits<float>::infinity(), mMinY = mMinX;
  float mMaxX = -std::numeric_limits<float>::infinity(), mMaxY = mMaxX;
  // Scratch buffers kept between calls.
  std::vector<float> mCover;
  std::vector<float> mDelta;
  // An edge crossing the current scanline. The active list is kept sorted by x, ties in the
  // order the edges became active, so walking it gives the crossings left to right.
  struct TActiveEdge {
    float x;     // where the edge crosses the current scanline
    float dxdy;  // its step from one scanline to the next
    float y1;
    // When the edge became active (bits 1 and up; orders ties at equal x) and its winding
    // (bit 0: 1 for +1, 0 for -1). One word keeps the entry at 16 bytes.
    uint32_t orderAndWinding;
    int Winding() const { return (orderAndWinding & 1) ? 1 : -1; }
  };
  std::vector<int> mRowHead;  // per scanline, the first edge that starts there (-1: none)
  std::vector<int> mNext;     // the next edge starting on the same scanline
  std::vector<TActiveEdge> mActive;
  TCoverageSums mSums;
};
