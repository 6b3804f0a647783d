#include "tests/gfx/previous_coverage_raster.h"

#include <algorithm>
#include <cmath>

void TPreviousCoverageRaster::AddLine(float x0, float y0, float x1, float y1) {
  if (!(std::isfinite(x0) && std::isfinite(y0) && std::isfinite(x1) && std::isfinite(y1))) return;
  if (y0 == y1) return;
  if (y0 < y1) {
    mEdges.push_back({x0, y0, x1, y1, -1});
  } else {
    mEdges.push_back({x1, y1, x0, y0, +1});
  }
}

void TPreviousCoverageRaster::AddQuad(float x0, float y0, float cx, float cy, float x1, float y1) {
  float px = x0, py = y0;
  for (int i = 1; i <= 3; ++i) {
    const float t = i / 3.0f, s = 1 - t;
    const float x = i == 3 ? x1 : s * s * x0 + 2 * s * t * cx + t * t * x1;
    const float y = i == 3 ? y1 : s * s * y0 + 2 * s * t * cy + t * t * y1;
    AddLine(px, py, x, y);
    px = x;
    py = y;
  }
}

void TPreviousCoverageRaster::AddWideLine(float x0, float y0, float x1, float y1, float width) {
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

void TPreviousCoverageRaster::AddRect(float x0, float y0, float x1, float y1) {
  AddLine(x0, y0, x0, y1);
  AddLine(x0, y1, x1, y1);
  AddLine(x1, y1, x1, y0);
  AddLine(x1, y0, x0, y0);
}

void TPreviousCoverageRaster::Render(TCoverageBitmap* out) {
  out->alpha.clear();
  out->width = out->height = 0;
  if (mEdges.empty()) return;
  float minX = mEdges[0].x0, maxX = minX, minY = mEdges[0].y0, maxY = mEdges[0].y1;
  for (const TEdge& e : mEdges) {
    minX = std::min({minX, e.x0, e.x1});
    maxX = std::max({maxX, e.x0, e.x1});
    minY = std::min(minY, e.y0);
    maxY = std::max(maxY, e.y1);
  }
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
  mCover.assign(width + 1, 0.0f);
  mDelta.assign(width + 1, 0.0f);
  mActive.clear();
  // Local pointers: the byte stores into the bitmap would otherwise make the compiler reload
  // every member pointer after each of them.
  float* const cover = mCover.data();
  float* const delta = mDelta.data();
  uint8_t* const pixels = out->alpha.data();
  const float originX = left * 4.0f;
  const float spanLimit = width * 4.0f;
  int touchedLo = width, touchedHi = -1;

  for (int r = 0; r < rows; ++r) {
    const float y = firstRow + r + 0.5f;
    for (int i = mRowHead[r]; i >= 0; i = mNext[i]) {
      const TEdge& e = mEdges[i];
      if (e.y1 <= y) continue;  // shorter than a scanline gap: crosses no centre
      const float dxdy = (e.x1 - e.x0) / (e.y1 - e.y0);
      mActive.push_back({e.x0 - originX + (y - e.y0) * dxdy, dxdy, e.y1, e.winding});
    }
    mCrossings.clear();
    size_t keep = 0;
    for (size_t i = 0; i < mActive.size(); ++i) {
      // Copied out and written back whole: updating x in place and then moving the entry
      // stalls on the partly overwritten memory.
      const TActiveEdge e = mActive[i];
      if (e.y1 <= y) continue;  // finished
      mCrossings.emplace_back(e.x, e.winding);
      mActive[keep++] = TActiveEdge{e.x + e.dxdy, e.dxdy, e.y1, e.winding};
    }
    mActive.resize(keep);
    // Few crossings per scanline: insertion sort beats the general sort here.
    for (size_t i = 1; i < mCrossings.size(); ++i) {
      const auto c = mCrossings[i];
      size_t j = i;
      while (j > 0 && mCrossings[j - 1].first > c.first) {
        mCrossings[j] = mCrossings[j - 1];
        --j;
      }
      mCrossings[j] = c;
    }
    int winding = 0;
    float start = 0;
    const auto* crossing = mCrossings.data();
    const auto* const crossingsEnd = crossing + mCrossings.size();
    for (; crossing != crossingsEnd; ++crossing) {
      const float x = crossing->first;
      const int w = crossing->second;
      const int before = winding;
      winding += w;
      if (before == 0 && winding != 0) {
        start = x;
      } else if (before != 0 && winding == 0) {
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
