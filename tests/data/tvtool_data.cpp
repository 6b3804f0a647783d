// Runs the built tvtool's data commands and checks them against the engine's own readers
// and writers.
#include <gtest/gtest.h>

#include <string>

#include "data/prefs.h"
#include "files/file_system.h"
#include "files/zxml.h"
#include "tests/support/tvtool_fixture.h"

namespace {

namespace fs = std::filesystem;

class TvtoolDataTest : public TTvtoolFixture {
 protected:
  TvtoolDataTest() : TTvtoolFixture("mc_tvtool_data_") {}
  void SetUp() override {
    TTvtoolFixture::SetUp();
    ResetFileSystem();
  }
  void TearDown() override {
    ResetFileSystem();
    TTvtoolFixture::TearDown();
  }
  TPrefsOptions Options(const std::string& installKey) const {
    TPrefsOptions options;
    options.fileName = "::" + (root / "prefs.dat").string();
    options.keyText = "GameKey";
    options.installKey = installKey;
    options.installFile.clear();
    return options;
  }
};

TEST_F(TvtoolDataTest, PrefsDumpAndSetAgreeWithTheEngine) {
  {
    TPrefs prefs(Options("inst_a"));
    prefs.SetPref("mj_name", "Ada", 0);
    const unsigned char blob[] = {0, 1, 0xFE};
    prefs.SetPrefData("mj_blob", blob, 3, 0);
    prefs.SetPrefInt("volume", 80, -1, true);
  }
  const fs::path file = root / "prefs.dat";
  ASSERT_EQ(Run("prefs dump " + Q(file) + " --key GameKey"), 0) << Err();
  const std::string dump = Out();
  EXPECT_NE(dump.find("section \"inst_a\""), std::string::npos) << dump;
  EXPECT_NE(dump.find("volume = \"80\""), std::string::npos) << dump;
  EXPECT_NE(dump.find("player 0\n"), std::string::npos) << dump;
  EXPECT_NE(dump.find("mj_name = \"Ada\""), std::string::npos) << dump;
  EXPECT_NE(dump.find("mj_blob = hex 0001fe (3 bytes)"), std::string::npos) << dump;

  ASSERT_EQ(Run("prefs set " + Q(file) + " --key GameKey --install inst_b 1 mj_name 'Bo b'"), 0)
      << Err();
  ASSERT_EQ(Run("prefs set " + Q(file) + " --key GameKey global volume 65"), 0) << Err();
  TPrefs a(Options("inst_a"));
  EXPECT_EQ(a.GetPrefInt("volume", 0), 80);  // the second set went to the file's current key
  TPrefs b(Options("inst_b"));
  EXPECT_EQ(b.GetPref("mj_name", "", 1), "Bo b");
  EXPECT_EQ(b.GetPrefInt("volume", 0), 65);
  EXPECT_EQ(b.GetUserCount(), 2);

  EXPECT_EQ(Run("prefs set " + Q(file) + " --key GameKey 1024 x y"), 1);
  EXPECT_EQ(Run("prefs dump " + Q(file)), 2);
  EXPECT_EQ(Run("prefs dump " + Q(root / "missing.dat") + " --key GameKey"), 1);
  EXPECT_NE(Err().find("cannot open"), std::string::npos);
}

TEST_F(TvtoolDataTest, DamagedPrefsAreShownAsFarAsTheyReadAndNeverChanged) {
  {
    TPrefs prefs(Options("inst_a"));
    prefs.SetPref("first", "kept", -1);
    prefs.SetPref("second", "lost", 0, true);
  }
  const fs::path file = root / "prefs.dat";
  std::string bytes = Read(file);
  const size_t cut = bytes.rfind("KVPR");
  ASSERT_NE(cut, std::string::npos);
  bytes[cut + 7] = '\x7F';  // an impossible length in the last record
  Write(file, bytes);
  EXPECT_EQ(Run("prefs dump " + Q(file) + " --key GameKey"), 1);
  EXPECT_NE(Out().find("first = \"kept\""), std::string::npos) << Out();
  EXPECT_EQ(Out().find("second"), std::string::npos);
  EXPECT_NE(Err().find("damaged"), std::string::npos);
  EXPECT_EQ(Run("prefs set " + Q(file) + " --key GameKey global x y"), 1);
  EXPECT_EQ(Read(file), bytes);
  EXPECT_EQ(Run("prefs dump " + Q(file) + " --key OtherKey"), 1);
}

TEST_F(TvtoolDataTest, XmlStringsAndCurrency) {
  const std::string xml =
      "<?xml version=\"1.0\"?>\n<settings>\n  <game>\n  mahjong\n  </game>\n"
      "  <tile x=1 name=\"a b\"/>\n</settings>\n";
  Write(root / "plain.xml", xml);
  const std::vector<uint8_t> packed = PackZxml(xml.data(), xml.size());
  Write(root / "packed.xml", std::string(packed.begin(), packed.end()));
  ASSERT_EQ(Run("xml " + Q(root / "plain.xml")), 0);
  const std::string plain = Out();
  EXPECT_NE(plain.find("        mahjong\n"), std::string::npos) << plain;
  EXPECT_NE(plain.find("            name=\"a b\">"), std::string::npos) << plain;
  ASSERT_EQ(Run("xml " + Q(root / "packed.xml")), 0);
  EXPECT_EQ(Out(), plain);
  EXPECT_EQ(Run("xml " + Q(root / "absent.xml")), 1);

  Write(root / "strings.xml",
        "<Row><Cell><Data>greet</Data></Cell><Cell><Data>Hello %1%, %2%!</Data></Cell></Row>"
        "<Row><Cell><Data>localizer_currency_tens_format</Data></Cell>"
        "<Cell><Data>%%d dollars</Data></Cell></Row>");
  ASSERT_EQ(Run("strings " + Q(root / "strings.xml") + " greet Ada friend"), 0);
  EXPECT_EQ(Out(), "Hello Ada, friend!\n");
  EXPECT_EQ(Run("strings " + Q(root / "strings.xml") + " nothing"), 1);
  EXPECT_EQ(Run("strings " + Q(root / "strings.xml") + " greet %oops"), 1);
  EXPECT_EQ(Run("strings " + Q(root / "none.xml") + " greet"), 1);

  ASSERT_EQ(Run("currency 2147483647"), 0);
  EXPECT_EQ(Out(), "$2,147,483,647\n");
  ASSERT_EQ(Run("currency 12 " + Q(root / "strings.xml")), 0);
  EXPECT_EQ(Out(), "12 dollars\n");
  EXPECT_EQ(Run("currency 2147483648"), 1);
  EXPECT_EQ(Run("currency"), 2);

  ASSERT_EQ(Run("computerid"), 0);
  EXPECT_EQ(Out().size(), 17u);
}

}  // namespace
