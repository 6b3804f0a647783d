#include "webcontrol/control_properties.h"

#include <gtest/gtest.h>

#include <map>

namespace {

class TMapBag : public TPropertyBag {
 public:
  bool Read(const std::string& name, std::u16string* value) const override {
    const auto found = values.find(name);
    if (found == values.end()) return false;
    *value = found->second;
    return true;
  }
  void Write(const std::string& name, const std::u16string& value) override {
    values[name] = value;
  }
  std::map<std::string, std::u16string> values;
};

}  // namespace

TEST(ControlProperties, ThePagesParametersFillTheControlAndAreStoredTheSameWay) {
  TMapBag page;
  page.values = {{"DownloadUrl", u"http://example.org/game"},
                 {"Options", u"a=1&b=2"},
                 {"MSN", u"1"},
                 {"AnonymousScores", u"2"},
                 {"HideLogos", u"1"},
                 {"GameData", u"-extra"},
                 {"_cx", u"21167"},
                 {"_cy", u"15875"},
                 {"Unknown", u"ignored"}};
  TControlProperties properties;
  properties.Load(page);
  EXPECT_EQ(properties.downloadUrl, u"http://example.org/game");
  EXPECT_EQ(properties.options, u"a=1&b=2");
  EXPECT_EQ(properties.msn, u"1");
  EXPECT_EQ(properties.gameData, u"-extra");
  EXPECT_EQ(properties.extentX, 21167);
  EXPECT_EQ(properties.extentY, 15875);

  TMapBag stored;
  properties.Save(&stored);
  EXPECT_EQ(stored.values.size(), 8u);  // six texts and the extent, nothing else
  EXPECT_EQ(stored.values.count("Unknown"), 0u);
  TControlProperties reloaded;
  reloaded.Load(stored);
  EXPECT_EQ(reloaded.options, properties.options);
  EXPECT_EQ(reloaded.hideLogos, u"1");
  EXPECT_EQ(reloaded.anonymousScores, u"2");
  EXPECT_EQ(reloaded.extentX, 21167);
  EXPECT_EQ(reloaded.extentY, 15875);
}

TEST(ControlProperties, MissingOrBrokenValuesKeepTheDefaults) {
  TControlProperties properties;
  EXPECT_EQ(properties.extentX, 5080);
  EXPECT_EQ(properties.extentY, 5080);
  TMapBag page;
  page.values = {{"_cx", u"wide"}, {"_cy", u"-3"}, {"Options", u"x=1"}};
  properties.Load(page);
  EXPECT_EQ(properties.extentX, 5080);
  EXPECT_EQ(properties.extentY, 5080);
  EXPECT_EQ(properties.downloadUrl, u"");
  EXPECT_EQ(properties.options, u"x=1");
  page.values = {{"_cx", u"99999999999999999999"}};
  properties.Load(page);
  EXPECT_EQ(properties.extentX, 5080);
}

TEST(ControlProperties, TextsBecomeTheirLowBytesAndOverlongTextsBecomeEmpty) {
  // One byte per UTF-16 unit, no code page: é (U+00E9) stays 0xE9, € (U+20AC) becomes 0xAC.
  EXPECT_EQ(NarrowProperty(u"a=\u00e9&b=\u20ac"), "a=\xe9&b=\xac");
  EXPECT_EQ(NarrowProperty(u""), "");
  const std::u16string longest(TControlProperties::kMaxTextUnits - 1, u'x');
  EXPECT_EQ(NarrowProperty(longest).size(), TControlProperties::kMaxTextUnits - 1);
  const std::u16string tooLong(TControlProperties::kMaxTextUnits, u'x');
  EXPECT_EQ(NarrowProperty(tooLong), "");
}

TEST(ControlProperties, PageTextInUtf8BecomesUtf16) {
  EXPECT_EQ(WidenUtf8("a=1"), u"a=1");
  EXPECT_EQ(WidenUtf8("\xc3\xa9\xe2\x82\xac"), u"\u00e9\u20ac");
  EXPECT_EQ(WidenUtf8("\xf0\x9f\x80\x84"), u"\U0001F004");  // a mahjong tile, two units
  // Broken sequences: a lone continuation byte, a cut-off sequence, an overlong slash.
  EXPECT_EQ(WidenUtf8("a\x80z"), u"a\uFFFDz");
  EXPECT_EQ(WidenUtf8("\xe2\x82"), u"\uFFFD\uFFFD");
  EXPECT_EQ(WidenUtf8("\xc0\xaf"), u"\uFFFD\uFFFD");
  // And back, for the page.
  EXPECT_EQ(NarrowUtf8(u"a\u00e9\u20ac\U0001F004"), "a\xc3\xa9\xe2\x82\xac\xf0\x9f\x80\x84");
  EXPECT_EQ(NarrowUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xef\xbf\xbdx");
}
