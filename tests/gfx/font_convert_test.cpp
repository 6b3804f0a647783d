// tvtool mvec: the converter run as a program, its output read back by the engine's reader.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "gfx/builtin_font.h"
#include "gfx/coverage_raster.h"
#include "gfx/mvec_font.h"
#include "gfx/tv_mini_vec_draw.h"

namespace {

namespace fs = std::filesystem;

class FontConvertTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("mc_mvec_convert_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  int Run(const std::string& arguments) {
    const std::string command =
        std::string(MC_BIN_DIR) + "/tvtool mvec " + arguments + " 2>" + (dir / "err.txt").string();
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::vector<uint8_t> Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
  }
  fs::path dir;
};

// Counts outline commands.
class TCounter : public TOutlineSink {
 public:
  void MoveTo(float, float) override { ++moves; }
  void LineTo(float, float) override { ++lines; }
  void QuadTo(float, float, float, float) override { ++quads; }
  int moves = 0, lines = 0, quads = 0;
};

TEST_F(FontConvertTest, ConvertsTrueTypeLikeTheBuiltinFont) {
  const fs::path out = dir / "sans.mvec";
  ASSERT_EQ(Run(std::string(MC_FONT_SOURCE) + " " + out.string()), 0);
  std::vector<uint8_t> bytes = Read(out);
  // The default character set gives the very image compiled into the program.
  EXPECT_EQ(bytes, std::vector<uint8_t>(BuiltinFontData(), BuiltinFontData() + BuiltinFontSize()));

  ASSERT_EQ(Run("--chars 0x41-0x43,111 " + std::string(MC_FONT_SOURCE) + " " + out.string()), 0);
  auto font = TMvecFont::Parse(Read(out), "sans");
  ASSERT_EQ(font->GlyphCount(), 4u);
  EXPECT_EQ(font->Glyphs()[0].code, 'A');
  EXPECT_EQ(font->Glyphs()[3].code, 'o');
  const TMvecGlyph& o = *font->FindGlyph('o');
  // An 'o' of a sans font: two contours of curves, x-height about half the em (100 units).
  TCounter counter;
  EXPECT_TRUE(font->DecodeOutline(o, counter));
  EXPECT_EQ(counter.moves, 2);
  EXPECT_GT(counter.quads, 4);
  EXPECT_NEAR(-o.ymin / 128.0, 55, 6);
  EXPECT_NEAR(o.ymax / 128.0, 1, 2);
  EXPECT_GT(o.advance, o.xmax);
}

TEST_F(FontConvertTest, CubicOutlinesBecomeQuadraticCurves) {
  const fs::path otf = "/usr/share/fonts/opentype/ebgaramond/EBGaramond12-Regular.otf";
  if (!fs::exists(otf)) GTEST_SKIP() << "no CFF font installed";
  const fs::path out = dir / "garamond.mvec";
  ASSERT_EQ(Run(otf.string() + " " + out.string() + " --chars 32-126"), 0);
  auto font = TMvecFont::Parse(Read(out), "garamond");
  EXPECT_EQ(font->GlyphCount(), 95u);
  TCounter counter;
  EXPECT_TRUE(font->DecodeOutline(*font->FindGlyph('S'), counter));
  EXPECT_GT(counter.quads, 8);
  // The curves still enclose the letter: a raster of 'O' has ink on its ring, none inside.
  TTvMiniVecDraw draw;
  TGlyphParams params;
  params.scale = font->PixelsPerUnit(60);
  TCoverageBitmap bitmap;
  draw.RasterizeGlyph(*font, *font->FindGlyph('O'), 0, 0, params, &bitmap, nullptr);
  const int midY = bitmap.top + bitmap.height / 2, midX = bitmap.left + bitmap.width / 2;
  EXPECT_EQ(bitmap.At(midX, midY), 0);
  EXPECT_EQ(bitmap.At(bitmap.left + 2, midY), 255);
}

TEST_F(FontConvertTest, BadInputAndUsageErrors) {
  EXPECT_EQ(Run(""), 2);
  EXPECT_EQ(Run("only.ttf"), 2);
  EXPECT_EQ(Run("a.ttf b.mvec --chars"), 2);
  EXPECT_EQ(Run((dir / "missing.ttf").string() + " " + (dir / "x.mvec").string()), 1);
  std::ofstream(dir / "junk.ttf") << "not a font";
  EXPECT_EQ(Run((dir / "junk.ttf").string() + " " + (dir / "x.mvec").string()), 1);
  EXPECT_EQ(Run(std::string(MC_FONT_SOURCE) + " x.mvec --chars 90-80"), 1);
  EXPECT_EQ(Run(std::string(MC_FONT_SOURCE) + " x.mvec --chars 0x4E00"), 1);  // none there
  EXPECT_FALSE(fs::exists(dir / "x.mvec"));
}

}  // namespace
