// TPreviousCoverageRaster: the coverage raster as it was before its scanline loop was
// reworked for speed, kept unchanged as the reference the current raster must match bit for
// bit (same edges in, same alpha out).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/coverage_raster.h"

class TPreviousCoverageRaster {
 public:
  // The row buffer is this many pixels wide; spans are clipped to it.
  static constexpr int kMaxWidth = 3200;

  void Clear() { mEdges.clear(); }
  bool Empty() const { return mEdges.empty(); }
  size_t EdgeCount() const { return mEdges.size(); }

  // A straight edge in quarter pixels. Horizontal edges cross no scanline and are dropped.
  void AddLine(float x0, float y0, float x1, float y1);
  // A quadratic edge, replaced by three straight edges ending at t = 1/3, 2/3 and 1.
  void AddQuad(float x0, float y0, float cx, float cy, float x1, float y1);
  // The edge from (x0, y0) to (x1, y1) widened into a hexagon `width` quarter pixels across
  // (its sides run parallel to the edge, its ends are pointed). Filling the hexagons of all
  // edges of an outline gives the outline's stroke.
  void AddWideLine(float x0, float y0, float x1, float y1, float width);
  // An axis-aligned rectangle (underlines, cursors).
  void AddRect(float x0, float y0, float x1, float y1);

  // Fills the edges with the non-zero winding rule. An empty raster gives an empty bitmap.
  void Render(TCoverageBitmap* out);

 private:
  struct TEdge {
    float x0, y0, x1, y1;  // y0 < y1
    int winding;           // +1 for edges that ran upward, -1 for downward ones
  };
  std::vector<TEdge> mEdges;
  // Scratch buffers kept between calls.
  std::vector<float> mCover;
  std::vector<float> mDelta;
  struct TActiveEdge {
    float x;     // where the edge crosses the current scanline
    float dxdy;  // its step from one scanline to the next
    float y1;
    int winding;
  };
  std::vector<int> mRowHead;  // per scanline, the first edge that starts there (-1: none)
  std::vector<int> mNext;     // the next edge starting on the same scanline
  std::vector<TActiveEdge> mActive;
  std::vector<std::pair<float, int>> mCrossings;
};
