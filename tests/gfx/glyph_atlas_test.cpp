// Glyphs drawn as quads from the glyph atlas give the very pixels of the same glyphs drawn as
// runs, with far fewer triangles: over a background of many colours, with transparent
// colours and opacity, outlines, bold, italics, rotation, clipping, on an enlarged frame, while
// the atlas fills up and starts again, and after the textures were rebuilt.
#include "gfx/glyph_atlas.h"

#include <gtest/gtest.h>

#include "files/file_system.h"
#include "gfx/font_cache.h"
#include "gfx/text_layout.h"
#include "gfx/tv_mini_vec_draw.h"
#include "platform/egl/offscreen_screen.h"
#include "tests/gfx/test_support.h"

namespace {

class GlyphAtlasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screen = TOffscreenScreen::Create(320, 200);
    ASSERT_NE(screen, nullptr) << "no offscreen OpenGL context";
    ResetFileSystem();
    ClearFontCache();
    GetVecDraw().ClearCache();
  }
  void TearDown() override {
    GetVecDraw().SetUseAtlas(true);
    GetVecDraw().SetAtlasSide(TGlyphAtlas::kSide);
    GetVecDraw().ClearCache();
    ClearFontCache();
    ResetFileSystem();
  }
  TRenderer& R() { return screen->Renderer(); }

  // Every pixel a different colour, so that any difference in blending shows.
  void Background() {
    std::vector<TVertexColored> quads;
    for (int y = 0; y < 200; y += 10) {
      for (int x = 0; x < 320; x += 10) {
        const uint32_t c = 0xFF000000u | static_cast<uint32_t>(x * 7 % 256) << 16 |
                           static_cast<uint32_t>(y * 11 % 256) << 8 |
                           static_cast<uint32_t>((x + y) * 5 % 256);
        const float x0 = static_cast<float>(x), y0 = static_cast<float>(y);
        for (auto [vx, vy] : {std::pair{x0, y0},
                              {x0 + 10, y0},
                              {x0 + 10, y0 + 10},
                              {x0, y0},
                              {x0 + 10, y0 + 10},
                              {x0, y0 + 10}})
          quads.push_back(TVertexColored{vx, vy, 0.1f, 0.5f, c, 0xFF000000u, 0, 0});
      }
    }
    R().SetTexture(0);
    R().DrawVertices(kTriangleList,
                     TVertexArray{kVertex2d, quads.data(), static_cast<int>(quads.size())});
  }

  // A screen of text: styles and colours, a faded block, a turned one and a clipped one.
  void DrawText() {
    Background();
    TTextLayout styled(kBuiltinFontName, 17, 0xFFFFFFFFu, 0, 300, 120);
    styled.SetText(
        "<center><font size=24 color=FFD060>Curio Market</font></center><br>"
        "Plain, <b>bold</b>, <i>italic</i>, <u>underlined</u>, "
        "<outline color=000000C0 size=2><font color=80C0FF>outlined</font></outline>, "
        "<font color=FF204080>see-through</font> and <b><i>both</i></b>. "
        "<a id=go color=60FF60>A link</a> 12,50");
    styled.SetHoverLink("go");
    styled.Draw(R(), 6.5f, 3.25f, 1, 1);
    TTextLayout faded(kBuiltinFontName, 14, 0xE0FFF0C0u, kTextHRight, 150, 40);
    faded.SetText("Faded <outline color=102030 size=3>by the window</outline>");
    faded.Draw(R(), 160, 120, 1.25f, 0.55f);
    TTextLayout turned(kBuiltinFontName, 15, 0xFF40FFFFu, 0, 150, 30);
    turned.SetText("<i>Turned</i> text");
    turned.SetRotation(-8, 0, 30);
    turned.Draw(R(), 10, 150, 1, 1);
    // Clipped by the viewport on the left and by a scissor through the glyphs' middle.
    R().SetViewport(TRect{203, 160, 300, 200});
    R().SetScissor(TRect{180, 160, 290, 187});
    TTextLayout clipped(kBuiltinFontName, 20, 0xFFFFC0A0u, 0, 200, 40);
    clipped.SetText("<outline color=0000FF size=2>Clip me</outline>");
    clipped.Draw(R(), -9.5f, 4, 1, 1);
    R().ResetScissor();
    R().SetViewport(R().FullScreen());
  }

  struct TDrawn {
    TPixelImage frame;
    int calls = 0;
    int64_t triangles = 0;
  };
  TDrawn Draw(bool atlas) {
    GetVecDraw().SetUseAtlas(atlas);
    TDrawn drawn;
    const int64_t triangles = R().BatchedTriangles();
    drawn.calls = DrawFrame(R(), [&] { DrawText(); });
    drawn.triangles = R().BatchedTriangles() - triangles;
    EXPECT_TRUE(screen->ReadFrame(&drawn.frame));
    return drawn;
  }

  // Pixels that differ between two frames of one size.
  static int Differences(const TPixelImage& a, const TPixelImage& b) {
    EXPECT_EQ(a.width, b.width);
    EXPECT_EQ(a.height, b.height);
    if (a.pixels.size() != b.pixels.size()) return -1;
    int different = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) different += a.pixels[i] != b.pixels[i];
    return different;
  }

  std::unique_ptr<TOffscreenScreen> screen;
};

