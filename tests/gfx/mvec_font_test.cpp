// The .mvec reader: table, metrics, fit factors, damaged images; the font cache and its
// fallbacks through the virtual file system.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>

#include "files/file_system.h"
#include "gfx/font_cache.h"
#include "gfx/mvec_font.h"
#include "tests/gfx/mvec_builder.h"
#include "tests/gfx/test_support.h"

namespace {

// Records a decoded outline as text.
class TRecorder : public TOutlineSink {
 public:
  void MoveTo(float x, float y) override { Append('M', {x, y}); }
  void LineTo(float x, float y) override { Append('L', {x, y}); }
  void QuadTo(float cx, float cy, float x, float y) override { Append('Q', {cx, cy, x, y}); }
  // Appends "Cx,y,... " piece by piece (chained temporaries upset GCC 12's -Wrestrict).
  void Append(char command, std::initializer_list<float> values) {
    text.push_back(command);
    const char* separator = "";
    for (float v : values) {
      text.append(separator);
      text.append(std::to_string(static_cast<int>(v)));
      separator = ",";
    }
    text.push_back(' ');
  }
  std::string text;
};

// 'W' reaches 100 units above the baseline, 'g' 30 below, '_' 60 below (ignored),
// 'E' (>127) reaches far below (ignored for the descent).
TMvecBuilder MetricsFont() {
  TMvecBuilder b;
  b.AddBox('W', 0, -100 * 128, 80 * 128, 0);
  b.AddBox('g', 0, -50 * 128, 50 * 128, 30 * 128);
  b.AddBox('_', 0, 10 * 128, 50 * 128, 60 * 128);
  b.AddBox(0x100, 0, -10 * 128, 50 * 128, 90 * 128);
  b.AddBox('T', 0, -200 * 128, 50 * 128, 0);  // taller than the line box
  return b;
}

TEST(MvecFontTest, ReadsTableSearchesAndDerivesMetrics) {
  auto font = TMvecFont::Parse(MetricsFont().Build(), "m");
  ASSERT_EQ(font->GlyphCount(), 5u);
  EXPECT_EQ(font->FindGlyph('W')->xmax, 80 * 128);
  EXPECT_EQ(font->FindGlyph(0x100)->code, 0x100u);
  EXPECT_EQ(font->FindGlyph('A'), nullptr);
  EXPECT_EQ(font->FindGlyph(0x101), nullptr);

  EXPECT_FLOAT_EQ(font->Ascent(), 100);
  EXPECT_FLOAT_EQ(font->Descent(), 30);  // '_' and codes above 127 do not count
  EXPECT_FLOAT_EQ(font->Body(), 130);
  EXPECT_FLOAT_EQ(font->TopMargin(), 0.15f / 0.8f * 130);
  EXPECT_FLOAT_EQ(font->BottomMargin(), 0.05f / 0.8f * 130);
  // Size 26: k = 0.8 * 26 / 130 = 0.16 px per unit; baseline (100 + 24.375) * 0.16.
  EXPECT_FLOAT_EQ(font->PixelsPerUnit(26), 0.16f);
  EXPECT_NEAR(font->BaselineOffset(26), 19.9f, 1e-4);

  // Fit factors: 'W' fits; 'T' reaches 200 above where 124.375 fit; U+0100 reaches 90 below
  // where 38.125 fit, the worse of its two overhangs decides.
  EXPECT_FLOAT_EQ(font->FindGlyph('W')->fit, 1.0f);
  EXPECT_NEAR(font->FindGlyph('T')->fit, 124.375f / 200, 1e-5);
  EXPECT_NEAR(font->FindGlyph(0x100)->fit, 38.125f / 90, 1e-5);
}

TEST(MvecFontTest, DecodesOutlinesAndStopsAtDamage) {
  TMvecBuilder b;
  std::vector<uint8_t> p;
  TMvecBuilder::Move(p, 0, 0);
  TMvecBuilder::Fill(p);
  TMvecBuilder::Quad(p, 128, -256, 256, 0);
  TMvecBuilder::Line(p, 0, 0);
  TMvecBuilder::End(p);
  b.glyphs.push_back({'a', 0, 256, -256, 0, 300, p});
  std::vector<uint8_t> cut = {4, 0, 0};  // a move without its operands
  b.glyphs.push_back({'b', 0, 0, 0, 0, 0, cut});
  std::vector<uint8_t> unknown = {4, 0, 0, 0, 0, 9, 5, 1, 0, 1, 0};
  b.glyphs.push_back({'c', 0, 0, 0, 0, 0, unknown});
  auto font = TMvecFont::Parse(b.Build(), "d");

  TRecorder a;
  EXPECT_TRUE(font->DecodeOutline(*font->FindGlyph('a'), a));
  EXPECT_EQ(a.text, "M0,0 Q128,-256,256,0 L0,0 ");
  TRecorder bad;
  EXPECT_FALSE(font->DecodeOutline(*font->FindGlyph('b'), bad));
  TRecorder stopped;
  EXPECT_FALSE(font->DecodeOutline(*font->FindGlyph('c'), stopped));
  EXPECT_EQ(stopped.text, "M0,0 ");  // what came before the unknown command was delivered
}

TEST(MvecFontTest, DamagedImagesGiveEmptyOrPartialFonts) {
  TLogCapture log;
  std::vector<uint8_t> image = MetricsFont().Build();

  std::vector<uint8_t> wrongMagic = image;
  wrongMagic[3] = '3';
  auto empty = TMvecFont::Parse(wrongMagic, "old");
  EXPECT_TRUE(empty->Empty());
  EXPECT_GT(empty->Body(), 0);  // sizes can still be computed
  EXPECT_TRUE(TMvecFont::Parse({}, "nothing")->Empty());

  // A table cut after two entries keeps those two.
  std::vector<uint8_t> cut(image.begin(), image.begin() + 12 + 18 * 2 + 5);
  auto partial = TMvecFont::Parse(cut, "cut");
  EXPECT_EQ(partial->GlyphCount(), 0u);  // their outlines lie beyond the cut
  EXPECT_TRUE(log.Contains("glyph table cut short"));

  // An entry pointing outside the image is dropped; the others stay usable.
  std::vector<uint8_t> forged = image;
  forged[12 + 14] = 0xFF;
  forged[12 + 17] = 0x7F;
  auto dropped = TMvecFont::Parse(forged, "forged");
  EXPECT_EQ(dropped->GlyphCount(), 4u);
  EXPECT_TRUE(log.Contains("outside the file dropped"));

  // An unsorted table is still searchable.
  auto unsorted = TMvecFont::Parse(MetricsFont().Build(false), "unsorted");
  EXPECT_NE(unsorted->FindGlyph('W'), nullptr);
  EXPECT_NE(unsorted->FindGlyph(0x100), nullptr);
  EXPECT_NE(unsorted->FindGlyph('T'), nullptr);
}

class FontCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetFileSystem();
    ClearFontCache();
  }
  void TearDown() override {
    ClearFontCache();
    ResetFileSystem();
  }
  void Register(const std::string& name, std::vector<uint8_t> bytes) {
    keep.push_back(std::move(bytes));
    RegisterMemoryFile(name, keep.back().data(), keep.back().size());
  }
  std::vector<std::vector<uint8_t>> keep;
};

