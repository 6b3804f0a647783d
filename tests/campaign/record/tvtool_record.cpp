// tvtool record as a program: the players of a preferences file and their progress, read
// with the game's key, the file left as it was.
#include <gtest/gtest.h>

#include "campaign/record/game_state.h"
#include "campaign/record/record_keys.h"
#include "campaign/record/treasure_table.h"
#include "data/prefs.h"
#include "files/file_system.h"
#include "tests/support/tvtool_fixture.h"

namespace {

class TvtoolRecord : public TTvtoolFixture {
 protected:
  TvtoolRecord() : TTvtoolFixture("mc_tvtool_record_") {}
  void TearDown() override {
    ResetFileSystem();
    TTvtoolFixture::TearDown();
  }
};

}  // namespace

TEST_F(TvtoolRecord, ShowsEachPlayersProgress) {
  ResetFileSystem();
  SetFileSystemFolders(root.string(), root.string(), root.string());
  {
    TPrefsOptions options;
    options.keyText = kGameEncryptionKey;
    options.installKey = "tool_test";
    options.installFile = "";
    TPrefs store(options);
    store.SetPref(record_key::kName, "Ann", 0);
    store.SetPref(record_key::kName, "Bob", 1);
    store.SetPrefInt(record_key::kCurrentUser, 1, -1, true);
    TGameState bob(store);
    bob.Progress().tutorialLevelDone = true;
    bob.RecordWonLevel({"levels/level_001.xml", TreasureTable(kGrammasAttic)[1], 480});
  }
  const std::string before = Read(root / "prefs.dat");
  ASSERT_EQ(Run("record " + Q(root / "prefs.dat")), 0) << Err();
  const std::string out = Out();
  EXPECT_NE(out.find("installation \"tool_test\": 2 players, current 1"), std::string::npos) << out;
  EXPECT_NE(out.find("player 0 \"Ann\"\n"), std::string::npos) << out;
  EXPECT_NE(out.find("player 1 \"Bob\" (current)"), std::string::npos) << out;
  EXPECT_NE(out.find("bankroll 480"), std::string::npos) << out;
  EXPECT_NE(out.find("levels beaten 1: 1\n"), std::string::npos) << out;
  EXPECT_NE(out.find("grammasattic 1/7"), std::string::npos) << out;
  EXPECT_NE(out.find("collection (10 usable slots): candlestick4 -"), std::string::npos) << out;
  EXPECT_EQ(Read(root / "prefs.dat"), before) << "the file is only read";
}

TEST_F(TvtoolRecord, ADamagedFileIsReportedAndMissingFilesAreErrors) {
  Write(root / "prefs.dat", "IKEY\x10\x00\x00\x00 not a cipher block");
  EXPECT_EQ(Run("record " + Q(root / "prefs.dat")), 1);
  EXPECT_NE(Err().find("is damaged"), std::string::npos) << Err();
  EXPECT_EQ(Run("record " + Q(root / "none.dat")), 1);
  EXPECT_EQ(Run("record"), 2);
}
