#include "game/level_file.h"

#include <gtest/gtest.h>

#include "files/zxml.h"

namespace {

TLevelLayout SampleLayout() {
  TLevelLayout layout;
  layout.title = "Level 01";
  layout.description = "Tea & biscuits <upstairs>";
  layout.difficulty = 1;
  layout.SetType(0, 4, 4, kOrdinaryPosition);
  layout.SetType(0, 6, 4, kCandidatePosition);
  layout.SetType(1, 5, 4, kOrdinaryPosition);
  layout.SetType(0, 8, 4, kOrdinaryPosition);
  return layout;
}

}  // namespace

TEST(LevelFile, WritesTheShippedFieldsAndReadsThemBack) {
  TLevelLayout layout = SampleLayout();
  std::string xml = WriteLevelXml(layout);
  EXPECT_NE(xml.find("<numTiles>4</numTiles>"), std::string::npos);
  EXPECT_NE(xml.find("<numLayers>2</numLayers>"), std::string::npos);
  EXPECT_NE(xml.find("<layoutSize>36</layoutSize>"), std::string::npos);
  EXPECT_NE(xml.find("Tea &amp; biscuits &lt;upstairs&gt;"), std::string::npos);
  EXPECT_NE(xml.find("<creatorName>Curiomar</creatorName>"), std::string::npos);

  TLevelLayout back;
  ASSERT_TRUE(ReadLevelXml(xml, back));
  EXPECT_EQ(back.title, layout.title);
  EXPECT_EQ(back.description, layout.description);
  EXPECT_EQ(back.difficulty, 1);
  EXPECT_EQ(back.layoutId, -1);
  EXPECT_EQ(back.Types(), layout.Types());
}

TEST(LevelFile, NamesInAnyCaseNestedLevelAndUnknownChildren) {
  std::string xml =
      "<root><UNKNOWN>x</UNKNOWN><level><LEVELTITLE> Big </LEVELTITLE>"
      "<leveldata>\n 01000406|\n</leveldata><gamedifficulty>3x</gamedifficulty></level></root>";
  TLevelLayout layout;
  ASSERT_TRUE(ReadLevelXml(xml, layout));
  EXPECT_EQ(layout.title, "Big");
  EXPECT_EQ(layout.difficulty, 3);
  EXPECT_EQ(layout.TypeAt(0, 4, 6), kOrdinaryPosition);
}

TEST(LevelFile, MalformedDocumentsAreRefusedWithoutTouchingTheLayout) {
  TLevelLayout layout = SampleLayout();
  const char* bad[] = {"",
                       "no xml here",
                       "<level><levelTitle>x</level>",
                       "<level>",
                       "<level><levelData>01000000|</levelData",
                       "<a><b></a></b>"};
  for (const char* text : bad) {
    std::string error;
    EXPECT_FALSE(ReadLevelXml(text, layout, &error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
  EXPECT_EQ(layout.title, "Level 01");
  EXPECT_EQ(layout.PositionCount(), 4);
}

TEST(LevelFile, DeepNestingIsRefusedNotOverflowed) {
  std::string xml;
  for (int i = 0; i < 10000; ++i) xml += "<a>";
  TLevelLayout layout;
  EXPECT_FALSE(ReadLevelXml(xml, layout));
}

TEST(LevelFile, CommentsEmptyElementsAndWhatFollowsTheRootAreAccepted) {
  const std::string xml =
      "<?xml version=\"1.0\"?>\n<!-- made by hand -->\n<level><!-- fields -->"
      "<creatorName/><levelTitle>It's  mine</levelTitle>"
      "<levelData>01000406|</levelData></level>\n<trailer>";
  TLevelLayout layout;
  std::string error;
  ASSERT_TRUE(ReadLevelXml(xml, layout, &error)) << error;
  EXPECT_EQ(layout.creatorName, "");
  EXPECT_EQ(layout.title, "It's mine");
  EXPECT_EQ(layout.PositionCount(), 1);
}

TEST(LevelFile, ACompressedLevelFileReadsLikeThePlainOne) {
  TLevelLayout layout = SampleLayout();
  const std::string xml = WriteLevelXml(layout);
  const std::vector<uint8_t> packed = PackZxml(xml.data(), xml.size());
  TLevelLayout back;
  ASSERT_TRUE(ReadLevelXml(
      std::string_view(reinterpret_cast<const char*>(packed.data()), packed.size()), back));
  EXPECT_EQ(back.title, layout.title);
  EXPECT_EQ(back.Types(), layout.Types());
}
