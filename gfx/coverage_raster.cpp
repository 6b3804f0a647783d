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

TCurveThirds CurveThirds(float x0, float y0, float cx, float cy, float x1, float y1) {
  return {kThird.start * x0 + kThird.control * cx + kThird.end * x1,
          kThird.start * y0 + kThird.control * cy + kThird.end * y1,
          kTwoThirds.start * x0 + kTwoThirds.control * cx + kTwoThirds.end * x1,
          kTwoThirds.start * y0 + kTwoThirds.control * cy + kTwoThirds.end * y1};
}

void TCoverageRaster::AddQuad(float x0, float y0, float cx, float cy, float x1, float y1) {
  const TCurveThirds cut = CurveThirds(x0, y0, cx, cy, x1, y1);
  AddLine(x0, y0, cut.ax, cut.ay);
  AddLine(cut.ax, cut.ay, cut.bx, cut.by);
  AddLine(cut.bx, cut.by, x1, y1);
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
  const float minX = mMinX, maxX = mMaxX, minY = mMinY, maxY = mMaxY;
  // Far outside any sensible screen: nothing is drawn (also keeps the integer maths sound).
  constexpr float kLimit = 4.0f * 1000000;
  if (minX < -kLimit || maxX > kLimit || minY < -kLimit || maxY > kLimit) return;
  const int left = static_cast<int>(std::floor(minX / 4));
  const int top = static_cast<int>(std::floor(minY / 4));
  const int right = std::min(static_cast<int>(std::ceil(maxX / 4)), left + kMaxWidth);
  const int bottom = std::min(static_cast<int>(std::ceil(maxY / 4)), top + kMaxWidth);
  const int width = right - left, height = bottom - top;
  if (width <= 0 || height <= 0) return;
  out->left = left;
  out->top = top;
  out->width = width;
  out->height = height;
  out->alpha.assign(static_cast<size_t>(width) * height, 0);
  if (mWinding == TWinding::kZeroOrOne) {
    mSums.Begin(width, height);
    for (const TEdge& e : mEdges) mSums.AddEdge(e, left * 4.0f, top * 4);
    mSums.Finish(out->alpha.data());
    return;
  }

  // The scanline table: every edge is entered at the first scanline whose centre it
  // reaches (linked lists per scanline; no sorting needed).
  const int firstRow = top * 4, rows = (bottom - top) * 4;
  mRowHead.assign(rows, -1);
  mNext.resize(mEdges.size());
  for (size_t i = 0; i < mEdges.size(); ++i) {
    const int row = std::max(0, static_cast<int>(std::ceil(mEdges[i].y0 - 0.5f)) - firstRow);
    if (row >= rows) continue;
    mNext[i] = mRowHead[row];
    mRowHead[row] = static_cast<int>(i);
  }
  // Both are all zero between calls: finishing a pixel row clears every cell its spans
  // touched (and the one after, where a span's difference ends). Only growth needs zeros.
  if (mCover.size() < static_cast<size_t>(width) + 1) {
    mCover.resize(width + 1, 0.0f);
    mDelta.resize(width + 1, 0.0f);
  }
  if (mActive.size() < mEdges.size()) mActive.resize(mEdges.size());
  // Local pointers: the byte stores into the bitmap would otherwise make the compiler reload
  // every member pointer after each of them.
  float* const cover = mCover.data();
  float* const delta = mDelta.data();
  uint8_t* const pixels = out->alpha.data();
  const TEdge* const edges = mEdges.data();
  const int* const rowHead = mRowHead.data();
  const int* const next = mNext.data();
  TActiveEdge* const active = mActive.data();
  size_t activeCount = 0;
  uint32_t order = 0;
  const float originX = left * 4.0f;
  const float spanLimit = width * 4.0f;
  int touchedLo = width, touchedHi = -1;

  for (int r = 0; r < rows; ++r) {
    const float y = firstRow + r + 0.5f;
    // Finished edges leave, the others step to this scanline (they were all used on the one
    // before) and new ones join; each is put in place by insertion, ordered by x and, at equal
    // x, by when it became active. Edges move little between scanlines, so an edge rarely
    // moves past more than one or two others.
    size_t count = 0;
    auto insert = [active, &count](const TActiveEdge& e) {
      // The usual case: already in place behind the last one (one comparison).
      if (count == 0 || active[count - 1].x < e.x) {
        active[count++] = e;
        return;
      }
      size_t j = count;
      while (j > 0 &&
             (active[j - 1].x > e.x ||
              (active[j - 1].x == e.x && active[j - 1].orderAndWinding > e.orderAndWinding))) {
        active[j] = active[j - 1];
        --j;
      }
      active[j] = e;
      ++count;
    };
    for (size_t i = 0; i < activeCount; ++i) {
      TActiveEdge e = active[i];
      if (e.y1 <= y) continue;
      e.x += e.dxdy;
      insert(e);
    }
    for (int i = rowHead[r]; i >= 0; i = next[i]) {
      const TEdge& e = edges[i];
      if (e.y1 <= y) continue;  // shorter than a scanline gap: crosses no centre
      const float dxdy = (e.x1 - e.x0) / (e.y1 - e.y0);
      insert({e.x0 - originX + (y - e.y0) * dxdy, dxdy, e.y1, order | (e.winding > 0 ? 1u : 0u)});
      order += 2;
    }
    activeCount = count;
    if (activeCount == 0) {
      if ((r & 3) != 3) continue;
    } else {
      int winding = 0;
      float start = 0;
      for (size_t i = 0; i < activeCount; ++i) {
        const float x = active[i].x;
        const int before = winding;
        winding += active[i].Winding();
        if (before == 0) {
          if (winding != 0) start = x;
          continue;
        }
        if (winding != 0) continue;
        const float a = std::clamp(start, 0.0f, spanLimit);
        const float b = std::clamp(x, 0.0f, spanLimit);
        if (b <= a) continue;
        int pa = static_cast<int>(a / 4), pb = static_cast<int>(b / 4);
        pa = std::min(pa, width - 1);
        if (pb >= width) pb = width;  // b on the right edge of the buffer
        touchedLo = std::min(touchedLo, pa);
        touchedHi = std::max(touchedHi, std::min(pb, width - 1));
        if (pa == pb) {
          cover[pa] += b - a;
        } else {
          cover[pa] += 4.0f * (pa + 1) - a;
          if (pb < width) cover[pb] += b - 4.0f * pb;
          if (pb > pa + 1) {
            delta[pa + 1] += 4;
            delta[pb] -= 4;
          }
        }
      }
    }
    if ((r & 3) == 3) {
      if (touchedHi >= touchedLo) {
        uint8_t* dst = pixels + static_cast<size_t>(r / 4) * width;
        float running = 0;
        for (int p = touchedLo; p <= touchedHi; ++p) {
          running += delta[p];
          const float c = std::clamp(cover[p] + running, 0.0f, 16.0f);
          dst[p] = static_cast<uint8_t>(c * (255.0f / 16.0f) + 0.5f);
          cover[p] = 0;
          delta[p] = 0;
        }
        delta[touchedHi + 1] = 0;
      }
      touchedLo = width;
      touchedHi = -1;
    }
  }
}
