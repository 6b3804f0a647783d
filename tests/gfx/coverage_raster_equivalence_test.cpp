// The coverage raster's scanline loop was reworked for speed; its output must stay exactly
// what the previous loop produced. Both rasters get the same edges (glyph outlines of the
// built-in font at several sizes, sub-pixel offsets, italic, rotated and as outline strokes)
// and must give identical bitmaps, byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "gfx/coverage_raster.h"
#include "gfx/font_cache.h"
#include "gfx/mvec_font.h"
#include "tests/gfx/previous_coverage_raster.h"
#include "tests/gfx/raster_feed.h"

namespace {

// Rasterises with both and reports the first differing pixel; the current raster object is
// reused across calls (as the drawing code does), the reference starts fresh each time.
void ExpectSameRaster(TCoverageRaster& current, const TMvecFont& font, const TMvecGlyph& glyph,
                      const TPlacement& p, const std::string& what) {
  TPreviousCoverageRaster previous;
  current.Clear();
  TFeedSink<TCoverageRaster> a(current, p, glyph.fit);
  TFeedSink<TPreviousCoverageRaster> b(previous, p, glyph.fit);
  font.DecodeOutline(glyph, a);
  font.DecodeOutline(glyph, b);
  TCoverageBitmap got, want;
  current.Render(&got);
  previous.Render(&want);
  ASSERT_EQ(got.left, want.left) << what;
  ASSERT_EQ(got.top, want.top) << what;
  ASSERT_EQ(got.width, want.width) << what;
  ASSERT_EQ(got.height, want.height) << what;
  for (size_t i = 0; i < want.alpha.size(); ++i) {
    ASSERT_EQ(got.alpha[i], want.alpha[i])
        << what << " pixel " << i % want.width << "," << i / want.width;
  }
}

TEST(CoverageRasterEquivalenceTest, GlyphsMatchThePreviousRasterBitForBit) {
  auto font = BuiltinFont();
  ASSERT_FALSE(font->Empty());
  TCoverageRaster current;
  size_t nonEmpty = 0;
  for (const float size : {7.0f, 12.0f, 16.0f, 24.0f, 48.0f, 97.0f}) {
    for (const TMvecGlyph& glyph : font->Glyphs()) {
      for (int sub = 0; sub < 4; ++sub) {
        TPlacement p;
        p.scale = font->PixelsPerUnit(size);
        p.subX = static_cast<float>(sub);
        p.subY = static_cast<float>((sub * 3) % 4);
        const std::string what = "glyph " + std::to_string(glyph.code) + " size " +
                                 std::to_string(size) + " sub " + std::to_string(sub);
        ExpectSameRaster(current, *font, glyph, p, what);
        if (testing::Test::HasFatalFailure()) return;
        if (!current.Empty()) ++nonEmpty;
      }
    }
  }
  EXPECT_GT(nonEmpty, font->GlyphCount() * 20);
}

TEST(CoverageRasterEquivalenceTest, ItalicRotatedAndStrokedGlyphsMatchBitForBit) {
  auto font = BuiltinFont();
  TCoverageRaster current;
  const std::string codes = "@gAWo&%s8QjMy";
  for (const float size : {12.0f, 16.0f, 24.0f, 48.0f}) {
    for (const char c : codes) {
      const TMvecGlyph* glyph = font->FindGlyph(static_cast<uint8_t>(c));
      ASSERT_NE(glyph, nullptr);
      TPlacement p;
      p.scale = font->PixelsPerUnit(size);
      p.subX = 2;
      p.subY = 1;
      const std::string what = std::string("'") + c + "' size " + std::to_string(size);
      p.italic = true;
      ExpectSameRaster(current, *font, *glyph, p, what + " italic");
      p.italic = false;
      for (const float rotation : {0.3f, 1.5707964f, -2.0f}) {
        p.rotation = rotation;
        ExpectSameRaster(current, *font, *glyph, p, what + " rotated");
      }
      p.rotation = 0;
      for (const float stroke : {1.0f, 4.0f, 13.0f}) {
        p.stroke = stroke;
        ExpectSameRaster(current, *font, *glyph, p, what + " stroke");
      }
      if (testing::Test::HasFatalFailure()) return;
    }
  }
}

TEST(CoverageRasterEquivalenceTest, ClippedAndDegenerateInputMatchBitForBit) {
  // Spans clipped at the 3200-pixel buffer, edges shorter than a scanline gap, crossings at
  // equal x with opposite windings, and a shape past the buffer's right edge.
  auto check = [](auto add, const char* what) {
    TCoverageRaster current;
    TPreviousCoverageRaster previous;
    add(current);
    add(previous);
    TCoverageBitmap got, want;
    current.Render(&got);
    previous.Render(&want);
    EXPECT_EQ(got.width, want.width) << what;
    EXPECT_EQ(got.height, want.height) << what;
    EXPECT_EQ(got.alpha, want.alpha) << what;
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
}

}  // namespace