TEST_F(GlyphAtlasTest, QuadsFromTheAtlasGiveThePixelsOfTheRuns) {
  const TDrawn runs = Draw(false);
  const TDrawn quads = Draw(true);
  EXPECT_EQ(Differences(runs.frame, quads.frame), 0);
  ASSERT_NE(GetVecDraw().Atlas(), nullptr);
  EXPECT_GT(GetVecDraw().Atlas()->Cells(), 60);
  // A glyph is two triangles instead of two per run; the background's 1280 are the same.
  EXPECT_GT(runs.triangles - 1280, 5 * (quads.triangles - 1280));
  // The second frame finds every glyph in the atlas and draws the same again.
  const int cells = GetVecDraw().Atlas()->Cells();
  EXPECT_EQ(Differences(runs.frame, Draw(true).frame), 0);
  EXPECT_EQ(GetVecDraw().Atlas()->Cells(), cells);
}

TEST_F(GlyphAtlasTest, QuadsMatchTheRunsOnAnEnlargedFrame) {
  screen->SetOutputSize(576, 360);  // a frame of 576 x 360 pixels, 1.8 per logical pixel
  const TDrawn runs = Draw(false);
  const TDrawn quads = Draw(true);
  ASSERT_EQ(runs.frame.width, 576);
  EXPECT_EQ(Differences(runs.frame, quads.frame), 0);
}

TEST_F(GlyphAtlasTest, AFullAtlasStartsAgainAndStillDrawsEveryGlyph) {
  // 64 x 64 pixels hold a few dozen small glyphs: every frame fills it and starts it again,
  // and the glyphs of a block it cannot hold at all are drawn as runs.
  const TDrawn roomy = Draw(true);
  GetVecDraw().SetAtlasSide(64);
  const TDrawn runs = Draw(false);
  const TDrawn cramped = Draw(true);
  EXPECT_EQ(Differences(runs.frame, cramped.frame), 0);
  ASSERT_NE(GetVecDraw().Atlas(), nullptr);
  EXPECT_EQ(GetVecDraw().Atlas()->Side(), 64);
  EXPECT_GT(GetVecDraw().Atlas()->Cells(), 0);
  // Some glyphs come from the atlas, the rest as runs.
  EXPECT_LT(cramped.triangles, runs.triangles);
  EXPECT_GT(cramped.triangles, roomy.triangles);
  EXPECT_EQ(Differences(runs.frame, Draw(true).frame), 0);
}

TEST_F(GlyphAtlasTest, RebuiltTexturesAndANewRendererGetTheGlyphsAgain) {
  const TDrawn runs = Draw(false);
  EXPECT_EQ(Differences(runs.frame, Draw(true).frame), 0);
  // Restoring makes the atlas's surface anew, empty: it is filled from the kept pixels.
  R().RestoreAssets();
  EXPECT_EQ(Differences(runs.frame, Draw(true).frame), 0);
  // Another screen (another renderer and device) starts an atlas of its own.
  const TGlyphAtlas* first = GetVecDraw().Atlas();
  screen.reset();
  screen = TOffscreenScreen::Create(320, 200);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(Differences(runs.frame, Draw(true).frame), 0);
  EXPECT_NE(GetVecDraw().Atlas(), first);
  EXPECT_EQ(GetVecDraw().Atlas()->Renderer(), &R());
  EXPECT_GT(GetVecDraw().Atlas()->Cells(), 60);
}

TEST_F(GlyphAtlasTest, TakesInWhatFitsAndRefusesTheRest) {
  TGlyphAtlas atlas(&R(), 32);
  std::vector<uint8_t> alpha(20 * 12, 0x80);
  TGlyphCell first, second, third;
  ASSERT_TRUE(atlas.Add(alpha.data(), 20, 12, &first));
  EXPECT_TRUE(atlas.Holds(first));
  ASSERT_TRUE(atlas.Add(alpha.data(), 20, 12, &second));
  EXPECT_GE(second.y, first.y + 12) << "the second does not fit beside the first";
  EXPECT_FALSE(atlas.Add(alpha.data(), 20, 12, &third));
  EXPECT_TRUE(atlas.Full());
  EXPECT_FALSE(atlas.Add(alpha.data(), 0, 12, &third));
  EXPECT_FALSE(atlas.Add(nullptr, 20, 12, &third));
  EXPECT_TRUE(atlas.Prepare());
  // Starting again drops every cell.
  atlas.Clear();
  EXPECT_FALSE(atlas.Holds(first));
  EXPECT_FALSE(atlas.Full());
  EXPECT_TRUE(atlas.Add(alpha.data(), 20, 12, &third));
  EXPECT_EQ(third.y, 0);
  // Pictures larger than a cell are left to the caller, whatever the room.
  TGlyphAtlas large(&R(), 1024);
  std::vector<uint8_t> big(300 * 10, 0xFF);
  EXPECT_FALSE(large.Add(big.data(), 300, 10, &third));
  EXPECT_FALSE(large.Full());
  // Without a renderer nothing is taken in.
  TGlyphAtlas none(nullptr);
  EXPECT_FALSE(none.Add(alpha.data(), 20, 12, &third));
  EXPECT_FALSE(none.Prepare());
}

}  // namespace
