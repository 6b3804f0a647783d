#include "gfx/coverage_raster.h"

#include <algorithm>
#include <cmath>

namespace {

// The curve's points at t = 1/3 and 2/3 as weights of its start, control and end point:
// (1 - t)^2, 2 (1 - t) t and t^2, evaluated in that order in float.
struct TQuadWeights {
  float start, control, end;
};
constexpr TQuadWeights Weights(float t) {
  const float s = 1 - t;
  return {s * s, 2 * s * t, t * t};
}
constexpr TQuadWeights kThird = Weights(1 / 3.0f);
constexpr TQuadWeights kTwoThirds = Weights(2 / 3.0f);

}  // namespace

void TCoverageRaster::AddQuad(float x0, float y0, float cx, float cy, float x1, float y1) {
  const float ax = kThird.start * x0 + kThird.control * cx + kThird.end * x1;
  const float ay = kThird.start * y0 + kThird.control * cy + kThird.end * y1;
  const float bx = kTwoThirds.start * x0 + kTwoThirds.control * cx + kTwoThirds.end * x1;
  const float by = kTwoThirds.start * y0 + kTwoThirds.control * cy + kTwoThirds.end * y1;
  AddLine(x0, y0, ax, ay);
  AddLine(ax, ay, bx, by);
  AddLine(bx, by, x1, y1);
}

void TCoverageRaster::AddWideLine(float x0, float y0, float x1, float y1, float width) {
  const float dx = x1 - x0, dy = y1 - y0;
  const float length = std::sqrt(dx * dx + dy * dy);
  if (!(length > 1e-6f) || !(width > 0)) return;
  const float h = width / 2;
  const float ux = dx / length * h, uy = dy / length * h;  // along the edge
  const float nx = -uy, ny = ux;                           // across it
  // Always wound the same way round, so overlapping hexagons add up under non-zero winding.
  const float pts[6][2] = {{x0 + nx, y0 + ny}, {x0 - ux, y0 - uy}, {x0 - nx, y0 - ny},
                           {x1 - nx, y1 - ny}, {x1 + ux, y1 + uy}, {x1 + nx, y1 + ny}};
  for (int i = 0; i < 6; ++i) {
    const int j = (i + 1) % 6;
    AddLine(pts[i][0], pts[i][1], pts[j][0], pts[j][1]);
  }
}

void TCoverageRaster::AddRect(float x0, float y0, float x1, float y1) {
  AddLine(x0, y0, x0, y1);
  AddLine(x0, y1, x1, y1);
  AddLine(x1, y1, x1, y0);
  AddLine(x1, y0, x0, y0);
}

void TCoverageRaster::Render(TCoverageBitmap* out) {
  out->alpha.clear();
  out->width = out->height = 0;
  if (mEdges.empty()) return;
  // Far outside any sensible screen: nothing is drawn (also keeps the integer maths sound).
  constexpr float kLimit = 4.0f * 1000000;
  if (mMinX < -kLimit || mMaxX > kLimit || mMinY < -kLimit || mMaxY > kLimit) return;
  const int left = static_cast<int>(std::floor(mMinX / 4));
  const int top = static_cast<int>(std::floor(mMinY / 4));
  const int right = std::min(static_cast<int>(std::ceil(mMaxX / 4)), left + kMaxWidth);
  const int bottom = std::min(static_cast<int>(std::ceil(mMaxY / 4)), top + kMaxWidth);
  const int width = right - left, height = bottom - top;
  if (width <= 0 || height <= 0) return;
  out->left = left;
  out->top = top;
  out->width = width;
  out->height = height;
  out->alpha.assign(static_cast<size_t>(width) * height, 0);
  if (mWinding == TWinding::kZeroOrOne) {
    RenderSummed(out);
    return;
  }

  // The scanline table: every chain is entered at the first scanline whose centre its top
  // edge reaches (linked lists per scanline; no sorting needed).
  mFirstScanline = top * 4;
  mScanlines = height * 4;
  mRowHead.assign(mScanlines, -1);
  mNextHead.resize(mEdges.size());
  for (size_t i = 0; i < mEdges.size(); ++i) {
    if (!mEdges[i].head) continue;
    const int row = std::max(0, static_cast<int>(std::ceil(mEdges[i].y0 - 0.5f)) - mFirstScanline);
    if (row >= mScanlines) continue;
    mNextHead[i] = mRowHead[row];
    mRowHead[row] = static_cast<int>(i);
  }
  mRows.Begin(width);
  // A pixel row holds at most one entry per chain (a chain joins once).
  if (mActive.size() < mEdges.size()) mActive.resize(mEdges.size());
  mActiveCount = 0;
  mOrder = 0;
  mOut = out;
  mOriginX = left * 4.0f;
  for (int row = 0; row < height; ++row) RenderPixelRow(row);
  mOut = nullptr;
}

void TCoverageRaster::RenderPixelRow(int row) {
  const int firstScanline = row * 4;
  const int* const rowHead = mRowHead.data() + firstScanline;
  const bool joins = rowHead[0] >= 0 || rowHead[1] >= 0 || rowHead[2] >= 0 || rowHead[3] >= 0;
  if (mActiveCount == 0 && !joins) return;  // nothing crosses this row: it stays clear
  const TRasterRow frame{mEdges.data(), mOriginX,
                         static_cast<float>(mFirstScanline + firstScanline) + 0.5f, row};

  // The list is ordered by where each chain first crosses the row and, at equal x, by when
  // it became active. Chains that go on from the row above keep their places (the walk
  // below checks that the order still holds); new ones are stepped to the row and put in
  // place by their first crossing, against the others' crossings of the row above.
  TRasterChain* const active = mActive.data();
  size_t count = mActiveCount;
  if (joins) {
    for (int k = 0; k < 4; ++k) {
      for (int head = rowHead[k]; head >= 0; head = mNextHead[head]) {
        TRasterChain& c = active[count];
        c.edge = head;
        c.orderAndWinding = mOrder | (mEdges[head].winding > 0 ? 1u : 0u);
        mOrder += 2;
        StepChain(c, frame, k, true);
        if (c.scanlines == 0) continue;
        MoveIntoPlace(count++);
      }
    }
  }
  if (count > 0 && !mRows.StepAndAddInListOrder(active, count, frame)) {
    // Chains cross inside this row: sort the list again and take the scanlines one by one.
    for (size_t i = 1; i < count; ++i) MoveIntoPlace(i);
    mRows.AddSpansPerScanline(active, count);
  }
  mRows.Finish(mOut->alpha.data() + static_cast<size_t>(row) * mOut->width);

  // Chains whose last edge ended in this row leave the list; the order is kept.
  size_t kept = 0;
  for (size_t i = 0; i < count; ++i) {
    if (active[i].edge < 0) continue;
    if (kept != i) active[kept] = active[i];
    ++kept;
  }
  mActiveCount = kept;
}

void TCoverageRaster::MoveIntoPlace(size_t i) {
  TRasterChain* const active = mActive.data();
  if (i == 0 || active[i - 1].Precedes(active[i])) return;
  const TRasterChain c = active[i];
  size_t j = i;
  for (; j > 0 && !active[j - 1].Precedes(c); --j) active[j] = active[j - 1];
  active[j] = c;
}

void TCoverageRaster::RenderSummed(TCoverageBitmap* out) {
  mSums.Begin(out->width, out->height);
  const float originX = out->left * 4.0f;
  const int firstScanline = out->top * 4;
  for (const TEdge& e : mEdges) mSums.AddEdge(e, originX, firstScanline);
  mSums.Finish(out->alpha.data());
}
