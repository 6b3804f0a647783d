#include "data/settings.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "data/computer_id.h"
#include "data/prefs_cipher.h"
#include "files/file_system.h"

namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSettings(); }
  void TearDown() override {
    ResetSettings();
    RegisterMemoryFile("settings.xml", nullptr, 0);
  }
};

TEST_F(SettingsTest, NumbersAreReadInTheMannerOfAtoi) {
  SetSetting("count", "12abc");
  SetSetting("empty", "");
  SetSetting("ratio", "0.4");
  SetSetting("letters", "abc");
  SetSetting("huge", "99999999999999");
  EXPECT_EQ(GetSettingInt("count", 5), 12);
  EXPECT_EQ(GetSettingInt("empty", 5), 5);
  EXPECT_EQ(GetSettingInt("absent", 5), 5);
  EXPECT_EQ(GetSettingInt("letters", 5), 0);
  EXPECT_EQ(GetSettingInt("huge", 5), 2147483647);
  EXPECT_FLOAT_EQ(GetSettingFloat("ratio", 1.0f), 0.4f);
  EXPECT_FLOAT_EQ(GetSettingFloat("empty", 1.5f), 1.5f);
  EXPECT_FLOAT_EQ(GetSettingFloat("letters", 1.5f), 0.0f);
  EXPECT_TRUE(GetSettingBool("count"));
  EXPECT_FALSE(GetSettingBool("letters"));
  EXPECT_FALSE(GetSettingBool("absent"));
  EXPECT_EQ(GetSetting("absent", "fallback"), "fallback");
  EXPECT_EQ(GetSetting("Count", "case"), "case");
}

TEST_F(SettingsTest, SideEffectsLineWrapAndHook) {
  std::vector<std::pair<std::string, std::string>> seen;
  SetSettingHook(
      [&](const std::string& key, const std::string& value) { seen.emplace_back(key, value); });
  EXPECT_FALSE(LegacyLineWrap());
  SetSetting("legacylinewrap", "0");
  EXPECT_TRUE(LegacyLineWrap());
  SetSetting("vsync", "1");
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1], std::make_pair(std::string("vsync"), std::string("1")));
}

TEST_F(SettingsTest, CheatModeComparesTheDecipheredCodeWithTheComputerId) {
  SetSetting("computerid", "ABCDEFGHIJKLMNOP");
  const std::string goodCode = TPrefsCipher("gamekey").EncryptText("ABCDEFGHIJKLMNOP");
  SetSetting("cheatcode", goodCode);
  EXPECT_FALSE(HasSetting("cheatmode"));  // no key yet: left alone
  SetSetting("encryptionkey", "gamekey");
  EXPECT_EQ(GetSetting("cheatmode"), "1");
  SetSetting("cheatcode", TPrefsCipher("gamekey").EncryptText("SOMEOTHERMACHINE"));
  EXPECT_EQ(GetSetting("cheatmode"), "0");
  // A code made with the terminating zero counts as the same text.
  SetSetting("cheatcode",
             TPrefsCipher("gamekey").EncryptText(std::string("ABCDEFGHIJKLMNOP\0", 17)));
  EXPECT_EQ(GetSetting("cheatmode"), "1");
  SetSetting("cheatcode", "");
  EXPECT_EQ(GetSetting("cheatmode"), "1");  // an empty code keeps the earlier answer
  SetSetting("cheatcode", "!!not base64 at all!!");
  EXPECT_EQ(GetSetting("cheatmode"), "0");
}

TEST_F(SettingsTest, SettingsFileElementsBecomeSettings) {
  const std::string file =
      "<?xml version=\"1.0\"?>\n<settings>\n  <game>\n     mahjongcuriomar\n  </game>\n"
      "  <score_hintcost>50</score_hintcost>\n  <legacylinewrap/>\n</settings>\n";
  RegisterMemoryFile("settings.xml", file.data(), file.size());
  LoadSettingsFile("settings.xml");
  EXPECT_EQ(GetSetting("game"), "mahjongcuriomar");
  EXPECT_EQ(GetSettingInt("score_hintcost", 0), 50);
  EXPECT_TRUE(HasSetting("legacylinewrap"));
  EXPECT_TRUE(LegacyLineWrap());
  const size_t before = AllSettings().size();
  LoadSettingsFile("missing.xml");
  EXPECT_EQ(AllSettings().size(), before);
}

TEST(ComputerId, DerivedFromTheHardwareAddress) {
  const uint8_t zero[6] = {0, 0, 0, 0, 0, 0};
  EXPECT_EQ(ComputerIdFromAddress(zero), "@B@C@D@E@F@G@H@I");
  const uint8_t address[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
  EXPECT_EQ(ComputerIdFromAddress(address), "ZBQDWDQHSFBJQKMK");
  const std::string id = ComputeComputerId();
  EXPECT_EQ(id.size(), 16u);
  for (size_t i = 0; i < id.size(); i += 2) {
    EXPECT_GE(id[i], 64);
    EXPECT_LE(id[i], 95);
  }
}

}  // namespace
