#include "game/player_layouts.h"

#include <gtest/gtest.h>

#include "../files/file_test_fixture.h"
#include "game/level_file.h"

namespace {

// A small layout as a player would draw it: four ordinary positions and two treasure
// candidates on two layers.
TLevelLayout SmallLayout() {
  TLevelLayout layout;
  layout.creatorName = "Ada";
  layout.title = "Two & Two";
  layout.description = "A <tiny> test";
  layout.SetType(0, 10, 4, kOrdinaryPosition);
  layout.SetType(0, 12, 4, kCandidatePosition);
  layout.SetType(0, 14, 4, kCandidatePosition);
  layout.SetType(0, 16, 4, kOrdinaryPosition);
  layout.SetType(1, 12, 4, kOrdinaryPosition);
  layout.SetType(1, 14, 4, kOrdinaryPosition);
  return layout;
}

// The file SmallLayout must give, written out by hand.
constexpr char kSmallLayoutFile[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<level>\n"
    "  <creatorName>Ada</creatorName>\n"
    "  <levelTitle>Two &amp; Two</levelTitle>\n"
    "  <levelDescription>A &lt;tiny&gt; test</levelDescription>\n"
    "  <numTiles>6</numTiles>\n"
    "  <numLayers>2</numLayers>\n"
    "  <gameDifficulty>0</gameDifficulty>\n"
    "  <layoutID>-1</layoutID>\n"
    "  <layoutSize>54</layoutSize>\n"
    "  <levelData>01000a04|07000c04|07000e04|01001004|01010c04|01010e04|</levelData>\n"
    "  <hasrated>0</hasrated>\n"
    "  <ratinggiven>-1</ratinggiven>\n"
    "  <isdeleted>0</isdeleted>\n"
    "</level>\n";

class PlayerLayoutsTest : public FileSystemTest {
 protected:
  static std::string Xml(const std::string& data) {
    return "<level><levelTitle>T</levelTitle><levelData>" + data + "</levelData></level>";
  }
};

bool NeverTaken(const std::string&) {
  return false;
}
bool FirstTwoTaken(const std::string& file) {
  return file == "user:levels/garden.xml" || file == "user:levels/garden_2.xml";
}

}  // namespace

TEST_F(PlayerLayoutsTest, SavingWritesTheExpectedFileAndReadsBackTheSameLayout) {
  StartPlayerFiles();
  std::string error;
  ASSERT_TRUE(SavePlayerLayout("user:levels/two.xml", SmallLayout(), &error)) << error;
  EXPECT_EQ(ReadDiskFile(root / "user" / "levels" / "two.xml"), kSmallLayoutFile);

  TLevelLayout read;
  ASSERT_TRUE(ReadPlayerLayout("user:levels/two.xml", read));
  EXPECT_EQ(read.Types(), SmallLayout().Types());
  EXPECT_EQ(read.title, "Two & Two");
  EXPECT_EQ(read.description, "A <tiny> test");
  EXPECT_EQ(read.creatorName, "Ada");

  // Saved again unchanged, the file is the same to the byte; a changed layout replaces it.
  ASSERT_TRUE(SavePlayerLayout("user:levels/two.xml", read, &error)) << error;
  EXPECT_EQ(ReadDiskFile(root / "user" / "levels" / "two.xml"), kSmallLayoutFile);
  read.SetType(1, 12, 4, kNoPosition);
  ASSERT_TRUE(SavePlayerLayout("user:levels/two.xml", read, &error)) << error;
  TLevelLayout again;
  ASSERT_TRUE(ReadPlayerLayout("user:levels/two.xml", again));
  EXPECT_EQ(again.PositionCount(), 5);

  const std::vector<TPlayerLayout> listed = ListPlayerLayouts();
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].file, "user:levels/two.xml");

  ASSERT_TRUE(DeletePlayerLayout("user:levels/two.xml"));
  EXPECT_FALSE(PlayerLayoutExists("user:levels/two.xml"));
  EXPECT_TRUE(ListPlayerLayouts().empty());
  EXPECT_FALSE(DeletePlayerLayout("user:levels/two.xml")) << "already gone";
}

