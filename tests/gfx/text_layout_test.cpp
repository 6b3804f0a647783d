// The text layout: markup, line breaking, alignment, fonts, links.
#include <gtest/gtest.h>

#include "data/settings.h"
#include "files/file_system.h"
#include "gfx/font_cache.h"
#include "gfx/text_layout.h"
#include "gfx/text_markup.h"
#include "tests/gfx/mvec_builder.h"
#include "tests/gfx/test_support.h"

namespace {

// A monospaced box font: every printable ASCII character advances 125 units, ascent 80,
// descent 20, so size 10 gives exactly 10 pixels per character and a baseline at
// (80 + 18.75) * 0.08 = 7.9 pixels. Boxes reach from x 10 to 115 and up to the ascent; the
// period is a low box, 10 units high.
std::vector<uint8_t> MonoFont() {
  TMvecBuilder b;
  for (uint32_t c = 32; c < 127; ++c) {
    if (c == ' ') {
      b.glyphs.push_back({c, 0, 0, 0, 0, 125 * 128, {8}});
      continue;
    }
    const int top = c == '.' ? -10 : -80;
    b.AddBox(c, 10 * 128, top * 128, 115 * 128, c == 'g' ? 20 * 128 : 0);
    b.glyphs.back().advance = 125 * 128;
  }
  return b.Build();
}

class TextLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetFileSystem();
    ClearFontCache();
    font = MonoFont();
    RegisterMemoryFile("fonts/mono.mvec", font.data(), font.size());
  }
  void TearDown() override {
    ClearFontCache();
    ResetFileSystem();
  }
  TTextLayout Make(const std::string& text, float width = 100, unsigned flags = 0,
                   bool legacy = false) {
    TTextLayout layout("fonts/mono.mvec", 10, 0xFF112233u, flags, width, 200);
    layout.SetLegacyWrap(legacy);
    layout.SetText(text);
    return layout;
  }
  static std::string LineText(const TTextLine& line) {
    std::string s;
    for (const TLaidGlyph& g : line.glyphs) s += static_cast<char>(g.glyph->code);
    return s;
  }
  static std::vector<std::string> Texts(const TTextLayout& layout) {
    std::vector<std::string> out;
    for (const TTextLine& line : layout.Lines()) out.push_back(LineText(line));
    return out;
  }
  std::vector<uint8_t> font;
};

using Lines = std::vector<std::string>;

TEST_F(TextLayoutTest, BreaksAfterSpacesAndMeasuresLines) {
  TTextLayout layout = Make("aaa bbb ccc");
  EXPECT_EQ(Texts(layout), (Lines{"aaa bbb ", "ccc"}));
  EXPECT_FLOAT_EQ(layout.Lines()[0].width, 70);  // the trailing space does not count
  EXPECT_FLOAT_EQ(layout.Lines()[1].width, 30);
  EXPECT_FLOAT_EQ(layout.Lines()[1].glyphs[0].x, 0);
  EXPECT_FLOAT_EQ(layout.Lines()[0].height, 10);
  EXPECT_NEAR(layout.Lines()[0].baseline, 7.9f, 1e-4);
  // Exactly filling the box still fits.
  EXPECT_EQ(Texts(Make("aaaa bbbbb")), (Lines{"aaaa bbbbb"}));
  // A space that overflows ends the line and is dropped.
  EXPECT_EQ(Texts(Make("aaaaaaaaaa bb")), (Lines{"aaaaaaaaaa", "bb"}));
}

TEST_F(TextLayoutTest, LongWordsBreakBeforeOrAfterTheOverflowingCharacter) {
  EXPECT_EQ(Texts(Make("abcdefghijkl")), (Lines{"abcdefghij", "kl"}));
  EXPECT_EQ(Texts(Make("abcdefghijkl", 100, 0, true)), (Lines{"abcdefghijk", "l"}));
  // The setting "legacylinewrap" switches layouts that were not told otherwise.
  SetSetting("legacylinewrap", "1");
  TTextLayout fromSetting("fonts/mono.mvec", 10, 0xFF112233u, 0, 100, 200);
  fromSetting.SetText("abcdefghijkl");
  ResetSettings();
  EXPECT_EQ(Texts(fromSetting), (Lines{"abcdefghijk", "l"}));
  // After a break at a space, a word that alone is too long is still cut.
  EXPECT_EQ(Texts(Make("ab abcdefghijklm")), (Lines{"ab ", "abcdefghij", "klm"}));
}

