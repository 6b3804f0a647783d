#include "game/level_info.h"

#include <gtest/gtest.h>

#include "../files/file_test_fixture.h"
#include "game/level_file.h"
#include "game/level_list.h"

namespace {

std::string LevelXml(const std::string& title, const std::string& data) {
  return "<?xml version=\"1.0\"?>\n<level><creatorName>Curiomar</creatorName><levelTitle>" + title +
         "</levelTitle><NUMTILES>2</NUMTILES><numLayers>1</numLayers>" +
         "<gameDifficulty>3</gameDifficulty><layoutID>-1</layoutID><layoutSize>18</layoutSize>" +
         "<levelData>" + data + "</levelData><hasrated>1</hasrated><ratinggiven>4</ratinggiven>" +
         "<isdeleted>01</isdeleted></level>\n";
}

class LevelLoadTest : public FileSystemTest {};

}  // namespace

TEST_F(LevelLoadTest, ReadsTheGamesLevelAndCutsLongTexts) {
  WriteFile("assets/levels/level_001.xml",
            LevelXml(std::string(70, 't'), "01002306|07001c06|01002306|"));
  StartPlayerFiles();
  TLevelInfo info;
  TLevelLayout layout;
  ASSERT_EQ(LoadLevel("levels/level_001.xml", info, layout), TLevelSource::kGame);
  EXPECT_EQ(info.fileName, "level_001.xml");
  EXPECT_EQ(info.path, "levels/level_001.xml");
  EXPECT_EQ(info.title.size(), 59u);
  EXPECT_EQ(info.creatorName, "Curiomar");
  EXPECT_EQ(info.tileCount, 2) << "element names in any case";
  EXPECT_EQ(info.difficulty, 3);
  EXPECT_TRUE(info.rated);
  EXPECT_EQ(info.rating, 4);
  EXPECT_FALSE(info.deleted) << "only the text \"1\" counts";
  EXPECT_EQ(info.gridSize, 4256);
  EXPECT_EQ(layout.TypeAt(0, 35, 6), kOrdinaryPosition);
  EXPECT_EQ(layout.TypeAt(0, 28, 6), kCandidatePosition);
  EXPECT_EQ(layout.PositionCount(), 2) << "two records for one cell leave one position";
}

TEST_F(LevelLoadTest, ThePlayersOwnLevelComesFirstAndADamagedOneGivesWay) {
  WriteFile("assets/levels/level_002.xml", LevelXml("Game", "01000000|"));
  WriteFile("user/levels/level_002.xml", LevelXml("Mine", "01000000|01000400|"));
  WriteFile("assets/levels/level_003.xml", LevelXml("Game", "01000000|"));
  WriteFile("user/levels/level_003.xml", "<level><levelTitle>cut sh");
  StartPlayerFiles();
  TLevelInfo info;
  TLevelLayout layout;
  ASSERT_EQ(LoadLevel("levels/level_002.xml", info, layout), TLevelSource::kPlayerFolder);
  EXPECT_EQ(info.title, "Mine");
  EXPECT_EQ(layout.PositionCount(), 2);
  ASSERT_EQ(LoadLevel("levels/level_003.xml", info, layout), TLevelSource::kGame);
  EXPECT_EQ(info.title, "Game");
  EXPECT_EQ(layout.PositionCount(), 1);
  EXPECT_NE(LogText().find("user:levels/level_003.xml is damaged"), std::string::npos) << LogText();
  EXPECT_NE(LogText().find("the game's own layout is used instead"), std::string::npos);
}

TEST_F(LevelLoadTest, AMissingOrDamagedLevelHasNoPositionsAndSaysSo) {
  WriteFile("assets/levels/level_004.xml", "<level><levelData>01000000|</levelData>");
  StartPlayerFiles();
  TLevelInfo info;
  TLevelLayout layout;
  layout.SetType(0, 0, 0, kOrdinaryPosition);
  EXPECT_EQ(LoadLevel("levels/level_009.xml", info, layout), TLevelSource::kNone);
  EXPECT_EQ(layout.PositionCount(), 0);
  EXPECT_EQ(info.fileName, "level_009.xml");
  EXPECT_EQ(info.layoutId, -1);
  EXPECT_NE(LogText().find("Level file levels/level_009.xml is missing"), std::string::npos);
  EXPECT_EQ(LoadLevel("levels/level_004.xml", info, layout), TLevelSource::kNone);
  EXPECT_EQ(layout.PositionCount(), 0);
  EXPECT_NE(LogText().find("levels/level_004.xml is damaged"), std::string::npos);
}

TEST(LevelList, NamesIndicesAndTheNextLevel) {
  EXPECT_EQ(CampaignLevelEntry(0).file, "levels/level_001.xml");
  EXPECT_EQ(CampaignLevelEntry(49).file, "levels/level_050.xml");
  EXPECT_TRUE(CampaignLevelEntry(50).file.empty());
  EXPECT_EQ(LevelIndexFromName("levels/level_007.xml"), 6);
  EXPECT_EQ(LevelIndexFromName("user:levels/LEVEL_007.XML"), 6);
  EXPECT_EQ(LevelIndexFromName("content/levels/level_050.txt"), 49);
  EXPECT_EQ(LevelIndexFromName("levels/level_051.xml"), -1);
  EXPECT_EQ(LevelIndexFromName("levels/tutorial/tutorial.xml"), -1);
  EXPECT_EQ(LevelBareName("::some/dir/level_002.xml"), "level_002.xml");
  EXPECT_EQ(LevelBareName("user:level_002.xml"), "level_002.xml");

  EXPECT_EQ(NextLevelEntry({false, 12}, 0).file, kTutorialLevelFile);
  EXPECT_EQ(NextLevelEntry({true, 0}, 0).file, "levels/level_001.xml");
  EXPECT_EQ(NextLevelEntry({true, 49}, 0).index, 49);
  for (uint32_t r = 0; r < 30; ++r) {
    const int index = NextLevelEntry({true, 50}, r).index;
    EXPECT_GE(index, 40);
    EXPECT_LE(index, 49);
  }
}