TEST_F(PlayerLayoutsTest, DamagedAndHostileFilesAreSkippedWithALogLine) {
  WriteFile("user/levels/good.xml", Xml("01000000|01000200|"));
  WriteFile("user/levels/cut.xml", "<level><levelTitle>cut sh");
  WriteFile("user/levels/empty.xml", Xml(""));
  WriteFile("user/levels/binary.xml", std::string("\0\x01\xff<<level", 9));
  WriteFile("user/levels/huge.xml", Xml(std::string(kPlayerLayoutMaxBytes, '0')));
  WriteFile("user/levels/Upper.xml", Xml("01000000|01000200|"));
  WriteFile("user/levels/notes.txt", "not a layout");
  WriteFile("user/levels/level_004.xml", Xml("01000000|01000200|"));
  std::filesystem::create_directories(root / "user" / "levels" / "folder.xml");
  std::filesystem::create_symlink(root / "user" / "levels" / "good.xml",
                                  root / "user" / "levels" / "link.xml");
  StartPlayerFiles();

  const std::vector<TPlayerLayout> listed = ListPlayerLayouts();
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].file, "user:levels/good.xml");
  EXPECT_EQ(listed[0].layout.PositionCount(), 2);
  const std::string log = LogText();
  for (const char* line : {"user:levels/cut.xml is skipped: it is damaged",
                           "user:levels/empty.xml is skipped: it has no tile positions",
                           "user:levels/binary.xml is skipped: it is damaged",
                           "user:levels/huge.xml is skipped: it is too large",
                           "user:levels/Upper.xml is skipped: layout file names",
                           "user:levels/folder.xml is skipped: it is not a plain file",
                           "user:levels/link.xml is skipped: it is not a plain file"})
    EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
  EXPECT_EQ(log.find("notes.txt"), std::string::npos) << "other files are not layouts";
  EXPECT_EQ(log.find("level_004"), std::string::npos) << "a campaign level's replacement";

  // Nothing that was there is touched by reading.
  EXPECT_EQ(ReadDiskFile(root / "user" / "levels" / "cut.xml"), "<level><levelTitle>cut sh");
}

TEST_F(PlayerLayoutsTest, AFailedSaveKeepsTheOldFileAndBadNamesAreRefused) {
  StartPlayerFiles();
  std::string error;
  ASSERT_TRUE(SavePlayerLayout("user:levels/keep.xml", SmallLayout(), &error)) << error;
  // A folder where the temporary file would go makes the write fail, even for root.
  const auto levels = root / "user" / "levels";
  std::filesystem::create_directories(levels / "keep.xml.tmp");
  TLevelLayout other;
  other.SetType(0, 0, 0, kOrdinaryPosition);
  EXPECT_FALSE(SavePlayerLayout("user:levels/keep.xml", other, &error));
  EXPECT_NE(error.find("keep.xml.tmp"), std::string::npos) << error;
  EXPECT_EQ(ReadDiskFile(levels / "keep.xml"), kSmallLayoutFile);
  ASSERT_EQ(ListPlayerLayouts().size(), 1u) << "the leftover folder is no layout";

  for (const char* bad :
       {"user:levels/level_001.xml", "user:levels/tutorial.xml", "user:levels/../prefs.dat",
        "user:levels/Big.xml", "user:prefs.dat", "levels/level_001.xml", "user:levels/.xml"}) {
    EXPECT_FALSE(SavePlayerLayout(bad, SmallLayout(), &error)) << bad;
    EXPECT_FALSE(DeletePlayerLayout(bad)) << bad;
  }
}

TEST(PlayerLayoutNames, TitlesBecomePlainUniqueFileNames) {
  EXPECT_EQ(PlayerLayoutFileName("Garden", NeverTaken), "user:levels/garden.xml");
  EXPECT_EQ(PlayerLayoutFileName("  The Big   Turtle! ", NeverTaken),
            "user:levels/the_big_turtle.xml");
  EXPECT_EQ(PlayerLayoutFileName("***", NeverTaken), "user:levels/layout.xml");
  EXPECT_EQ(PlayerLayoutFileName("Level 007", NeverTaken), "user:levels/my_level_007.xml")
      << "a campaign level's name would replace that level";
  EXPECT_EQ(PlayerLayoutFileName("Tutorial", NeverTaken), "user:levels/my_tutorial.xml");
  EXPECT_EQ(PlayerLayoutFileName("Garden", FirstTwoTaken), "user:levels/garden_3.xml");
  EXPECT_LE(PlayerLayoutFileName(std::string(300, 'a'), NeverTaken).size(),
            sizeof kPlayerLayoutFolder + 40 + 4);
  EXPECT_TRUE(IsPlayerLayoutName("garden-2.xml"));
  EXPECT_FALSE(IsPlayerLayoutName("garden.XML"));
  EXPECT_FALSE(IsPlayerLayoutName("level_050.xml"));
}
