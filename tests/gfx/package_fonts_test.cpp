// The fonts the content build packs into assets/assets.tvp (the tests run in the program
// folder beside it): both are package members, load through the font cache, hold every
// character the game's texts use, and draw. Writes a sample frame, package_fonts.png, into
// the program folder for a person to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <string>

#include "files/file_system.h"
#include "gfx/font_cache.h"
#include "gfx/text_layout.h"
#include "platform/egl/offscreen_screen.h"

namespace {

constexpr const char* kDefaultFont = "fonts/default.mvec";
constexpr const char* kDisplayFont = "fonts/rosewood_fill.mvec";

// Counts the outline commands of a glyph.
class TCounter : public TOutlineSink {
 public:
  void MoveTo(float, float) override { ++moves; }
  void LineTo(float, float) override { ++edges; }
  void QuadTo(float, float, float, float) override { ++edges; }
  int moves = 0;
  int edges = 0;
};

class PackageFontsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists("assets/assets.tvp")) << "the content build did not run";
    ResetFileSystem();
    ClearFontCache();
    InitFileSystem();
  }
  void TearDown() override {
    ClearFontCache();
    ResetFileSystem();
  }
};

// The ink bounding box (pixels brighter than the background's red channel) of a frame area.
struct TInk {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1, pixels = 0;
};
TInk InkIn(const TPixelImage& frame, int x0, int y0, int x1, int y1) {
  TInk ink;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      if (((frame.At(x, y) >> 16) & 0xFF) < 128) continue;
      ++ink.pixels;
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x + 1);
      ink.top = std::min(ink.top, y);
      ink.bottom = std::max(ink.bottom, y + 1);
    }
  return ink;
}

TEST_F(PackageFontsTest, BothFontsArePackageMembersWithTheLatin1Characters) {
  for (const char* name : {kDefaultFont, kDisplayFont}) {
    SCOPED_TRACE(name);
    // A package member's locator starts with "@" (not a loose file beside the package).
    EXPECT_EQ(ResolveFileName(name, true).substr(0, 1), "@");
    auto font = GetFont(name);
    ASSERT_NE(font, BuiltinFont());
    ASSERT_FALSE(font->Empty());
    EXPECT_GT(font->Ascent(), 40.0f);  // font units: 100 per em
    EXPECT_GT(font->Descent(), 5.0f);
    std::set<uint32_t> wanted;
    for (uint32_t c = 32; c <= 126; ++c) wanted.insert(c);
    for (uint32_t c = 160; c <= 255; ++c) wanted.insert(c);
    wanted.insert(0x20AC);  // the euro sign of prices
    wanted.insert(0x2026);  // the ellipsis of "GOING..."
    for (uint32_t code : wanted) {
      SCOPED_TRACE(code);
      // Every character is drawable: from the face, or through the engine's fallback.
      std::shared_ptr<TMvecFont> used;
      ASSERT_NE(FindGlyphWithFallback(font, code, &used), nullptr);
      // The display face's source lacks only the micro sign, which a fallback supplies;
      // everything else must come from the face itself.
      if (name == std::string(kDisplayFont) && code == 0xB5) {
        EXPECT_EQ(font->FindGlyph(code), nullptr) << "the face has it now: drop this exception";
        EXPECT_EQ(used, BuiltinFont());  // the first fallback holds Latin-1
        continue;
      }
      const TMvecGlyph* glyph = font->FindGlyph(code);
      ASSERT_NE(glyph, nullptr) << "missing from the font itself (not taken from a fallback)";
      EXPECT_GT(glyph->advance, 0);
      TCounter counter;
      EXPECT_TRUE(font->DecodeOutline(*glyph, counter));
      const bool blank = code == ' ' || code == 0xA0 || code == 0xAD;
      if (!blank) {
        EXPECT_GE(counter.moves, 1);
        EXPECT_GE(counter.edges, 3);
        EXPECT_LT(glyph->xmin, glyph->xmax);
        EXPECT_LT(glyph->ymin, glyph->ymax);
      }
      // Accented capitals are squeezed into the line box by their fit factor, but no
      // Latin-1 glyph should need to shrink to less than two thirds of its height.
      EXPECT_GT(glyph->fit, 0.66f);
    }
  }
  // Two different faces, not the same file twice.
  EXPECT_NE(GetFont(kDefaultFont)->GlyphCount(), GetFont(kDisplayFont)->GlyphCount());
}

