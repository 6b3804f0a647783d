#include "gfx/coverage_sums.h"

#include <algorithm>
#include <cmath>

void TCoverageSums::Begin(int width, int height) {
  mWidth = width;
  mHeight = height;
  // One cell per pixel, row after row, and one more: a crossing's difference lands in the
  // cell after its pixel, which for the last pixel of a row is the first of the next row.
  // That is harmless, because every scanline of a closed outline crosses as many edges going
  // up as going down: the running sum is back at 0 where each row ends.
  // All zero between bitmaps: Finish clears what it reads. Only growth needs zeros.
  const size_t cells = static_cast<size_t>(width) * height + 1;
  if (mCover.size() < cells) {
    mCover.resize(cells, 0.0f);
    mDelta.resize(cells, 0);
  }
}

void TCoverageSums::AddEdge(const TRasterEdge& e, float originX, int firstScanline) {
  // The scanlines whose centres the edge reaches: y0 <= centre < y1.
  const int scanlines = mHeight * 4;
  const int first = std::max(0, static_cast<int>(std::ceil(e.y0 - 0.5f)) - firstScanline);
  const int end = std::min(scanlines, static_cast<int>(std::ceil(e.y1 - 0.5f)) - firstScanline);
  if (first >= end) return;
  const float dxdy = (e.x1 - e.x0) / (e.y1 - e.y0);
  const float y = static_cast<float>(firstScanline + first) + 0.5f;
  float x = e.x0 - originX + (y - e.y0) * dxdy;
  const float spanLimit = mWidth * 4.0f;
  const int sign = e.winding;
  float* const cover = mCover.data();
  int32_t* const delta = mDelta.data();
  const size_t stride = static_cast<size_t>(mWidth);
  const int lastPixel = mWidth - 1;

  // What [x, inf) covers of its pixel row, added with the edge's sign. Crossings beyond the
  // sides count at the side, so every row stays balanced.
  auto add = [&](int scanline, float cx) {
    float clipped = cx > 0.0f ? cx : 0.0f;  // (a NaN crossing counts as 0)
    clipped = clipped < spanLimit ? clipped : spanLimit;
    const int p = std::min(static_cast<int>(clipped * 0.25f), lastPixel);
    const size_t cell = static_cast<size_t>(scanline >> 2) * stride + p;
    cover[cell] += static_cast<float>(sign) * (4.0f * static_cast<float>(p + 1) - clipped);
    delta[cell + 1] += 4 * sign;
  };
  int s = first;
  for (; s < end && (s & 3) != 0; ++s, x += dxdy) add(s, x);
  // Whole pixel rows: the four crossings at once when they fall into one pixel.
  for (; s + 4 <= end; s += 4) {
    const float x0 = x, x1 = x0 + dxdy, x2 = x1 + dxdy, x3 = x2 + dxdy;
    x = x3 + dxdy;
    const float least = std::min(std::min(x0, x1), std::min(x2, x3));
    const float most = std::max(std::max(x0, x1), std::max(x2, x3));
    if (least >= 0 && most < spanLimit) {
      const int p = static_cast<int>(least * 0.25f);
      if (p == static_cast<int>(most * 0.25f)) {
        const float right = 4.0f * static_cast<float>(p + 1);
        const size_t cell = static_cast<size_t>(s >> 2) * stride + p;
        cover[cell] += static_cast<float>(sign) *
                       (((right - x0) + (right - x1)) + ((right - x2) + (right - x3)));
        delta[cell + 1] += 16 * sign;
        continue;
      }
    }
    add(s, x0);
    add(s + 1, x1);
    add(s + 2, x2);
    add(s + 3, x3);
  }
  for (; s < end; ++s, x += dxdy) add(s, x);
}

void TCoverageSums::Finish(uint8_t* dst) {
  // The rows run on into each other (see Begin), so the whole bitmap is one pass: first the
  // running sum of the differences, then the conversion, which the compiler can do several
  // pixels at a time. Sums stay within a few times 16 either way, so they convert safely
  // before being limited. Locals, as the byte stores could otherwise change the members as
  // far as the compiler knows.
  const size_t pixels = static_cast<size_t>(mWidth) * mHeight;
  float* const cover = mCover.data();
  int32_t* const delta = mDelta.data();
  int32_t running = 0;
  for (size_t i = 0; i < pixels; ++i) delta[i] = running += delta[i];
  for (size_t i = 0; i < pixels; ++i) {
    const float c = std::fabs(cover[i] + static_cast<float>(delta[i]));
    const int32_t alpha = static_cast<int32_t>(c * (255.0f / 16.0f) + 0.5f);
    // 255 at most, by bits (alpha is not negative): all ones when alpha passes 255.
    dst[i] = static_cast<uint8_t>(alpha | ((255 - alpha) >> 31));
    cover[i] = 0;
    delta[i] = 0;
  }
  delta[pixels] = 0;
}
