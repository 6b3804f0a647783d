// The coverage raster's work per pixel row. The active chains are stepped over the row's four
// scanlines at once; while they keep their left-to-right order on all four (the usual case:
// outlines rarely cross themselves), one walk over the list finds where the winding number
// leaves and returns to 0 on every scanline, and each such crossing adds or takes away what
// lies right of it:
//
//   a span [a, b] covers of pixel p exactly what [a, inf) covers minus what [b, inf) covers,
//
// so the crossing's pixel gets the part of its width right of the crossing and the pixels
// after it a full 4 through the difference buffer. A chain that opens (or closes) spans on
// all four scanlines inside one pixel does that once for the four. Rows where chains cross
// sort each scanline's crossings and add span by span instead.
#include "gfx/coverage_rows.h"

#include <algorithm>
#include <limits>

namespace {

// The row buffers as seen while adding one row's crossings (locals the compiler can keep in
// registers while it stores into the buffers).
struct TRowSums {
  float* cover;
  int32_t* delta;
  int width;
  float spanLimit;  // the buffer's right end in quarter pixels
  int lo, hi;       // the pixels touched so far

  // Adds what [x, inf) covers of the row (sign -1: takes it away), clipped to the buffer.
  void AddCrossing(float x, int sign) {
    if (x >= spanLimit) {
      // Beyond the row buffer: a span that ends there runs to the end of the row.
      hi = width - 1;
      return;
    }
    const float clipped = x > 0.0f ? x : 0.0f;  // (a NaN crossing counts as 0)
    const int p = static_cast<int>(clipped * 0.25f);
    cover[p] += static_cast<float>(sign) * (4.0f * static_cast<float>(p + 1) - clipped);
    delta[p + 1] += 4 * sign;
    lo = std::min(lo, p);
    hi = std::max(hi, p);
  }
  // The same for one chain's crossings of all four scanlines.
  void AddCrossings(const float (&x)[4], int sign) {
    const float least = std::min(std::min(x[0], x[1]), std::min(x[2], x[3]));
    const float most = std::max(std::max(x[0], x[1]), std::max(x[2], x[3]));
    if (least >= 0 && most < spanLimit) {
      const int p = static_cast<int>(least * 0.25f);
      if (p == static_cast<int>(most * 0.25f)) {
        const float right = 4.0f * static_cast<float>(p + 1);
        cover[p] += static_cast<float>(sign) *
                    (((right - x[0]) + (right - x[1])) + ((right - x[2]) + (right - x[3])));
        delta[p + 1] += 16 * sign;
        lo = std::min(lo, p);
        hi = std::max(hi, p);
        return;
      }
    }
    for (const float crossing : x) AddCrossing(crossing, sign);
  }
};

}  // namespace

void StepChain(TRasterChain& c, const TRasterRow& row, int first, bool fresh) {
  const TRasterEdge* const edges = row.edges;
  // Makes `edge` (or the first edge after it in the chain that reaches y) the current edge
  // and puts its crossing of scanline y in x. False: the chain has ended.
  auto enter = [&c, edges, &row](int edge, float y, float& x) {
    // Edges shorter than a scanline gap cross no centre and are passed over.
    while (edge >= 0 && edges[edge].y1 <= y) edge = edges[edge].next;
    c.edge = edge;
    if (edge < 0) return false;
    const TRasterEdge& e = edges[edge];
    c.dxdy = (e.x1 - e.x0) / (e.y1 - e.y0);
    c.y1 = e.y1;
    x = e.x0 - row.originX + (y - e.y0) * c.dxdy;
    return true;
  };
  c.row = row.index;
  float x = c.x[3];  // a chain that goes on from the row above crossed its last scanline
  if (!fresh && c.y1 > row.y + 3.0f) {
    // The usual case: the current edge runs through the whole row.
    for (float& crossing : c.x) crossing = x += c.dxdy;
    c.key = c.x[0];
    c.scanlines = 0xF;
    return;
  }
  c.scanlines = 0;
  for (int k = first; k < 4; ++k) {
    const float y = row.y + static_cast<float>(k);
    if (fresh) {
      fresh = false;
      if (!enter(c.edge, y, x)) return;
    } else if (c.y1 <= y) {
      if (!enter(edges[c.edge].next, y, x)) return;
    } else {
      x += c.dxdy;
    }
    if (c.scanlines == 0) c.key = x;
    c.x[k] = x;
    c.scanlines |= 1u << k;
  }
}

void TCoverageRows::Begin(int width) {
  if (mCover.size() < static_cast<size_t>(width) + 1) {
    mCover.resize(width + 1, 0.0f);
    mDelta.resize(width + 1, 0);
  }
  mWidth = width;
  mTouchedLo = width;
  mTouchedHi = -1;
}

