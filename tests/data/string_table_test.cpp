#include "data/string_table.h"

#include <gtest/gtest.h>

#include <string>

#include "files/file_system.h"
#include "files/zxml.h"
#include "frame/log.h"

namespace {

std::string Row(const std::string& label, const std::string& text) {
  return "   <Row>\n    <Cell><Data ss:Type=\"String\">" + label +
         "</Data></Cell>\n    <Cell><Data ss:Type=\"String\">" + text +
         "</Data></Cell>\n   </Row>\n";
}

std::string Sheet(const std::string& rows) {
  return "<?xml version=\"1.0\"?>\n<Workbook "
         "xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\">\n"
         " <Worksheet ss:Name=\"strings\">\n  <Table ss:ExpandedColumnCount=\"2\">\n" +
         rows + "  </Table>\n </Worksheet>\n</Workbook>\n";
}

class StringTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    table.AddSpreadsheetText(Sheet(
        Row("application_ok", "OK") +
        Row("citymap_unlockdesc", "%1% more days at %2% to unlock the next location!") +
        Row("percent", "50%") + Row("nested", "[%application_ok%] %%done%%") + Row("sixth", "%6%") +
        Row("bad_label", "x %no_such_label% y") + Row("localizer_currency_tens_format", "$%%d") +
        Row("localizer_currency_thousands_format", "$%%d,%%03d") +
        Row("localizer_currency_millions_format", "$%%d,%%03d,%%03d") +
        Row("localizer_currency_billions_format", "$%%d,%%03d,%%03d,%%03d")));
  }
  TStringTable table;
};

TEST_F(StringTableTest, ArgumentsAndNestedLabels) {
  EXPECT_EQ(table.GetString("citymap_unlockdesc", "3", "the flea market"),
            "3 more days at the flea market to unlock the next location!");
  EXPECT_EQ(table.GetString("nested"), "[OK] %done%");
  EXPECT_EQ(table.GetString("percent"), "50%");  // an unclosed "%" at the end stays
  EXPECT_EQ(table.GetString("citymap_unlockdesc", "%%", "%application_ok%"),
            "% more days at OK to unlock the next location!");
  EXPECT_EQ(table.GetString("citymap_unlockdesc"), " more days at  to unlock the next location!");
  // Inserted texts are not expanded again.
  EXPECT_EQ(table.GetString("citymap_unlockdesc", "%2%x", "a%1%"), "#####");
  EXPECT_EQ(table.GetString("citymap_unlockdesc", "a%1%", "b"),
            "a%1% more days at b to unlock the next location!");
}

TEST_F(StringTableTest, FailuresGiveHashesAndALogLine) {
  EXPECT_EQ(table.GetString("missing_label"), "#####");
  EXPECT_EQ(table.GetString("sixth", "1", "2", "3", "4", "5"), "#####");
  EXPECT_EQ(table.GetString("bad_label"), "#####");
  EXPECT_EQ(table.GetString("citymap_unlockdesc", "%letters"), "#####");
  EXPECT_EQ(table.GetString("citymap_unlockdesc", "%unknown%"), "#####");
  table.SetString("big", "%99999999999999999999%");
  EXPECT_EQ(table.GetString("big"), "#####");

  const std::string folder = ::testing::TempDir() + "mc_string_table_log";
  SetLogFolder(folder);
  table.GetString("no_such_thing");
  const std::string path = LogPath();
  SetLogFolder("");
  FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  char buffer[4096] = {};
  std::fread(buffer, 1, sizeof buffer - 1, file);
  std::fclose(file);
  EXPECT_NE(std::string(buffer).find(" ##### : Missing string for label 'no_such_thing'"),
            std::string::npos);
}

