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

#include "gfx/coverage_rows.h"

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
  // that one value, so a pixel's coverage is the size of the sum of all crossings'
  // contributions; the crossings are then summed edge by edge without being sorted (much
  // faster, the same result up to float rounding).
  void Render(TCoverageBitmap* out);

 private:
  using TEdge = TRasterEdge;
  void Store(const TEdge& e) {
    const int index = static_cast<int>(mEdges.size());
    mEdges.push_back(e);
    if (index > 0 && mWinding == TWinding::kAny) {
      TEdge& previous = mEdges[index - 1];
      TEdge& added = mEdges[index];
      if (previous.winding == added.winding) {
        if (added.winding < 0 && previous.y1 == added.y0) {  // going down: below the previous
          previous.next = index;
          added.head = false;
        } else if (added.winding > 0 && added.y1 == previous.y0) {  // going up: above it
          added.next = index - 1;
          previous.head = false;
        }
      }
    }
    mMinX = std::min(mMinX, std::min(e.x0, e.x1));
    mMaxX = std::max(mMaxX, std::max(e.x0, e.x1));
    mMinY = std::min(mMinY, e.y0);
    mMaxY = std::max(mMaxY, e.y1);
  }
  // Render for TWinding::kZeroOrOne, into the bitmap `out` already set up.
  void RenderSummed(TCoverageBitmap* out);
  // One pixel row: brings the active chains to its four scanlines, lets new chains join,
  // adds the inside spans to the row buffers and writes the finished pixel row.
  void RenderPixelRow(int row);
  // Moves active chain i towards the front of the list until the one before precedes it.
  void MoveIntoPlace(size_t i);

  TWinding mWinding = TWinding::kAny;
  std::vector<TEdge> mEdges;
  // Bounds of the stored edges, kept up to date as they are added.
  float mMinX = std::numeric_limits<float>::infinity(), mMinY = mMinX;
  float mMaxX = -std::numeric_limits<float>::infinity(), mMaxY = mMaxX;

  // State of one Render, kept between calls to reuse the memory.
  std::vector<int> mRowHead;   // per scanline, the first chain that starts there (-1: none)
  std::vector<int> mNextHead;  // the next chain starting on the same scanline
  // The chains crossing the current pixel row, in the order of their crossings, ties in the
  // order in which they became active; the first mActiveCount go on to the next row.
  std::vector<TRasterChain> mActive;
  size_t mActiveCount = 0;
  uint32_t mOrder = 0;
  TCoverageRows mRows;
  TCoverageSums mSums;
  TCoverageBitmap* mOut = nullptr;
  int mFirstScanline = 0, mScanlines = 0;
  float mOriginX = 0;
};
