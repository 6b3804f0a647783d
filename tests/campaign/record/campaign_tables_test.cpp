// The fixed tables the campaign rests on: locations and their days, the treasures each
// location hides, the tutorial prompts.
#include <gtest/gtest.h>

#include <set>

#include "campaign/record/location_info.h"
#include "campaign/record/treasure_table.h"
#include "game/tutorial_prompt.h"
#include "game/face_catalogue.h"

TEST(CampaignTables, EachLocationStartsWhereTheDaysBeforeItEnd) {
  const int firsts[] = {0, 7, 14, 21, 28, 35, 42, 50};
  for (int id = 0; id < kLocationCount; ++id) EXPECT_EQ(FirstLevelOfLocation(id), firsts[id]);
  EXPECT_EQ(FirstLevelOfLocation(kLocationCount), -1);
  EXPECT_EQ(FirstLevelOfLocation(-1), -1);
  EXPECT_EQ(FindLocation(kEndAuction)->unlocks, kNoLocation);
  EXPECT_EQ(FindLocation(kSothebys)->keyName, "sothebys");
}

TEST(CampaignTables, EveryTreasureTableNamesTreasuresOfTheCatalogue) {
  const size_t sizes[] = {8, 10, 12, 13, 15, 19, 23};
  for (int location = 0; location < kCampaignLocationCount; ++location) {
    const std::span<const std::string_view> names = TreasureTableNames(location);
    const std::span<const TFace> faces = TreasureTable(location);
    EXPECT_EQ(names.size(), sizes[location]);
    ASSERT_EQ(faces.size(), names.size()) << "a name the catalogue lacks, location " << location;
    std::set<std::pair<int, int>> distinct;
    for (size_t i = 0; i < faces.size(); ++i) {
      EXPECT_TRUE(IsTreasureSuit(faces[i].suit)) << names[i];
      EXPECT_EQ(FaceShortName(faces[i]), names[i]);
      distinct.insert({faces[i].suit, faces[i].variant});
    }
    EXPECT_EQ(distinct.size(), faces.size()) << "location " << location;
  }
  EXPECT_TRUE(TreasureTable(kEndAuction).empty());
  EXPECT_TRUE(TreasureTable(-1).empty());
}

TEST(CampaignTables, PromptsAreFoundByTheirBodyKey) {
  ASSERT_EQ(TutorialPrompts().size(), static_cast<size_t>(kTutorialPromptCount));
  const TTutorialPrompt* shuffle = FindTutorialPrompt("tutorial_discover_shuffle");
  ASSERT_NE(shuffle, nullptr);
  EXPECT_EQ(shuffle->id, 7);
  EXPECT_TRUE(shuffle->needsTutorialsOn);
  EXPECT_EQ(shuffle->titleKey, "tutorial_discover_shuffle_title");
  EXPECT_FALSE(FindTutorialPrompt("tutorial_discover_notreasuresleft")->needsTutorialsOn);
  EXPECT_EQ(FindTutorialPrompt("tutorial_discover_shuffle_title"), nullptr);
}