TEST_F(TextLayoutTest, LineBreakTagsAndNewlines) {
  TTextLayout layout = Make("a<br>b</p>c\nd<br pad=7>e");
  EXPECT_EQ(Texts(layout), (Lines{"a", "b", "c", "d", "e"}));
  EXPECT_FLOAT_EQ(layout.Lines()[3].padAfter, 7);
  EXPECT_FLOAT_EQ(layout.ContentHeight(), 5 * 10 + 7);
  EXPECT_EQ(Make("").Lines().size(), 1u);
}

TEST_F(TextLayoutTest, ItalicTextMakesRoomOnlyAsHighAsTheNextGlyphReaches) {
  // A period after italic text sits at the pen: its height needs almost none of the lean.
  TTextLayout period = Make("<i>h</i>.", 1000);
  const auto& p = period.Lines()[0].glyphs;
  ASSERT_EQ(p.size(), 2u);
  EXPECT_FLOAT_EQ(p[1].x, p[0].x + p[0].advance);
  // A tall glyph clears the sheared top: its left side lies right of the italic box's top
  // right corner (115 units plus a third of the 80-unit height, 0.08 pixels per unit).
  TTextLayout tall = Make("<i>h</i>T", 1000);
  const auto& t = tall.Lines()[0].glyphs;
  ASSERT_EQ(t.size(), 2u);
  EXPECT_GE(t[1].x + 10 * 0.08f, t[0].x + (115 + 80.0f / 3) * 0.08f - 0.25f);
  EXPECT_GT(t[1].x, t[0].x + t[0].advance);
}

TEST_F(TextLayoutTest, NegativePaddingPullsLinesTogetherAndWidensTheBox) {
  TTextLayout layout = Make("aaaa bbbb cccc", 88);
  EXPECT_EQ(Texts(layout), (Lines{"aaaa ", "bbbb ", "cccc"}));
  layout.SetPadding(-1);
  // 90 pixels of room: two words fill a line exactly.
  EXPECT_EQ(Texts(layout), (Lines{"aaaa bbbb", "cccc"}));
  std::vector<float> tops;
  layout.ForEachLine(1, [&](const TTextLine&, float, float y) { tops.push_back(y); });
  EXPECT_EQ(tops, (std::vector<float>{-1, 8}));
  EXPECT_FLOAT_EQ(layout.ContentHeight(), 2 * (10 - 1));
}

TEST_F(TextLayoutTest, WholeLinesLeaveOutALineTheBottomEdgeWouldCut) {
  TTextLayout layout("fonts/mono.mvec", 10, 0xFF112233u, 0, 100, 25);
  layout.SetText("a<br>b<br>c");
  auto shown = [&] {
    std::string text;
    layout.ForEachLine(1, [&](const TTextLine& line, float, float) { text += LineText(line); });
    return text;
  };
  EXPECT_EQ(shown(), "abc");  // the third line starts inside the box
  layout.SetWholeLines(true);
  EXPECT_EQ(shown(), "ab");
  EXPECT_FLOAT_EQ(layout.Lines()[2].inkBottom, 7.9f + 1.6f);
  // The first line is shown even when the box is lower than it.
  layout.SetBox(100, 4);
  EXPECT_EQ(shown(), "a");
}

