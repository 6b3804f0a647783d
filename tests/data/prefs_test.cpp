#include "data/prefs.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "data/prefs_legacy.h"
#include "data/prefs_records.h"
#include "data/settings.h"
#include "files/file_system.h"
#include "frame/log.h"

namespace {

namespace fs = std::filesystem;

constexpr char kKey[] = "TestGameKey1";

class PrefsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("mc_prefs_test_" +
              std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
              std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    ResetFileSystem();
    SetFileSystemFolders(folder.string(), folder.string(), folder.string());
  }
  void TearDown() override {
    ResetFileSystem();
    fs::remove_all(folder);
  }

  TPrefsOptions Options(const std::string& installKey = "install_a") const {
    TPrefsOptions options;
    options.keyText = kKey;
    options.installKey = installKey;
    options.installFile = "";
    return options;
  }
  fs::path PrefsPath() const { return folder / "prefs.dat"; }
  std::string ReadPrefsFile() const {
    std::ifstream in(PrefsPath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void WritePrefsFile(const std::string& bytes) const {
    std::ofstream(PrefsPath(), std::ios::binary) << bytes;
  }

  fs::path folder;
};

TEST_F(PrefsTest, MissingFileGivesAnEmptyStore) {
  TPrefs prefs(Options());
  EXPECT_EQ(prefs.GetUserCount(), 0);
  EXPECT_EQ(prefs.GetPref("mj_name", "nobody", 0), "nobody");
  EXPECT_EQ(prefs.GetPrefInt("mj_totalscore", -7), -7);
  EXPECT_FALSE(prefs.LoadWasDamaged());
  EXPECT_FALSE(fs::exists(PrefsPath()));
}

TEST_F(PrefsTest, PlayersSlotsAndValues) {
  TPrefs prefs(Options());
  prefs.SetPref("mj_name", "Ada", 5);
  EXPECT_EQ(prefs.GetUserCount(), 6);
  EXPECT_EQ(prefs.GetPref("mj_name", "-", 5), "Ada");
  for (int player = 0; player < 5; ++player) EXPECT_EQ(prefs.GetPref("mj_name", "-", player), "-");
  EXPECT_EQ(prefs.GetPref("mj_name", "-", -1), "-");
  EXPECT_EQ(prefs.GetPref("mj_name", "-", 6), "-");
  EXPECT_EQ(prefs.GetPref("mj_name", "-", -2), "-");

  // Strings are stored with their zero byte and come back without it.
  std::string raw;
  ASSERT_TRUE(prefs.GetPrefBytes("mj_name", &raw, 5));
  EXPECT_EQ(raw, std::string("Ada\0", 4));

  prefs.SetPrefInt("mj_totalscore", -1234, 2);
  EXPECT_EQ(prefs.GetPrefInt("mj_totalscore", 0, 2), -1234);
  prefs.SetPref("mj_totalscore", "77abc", 3);
  EXPECT_EQ(prefs.GetPrefInt("mj_totalscore", 0, 3), 77);

  char buffer[16] = {};
  EXPECT_EQ(prefs.GetPrefData("mj_name", buffer, sizeof buffer, 7), 0);   // no such slot
  EXPECT_EQ(prefs.GetPrefData("missing", buffer, sizeof buffer, 5), -1);  // no such key
  EXPECT_EQ(prefs.GetPrefData("mj_name", nullptr, 0, 5), 4);
  EXPECT_EQ(prefs.GetPrefData("mj_name", buffer, 3, 5), 4);
  EXPECT_EQ(buffer[0], 0);  // too small: nothing copied
  EXPECT_EQ(prefs.GetPrefData("mj_name", buffer, sizeof buffer, 5), 0);
  EXPECT_STREQ(buffer, "Ada");

  prefs.SetPrefData("empty", "", 0, -1);
  EXPECT_EQ(prefs.GetPrefData("empty", nullptr, 0, -1), 0);
  EXPECT_EQ(prefs.GetPrefData("empty", buffer, sizeof buffer, -1), 0);
  const unsigned char binary[] = {0, 255, 7, 0};
  prefs.SetPrefData("blob", binary, 4, 1);
  ASSERT_TRUE(prefs.GetPrefBytes("blob", &raw, 1));
  EXPECT_EQ(raw, std::string("\0\xFF\x07\0", 4));

  // Out-of-range players are refused rather than stored where no loader reads them.
  prefs.SetPref("far", "x", TPrefs::kMaxPlayers);
  EXPECT_EQ(prefs.GetUserCount(), 6);
  prefs.SetPref("last", "x", TPrefs::kMaxPlayers - 1);
  EXPECT_EQ(prefs.GetUserCount(), TPrefs::kMaxPlayers);
}

TEST_F(PrefsTest, DeleteUserMovesLaterPlayersDown) {
  TPrefs prefs(Options());
  for (int player = 0; player < 3; ++player)
    prefs.SetPref("mj_name", std::string(1, char('A' + player)), player);
  prefs.DeleteUser(3);
  prefs.DeleteUser(-1);
  EXPECT_EQ(prefs.GetUserCount(), 3);
  prefs.DeleteUser(0);
  EXPECT_EQ(prefs.GetUserCount(), 2);
  EXPECT_EQ(prefs.GetPref("mj_name", "", 0), "B");
  EXPECT_EQ(prefs.GetPref("mj_name", "", 1), "C");
}

TEST_F(PrefsTest, TwoInstallationsShareOneFile) {
  {
    TPrefs first(Options("Install_A"));
    EXPECT_EQ(first.InstallKey(), "install_a");
    first.SetPref("mj_name", "first", 0);
    first.SetPrefInt("volume", 80, -1, true);
  }
  {
    TPrefs second(Options("install_b"));
    EXPECT_EQ(second.GetUserCount(), 0);
    EXPECT_EQ(second.GetPref("mj_name", "-", 0), "-");
    second.SetPref("mj_name", "second", 1, true);
  }
  TPrefs first(Options("install_a"));
  EXPECT_EQ(first.GetPref("mj_name", "-", 0), "first");
  EXPECT_EQ(first.GetPrefInt("volume", 0), 80);
  EXPECT_EQ(first.GetPref("mj_name", "-", 1), "-");
  ASSERT_EQ(first.Sections().count("install_b"), 1u);
  EXPECT_EQ(first.Sections().at("install_b").size(), 3u);

  // The file starts with the current key, then every section in key order.
  TPrefsSections sections;
  const TPrefsReadReport report = ReadPrefsRecords(ReadPrefsFile(), first.Cipher(), sections);
  EXPECT_FALSE(report.damaged);
  EXPECT_EQ(report.firstKey, "install_b");  // written last by the second installation
  EXPECT_EQ(sections.size(), 2u);

  // A different key reads nothing and says so.
  TPrefsOptions wrongKey = Options("install_a");
  wrongKey.keyText = "SomeOtherKey";
  TPrefs wrong(wrongKey);
  EXPECT_EQ(wrong.GetPref("mj_name", "-", 0), "-");
  EXPECT_TRUE(wrong.LoadWasDamaged());
}

TEST_F(PrefsTest, MissingKeyIsLoggedAndAKeyOfAsIsUsed) {
  SetLogFolder((folder / "log").string());
  TPrefsOptions options = Options();
  options.keyText.clear();
  {
    TPrefs prefs(options);
    prefs.SetPref("name", "value", -1, true);
  }
  const std::string logPath = LogPath();
  SetLogFolder("");
  std::ifstream log(logPath);
  const std::string text{std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>()};
  EXPECT_NE(text.find("ERROR: No encryption key set before TPrefs construction!"),
            std::string::npos);
  options.keyText = "AAAAAAAAAAAA";
  EXPECT_EQ(TPrefs(options).GetPref("name", ""), "value");
}

TEST_F(PrefsTest, SettingsSupplyTheKeyAndTheInstallation) {
  ResetSettings();
  SetSetting("encryptionkey", kKey);
  SetSetting("installkey", "C:\\PROGRA~1\\GAME.EXE");
  {
    TPrefs prefs(true);
    EXPECT_EQ(prefs.InstallKey(), "c:\\progra~1\\game.exe");
    prefs.SetPref("from", "settings", -1, true);
  }
  ResetSettings();
  TPrefsOptions options = Options("c:\\progra~1\\game.exe");
  options.fileName = "user:prefs.dat";
  EXPECT_EQ(TPrefs(options).GetPref("from", ""), "settings");
  EXPECT_TRUE(fs::exists(PrefsPath()));
}

TEST_F(PrefsTest, SaveFlagOffNeverWrites) {
  TPrefsOptions options = Options();
  options.save = false;
  TPrefs prefs(options);
  prefs.SetPref("a", "b", -1, true);
  EXPECT_FALSE(prefs.Save());
  EXPECT_FALSE(fs::exists(PrefsPath()));
}

TEST_F(PrefsTest, FailedSaveKeepsTheOldFile) {
  {
    TPrefs prefs(Options());
    prefs.SetPref("kept", "yes", -1, true);
  }
  const std::string before = ReadPrefsFile();
  ASSERT_FALSE(before.empty());
  fs::create_directory(folder / "prefs.dat.tmp");  // the temporary file cannot be made
  TPrefs prefs(Options());
  prefs.SetPref("kept", "no", -1);
  EXPECT_FALSE(prefs.Save());
  EXPECT_EQ(ReadPrefsFile(), before);
  fs::remove(folder / "prefs.dat.tmp");
  EXPECT_TRUE(prefs.Save());
  EXPECT_EQ(TPrefs(Options()).GetPref("kept", ""), "no");
}

TEST_F(PrefsTest, InstallFileChoosesTheSection) {
  {
    TPrefs prefs(Options("from_file"));
    prefs.SetPref("where", "file section", -1, true);
  }
  std::ofstream(folder / "install.txt") << "  Chosen_Key \n";
  TPrefsOptions options = Options("setting_key");
  options.installFile = "user:install.txt";
  EXPECT_EQ(TPrefs(options).InstallKey(), "chosen_key");
  // An empty install file: the key comes from the preferences file's first record.
  std::ofstream(folder / "install.txt", std::ios::trunc).flush();
  TPrefs prefs(options);
  EXPECT_EQ(prefs.InstallKey(), "from_file");
  EXPECT_EQ(prefs.GetPref("where", ""), "file section");
}

// Builds record files by hand to check where loading stops.
class PrefsDamageTest : public PrefsTest {
 protected:
  static std::string Record(const std::string& tag, const std::string& payload) {
    std::string out = tag;
    const uint32_t length = static_cast<uint32_t>(payload.size());
    for (int i = 0; i < 4; ++i) out += static_cast<char>(length >> (8 * i));
    return out + payload;
  }
  std::string Ikey(const std::string& key) const {
    return Record("IKEY", cipher.Encrypt(key + '\0'));
  }
  static std::string User(unsigned slot) {
    return Record("USER", std::string{static_cast<char>(slot), static_cast<char>(slot >> 8)});
  }
  std::string Kvpr(const std::string& key, const std::string& value) const {
    std::string payload{static_cast<char>(key.size() + 1), 0};
    return Record("KVPR", cipher.Encrypt(payload + key + '\0' + value + '\0'));
  }
  // Loads bytes with the current section "install_a".
  std::string Load(const std::string& bytes, const std::string& key, int player = -1,
                   bool* damaged = nullptr) {
    WritePrefsFile(bytes);
    TPrefs prefs(Options());
    if (damaged) *damaged = prefs.LoadWasDamaged();
    return prefs.GetPref(key, "<none>", player);
  }

  TPrefsCipher cipher{kKey};
};

TEST_F(PrefsDamageTest, LoadingStopsAtTheFirstUnusableRecord) {
  const std::string good = Ikey("install_a") + Kvpr("before", "1");
  bool damaged = false;
  EXPECT_EQ(Load(good + Kvpr("after", "2"), "after", -1, &damaged), "2");
  EXPECT_FALSE(damaged);

  const std::string tail = Kvpr("after", "2");
  // Short header, short payload, zero and oversized lengths, an unknown tag.
  for (const std::string& bad :
       {std::string("KVP"), tail.substr(0, tail.size() - 1), Record("KVPR", ""),
        std::string("KVPR\x01\x00\x40\x00", 8) + std::string(16, 'x'),
        Record("JUNK", std::string(8, 'x'))}) {
    EXPECT_EQ(Load(good + bad + tail, "before", -1, &damaged), "1");
    EXPECT_TRUE(damaged);
    EXPECT_EQ(Load(good + bad + tail, "after"), "<none>");
  }
  // A payload that deciphers to nothing (last byte 9 in an 8-byte block), one that is not
  // whole blocks, and a KVPR shorter than its key length.
  std::string nine(8, '\x09');
  TBlowfish raw;
  raw.SetKey(reinterpret_cast<const uint8_t*>(cipher.KeyBytes().data()), 9);
  raw.EncryptBytes(reinterpret_cast<uint8_t*>(nine.data()));
  const std::string shortKv = Record("KVPR", cipher.Encrypt(std::string("\x20\x00"
                                                                        "ab",
                                                                        4)));
  for (const std::string& bad : {Record("KVPR", nine), Record("KVPR", std::string(12, 'x')),
                                 shortKv, Record("USER", "\x01")}) {
    EXPECT_EQ(Load(good + bad + tail, "before", -1, &damaged), "1");
    EXPECT_TRUE(damaged);
    EXPECT_EQ(Load(good + bad + tail, "after"), "<none>");
  }
  // The first record must be an IKEY.
  EXPECT_EQ(Load(Kvpr("before", "1") + good, "before", -1, &damaged), "<none>");
  EXPECT_TRUE(damaged);
}

TEST_F(PrefsDamageTest, SlotIndexLimitAndSections) {
  const std::string head = Ikey("install_a");
  EXPECT_EQ(Load(head + User(1024) + Kvpr("k", "v"), "k", 1023), "v");
  EXPECT_EQ(Load(head + User(1025) + Kvpr("k", "v"), "k", 1024), "<none>");
  // Entries go to the slot of the last USER record of the section being read.
  const std::string file = head + Kvpr("global", "g") + User(2) + Kvpr("p1", "x") + Ikey("OTHER") +
                           User(0) + Kvpr("global", "other") + Ikey("install_a") + User(1) +
                           Kvpr("p0", "y");
  WritePrefsFile(file);
  TPrefs prefs(Options());
  EXPECT_EQ(prefs.GetPref("global", ""), "g");
  EXPECT_EQ(prefs.GetPref("p1", "", 1), "x");
  EXPECT_EQ(prefs.GetPref("p0", "", 0), "y");
  EXPECT_EQ(prefs.Sections().at("other")[0].at("global"), std::string("other\0", 6));
}

TEST_F(PrefsDamageTest, DamagedFileIsKeptBesideTheNewOne) {
  const std::string file = Ikey("install_a") + Kvpr("before", "1") + "garbage!";
  WritePrefsFile(file);
  TPrefs prefs(Options());
  EXPECT_TRUE(prefs.LoadWasDamaged());
  EXPECT_EQ(prefs.GetPref("before", ""), "1");
  EXPECT_TRUE(prefs.Save());
  std::ifstream in(folder / "prefs.dat.damaged", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
            file);
  EXPECT_FALSE(TPrefs(Options()).LoadWasDamaged());
}

TEST_F(PrefsDamageTest, EveryDamagedFileIsKeptAndNoneIsSavedOverUnkept) {
  const auto Kept = [&](const std::string& name) {
    std::ifstream in(folder / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  const std::string first = Ikey("install_a") + Kvpr("first", "1") + "garbage!";
  WritePrefsFile(first);
  EXPECT_TRUE(TPrefs(Options()).Save());
  // Damaged again later: the second copy goes beside the first, which stays as it was.
  const std::string second = Ikey("install_a") + Kvpr("second", "2") + "more garbage";
  WritePrefsFile(second);
  EXPECT_TRUE(TPrefs(Options()).Save());
  EXPECT_EQ(Kept("prefs.dat.damaged"), first);
  EXPECT_EQ(Kept("prefs.dat.damaged.2"), second);

  // With every copy's name taken, the damaged file stays and saving is refused, again at the
  // next try; once a name is free the next save keeps it and goes ahead.
  for (int copy = 3; copy <= TPrefs::kMaxKeptDamagedFiles; ++copy)
    std::ofstream(folder / ("prefs.dat.damaged." + std::to_string(copy))) << "older copy";
  const std::string third = Ikey("install_a") + Kvpr("third", "3") + "yet more garbage";
  WritePrefsFile(third);
  TPrefs prefs(Options());
  EXPECT_TRUE(prefs.LoadWasDamaged());
  EXPECT_EQ(prefs.GetPref("third", ""), "3");
  EXPECT_FALSE(prefs.Save());
  EXPECT_FALSE(prefs.Save());
  EXPECT_EQ(ReadPrefsFile(), third);
  fs::remove(folder / "prefs.dat.damaged.5");
  EXPECT_TRUE(prefs.Save());
  EXPECT_EQ(Kept("prefs.dat.damaged.5"), third);
  EXPECT_EQ(TPrefs(Options()).GetPref("third", ""), "3");
}

TEST_F(PrefsDamageTest, OlderXmlFormIsConvertedOnLoad) {
  TPrefsSections old;
  old["install_a"].resize(2);
  old["install_a"][0]["volume"] = std::string("55\0", 3);
  old["install_a"][1]["mj_name"] = std::string("Old Player\0", 11);
  old["other"].resize(1);
  old["other"][0]["x"] = std::string("y\0", 2);
  WritePrefsFile(WriteLegacyPrefs(old, cipher));
  {
    TPrefs prefs(Options());
    EXPECT_EQ(prefs.GetPrefInt("volume", 0), 55);
    EXPECT_EQ(prefs.GetPref("mj_name", "", 0), "Old Player");
    EXPECT_EQ(prefs.GetUserCount(), 1);
  }
  EXPECT_FALSE(IsLegacyPrefs(ReadPrefsFile()));  // converted and saved at once
  TPrefs again(Options("other"));
  EXPECT_EQ(again.GetPref("x", ""), "y");

  // A checksum that does not match reads nothing and leaves the file as it is.
  std::string bad = WriteLegacyPrefs(old, cipher);
  const size_t at = bad.find("data2");
  bad.insert(bad.find('"', bad.find("data=", at)) + 1, "1");
  WritePrefsFile(bad);
  TPrefs damaged(Options());
  EXPECT_EQ(damaged.GetPrefInt("volume", 0), 0);
  EXPECT_TRUE(damaged.LoadWasDamaged());
  EXPECT_EQ(ReadPrefsFile(), bad);
}

TEST(PrefsLegacy, ChecksumTakesBytesAsSigned) {
  EXPECT_EQ(LegacyPrefsChecksum(""), 0);
  EXPECT_EQ(LegacyPrefsChecksum("\x01\x02"), 0x0201);
  // 0xFF is -1: all bits set, shifted by 8 x (i mod 4).
  EXPECT_EQ(LegacyPrefsChecksum("\xFF"), -1);
  EXPECT_EQ(LegacyPrefsChecksum(std::string("\0\xFF", 2)), static_cast<int32_t>(0xFFFFFF00u));
  EXPECT_EQ(LegacyPrefsChecksum(std::string("\x01\x00\x00\x00\x01", 5)), 0);
}

}  // namespace
