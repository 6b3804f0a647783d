#include "gfx/tv_mini_vec_draw.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

#include "gfx/raster_sink.h"
#include "gfx/renderer.h"

namespace {

// The cache starts with this many hash buckets and is emptied when it holds more runs than
// kMaxCachedRuns (a long run of ever new sizes or rotations would otherwise grow it forever).
constexpr size_t kCacheBuckets = 2039;
constexpr size_t kMaxCachedRuns = 8192 * 256;

uint32_t ScaleAlpha(uint32_t color, uint8_t coverage) {
  const uint32_t a = ((color >> 24) * coverage + 127) / 255;
  return (a << 24) | (color & 0xFFFFFFu);
}

uint32_t FloatBits(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

}  // namespace

void CoverageToRuns(const TCoverageBitmap& bitmap, int dx, int dy, std::vector<TGlyphRun>* runs) {
  // Runs reaching the row above (and those reaching this row), left to right.
  std::vector<size_t> above, reaching;
  for (int y = 0; y < bitmap.height; ++y) {
    const uint8_t* row = &bitmap.alpha[static_cast<size_t>(y) * bitmap.width];
    reaching.clear();
    size_t candidate = 0;
    int x = 0;
    while (x < bitmap.width) {
      const uint8_t a = row[x];
      int end = x + 1;
      while (end < bitmap.width && row[end] == a) ++end;
      if (a != 0) {
        const auto left = static_cast<int16_t>(bitmap.left + x + dx);
        const auto length = static_cast<uint16_t>(end - x);
        while (candidate < above.size() && (*runs)[above[candidate]].x < left) ++candidate;
        TGlyphRun* same = nullptr;
        if (candidate < above.size()) {
          TGlyphRun& run = (*runs)[above[candidate]];
          if (run.x == left && run.length == length && run.alpha == a && run.rows < 255)
            same = &run;
        }
        if (same) {
          ++same->rows;
          reaching.push_back(above[candidate++]);
        } else {
          runs->push_back(TGlyphRun{left, static_cast<int16_t>(bitmap.top + y + dy), length, a, 1});
          reaching.push_back(runs->size() - 1);
        }
      }
      x = end;
    }
    above.swap(reaching);
  }
}

size_t TTvMiniVecDraw::TKeyHash::operator()(const TKey& k) const {
  size_t h = std::hash<const void*>()(k.font);
  auto mix = [&h](uint64_t v) { h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2); };
  mix(k.code);
  mix(k.subX | (k.subY << 2) | (k.italic << 4));
  mix(FloatBits(k.scaleX));
  mix(FloatBits(k.scaleY));
  mix(FloatBits(k.outline));
  mix(FloatBits(k.rotation));
  return h;
}

TTvMiniVecDraw::TTvMiniVecDraw() {
  mCache.reserve(kCacheBuckets);
}

void TTvMiniVecDraw::ClearCache() {
  mCache.clear();
  mCachedRuns = 0;
}

void TTvMiniVecDraw::RasterizeGlyph(const TMvecFont& font, const TMvecGlyph& glyph, int subX,
                                    int subY, const TGlyphParams& params, TCoverageBitmap* fill,
                                    TCoverageBitmap* outline) {
  if (outline) {
    outline->width = outline->height = 0;
    outline->alpha.clear();
    if (params.outline > 0) {
      mRaster.Clear();
      TRasterSink<TCoverageRaster> sink(mRaster, params, glyph.fit, static_cast<float>(subX),
                                        static_cast<float>(subY), true);
      font.DecodeOutline(glyph, sink);
      mRaster.Render(outline);
    }
  }
  mRaster.Clear(font.HasSimpleWinding(glyph) ? TWinding::kZeroOrOne : TWinding::kAny);
  TRasterSink<TCoverageRaster> sink(mRaster, params, glyph.fit, static_cast<float>(subX),
                                    static_cast<float>(subY), false);
  font.DecodeOutline(glyph, sink);
  mRaster.Render(fill);
}

