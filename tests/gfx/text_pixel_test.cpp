// Text drawn through the renderer on offscreen frames (EGL, Mesa's software renderer).
#include <gtest/gtest.h>

#include <cstdlib>

#include "files/file_system.h"
#include "gfx/diagnostic_overlay.h"
#include "gfx/font_cache.h"
#include "gfx/text_layout.h"
#include "gfx/tv_mini_vec_draw.h"
#include "platform/egl/offscreen_screen.h"
#include "tests/gfx/mvec_builder.h"
#include "tests/gfx/test_support.h"

namespace {

int Red(uint32_t c) {
  return (c >> 16) & 0xFF;
}
int Green(uint32_t c) {
  return (c >> 8) & 0xFF;
}
int Blue(uint32_t c) {
  return c & 0xFF;
}

class TextPixelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screen = TOffscreenScreen::Create(320, 200);
    ASSERT_NE(screen, nullptr) << "no offscreen OpenGL context";
    ResetFileSystem();
    ClearFontCache();
    // One glyph: a box 100 units wide from 80 units above the baseline to it; advance 125;
    // 'g' reaches 20 below, which makes the body 100 units.
    TMvecBuilder b;
    b.AddBox('#', 10 * 128, -80 * 128, 110 * 128, 0);
    b.glyphs.back().advance = 125 * 128;
    b.AddBox('g', 10 * 128, -40 * 128, 110 * 128, 20 * 128);
    box = b.Build();
    RegisterMemoryFile("fonts/box.mvec", box.data(), box.size());
  }
  void TearDown() override {
    ClearFontCache();
    ResetFileSystem();
  }
  TRenderer& R() { return screen->Renderer(); }
  TPixelImage DrawLayout(TTextLayout& layout, float x, float y, float scale = 1,
                         float opacity = 1) {
    R().BeginDraw(true);
    R().Begin2d();
    layout.Draw(R(), x, y, scale, opacity);
    R().End2d();
    R().EndDraw(true);
    TPixelImage frame;
    EXPECT_TRUE(screen->ReadFrame(&frame));
    return frame;
  }
  // The bounding box of every pixel brighter than black.
  static TRect Ink(const TPixelImage& frame) {
    TRect r{frame.width, frame.height, -1, -1};
    for (int y = 0; y < frame.height; ++y)
      for (int x = 0; x < frame.width; ++x)
        if ((frame.At(x, y) & 0xFFFFFF) != 0) {
          r.left = std::min(r.left, x);
          r.top = std::min(r.top, y);
          r.right = std::max(r.right, x + 1);
          r.bottom = std::max(r.bottom, y + 1);
        }
    return r;
  }
  std::unique_ptr<TOffscreenScreen> screen;
  std::vector<uint8_t> box;
};

TEST_F(TextPixelTest, DrawnGlyphMatchesItsCoverageRaster) {
  auto font = BuiltinFont();
  const TMvecGlyph& glyph = *font->FindGlyph('&');
  TTvMiniVecDraw draw;
  TGlyphParams params;
  params.scale = font->PixelsPerUnit(48);
  R().BeginDraw(true);
  R().Begin2d();
  draw.DrawGlyph(R(), *font, glyph, 40.5f, 100.25f, params, 0xFFFFFFFFu, 0);
  R().End2d();
  R().EndDraw(true);
  TPixelImage frame;
  ASSERT_TRUE(screen->ReadFrame(&frame));
  TCoverageBitmap coverage;
  draw.RasterizeGlyph(*font, glyph, 2, 1, params, &coverage, nullptr);
  int worst = 0, inked = 0;
  for (int y = 0; y < frame.height; ++y) {
    for (int x = 0; x < frame.width; ++x) {
      const int expected = coverage.At(x - 40, y - 100);
      worst = std::max(worst, std::abs(Green(frame.At(x, y)) - expected));
      inked += expected > 0;
    }
  }
  EXPECT_GT(inked, 200);
  EXPECT_LE(worst, 2);
}

TEST_F(TextPixelTest, FontColoursAndHalfOpacity) {
  // Size 40: k = 0.32 px per unit, each box 32 x 25.6 pixels, advance 40.
  TTextLayout layout("fonts/box.mvec", 40, 0xFFFFFFFFu, 0, 300, 100);
  layout.SetText("#<font color=FF000080>#</font><font color=00FF00>#</font>");
  TPixelImage frame = DrawLayout(layout, 0, 0);
  const int y = 20;  // inside the boxes (baseline at 31.6, tops at 6)
  EXPECT_TRUE(ColorNear(frame.At(20, y), 0xFFFFFFFFu, 1));
  EXPECT_NEAR(Red(frame.At(60, y)), 128, 2);
  EXPECT_EQ(Green(frame.At(60, y)), 0);
  EXPECT_TRUE(ColorNear(frame.At(100, y), 0xFF00FF00u, 1));

  // The drawing opacity scales every colour's alpha.
  TPixelImage faded = DrawLayout(layout, 0, 0, 1, 0.5f);
  EXPECT_NEAR(Green(faded.At(100, y)), 128, 2);
  EXPECT_NEAR(Red(faded.At(60, y)), 64, 2);
}

TEST_F(TextPixelTest, OutlineLiesUnderTheGlyph) {
  TTextLayout layout("fonts/box.mvec", 40, 0xFFFFFFFFu, 0, 300, 100);
  layout.SetText("<outline color=0000FF size=4>#");
  TPixelImage frame = DrawLayout(layout, 10, 10);
  // The box spans x 13.2 .. 45.2 and y 16 .. 41.6: two pixels outside it is outline blue,
  // inside it the glyph's white covers the outline.
  EXPECT_TRUE(ColorNear(frame.At(30, 30), 0xFFFFFFFFu, 1));
  EXPECT_TRUE(ColorNear(frame.At(12, 30), 0xFF0000FFu, 1));
  EXPECT_TRUE(ColorNear(frame.At(30, 14), 0xFF0000FFu, 1));
  EXPECT_EQ(frame.At(8, 30) & 0xFFFFFF, 0u);
}