TEST_F(TextLayoutTest, AlignmentStackAndLayoutFlags) {
  TTextLayout layout = Make("<center>a</center><br>b<right>c<br>d</right></right></right><br>e");
  ASSERT_EQ(layout.Lines().size(), 4u);
  EXPECT_EQ(layout.Lines()[0].align, kAlignCenter);
  EXPECT_EQ(layout.Lines()[1].align, kAlignLeft);  // the line's first character decides
  EXPECT_EQ(layout.Lines()[2].align, kAlignRight);
  EXPECT_EQ(layout.Lines()[3].align, kAlignLeft);  // popping never goes below the base

  TTextLayout centred = Make("ab", 100, kTextHCenter);
  EXPECT_EQ(centred.Lines()[0].align, kAlignCenter);
  std::vector<float> pens;
  centred.ForEachGlyph(1, [&](const TPlacedGlyph& p) { pens.push_back(p.penX); });
  EXPECT_EQ(pens, (std::vector<float>{40, 50}));
  TTextLayout right = Make("ab", 100, kTextHRight | kTextVBottom);
  right.ForEachGlyph(1, [&](const TPlacedGlyph& p) {
    pens.push_back(p.penX);
    EXPECT_FLOAT_EQ(p.lineBottom, 200);
  });
  EXPECT_EQ(pens.back(), 90);
}

TEST_F(TextLayoutTest, FontTagsSizesColoursAndTheirStack) {
  TTextLayout layout = Make("a<font size=20 color=FF0000>b<font color=00FF0080>c</font>d</font>e");
  const auto& g = layout.Lines()[0].glyphs;
  ASSERT_EQ(g.size(), 5u);
  EXPECT_EQ(g[0].color, 0xFF112233u);
  EXPECT_EQ(g[1].color, 0xFFFF0000u);
  EXPECT_FLOAT_EQ(g[1].size, 20);
  EXPECT_FLOAT_EQ(g[1].advance, 20);
  EXPECT_EQ(g[2].color, 0x8000FF00u);  // eight digits: the last two are the alpha
  EXPECT_FLOAT_EQ(g[2].size, 20);      // a font tag keeps what it does not name
  EXPECT_EQ(g[3].color, 0xFFFF0000u);
  EXPECT_EQ(g[4].color, 0xFF112233u);
  EXPECT_FLOAT_EQ(layout.Lines()[0].height, 20);

  // Beyond 32 states the tags are not stacked; "/font" at the first level stays there.
  std::string deep;
  for (int i = 1; i <= 40; ++i) deep += "<font size=" + std::to_string(i) + ">";
  deep += "x";
  for (int i = 0; i < 45; ++i) deep += "</font>";
  deep += "y";
  TTextLayout nested = Make(deep, 1000);
  const auto& n = nested.Lines()[0].glyphs;
  ASSERT_EQ(n.size(), 2u);
  EXPECT_FLOAT_EQ(n[0].size, 31);  // the base state plus 31 pushed ones
  EXPECT_FLOAT_EQ(n[1].size, 10);
}

TEST_F(TextLayoutTest, StylesEscapesTabsAndUnknownTags) {
  TTextLayout layout = Make("\\<b\\><blink>x</blink><b>y</b><i>z</i>w<tab pos=90>q", 1000);
  const auto& g = layout.Lines()[0].glyphs;
  ASSERT_EQ(g.size(), 8u);
  EXPECT_EQ(LineText(layout.Lines()[0]), "<b>xyzwq");
  EXPECT_FALSE(g[3].bold);
  EXPECT_TRUE(g[4].bold);
  EXPECT_GT(g[4].advance, 10);  // bold glyphs are wider
  EXPECT_TRUE(g[5].italic);
  EXPECT_GT(g[6].x, g[5].x + g[5].advance);  // room after the italic run
  EXPECT_FLOAT_EQ(g[7].x, 90);

  TTextLayout styled = Make("<u>a</u><outline color=0000FF>b</outline><outline size=3>c", 1000);
  const auto& s = styled.Lines()[0].glyphs;
  EXPECT_TRUE(s[0].underline);
  EXPECT_FLOAT_EQ(s[1].outline, 2);  // the default width
  EXPECT_EQ(s[1].outlineColor, 0xFF0000FFu);
  EXPECT_FLOAT_EQ(s[2].outline, 3);
  EXPECT_FLOAT_EQ(s[0].outline, 0);

  // A tag without its closing bracket is text.
  EXPECT_EQ(Texts(Make("a<b", 1000)), (Lines{"a<b"}));
}