TEST_F(PackageFontsTest, SampleOfBothFacesDrawsInTheirOwnGlyphs) {
  auto screen = TOffscreenScreen::Create(520, 260);
  ASSERT_NE(screen, nullptr) << "no offscreen OpenGL context";
  TRenderer& r = screen->Renderer();

  TTextLayout title(kDisplayFont, 44, 0xFFF4D58Cu, kTextHCenter, 500, 120);
  title.SetText(
      "<outline color=1E0E04 size=2>Mahjong Curiomar</outline><br>"
      "<font size=30>Antiques & Curios \xC2\xB7 Est. 1890</font>");
  TTextLayout text(kDefaultFont, 17, 0xFFFFFFFFu, 0, 500, 130);
  text.SetText(
      "Grandma's attic holds a <b>porcelain teacup</b> and <i>a silver brooch</i>. "
      "Price: \xE2\x82\xAC 12,50 \xC2\xB7 \xC2\xA3 9 \xC2\xB7 $ 14.99<br>"
      "\xC3\x80\xC3\x89\xC3\x8E\xC3\x95\xC3\x9C \xC3\xA0\xC3\xA9\xC3\xAE\xC3\xB5\xC3\xBC\xC3\xBF "
      "\xC3\x9F\xC3\xA6\xC3\xB8\xC3\xA5\xC3\xA7\xC3\xB1 \xC2\xBF\xC2\xA1 \xC2\xAB\xC2\xBB "
      "\xC2\xA9 \xC2\xB0 \xC2\xBD");

  // Every laid glyph comes from the face that was asked for (no fallback took over).
  for (const auto* layout : {&title, &text}) {
    const std::string expected = layout == &title ? kDisplayFont : kDefaultFont;
    int glyphs = 0;
    for (const TTextLine& line : layout->Lines())
      for (const TLaidGlyph& g : line.glyphs) {
        ASSERT_NE(g.font, nullptr);
        EXPECT_EQ(g.font->Name(), expected);
        ++glyphs;
      }
    EXPECT_GT(glyphs, 30);
  }

  // A walnut-brown ground, so the title's dark outline shows in the sample.
  const uint32_t ground = 0xFF5A3A22u;
  TVertexColored quad[4] = {{0, 0, 0.1f, 0.5f, ground, 0xFF000000u, 0, 0},
                            {520, 0, 0.1f, 0.5f, ground, 0xFF000000u, 0, 0},
                            {520, 260, 0.1f, 0.5f, ground, 0xFF000000u, 0, 0},
                            {0, 260, 0.1f, 0.5f, ground, 0xFF000000u, 0, 0}};
  r.BeginDraw(true);
  r.Begin2d();
  r.DrawVertices(kTriangleFan, TVertexArray{kVertex2d, quad, 4});
  title.Draw(r, 10, 8, 1, 1);
  text.Draw(r, 10, 125, 1, 1);
  r.End2d();
  r.EndDraw(true);
  TPixelImage frame;
  ASSERT_TRUE(screen->ReadFrame(&frame));
  EXPECT_TRUE(screen->SavePng(std::string(MC_BIN_DIR) + "/package_fonts.png"));

  // The title is centred: its ink is about as far from the left as from the right edge.
  const TInk titleInk = InkIn(frame, 0, 0, 520, 60);
  ASSERT_GT(titleInk.pixels, 800);
  EXPECT_NEAR(titleInk.left + titleInk.right, 520, 12);
  // The body text wraps onto three lines (one wrapped, one broken), left aligned at the box:
  // ink reaches into the third line box.
  EXPECT_EQ(text.Lines().size(), 3u);
  const TInk textInk = InkIn(frame, 0, 125, 520, 260);
  ASSERT_GT(textInk.pixels, 800);
  EXPECT_NEAR(textInk.left, 10, 3);
  EXPECT_GT(textInk.bottom, 125 + 2 * 17 + 8);
}

TEST_F(PackageFontsTest, TheTwoFacesSetTheSameWordDifferently) {
  // The same word in the same size: the display face is its own design, not a copy of the
  // text face (different widths of the laid-out line).
  TTextLayout a(kDefaultFont, 40, 0xFFFFFFFFu, 0, 1000, 100);
  TTextLayout b(kDisplayFont, 40, 0xFFFFFFFFu, 0, 1000, 100);
  a.SetText("Antiques");
  b.SetText("Antiques");
  ASSERT_EQ(a.Lines().size(), 1u);
  ASSERT_EQ(b.Lines().size(), 1u);
  EXPECT_GT(std::abs(a.Lines()[0].width - b.Lines()[0].width), 4.0f);
}

}  // namespace