TEST_F(StringTableTest, FormatCurrencyBounds) {
  EXPECT_EQ(table.FormatCurrency(0), "$0");
  EXPECT_EQ(table.FormatCurrency(999), "$999");
  EXPECT_EQ(table.FormatCurrency(-5), "$-5");
  EXPECT_EQ(table.FormatCurrency(1000), "$1,000");
  EXPECT_EQ(table.FormatCurrency(999999), "$999,999");
  EXPECT_EQ(table.FormatCurrency(1000000), "$1,000,000");
  EXPECT_EQ(table.FormatCurrency(1234567), "$1,234,567");
  EXPECT_EQ(table.FormatCurrency(999999999), "$999,999,999");
  EXPECT_EQ(table.FormatCurrency(1000000000), "$1,000,000,000");
  EXPECT_EQ(table.FormatCurrency(2147483647), "$2,147,483,647");
}

TEST_F(StringTableTest, FormatsFromDataCannotReachMemory) {
  table.SetString("localizer_currency_tens_format", "%%s %%n %%p %%.5d %%*d %%d%%d %%");
  EXPECT_EQ(table.FormatCurrency(42), "%s %n %p 00042 %*d 00 %");
  table.SetString("localizer_currency_thousands_format", "%%999999d");
  EXPECT_LT(table.FormatCurrency(5000).size(), 32u);
}

TEST(StringTableReader, RowsCellsAndEntities) {
  TStringTable table;
  table.AddSpreadsheetText(
      "<Row><Cell><Data>line_break</Data></Cell><Cell><Data>one&#10;two &amp; &lt;3&gt;</Data>"
      "</Cell></Row>"
      "<Row><Cell><Data></Data></Cell><Cell><Data>empty label</Data></Cell></Row>"
      "<Row><Cell><Data>only_label</Data></Cell></Row>"
      "<Row><Cell>no data at all</Cell></Row>"
      "<Row><Cell><Data>markup</Data></Cell><Cell><Data><B>bold</B> rest</Data></Cell></Row>"
      "<Row><Cell><Data>line_break</Data></Cell><Cell><Data>replaced</Data></Cell></Row>"
      "<Row><Cell><Data>after_nul</Data></Cell></Row>\0<Row><Cell><Data>hidden</Data></Cell>");
  EXPECT_EQ(*table.Find("line_break"), "replaced");
  EXPECT_EQ(*table.Find(""), "empty label");
  EXPECT_EQ(*table.Find("only_label"), "");
  EXPECT_EQ(*table.Find("markup"), "");
  EXPECT_EQ(table.Strings().size(), 5u);

  TStringTable second;
  second.AddSpreadsheetText("<Row><Data>a</Data><Data>x&#10;y &amp; &lt;3&gt; &#233;</Data>");
  EXPECT_EQ(*second.Find("a"), "x\ny & <3> \xE9");
}

class StringTableFilesTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const char* name :
         {"strings.xml", "user:strings_extra.xml", "user:other.xml", "common:string_override.xml"})
      RegisterMemoryFile(name, nullptr, 0);
  }
};

TEST_F(StringTableFilesTest, ShippedTableThenUserThenCommonOverrides) {
  const std::string shipped =
      Sheet(Row("a", "shipped a") + Row("b", "shipped b") + Row("c", "shipped c"));
  const std::vector<uint8_t> packed = PackZxml(shipped.data(), shipped.size());
  const std::string user = Sheet(Row("b", "user b") + Row("c", "user c"));
  const std::string other = Sheet(Row("a", "not a strings file"));
  const std::string common = Sheet(Row("c", "common c"));
  RegisterMemoryFile("strings.xml", packed.data(), packed.size());
  RegisterMemoryFile("user:strings_extra.xml", user.data(), user.size());
  RegisterMemoryFile("user:other.xml", other.data(), other.size());
  RegisterMemoryFile("common:string_override.xml", common.data(), common.size());

  TStringTable table;
  table.SetString("stale", "from before");
  table.LoadAll();
  EXPECT_EQ(table.GetString("a"), "shipped a");
  EXPECT_EQ(table.GetString("b"), "user b");
  EXPECT_EQ(table.GetString("c"), "common c");
  EXPECT_EQ(table.Find("stale"), nullptr);
  EXPECT_FALSE(table.AddStrings("missing.xml"));
}

}  // namespace