TEST_F(TextPixelTest, AlignmentAndLineBreaksPlaceTheInk) {
  // Three boxes of 40 px in a 200 px box, centred: the ink runs from 40 + 3.2 to 160 - 4.8.
  TTextLayout centred("fonts/box.mvec", 40, 0xFFFFFFFFu, kTextHCenter, 200, 100);
  centred.SetText("###");
  TRect ink = Ink(DrawLayout(centred, 0, 0));
  EXPECT_EQ(ink.left, 43);
  EXPECT_EQ(ink.right, 156);

  // Five boxes in a 170 px box wrap after four (one line), after five with the legacy flag.
  TTextLayout wrapped("fonts/box.mvec", 40, 0xFFFFFFFFu, 0, 170, 200);
  wrapped.SetText("#####");
  ink = Ink(DrawLayout(wrapped, 0, 0));
  EXPECT_EQ(ink.bottom, 72);  // second line: top 40, baseline (the box bottom) at 71.6
  EXPECT_EQ(ink.right, 156);  // the fourth box ends at 3 * 40 + 35.2
  wrapped.SetLegacyWrap(true);
  ink = Ink(DrawLayout(wrapped, 0, 0));
  EXPECT_EQ(ink.bottom, 32);  // one line only, its baseline at 31.6 ...
  EXPECT_EQ(ink.right, 196);  // ... with the fifth box sticking out of the box
}

TEST_F(TextPixelTest, RotatedTextTurnsAroundItsOrigin) {
  TTextLayout layout("fonts/box.mvec", 40, 0xFFFFFFFFu, 0, 300, 100);
  layout.SetText("##");
  layout.SetRotation(90, 0, 0);
  // Unturned, the boxes span x 3.2 .. 75.2 and y 6 .. 31.6; a quarter turn clockwise around
  // the box's corner maps (x, y) to (-y, x), then the box moves to (150, 10).
  const TRect ink = Ink(DrawLayout(layout, 150, 10));
  EXPECT_NEAR(ink.left, 118, 1);
  EXPECT_NEAR(ink.right, 144, 1);
  EXPECT_NEAR(ink.top, 13, 1);
  EXPECT_NEAR(ink.bottom, 86, 1);
}

TEST_F(TextPixelTest, SampleScreenshotShowsStyledText) {
  TTextLayout layout("__DEFAULT", 18, 0xFFFFFFFFu, 0, 300, 190);
  layout.SetText(
      "<center><font size=26 color=FFD060>Curio Market</font></center><br>"
      "Plain, <b>bold</b>, <i>italic</i>, <u>underlined</u> and "
      "<outline color=000000 size=2><font color=80C0FF>outlined</font></outline> text "
      "wraps at the box. <a id=go color=60FF60>A link</a> \xE2\x82\xAC 12,50 <cursor>");
  TPixelImage frame = DrawLayout(layout, 10, 5);
  const std::string path = std::string(MC_BIN_DIR) + "/text_sample.png";
  EXPECT_TRUE(screen->SavePng(path));
  // The title is centred in gold, and the wrapped text fills several lines.
  EXPECT_GE(layout.Lines().size(), 4u);
  const TRect ink = Ink(frame);
  EXPECT_GT(ink.bottom, 4 * 18);
  int gold = 0;
  for (int x = 0; x < 320; ++x)
    for (int y = 5; y < 35; ++y) gold += Red(frame.At(x, y)) > 200 && Blue(frame.At(x, y)) < 120;
  EXPECT_GT(gold, 50);
}

TEST_F(TextPixelTest, DiagnosticOverlayDrawsVersionAndFrameRate) {
  EXPECT_EQ(DiagnosticOverlayText(59.5f),
            "Quorvandel Version 4.0.11.6<br>FPS<tab pos='200'>59.500000<br>");
  R().BeginDraw(true);
  R().Begin2d();
  TVertexColored white[4] = {{0, 0, 0.1f, 0.5f, 0xFFFFFFFFu, 0xFF000000u, 0, 0},
                             {320, 0, 0.1f, 0.5f, 0xFFFFFFFFu, 0xFF000000u, 0, 0},
                             {320, 200, 0.1f, 0.5f, 0xFFFFFFFFu, 0xFF000000u, 0, 0},
                             {0, 200, 0.1f, 0.5f, 0xFFFFFFFFu, 0xFF000000u, 0, 0}};
  R().DrawVertices(kTriangleFan, TVertexArray{kVertex2d, white, 4});
  R().End2d();
  AttachDiagnosticOverlay(R());
  R().ToggleOverlay();
  R().EndDraw(true);
  R().ToggleOverlay();
  TPixelImage frame;
  ASSERT_TRUE(screen->ReadFrame(&frame));
  int red = 0, black = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 300; ++x) {
      const uint32_t c = frame.At(x, y);
      red += Red(c) > 200 && Green(c) < 60;
      black += (c & 0xFFFFFF) == 0;
    }
  EXPECT_GT(red, 150);     // the red text ...
  EXPECT_GT(black, 6000);  // ... on the black strip
  EXPECT_EQ(frame.At(305, 20), 0xFFFFFFFFu);
  EXPECT_EQ(frame.At(10, 45), 0xFFFFFFFFu);
}

}  // namespace