TEST_F(TextLayoutTest, LinksAreColouredAndHitTested) {
  TTextLayout layout = Make("go <a id=next color=00ff00>here</a> now<cursor>", 1000);
  const auto& g = layout.Lines()[0].glyphs;
  EXPECT_EQ(g[3].link, 0);
  EXPECT_EQ(g[3].color, 0xFF00FF00u);
  EXPECT_EQ(g[7].link, -1);
  EXPECT_EQ(g[8].color, 0xFF112233u);
  EXPECT_TRUE(layout.Lines()[0].hasCursor);
  EXPECT_FLOAT_EQ(layout.Lines()[0].cursorX, 110);

  EXPECT_EQ(layout.LinkAt(35, 5), "next");
  EXPECT_EQ(layout.LinkAt(69, 9), "next");
  EXPECT_EQ(layout.LinkAt(71, 5), "");   // the space after the link
  EXPECT_EQ(layout.LinkAt(35, 11), "");  // below the line
  EXPECT_TRUE(layout.SetHoverLink("next"));
  EXPECT_FALSE(layout.SetHoverLink("next"));
  EXPECT_EQ(layout.HoverLink(), "next");

  // Rotated a quarter turn around the box's origin, the link is found where it is drawn.
  layout.SetRotation(90, 0, 0);
  EXPECT_EQ(layout.LinkAt(-5, 35), "next");
  EXPECT_EQ(layout.LinkAt(35, 5), "");
}

TEST_F(TextLayoutTest, Utf8FallbackGlyphsAndMissingFaces) {
  TLogCapture log;
  // "é" is not in the box font: it comes from the built-in font.
  TTextLayout layout = Make("a\xC3\xA9\xFFz<font face=fonts/none.mvec>q", 1000);
  const auto& g = layout.Lines()[0].glyphs;
  ASSERT_EQ(g.size(), 5u);
  EXPECT_EQ(g[1].glyph->code, 0xE9u);
  EXPECT_EQ(g[1].font, BuiltinFont());
  EXPECT_EQ(g[2].glyph->code, 0xFFu);  // a stray byte stands for itself
  EXPECT_EQ(g[4].font, BuiltinFont());
  EXPECT_TRUE(log.Contains("Font not found: fonts/none.mvec"));

  size_t pos = 0;
  const std::string text = "\xE2\x82\xAC\xC0\xAF";
  EXPECT_EQ(DecodeUtf8(text, &pos), 0x20ACu);
  EXPECT_EQ(DecodeUtf8(text, &pos), 0xC0u);  // overlong form
  EXPECT_EQ(DecodeUtf8(text, &pos), 0xAFu);
  EXPECT_EQ(pos, text.size());
}

TEST(TextMarkupTest, TagsAndColours) {
  TMarkupTag tag;
  const std::string text = "<Font SIZE=\"12\" color='FF00aa' face=x.mvec flag>rest";
  size_t pos = 0;
  ASSERT_TRUE(ParseMarkupTag(text, &pos, &tag));
  EXPECT_EQ(text.substr(pos), "rest");
  EXPECT_EQ(tag.name, "font");
  EXPECT_EQ(tag.Get("size"), "12");
  EXPECT_EQ(tag.Get("color"), "FF00aa");
  EXPECT_EQ(tag.Get("face"), "x.mvec");
  EXPECT_TRUE(tag.Has("flag"));
  EXPECT_FLOAT_EQ(tag.GetNumber("size", 0), 12);
  EXPECT_FLOAT_EQ(tag.GetNumber("face", 5), 5);

  uint32_t c = 0;
  EXPECT_TRUE(ParseMarkupColor("FF00aa", &c));
  EXPECT_EQ(c, 0xFFFF00AAu);
  EXPECT_TRUE(ParseMarkupColor("#11223380", &c));
  EXPECT_EQ(c, 0x80112233u);
  EXPECT_FALSE(ParseMarkupColor("12345", &c));
  EXPECT_FALSE(ParseMarkupColor("GG0000", &c));
}

}  // namespace
