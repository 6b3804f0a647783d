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

// The pixels the runs cover (empty for no runs).
TRect RunBounds(const std::vector<TGlyphRun>& runs) {
  if (runs.empty()) return TRect{};
  TRect r{runs[0].x, runs[0].y, runs[0].x, runs[0].y};
  for (const TGlyphRun& run : runs) {
    r.left = std::min<int>(r.left, run.x);
    r.top = std::min<int>(r.top, run.y);
    r.right = std::max(r.right, run.x + run.length);
    r.bottom = std::max(r.bottom, run.y + run.rows);
  }
  return r;
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
  mQueue.clear();  // it points into the cache
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
  // Queued runs point into the cache: it is emptied only between blocks.
  if (mCachedRuns > kMaxCachedRuns && mQueue.empty()) ClearCache();
  TGlyphRuns runs;
  RasterizeGlyph(font, glyph, key.subX, key.subY, params, &mFillBitmap, &mOutlineBitmap);
  CoverageToRuns(mFillBitmap, 0, 0, &runs.fill);
  CoverageToRuns(mOutlineBitmap, 0, 0, &runs.outline);
  runs.fillPicture.bounds = RunBounds(runs.fill);
  runs.outlinePicture.bounds = RunBounds(runs.outline);
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

void TTvMiniVecDraw::QueueRuns(const TGlyphRuns& glyph, bool outline, int x, int y,
                               uint32_t color) {
  const std::vector<TGlyphRun>& runs = outline ? glyph.outline : glyph.fill;
  if (runs.empty() || (color >> 24) == 0) return;
  mQueue.push_back(
      TQueuedRuns{&runs, outline ? &glyph.outlinePicture : &glyph.fillPicture, x, y, color, false});
}

TGlyphAtlas* TTvMiniVecDraw::AtlasFor(TRenderer& renderer) {
  if (!mUseAtlas) return nullptr;
  // An atlas whose renderer went away answers null here, so a new renderer at the same
  // address still gets a new atlas.
  if (!mAtlas || mAtlas->Renderer() != &renderer)
    mAtlas = std::make_unique<TGlyphAtlas>(&renderer, mAtlasSide);
  return mAtlas.get();
}

void TTvMiniVecDraw::FillAtlas(TGlyphAtlas& atlas) {
  // Emptied when it filled up before: this block starts it again.
  if (atlas.Full()) atlas.Clear();
  bool cleared = false;
  for (size_t i = 0; i < mQueue.size(); ++i) {
    TQueuedRuns& item = mQueue[i];
    TGlyphPicture& picture = *item.picture;
    item.fromAtlas = atlas.Holds(picture.cell);
    if (item.fromAtlas) continue;
    const TRect& b = picture.bounds;
    mCellPixels.assign(static_cast<size_t>(b.Width()) * b.Height(), 0);
    for (const TGlyphRun& run : *item.runs) {
      for (int row = 0; row < run.rows; ++row) {
        uint8_t* out = mCellPixels.data() + static_cast<size_t>(run.y + row - b.top) * b.Width() +
                       (run.x - b.left);
        std::memset(out, run.alpha, run.length);
      }
    }
    item.fromAtlas = atlas.Add(mCellPixels.data(), b.Width(), b.Height(), &picture.cell);
    if (item.fromAtlas || !atlas.Full() || cleared) continue;
    // Full: start it again with this block's glyphs (the cells of the blocks before are
    // drawn with the pixels they had; uploading flushes them first).
    atlas.Clear();
    cleared = true;
    i = static_cast<size_t>(-1);
  }
}

void TTvMiniVecDraw::DrawQuads(TRenderer& renderer, const TGlyphAtlas& atlas, size_t begin,
                               size_t end) {
  // Four corners and six indices a quad, in calls that stay within 16-bit indices.
  constexpr size_t kQuadsPerCall = 8192;
  static std::vector<TVertexColored> vertices;
  static std::vector<uint16_t> indices;
  const TPixelSpace pixels = renderer.PixelSpace();
  const float side = static_cast<float>(atlas.Side());
  renderer.SetTexture(atlas.Surface());
  for (size_t first = begin; first < end; first += kQuadsPerCall) {
    const size_t last = std::min(end, first + kQuadsPerCall);
    vertices.clear();
    indices.clear();
    for (size_t i = first; i < last; ++i) {
      const TQueuedRuns& item = mQueue[i];
      const TRect& b = item.picture->bounds;
      const TGlyphCell& cell = item.picture->cell;
      const float x0 = pixels.FromPixelX(static_cast<float>(item.x + b.left));
      const float x1 = pixels.FromPixelX(static_cast<float>(item.x + b.right));
      const float y0 = pixels.FromPixelY(static_cast<float>(item.y + b.top));
      const float y1 = pixels.FromPixelY(static_cast<float>(item.y + b.bottom));
      const float u0 = static_cast<float>(cell.x) / side;
      const float u1 = static_cast<float>(cell.x + cell.width) / side;
      const float v0 = static_cast<float>(cell.y) / side;
      const float v1 = static_cast<float>(cell.y + cell.height) / side;
      const auto base = static_cast<uint16_t>(vertices.size());
      auto corner = [&](float x, float y, float u, float v) {
        vertices.push_back(TVertexColored{x, y, 0.1f, 0.5f, item.color, 0xFF000000u, u, v});
      };
      corner(x0, y0, u0, v0);
      corner(x1, y0, u1, v0);
      corner(x1, y1, u1, v1);
      corner(x0, y1, u0, v1);
      for (int k : {0, 1, 2, 0, 2, 3}) indices.push_back(static_cast<uint16_t>(base + k));
    }
    renderer.DrawIndexedVertices(
        kTriangleList, TVertexArray{kVertex2d, vertices.data(), static_cast<int>(vertices.size())},
        indices.data(), static_cast<int>(indices.size()));
  }
}

void TTvMiniVecDraw::DrawQueued(TRenderer& renderer) {
  if (mQueue.empty()) return;
  TGlyphAtlas* atlas = AtlasFor(renderer);
  if (atlas) {
    FillAtlas(*atlas);
    // Without a usable surface everything is drawn as runs.
    if (!atlas->Prepare())
      for (TQueuedRuns& item : mQueue) item.fromAtlas = false;
  }
  // The coverage is sampled texel for texel at whole target pixels: no filtering.
  const int filter = renderer.TextureFilter();
  renderer.SetTextureFilter(kFilterPoint);
  size_t i = 0;
  while (i < mQueue.size()) {
    size_t end = i;
    while (end < mQueue.size() && mQueue[end].fromAtlas == mQueue[i].fromAtlas) ++end;
    if (mQueue[i].fromAtlas) {
      DrawQuads(renderer, *atlas, i, end);
    } else {
      for (size_t k = i; k < end; ++k)
        DrawRuns(renderer, *mQueue[k].runs, mQueue[k].x, mQueue[k].y, mQueue[k].color);
    }
    i = end;
  }
  mQueue.clear();
  renderer.SetTextureFilter(filter);
  renderer.SetTexture(0);
}

void TTvMiniVecDraw::DrawGlyph(TRenderer& renderer, const TMvecFont& font, const TMvecGlyph& glyph,
                               float penX, float penY, const TGlyphParams& params, uint32_t color,
                               uint32_t outlineColor) {
  int px = 0, py = 0;
  const TGlyphRuns& runs = GlyphRuns(font, glyph, penX, penY, params, &px, &py);
  if (params.outline > 0) QueueRuns(runs, true, px, py, outlineColor);
  QueueRuns(runs, false, px, py, color);
  DrawQueued(renderer);
}

void TTvMiniVecDraw::DrawRect(TRenderer& renderer, float x0, float y0, float x1, float y1,
                              uint32_t color, float rotation, float originX, float originY) {
  // Over the glyphs queued before it.
  DrawQueued(renderer);
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
