// Which outlines may be filled by summing crossings unsorted, and what the glyph drawing
// code does with the others.
#include "gfx/outline_winding.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "gfx/coverage_raster.h"
#include "gfx/raster_sink.h"
#include "gfx/tv_mini_vec_draw.h"
#include "tests/gfx/mvec_builder.h"
#include "tests/gfx/previous_coverage_raster.h"

namespace {

using TProgram = std::vector<uint8_t>;
using M = TMvecBuilder;

// A font whose glyph 'A' has the outline `draw` writes (after the fill command).
std::shared_ptr<TMvecFont> OneGlyphFont(const std::function<void(TProgram&)>& draw) {
  TMvecBuilder builder;
  TProgram program;
  M::Fill(program);
  draw(program);
  M::End(program);
  builder.glyphs.push_back({'A', 0, 2560, -2560, 0, 2688, program});
  return TMvecFont::Parse(builder.Build(), "test");
}

bool Simple(const std::function<void(TProgram&)>& draw) {
  auto font = OneGlyphFont(draw);
  const TMvecGlyph* glyph = font->FindGlyph('A');
  EXPECT_NE(glyph, nullptr);
  return glyph && font->HasSimpleWinding(*glyph);
}

TEST(OutlineWindingTest, SeparateAndProperlyNestedContoursAreSimple) {
  EXPECT_TRUE(Simple([](TProgram& p) { M::Rect(p, 0, -1280, 1280, 0); }));
  EXPECT_TRUE(Simple([](TProgram& p) { M::Rect(p, 0, -1280, 1280, 0, true); }));
  // A counter wound the other way, and an island inside it wound like the outside.
  EXPECT_TRUE(Simple([](TProgram& p) {
    M::Rect(p, 0, -2560, 2560, 0);
    M::Rect(p, 256, -2304, 2304, -256, true);
    M::Rect(p, 768, -1792, 1792, -768);
  }));
  EXPECT_TRUE(Simple([](TProgram& p) {
    M::Rect(p, 0, -1280, 1000, 0);
    M::Rect(p, 1100, -1280, 2000, 0);
  }));
  // Curves: a lens of two quadratic arcs.
  EXPECT_TRUE(Simple([](TProgram& p) {
    M::Move(p, 0, -640);
    M::Quad(p, 1280, -1920, 2560, -640);
    M::Quad(p, 1280, 640, 0, -640);
  }));
  // A contour closed by moving back to its start twice over counts once.
  EXPECT_TRUE(Simple([](TProgram& p) {
    M::Rect(p, 0, -1280, 1280, 0);
    M::Move(p, 0, 0);
  }));
}

TEST(OutlineWindingTest, OverlapsCrossingsMixedWindingsAndDamageAreNotSimple) {
  // A counter wound like the outside: winding 2 inside it.
  EXPECT_FALSE(Simple([](TProgram& p) {
    M::Rect(p, 0, -2560, 2560, 0);
    M::Rect(p, 256, -2304, 2304, -256);
  }));
  // Overlapping boxes, boxes that share an edge, and a corner touching an edge.
  EXPECT_FALSE(Simple([](TProgram& p) {
    M::Rect(p, 0, -1280, 1280, 0);
    M::Rect(p, 640, -1280, 1920, 0);
  }));
  EXPECT_FALSE(Simple([](TProgram& p) {
    M::Rect(p, 0, -1280, 1280, 0);
    M::Rect(p, 1280, -1280, 2560, 0);
  }));
  EXPECT_FALSE(Simple([](TProgram& p) {
    M::Rect(p, 0, -1280, 1280, 0);
    M::Move(p, 1280, -640);
    M::Line(p, 2560, -1280);
    M::Line(p, 2560, 0);
    M::Line(p, 1280, -640);
  }));
  // Separate boxes wound opposite ways: inside is +1 in one and -1 in the other.
  EXPECT_FALSE(Simple([](TProgram& p) {
    M::Rect(p, 0, -1280, 1000, 0);
    M::Rect(p, 1100, -1280, 2000, 0, true);
  }));
  // A figure eight crossing itself.
  EXPECT_FALSE(Simple([](TProgram& p) {
    M::Move(p, 0, 0);
    M::Line(p, 1280, -1280);
    M::Line(p, 1280, 0);
    M::Line(p, 0, -1280);
    M::Line(p, 0, 0);
  }));
  // An open contour, edges left unfilled, and a program that breaks off.
  EXPECT_FALSE(Simple([](TProgram& p) {
    M::Move(p, 0, 0);
    M::Line(p, 1280, 0);
    M::Line(p, 1280, -1280);
  }));
  EXPECT_FALSE(Simple([](TProgram& p) {
    M::Move(p, 0, 0);
    M::Line(p, 1280, 0);
    p.push_back(2);
    p.push_back(0);
    M::Line(p, 1280, -1280);
    p.push_back(2);
    p.push_back(1);
    M::Line(p, 0, 0);
  }));
  EXPECT_FALSE(Simple([](TProgram& p) {
    M::Rect(p, 0, -1280, 1280, 0);
    p.push_back(99);
  }));
}

// Two boxes wound the same way whose left sides fall into one pixel: summing their crossings
// would count that pixel's strip twice. The drawing code must see that the glyph is not
// simple and fill it exactly.
TEST(OutlineWindingTest, GlyphsThatAreNotSimpleAreFilledExactly) {
  auto font = OneGlyphFont([](TProgram& p) {
    M::Rect(p, 0, -2560, 2560, 0);
    M::Rect(p, 40, -2560, 2560, 0);
  });
  const TMvecGlyph& glyph = *font->FindGlyph('A');
  ASSERT_FALSE(font->HasSimpleWinding(glyph));
  TGlyphParams params;
  params.scale = font->PixelsPerUnit(32);
  TPreviousCoverageRaster reference;
  TRasterSink<TPreviousCoverageRaster> referenceSink(reference, params, glyph.fit, 1, 0, false);
  font->DecodeOutline(glyph, referenceSink);
  TCoverageBitmap want;
  reference.Render(&want);

  // What summing would give: the first column counts the strip between the sides twice.
  TCoverageRaster summing;
  summing.Clear(TWinding::kZeroOrOne);
  TRasterSink<TCoverageRaster> summingSink(summing, params, glyph.fit, 1, 0, false);
  font->DecodeOutline(glyph, summingSink);
  TCoverageBitmap wrong;
  summing.Render(&wrong);
  ASSERT_EQ(wrong.alpha.size(), want.alpha.size());
  EXPECT_GT(std::abs(wrong.At(want.left, want.top + 2) - want.At(want.left, want.top + 2)), 20);

  TTvMiniVecDraw draw;
  TCoverageBitmap got;
  draw.RasterizeGlyph(*font, glyph, 1, 0, params, &got, nullptr);
  ASSERT_EQ(got.width, want.width);
  ASSERT_EQ(got.height, want.height);
  for (size_t i = 0; i < want.alpha.size(); ++i) {
    EXPECT_NEAR(got.alpha[i], want.alpha[i], 1) << "pixel " << i;
  }
}

}  // namespace
