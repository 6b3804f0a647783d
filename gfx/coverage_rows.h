// The pieces of the coverage raster's scanline work (gfx/coverage_raster.h), one pixel row of
// four quarter-pixel scanlines at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A straight edge in quarter pixels, top to bottom.
struct TRasterEdge {
  float x0, y0, x1, y1;  // y0 < y1
  int winding;           // +1 for edges that ran upward, -1 for downward ones
  // Edges of the same winding where one ends at the height the other starts form a chain:
  // on every scanline at most one of them is crossed, so the chain can take one place in the
  // active list and hand over from edge to edge. `next` is the edge below (-1: none); only
  // the topmost edge of a chain (`head`) is entered in the scanline table.
  int next = -1;
  bool head = true;
};

// A chain crossing the current pixel row.
struct TRasterChain {
  float x[4];  // where it crosses the row's four scanlines (bit k of `scanlines` set)
  float key;   // x on the first of them it crosses: its place in the list
  float dxdy;  // the current edge's step from one scanline to the next
  float y1;    // where the current edge ends
  int edge;    // the current edge (-1: the chain has ended)
  // When the chain became active (bits 1 and up; orders ties at equal x) and its winding
  // (bit 0: 1 for +1, 0 for -1).
  uint32_t orderAndWinding;
  uint32_t scanlines;  // bit k: crosses scanline k of the row
  int row;             // the pixel row `x`, `key` and `scanlines` are for

  int Winding() const { return (orderAndWinding & 1) ? 1 : -1; }
  // Its place in the list: by x, ties by when it became active.
  bool Precedes(const TRasterChain& other) const {
    return key < other.key || (key == other.key && orderAndWinding < other.orderAndWinding);
  }
};

// Where a pixel row lies: the edges its chains follow, the bitmap's left side in quarter
// pixels, the centre of the row's scanline 0 and the row's index.
struct TRasterRow {
  const TRasterEdge* edges;
  float originX;
  float y;
  int index;
};

// Moves `c` over the row's scanlines `first` to 3 and records where it crosses them; `fresh`:
// it joins on scanline `first` with c.edge as its top edge. A chain that runs out of edges
// gets edge -1.
void StepChain(TRasterChain& c, const TRasterRow& row, int first, bool fresh);

// The row buffers of one pixel row: per pixel, the coverage of partly covered pixels and the
// difference that starts or ends runs of fully covered ones, both all zero between rows.
class TCoverageRows {
 public:
  // Prepares the buffers for pixel rows `width` pixels wide.
  void Begin(int width);
  // Steps the chains that are not on the row yet and adds the inside spans, walking the list
  // once for all four scanlines. False if the list's order does not hold on every scanline
  // (chains cross inside the row): then nothing has been added, and the caller sorts the
  // list and uses AddSpansPerScanline.
  bool StepAndAddInListOrder(TRasterChain* chains, size_t count, const TRasterRow& row);
  // Adds the inside spans scanline by scanline, sorting each one's crossings first.
  void AddSpansPerScanline(const TRasterChain* chains, size_t count);
  // Writes the pixel row's alpha into `dst` (`width` bytes; untouched pixels are left as they
  // are) and clears the buffers.
  void Finish(uint8_t* dst);

 private:
  void ClearTouched();

  std::vector<float> mCover;
  std::vector<int32_t> mDelta;
  struct TCrossing {
    float x;
    uint32_t orderAndWinding;
  };
  std::vector<TCrossing> mCrossings;
  int mWidth = 0;
  int mTouchedLo = 0, mTouchedHi = -1;  // the pixels the row's crossings touched
};

// Coverage summed edge by edge, for outlines whose winding number is 0 or one value of
// magnitude 1 (TWinding::kZeroOrOne): every crossing adds (going one way) or takes away
// (going the other) what lies right of it on its scanline, and a pixel's coverage is the
// size of the sum. No active list, no sorting. The buffers hold a whole bitmap.
class TCoverageSums {
 public:
  // Prepares the buffers for a bitmap of width x height pixels.
  void Begin(int width, int height);
  // Adds the crossings of `e` with the bitmap's scanlines; `originX` is the bitmap's left
  // side in quarter pixels, `firstScanline` its top scanline.
  void AddEdge(const TRasterEdge& e, float originX, int firstScanline);
  // Writes the alpha of all pixels into `dst` (width x height) and clears the buffers.
  void Finish(uint8_t* dst);

 private:
  int mWidth = 0, mHeight = 0;
  std::vector<float> mCover;    // per cell: coverage right of the crossings in it
  std::vector<int32_t> mDelta;  // per cell: the difference of full pixels from it on
};
