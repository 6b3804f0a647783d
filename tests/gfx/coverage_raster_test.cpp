// The coverage raster and glyph rasterisation, checked against exact areas and against a
// reference raster computed here by brute-force supersampling of the same outline.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "gfx/coverage_raster.h"
#include "gfx/font_cache.h"
#include "gfx/tv_mini_vec_draw.h"
#include "tests/gfx/mvec_builder.h"

namespace {

// Pixel alpha as a fraction.
float A(const TCoverageBitmap& b, int x, int y) {
  return b.At(x, y) / 255.0f;
}

TEST(CoverageRasterTest, AxisAlignedRectangleHasExactPartialCoverage) {
  TCoverageRaster raster;
  // x from 0.5 to 2.5 pixels, y from 1.0 to 2.5 pixels (quarter pixels: 2..10, 4..10).
  raster.AddRect(2, 4, 10, 10);
  TCoverageBitmap b;
  raster.Render(&b);
  EXPECT_NEAR(A(b, 0, 1), 0.5f, 0.003);
  EXPECT_FLOAT_EQ(A(b, 1, 1), 1.0f);
  EXPECT_NEAR(A(b, 2, 1), 0.5f, 0.003);
  EXPECT_NEAR(A(b, 0, 2), 0.25f, 0.003);
  EXPECT_NEAR(A(b, 1, 2), 0.5f, 0.003);
  EXPECT_FLOAT_EQ(A(b, 1, 0), 0.0f);
  EXPECT_FLOAT_EQ(A(b, 3, 1), 0.0f);
  // Sub-quarter horizontal positions count exactly: 0.3 of a quarter pixel.
  TCoverageRaster thin;
  thin.AddRect(1.0f, 0, 1.3f, 4);
  thin.Render(&b);
  EXPECT_NEAR(A(b, 0, 0), 0.3f / 4, 0.003);
}

TEST(CoverageRasterTest, NonZeroWindingFillsOverlapsAndKeepsCounterHoles) {
  TCoverageRaster raster;
  // Two overlapping squares wound the same way: the overlap stays filled (no even-odd hole).
  raster.AddLine(0, 0, 16, 0);
  raster.AddLine(16, 0, 16, 16);
  raster.AddLine(16, 16, 0, 16);
  raster.AddLine(0, 16, 0, 0);
  raster.AddLine(8, 8, 24, 8);
  raster.AddLine(24, 8, 24, 24);
  raster.AddLine(24, 24, 8, 24);
  raster.AddLine(8, 24, 8, 8);
  TCoverageBitmap b;
  raster.Render(&b);
  EXPECT_FLOAT_EQ(A(b, 3, 3), 1.0f);  // in both squares
  EXPECT_FLOAT_EQ(A(b, 1, 1), 1.0f);
  EXPECT_FLOAT_EQ(A(b, 5, 1), 0.0f);  // in neither

  // A counter wound the other way cuts a hole.
  raster.Clear();
  raster.AddRect(0, 0, 32, 32);
  raster.AddLine(8, 8, 24, 8);
  raster.AddLine(24, 8, 24, 24);
  raster.AddLine(24, 24, 8, 24);
  raster.AddLine(8, 24, 8, 8);
  raster.Render(&b);
  EXPECT_FLOAT_EQ(A(b, 1, 1), 1.0f);
  EXPECT_FLOAT_EQ(A(b, 3, 3), 0.0f);
  EXPECT_FLOAT_EQ(A(b, 6, 6), 1.0f);
}

TEST(CoverageRasterTest, WideLinesCoverTheirHexagon) {
  TCoverageRaster raster;
  raster.AddWideLine(0, 40, 80, 40, 8);  // 2 pixels wide horizontal band around y = 10 px
  TCoverageBitmap b;
  raster.Render(&b);
  EXPECT_FLOAT_EQ(A(b, 10, 9), 1.0f);
  EXPECT_FLOAT_EQ(A(b, 10, 10), 1.0f);
  EXPECT_FLOAT_EQ(A(b, 10, 8), 0.0f);
  EXPECT_FLOAT_EQ(A(b, 10, 11), 0.0f);
  // The pointed ends reach half the width beyond the end points.
  EXPECT_GT(A(b, 20, 9), 0.0f);
  EXPECT_FLOAT_EQ(A(b, 21, 9), 0.0f);
}

TEST(CoverageRasterTest, OutOfRangeInputDrawsNothing) {
  TCoverageRaster raster;
  TCoverageBitmap b;
  raster.Render(&b);
  EXPECT_EQ(b.width, 0);
  raster.AddLine(0, 0, NAN, 10);
  raster.AddLine(0, 0, 1e12f, 10);
  raster.Render(&b);
  EXPECT_EQ(b.width * b.height, 0);
  // Very wide shapes are clipped to the row buffer.
  raster.Clear();
  raster.AddRect(0, 0, 4 * 5000, 4);
  raster.Render(&b);
  EXPECT_EQ(b.width, TCoverageRaster::kMaxWidth);
  EXPECT_FLOAT_EQ(A(b, 3199, 0), 1.0f);
}

// Flattens a glyph outline in quarter pixels with the rasteriser's mapping: each quadratic
// curve becomes `pieces` straight edges (3 gives the very outline the rasteriser fills, many
// give the true curve).
class TPolygonSink : public TOutlineSink {
 public:
  TPolygonSink(float scale, float fit, bool italic, float subX, float subY, int pieces)
      : sx(4 * scale / 128),
        sy(4 * scale * fit / 128),
        italic(italic),
        subX(subX),
        subY(subY),
        pieces(pieces) {}
  void MoveTo(float x, float y) override {
    cx = x;
    cy = y;
  }
  void LineTo(float x, float y) override {
    Add(cx, cy, x, y);
    cx = x;
    cy = y;
  }
  void QuadTo(float qx, float qy, float x, float y) override {
    float px = cx, py = cy;
    for (int i = 1; i <= pieces; ++i) {
      const float t = static_cast<float>(i) / pieces, s = 1 - t;
      const float nx = s * s * cx + 2 * s * t * qx + t * t * x;
      const float ny = s * s * cy + 2 * s * t * qy + t * t * y;
      Add(px, py, nx, ny);
      px = nx;
      py = ny;
    }
    cx = x;
    cy = y;
  }
  void Add(float x0, float y0, float x1, float y1) {
    edges.push_back({Mx(x0, y0), y0 * sy + subY, Mx(x1, y1), y1 * sy + subY});
  }
  float Mx(float x, float y) const { return (italic ? x - y / 3 : x) * sx + subX; }

