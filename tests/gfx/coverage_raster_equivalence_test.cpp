// The coverage raster against a frozen copy of the raster as it was before its scanline loop
// was reworked for speed. Both get the same edges (glyph outlines of the built-in font at
// several sizes, sub-pixel offsets, italic, rotated and as outline strokes); simple outlines
// also go through the path that sums crossings unsorted. The bitmaps must have the same place
// and size, no alpha may differ by more than kMaxAlphaDiff, and the mean absolute difference
// over all pixels compared must stay below kMaxMeanDiff: summing a pixel's coverage in
// another order moves it by far less than one alpha step, so only pixels right at a rounding
// boundary may change by 1.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "gfx/coverage_raster.h"
#include "gfx/font_cache.h"
#include "gfx/mvec_font.h"
#include "gfx/raster_sink.h"
#include "tests/gfx/previous_coverage_raster.h"

namespace {

constexpr int kMaxAlphaDiff = 2;       // of 255
constexpr double kMaxMeanDiff = 0.02;  // of 255, over all pixels compared

// Sum of absolute alpha differences and the number of pixels compared.
struct TDiffTotals {
  double sum = 0;
  size_t pixels = 0;
  int worst = 0;
  void Add(const TCoverageBitmap& got, const TCoverageBitmap& want, const std::string& what) {
    ASSERT_EQ(got.alpha.size(), want.alpha.size()) << what;
    for (size_t i = 0; i < want.alpha.size(); ++i) {
      const int d = std::abs(int{got.alpha[i]} - int{want.alpha[i]});
      worst = std::max(worst, d);
      sum += d;
      ASSERT_LE(d, kMaxAlphaDiff) << what << " pixel " << i % want.width << "," << i / want.width
                                  << ": " << int{got.alpha[i]} << " vs " << int{want.alpha[i]};
    }
    pixels += want.alpha.size();
  }
  void ExpectSmallMean() const {
    ASSERT_GT(pixels, 0u);
    const double mean = sum / static_cast<double>(pixels);
    EXPECT_LT(mean, kMaxMeanDiff) << "worst " << worst << " over " << pixels << " pixels";
    std::printf("compared %zu pixels: mean |diff| %.5f, worst %d (of 255)\n", pixels, mean, worst);
  }
};

// Rasterises with both and reports the first pixel beyond the tolerance; the current raster
// object is reused across calls (as the drawing code does), the reference starts fresh.
// `winding` is what the current raster is told about the outline.
// A glyph's place: its parameters and the pen's quarter-pixel offset; stroked or filled.
struct TPlacement {
  TGlyphParams params;
  float subX = 0, subY = 0;
  bool stroke = false;
};

void ExpectSameRaster(TCoverageRaster& current, const TMvecFont& font, const TMvecGlyph& glyph,
                      const TPlacement& p, const std::string& what, TDiffTotals& totals,
                      TWinding winding = TWinding::kAny) {
  TPreviousCoverageRaster previous;
  current.Clear(winding);
  TRasterSink<TCoverageRaster> a(current, p.params, glyph.fit, p.subX, p.subY, p.stroke);
  TRasterSink<TPreviousCoverageRaster> b(previous, p.params, glyph.fit, p.subX, p.subY, p.stroke);
  font.DecodeOutline(glyph, a);
  font.DecodeOutline(glyph, b);
  TCoverageBitmap got, want;
  current.Render(&got);
  previous.Render(&want);
  ASSERT_EQ(got.left, want.left) << what;
  ASSERT_EQ(got.top, want.top) << what;
  ASSERT_EQ(got.width, want.width) << what;
  ASSERT_EQ(got.height, want.height) << what;
  totals.Add(got, want, what);
}

TEST(CoverageRasterEquivalenceTest, GlyphsMatchThePreviousRasterWithinRounding) {
  auto font = BuiltinFont();
  ASSERT_FALSE(font->Empty());
  TCoverageRaster current;
  TDiffTotals totals, summed;
  size_t nonEmpty = 0;
  for (const float size : {7.0f, 12.0f, 16.0f, 24.0f, 48.0f, 97.0f}) {
    for (const TMvecGlyph& glyph : font->Glyphs()) {
      for (int sub = 0; sub < 4; ++sub) {
        TPlacement p;
        p.params.scale = font->PixelsPerUnit(size);
        p.subX = static_cast<float>(sub);
        p.subY = static_cast<float>((sub * 3) % 4);
        const std::string what = "glyph " + std::to_string(glyph.code) + " size " +
                                 std::to_string(size) + " sub " + std::to_string(sub);
        ExpectSameRaster(current, *font, glyph, p, what, totals);
        if (testing::Test::HasFatalFailure()) return;
        if (!current.Empty()) ++nonEmpty;
        // Outlines known to be simple also through the summing path.
        if (font->HasSimpleWinding(glyph)) {
          ExpectSameRaster(current, *font, glyph, p, what + " summed", summed,
                           TWinding::kZeroOrOne);
          if (testing::Test::HasFatalFailure()) return;
        }
      }
    }
  }
  EXPECT_GT(nonEmpty, font->GlyphCount() * 20);
  totals.ExpectSmallMean();
  summed.ExpectSmallMean();
  // Nearly every glyph of the built-in font is simple (four placements of six sizes each).
  EXPECT_GT(summed.pixels, totals.pixels * 9 / 10);
}

TEST(CoverageRasterEquivalenceTest, ItalicRotatedAndStrokedGlyphsMatchWithinRounding) {
  auto font = BuiltinFont();
  TCoverageRaster current;
  TDiffTotals totals;
  const std::string codes = "@gAWo&%s8QjMy";
  for (const float size : {12.0f, 16.0f, 24.0f, 48.0f}) {
    for (const char c : codes) {
      const TMvecGlyph* glyph = font->FindGlyph(static_cast<uint8_t>(c));
      ASSERT_NE(glyph, nullptr);
      TPlacement p;
      p.params.scale = font->PixelsPerUnit(size);
      p.subX = 2;
      p.subY = 1;
      const std::string what = std::string("'") + c + "' size " + std::to_string(size);
      ASSERT_TRUE(font->HasSimpleWinding(*glyph)) << what;
      for (const TWinding winding : {TWinding::kAny, TWinding::kZeroOrOne}) {
        p.params.italic = true;
        ExpectSameRaster(current, *font, *glyph, p, what + " italic", totals, winding);
        p.params.italic = false;
        for (const float rotation : {0.3f, 1.5707964f, -2.0f}) {
          p.params.rotation = rotation;
          ExpectSameRaster(current, *font, *glyph, p, what + " rotated", totals, winding);
        }
      }
      p.params.rotation = 0;
      p.stroke = true;
      for (const float quarters : {1.0f, 4.0f, 13.0f}) {
        p.params.outline = quarters / 4;
        ExpectSameRaster(current, *font, *glyph, p, what + " stroke", totals);
      }
      if (testing::Test::HasFatalFailure()) return;
    }
  }
  totals.ExpectSmallMean();
}

TEST(CoverageRasterEquivalenceTest, ClippedAndDegenerateInputMatchWithinRounding) {
  // Spans clipped at the 3200-pixel buffer, edges shorter than a scanline gap, crossings at
  // equal x with opposite windings, a shape past the buffer's right edge and an outline
  // that does not close.
  TDiffTotals totals;
  auto check = [&totals](auto add, const char* what) {
    TCoverageRaster current;
    TPreviousCoverageRaster previous;
    add(current);
    add(previous);
    TCoverageBitmap got, want;
    current.Render(&got);
    previous.Render(&want);
    ASSERT_EQ(got.width, want.width) << what;
    ASSERT_EQ(got.height, want.height) << what;
    totals.Add(got, want, what);
  };
  check([](auto& r) { r.AddRect(-3.3f, 0.2f, 4.0f * 4000, 9.7f); }, "wide rect");
  check(
      [](auto& r) {
        r.AddRect(0, 0, 8, 8);
        r.AddRect(8, 0, 16, 8);  // shares the edge x = 8
        r.AddLine(4, 8, 4.5f, 8.2f);
        r.AddLine(4.5f, 8.2f, 4, 8);
      },
      "touching squares");
  check(
      [](auto& r) {
        r.AddRect(0, 0, 12, 12);
        r.AddLine(6, 0, 6, 12);  // a stray edge at the same x as its counterpart below
        r.AddLine(6, 12, 6, 0);
        r.AddWideLine(1, 1, 11, 11, 3);
      },
      "coinciding edges");
  check(
      [](auto& r) {
        // An outline that does not close: the span it leaves open fills nothing.
        r.AddLine(0, 0, 0, 10);
        r.AddLine(0, 10, 10, 10);
        r.AddLine(10, 10, 10, 0);
        r.AddLine(13, 0, 13, 11.5f);
      },
      "open outline");
  totals.ExpectSmallMean();
}

}  // namespace