const TGlyphRuns& TTvMiniVecDraw::GlyphRuns(const TMvecFont& font, const TMvecGlyph& glyph,
                                            float penX, float penY, const TGlyphParams& params,
                                            int* pixelX, int* pixelY) {
  const long qx = std::lround(penX * 4), qy = std::lround(penY * 4);
  const long px = qx >= 0 ? qx / 4 : -((-qx + 3) / 4);
  const long py = qy >= 0 ? qy / 4 : -((-qy + 3) / 4);
  *pixelX = static_cast<int>(px);
  *pixelY = static_cast<int>(py);
  const TKey key{&font,
                 glyph.code,
                 static_cast<uint8_t>(qx - px * 4),
                 static_cast<uint8_t>(qy - py * 4),
                 params.italic,
                 params.scale,
                 params.scale * glyph.fit,
                 params.outline,
                 params.rotation};
  auto found = mCache.find(key);
  if (found != mCache.end()) return found->second;
  if (mCachedRuns > kMaxCachedRuns) ClearCache();
  TGlyphRuns runs;
  RasterizeGlyph(font, glyph, key.subX, key.subY, params, &mFillBitmap, &mOutlineBitmap);
  CoverageToRuns(mFillBitmap, 0, 0, &runs.fill);
  CoverageToRuns(mOutlineBitmap, 0, 0, &runs.outline);
  mCachedRuns += runs.fill.size() + runs.outline.size();
  return mCache.emplace(key, std::move(runs)).first->second;
}

void TTvMiniVecDraw::DrawRuns(TRenderer& renderer, const std::vector<TGlyphRun>& runs, int x, int y,
                              uint32_t color) {
  if (runs.empty() || (color >> 24) == 0) return;
  // Runs go to the renderer as quads in batches that stay within 16-bit vertex indices.
  constexpr size_t kRunsPerBatch = 8192;
  // Drawing happens on the main thread only; the buffer is kept between calls.
  static std::vector<TVertexColored> vertices;
  vertices.clear();
  renderer.SetTexture(0);
  // Runs are whole pixels of the target; the renderer takes drawing coordinates.
  const TPixelSpace pixels = renderer.PixelSpace();
  for (size_t i = 0; i < runs.size(); ++i) {
    const TGlyphRun& run = runs[i];
    const uint32_t c = ScaleAlpha(color, run.alpha);
    const float x0 = pixels.FromPixelX(static_cast<float>(x + run.x));
    const float x1 = pixels.FromPixelX(static_cast<float>(x + run.x + run.length));
    const float y0 = pixels.FromPixelY(static_cast<float>(y + run.y));
    const float y1 = pixels.FromPixelY(static_cast<float>(y + run.y + run.rows));
    auto v = [c](float vx, float vy) {
      return TVertexColored{vx, vy, 0.1f, 0.5f, c, 0xFF000000u, 0, 0};
    };
    vertices.push_back(v(x0, y0));
    vertices.push_back(v(x1, y0));
    vertices.push_back(v(x1, y1));
    vertices.push_back(v(x0, y0));
    vertices.push_back(v(x1, y1));
    vertices.push_back(v(x0, y1));
    if (vertices.size() >= kRunsPerBatch * 6 || i + 1 == runs.size()) {
      renderer.DrawVertices(kTriangleList, TVertexArray{kVertex2d, vertices.data(),
                                                        static_cast<int>(vertices.size())});
      vertices.clear();
    }
  }
}

void TTvMiniVecDraw::DrawGlyph(TRenderer& renderer, const TMvecFont& font, const TMvecGlyph& glyph,
                               float penX, float penY, const TGlyphParams& params, uint32_t color,
                               uint32_t outlineColor) {
  int px = 0, py = 0;
  const TGlyphRuns& runs = GlyphRuns(font, glyph, penX, penY, params, &px, &py);
  if (params.outline > 0) DrawRuns(renderer, runs.outline, px, py, outlineColor);
  DrawRuns(renderer, runs.fill, px, py, color);
}

void TTvMiniVecDraw::DrawRect(TRenderer& renderer, float x0, float y0, float x1, float y1,
                              uint32_t color, float rotation, float originX, float originY) {
  mRaster.Clear();
  const float c = std::cos(rotation), s = std::sin(rotation);
  float pts[4][2] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
  for (auto& p : pts) {
    const float dx = p[0] - originX, dy = p[1] - originY;
    p[0] = (originX + dx * c - dy * s) * 4;
    p[1] = (originY + dx * s + dy * c) * 4;
  }
  for (int i = 0; i < 4; ++i) {
    const int j = (i + 1) % 4;
    mRaster.AddLine(pts[i][0], pts[i][1], pts[j][0], pts[j][1]);
  }
  mRaster.Render(&mFillBitmap);
  std::vector<TGlyphRun> runs;
  CoverageToRuns(mFillBitmap, 0, 0, &runs);
  DrawRuns(renderer, runs, 0, 0, color);
}

TTvMiniVecDraw& GetVecDraw() {
  static TTvMiniVecDraw draw;
  return draw;
}