  // Coverage of every pixel of [left, right) on pixel row `row` by 16 x 16 point samples
  // under the non-zero rule.
  std::vector<float> SampleRow(int row, int left, int right) const {
    std::vector<float> coverage(right - left, 0.0f);
    for (int j = 0; j < 16; ++j) {
      const float y = row * 4 + (j + 0.5f) / 4;
      std::vector<std::pair<float, int>> crossings;
      for (const auto& e : edges) {
        if ((e[1] <= y) == (e[3] <= y)) continue;
        crossings.emplace_back(e[0] + (y - e[1]) * (e[2] - e[0]) / (e[3] - e[1]),
                               e[3] > e[1] ? 1 : -1);
      }
      std::sort(crossings.begin(), crossings.end());
      size_t k = 0;
      int winding = 0;
      for (int px = left; px < right; ++px) {
        for (int i = 0; i < 16; ++i) {
          const float x = px * 4 + (i + 0.5f) / 4;
          while (k < crossings.size() && crossings[k].first < x) winding += crossings[k++].second;
          if (winding != 0) coverage[px - left] += 1.0f / 256;
        }
      }
    }
    return coverage;
  }
  std::vector<std::array<float, 4>> edges;
  float sx, sy;
  bool italic;
  float subX, subY;
  int pieces;
  float cx = 0, cy = 0;
};

// Mean absolute difference between the rasteriser and 16 x 16 supersampling of the outline,
// over the pixels either of them touches.
float MeanError(const TMvecFont& font, const TMvecGlyph& glyph, float size, bool italic, int sub,
                int pieces) {
  TGlyphParams params;
  params.scale = font.PixelsPerUnit(size);
  params.italic = italic;
  TTvMiniVecDraw draw;
  TCoverageBitmap bitmap;
  draw.RasterizeGlyph(font, glyph, sub, sub, params, &bitmap, nullptr);
  TPolygonSink reference(params.scale, glyph.fit, italic, static_cast<float>(sub),
                         static_cast<float>(sub), pieces);
  font.DecodeOutline(glyph, reference);
  double sum = 0;
  int count = 0;
  const int left = bitmap.left - 1, right = bitmap.left + bitmap.width + 1;
  for (int y = bitmap.top - 1; y < bitmap.top + bitmap.height + 1; ++y) {
    const std::vector<float> expected = reference.SampleRow(y, left, right);
    for (int x = left; x < right; ++x) {
      const float actual = A(bitmap, x, y);
      if (expected[x - left] == 0 && actual == 0) continue;
      sum += std::fabs(expected[x - left] - actual);
      ++count;
    }
  }
  return count ? static_cast<float>(sum / count) : 1.0f;
}

TEST(GlyphRasterTest, CoverageMatchesSupersampledReference) {
  auto font = BuiltinFont();
  float worstSame = 0, worstCurve = 0;
  for (float size : {12.0f, 16.0f, 24.0f, 48.0f}) {
    for (char c : std::string("@gAWo&%s")) {
      const TMvecGlyph* glyph = font->FindGlyph(static_cast<unsigned char>(c));
      ASSERT_NE(glyph, nullptr);
      for (int sub : {0, 3}) {
        // Against the outline as filled (curves in thirds): only the sampling differs.
        const float same = MeanError(*font, *glyph, size, false, sub, 3);
        EXPECT_LT(same, 0.02f) << c << " at " << size << " sub " << sub;
        worstSame = std::max(worstSame, same);
        // Against the true curves: the thirds add their own small error on large sizes.
        const float curve = MeanError(*font, *glyph, size, false, sub, 32);
        EXPECT_LT(curve, 0.03f) << c << " at " << size << " sub " << sub;
        worstCurve = std::max(worstCurve, curve);
      }
    }
  }
  EXPECT_LT(MeanError(*font, *font->FindGlyph('k'), 24, true, 1, 3), 0.02f);
  std::printf("worst mean error: %.4f (same outline), %.4f (true curves)\n", worstSame, worstCurve);
}

TEST(GlyphRasterTest, ItalicLeansTopsRightAndOutlineSurroundsTheGlyph) {
  auto font = BuiltinFont();
  const TMvecGlyph& l = *font->FindGlyph('l');
  TTvMiniVecDraw draw;
  TGlyphParams params;
  params.scale = font->PixelsPerUnit(40);
  TCoverageBitmap upright, italic, fill, outline;
  draw.RasterizeGlyph(*font, l, 0, 0, params, &upright, nullptr);
  params.italic = true;
  draw.RasterizeGlyph(*font, l, 0, 0, params, &italic, nullptr);
  // The stem's top row moves right by about a third of its height; the bottom row stays.
  auto firstInk = [](const TCoverageBitmap& b, int y) {
    for (int x = b.left; x < b.left + b.width; ++x)
      if (b.At(x, y) > 128) return x;
    return -1000;
  };
  // Rows one pixel in from the top and bottom edges (those are only partly covered).
  const int top = upright.top + 1, bottom = upright.top + upright.height - 2;
  const int height = upright.height;
  EXPECT_NEAR(firstInk(italic, top) - firstInk(upright, top), (height - 1.5) / 3.0, 1.5);
  EXPECT_NEAR(firstInk(italic, bottom) - firstInk(upright, bottom), 0, 1.0);

  params.italic = false;
  params.outline = 4;
  draw.RasterizeGlyph(*font, l, 0, 0, params, &fill, &outline);
  EXPECT_EQ(fill.width, upright.width);
  // The outline reaches two pixels beyond the glyph on every side and covers its edges.
  EXPECT_NEAR(outline.width, upright.width + 4, 1);
  EXPECT_NEAR(outline.height, upright.height + 4, 1);
  const int midY = upright.top + upright.height / 2;
  EXPECT_EQ(outline.At(firstInk(upright, midY) - 1, midY), 255);
}

TEST(GlyphRasterTest, EqualRunsOnConsecutiveRowsBecomeOneRectangle) {
  // A stem with a soft right edge that changes on the last row, beside a run that moves.
  TCoverageBitmap bitmap;
  bitmap.left = 10;
  bitmap.top = -3;
  bitmap.width = 6;
  bitmap.height = 3;
  bitmap.alpha = {0, 255, 255, 128, 0, 9,  //
                  0, 255, 255, 128, 9, 0,  //
                  0, 255, 255, 64,  0, 0};
  std::vector<TGlyphRun> runs;
  CoverageToRuns(bitmap, 1, 2, &runs);
  auto has = [&](int x, int y, int length, int alpha, int rows) {
    return std::count_if(runs.begin(), runs.end(), [&](const TGlyphRun& r) {
             return r.x == x && r.y == y && r.length == length && r.alpha == alpha &&
                    r.rows == rows;
           }) == 1;
  };
  EXPECT_EQ(runs.size(), 5u);
  EXPECT_TRUE(has(12, -1, 2, 255, 3));  // the stem: one run three rows high
  EXPECT_TRUE(has(14, -1, 1, 128, 2));
  EXPECT_TRUE(has(14, 1, 1, 64, 1));
  EXPECT_TRUE(has(16, -1, 1, 9, 1));  // moved one pixel left: not the same run
  EXPECT_TRUE(has(15, 0, 1, 9, 1));
  // Every covered pixel is in exactly one run with its own coverage.
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) {
      int covering = 0, alpha = 0;
      for (const TGlyphRun& r : runs)
        if (x + 11 >= r.x && x + 11 < r.x + r.length && y - 1 >= r.y && y - 1 < r.y + r.rows)
          ++covering, alpha = r.alpha;
      const int expected = bitmap.alpha[static_cast<size_t>(y) * 6 + x];
      EXPECT_EQ(covering, expected ? 1 : 0) << x << ", " << y;
      EXPECT_EQ(alpha, expected) << x << ", " << y;
    }
}