bool TCoverageRows::StepAndAddInListOrder(TRasterChain* chains, size_t count,
                                          const TRasterRow& row) {
  TRowSums sums{mCover.data(), mDelta.data(), mWidth, mWidth * 4.0f, mTouchedLo, mTouchedHi};
  bool ordered = true;
  // The usual case first: every chain so far crosses all four scanlines, so the winding
  // number, and with it each chain's role, is the same on all four.
  int winding = 0;
  float last[4];
  std::fill(last, last + 4, -std::numeric_limits<float>::infinity());
  size_t lastOpening = 0;
  size_t i = 0;
  for (; i < count; ++i) {
    TRasterChain& c = chains[i];
    if (c.row != row.index) StepChain(c, row, 0, false);
    if (c.scanlines != 0xF) break;
    ordered &=
        (c.x[0] >= last[0]) & (c.x[1] >= last[1]) & (c.x[2] >= last[2]) & (c.x[3] >= last[3]);
    std::copy(c.x, c.x + 4, last);
    const int before = winding;
    winding += c.Winding();
    if (before == 0) {
      sums.AddCrossings(c.x, +1);
      lastOpening = i;
    } else if (winding == 0) {
      sums.AddCrossings(c.x, -1);
    }
  }
  // From the first chain that starts or ends inside the row on, scanline by scanline.
  int windings[4] = {winding, winding, winding, winding};
  size_t lastOpenings[4] = {lastOpening, lastOpening, lastOpening, lastOpening};
  for (; i < count; ++i) {
    TRasterChain& c = chains[i];
    if (c.row != row.index) StepChain(c, row, 0, false);
    const int step = c.Winding();
    for (int k = 0; k < 4; ++k) {
      if (!(c.scanlines & (1u << k))) continue;
      ordered &= c.x[k] >= last[k];
      last[k] = c.x[k];
      const int before = windings[k];
      windings[k] += step;
      if (before == 0) {
        sums.AddCrossing(c.x[k], +1);
        lastOpenings[k] = i;
      } else if (windings[k] == 0) {
        sums.AddCrossing(c.x[k], -1);
      }
    }
  }
  // An outline that does not close leaves its last span open; such a span fills nothing.
  for (int k = 0; k < 4; ++k) {
    if (windings[k] != 0) sums.AddCrossing(chains[lastOpenings[k]].x[k], -1);
  }
  mTouchedLo = sums.lo;
  mTouchedHi = sums.hi;
  if (!ordered) ClearTouched();
  return ordered;
}

void TCoverageRows::AddSpansPerScanline(const TRasterChain* chains, size_t count) {
  if (mCrossings.size() < count) mCrossings.resize(count);
  TCrossing* const crossings = mCrossings.data();
  TRowSums sums{mCover.data(), mDelta.data(), mWidth, mWidth * 4.0f, mTouchedLo, mTouchedHi};
  for (int k = 0; k < 4; ++k) {
    size_t n = 0;
    for (size_t i = 0; i < count; ++i) {
      const TRasterChain& c = chains[i];
      if (!(c.scanlines & (1u << k))) continue;
      // Insertion by x, ties in the order the chains became active.
      const TCrossing crossing{c.x[k], c.orderAndWinding};
      size_t j = n;
      while (j > 0 && (crossings[j - 1].x > crossing.x ||
                       (crossings[j - 1].x == crossing.x &&
                        crossings[j - 1].orderAndWinding > crossing.orderAndWinding))) {
        crossings[j] = crossings[j - 1];
        --j;
      }
      crossings[j] = crossing;
      ++n;
    }
    int winding = 0;
    float start = 0;
    for (size_t i = 0; i < n; ++i) {
      const int before = winding;
      winding += (crossings[i].orderAndWinding & 1) ? 1 : -1;
      if (before == 0) {
        start = crossings[i].x;
      } else if (winding == 0) {
        sums.AddCrossing(start, +1);
        sums.AddCrossing(crossings[i].x, -1);
      }
    }
  }
  mTouchedLo = sums.lo;
  mTouchedHi = sums.hi;
}

void TCoverageRows::ClearTouched() {
  if (mTouchedHi >= mTouchedLo) {
    std::fill(mCover.begin() + mTouchedLo, mCover.begin() + mTouchedHi + 1, 0.0f);
    std::fill(mDelta.begin() + mTouchedLo, mDelta.begin() + mTouchedHi + 2, 0);
  }
  mTouchedLo = mWidth;
  mTouchedHi = -1;
}

void TCoverageRows::Finish(uint8_t* dst) {
  const int lo = mTouchedLo, hi = mTouchedHi;
  mTouchedLo = mWidth;
  mTouchedHi = -1;
  if (hi < lo) return;
  float* const cover = mCover.data();
  int32_t* const delta = mDelta.data();
  int32_t running = 0;
  for (int p = lo; p <= hi; ++p) {
    running += delta[p];
    const float c = std::clamp(cover[p] + static_cast<float>(running), 0.0f, 16.0f);
    dst[p] = static_cast<uint8_t>(c * (255.0f / 16.0f) + 0.5f);
    cover[p] = 0;
    delta[p] = 0;
  }
  delta[hi + 1] = 0;
}