TEST_F(FontCacheTest, BuiltinFontHoldsPrintableAsciiAndSaneMetrics) {
  auto font = GetFont("__DEFAULT");
  ASSERT_FALSE(font->Empty());
  for (uint32_t c = 32; c < 127; ++c) EXPECT_NE(font->FindGlyph(c), nullptr) << c;
  EXPECT_NE(font->FindGlyph(0xE9), nullptr);  // Latin-1
  EXPECT_GT(font->Ascent(), font->Descent());
  EXPECT_GT(font->Descent(), 0);
  EXPECT_EQ(GetFont("__DEFAULT"), font);  // cached
}

TEST_F(FontCacheTest, MissingFacesFallBackToDefaultFileThenBuiltin) {
  TLogCapture log;
  auto builtin = BuiltinFont();
  auto missing = GetFont("fonts/nothere.mvec");
  EXPECT_EQ(missing, builtin);
  EXPECT_TRUE(log.Contains("Font not found: fonts/nothere.mvec"));

  ClearFontCache();
  Register("fonts/default.mvec", MetricsFont().Build());
  auto fallback = GetFont("fonts/alsomissing.mvec");
  EXPECT_NE(fallback, builtin);
  EXPECT_NE(fallback->FindGlyph(0x100), nullptr);

  TMvecBuilder own;
  own.AddBox('x', 0, -50 * 128, 40 * 128, 0);
  Register("fonts/own.mvec", own.Build());
  auto ownFont = GetFont("fonts/own.mvec");
  EXPECT_EQ(ownFont->GlyphCount(), 1u);
  EXPECT_EQ(GetFont("fonts/own.mvec"), ownFont);

  // Characters the face lacks come from the built-in font, then from the default file.
  std::shared_ptr<TMvecFont> used;
  EXPECT_NE(FindGlyphWithFallback(ownFont, 'x', &used), nullptr);
  EXPECT_EQ(used, ownFont);
  EXPECT_NE(FindGlyphWithFallback(ownFont, 'A', &used), nullptr);
  EXPECT_EQ(used, builtin);
  EXPECT_NE(FindGlyphWithFallback(ownFont, 0x100, &used), nullptr);
  EXPECT_EQ(used, fallback);
  EXPECT_EQ(FindGlyphWithFallback(ownFont, 0x4E00, &used), nullptr);
  EXPECT_EQ(used, nullptr);
}

TEST_F(FontCacheTest, FileWithoutMagicIsAnEmptyFont) {
  Register("fonts/text.mvec", std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o'});
  auto font = GetFont("fonts/text.mvec");
  EXPECT_TRUE(font->Empty());
  EXPECT_NE(font, BuiltinFont());
}

TEST_F(FontCacheTest, PackageDefaultFontLoadsFromTheAssetPackage) {
  // The content build converts fonts/default.mvec into assets/assets.tvp beside the program
  // (the tests run in the program folder). Builds of single targets may not have it.
  if (!std::filesystem::exists("assets/assets.tvp")) GTEST_SKIP() << "assets not built";
  InitFileSystem();
  auto font = GetFont("fonts/default.mvec");
  ASSERT_NE(font, BuiltinFont());
  EXPECT_GT(font->GlyphCount(), BuiltinFont()->GlyphCount());
  EXPECT_NE(font->FindGlyph(0x416), nullptr);  // Cyrillic, which the built-in font lacks
  std::shared_ptr<TMvecFont> used;
  EXPECT_NE(FindGlyphWithFallback(BuiltinFont(), 0x416, &used), nullptr);
  EXPECT_EQ(used, font);
}

}  // namespace