TEST(GlyphRasterTest, RunsReplayFromTheCacheAndFollowTheSubPixelPosition) {
  auto font = BuiltinFont();
  const TMvecGlyph& glyph = *font->FindGlyph('e');
  TTvMiniVecDraw draw;
  TGlyphParams params;
  params.scale = font->PixelsPerUnit(20);
  int px = 0, py = 0;
  const TGlyphRuns* first = &draw.GlyphRuns(*font, glyph, 10.0f, 20.0f, params, &px, &py);
  EXPECT_EQ(px, 10);
  EXPECT_EQ(py, 20);
  ASSERT_FALSE(first->fill.empty());
  // Another whole-pixel position reuses the runs; a quarter-pixel shift makes new ones.
  EXPECT_EQ(&draw.GlyphRuns(*font, glyph, 57.0f, -3.0f, params, &px, &py), first);
  EXPECT_EQ(px, 57);
  EXPECT_EQ(py, -3);
  EXPECT_EQ(draw.CachedGlyphs(), 1u);
  draw.GlyphRuns(*font, glyph, 57.25f, -3.0f, params, &px, &py);
  EXPECT_EQ(draw.CachedGlyphs(), 2u);
  draw.GlyphRuns(*font, glyph, -0.5f, 0.0f, params, &px, &py);
  EXPECT_EQ(px, -1);  // -2 quarters: pixel -1, offset 2
  EXPECT_EQ(draw.CachedGlyphs(), 3u);

  // The runs hold exactly the coverage of the raster.
  TCoverageBitmap bitmap;
  draw.RasterizeGlyph(*font, glyph, 0, 0, params, &bitmap, nullptr);
  long total = 0, fromRuns = 0;
  for (uint8_t a : bitmap.alpha) total += a;
  for (const TGlyphRun& run : first->fill)
    fromRuns += static_cast<long>(run.alpha) * run.length * run.rows;
  EXPECT_EQ(total, fromRuns);
}

}  // namespace
