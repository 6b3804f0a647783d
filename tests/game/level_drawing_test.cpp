#include "game/level_drawing.h"

#include <gtest/gtest.h>

TEST(LevelDrawing, RoundTripsHeaderAndEveryLayer) {
  TLevelLayout layout;
  layout.title = "Level 07";
  layout.description = "A long bench.";
  layout.difficulty = 2;
  layout.SetType(0, 0, 0, kOrdinaryPosition);
  layout.SetType(0, 36, 14, kCandidatePosition);
  layout.SetType(3, 11, 7, kOrdinaryPosition);
  std::string text = WriteLevelDrawing(layout);
  TLevelLayout back;
  std::string error;
  ASSERT_TRUE(ReadLevelDrawing(text, back, &error)) << error;
  EXPECT_EQ(back.title, "Level 07");
  EXPECT_EQ(back.description, "A long bench.");
  EXPECT_EQ(back.difficulty, 2);
  EXPECT_EQ(back.creatorName, "Curiomar");
  EXPECT_EQ(back.Types(), layout.Types());
  EXPECT_EQ(WriteLevelDrawing(back), text);
}

TEST(LevelDrawing, ShortLinesCommentsAndSpacesAreAccepted) {
  std::string text = "# a comment\ntitle: T\nlayer 0\n";
  text += "  o T\n";
  for (int i = 1; i < 16; ++i) text += "\n";
  TLevelLayout layout;
  std::string error;
  ASSERT_TRUE(ReadLevelDrawing(text, layout, &error)) << error;
  EXPECT_EQ(layout.TypeAt(0, 2, 0), kOrdinaryPosition);
  EXPECT_EQ(layout.TypeAt(0, 4, 0), kCandidatePosition);
  EXPECT_EQ(layout.PositionCount(), 2);
}

TEST(LevelDrawing, ErrorsNameTheLineAndLeaveTheLayoutAlone) {
  TLevelLayout layout;
  layout.title = "kept";
  struct {
    std::string text;
    std::string expect;
  } cases[] = {
      {"title: x\nlayer 0\nox\n", "line 3: unknown cell character 'x'"},
      {"layer 9\n", "line 1: layer number must be 0 to 6"},
      {"layer 0\n" + std::string(39, '.') + "\n", "line 2: more than 38 columns"},
      {"layer 0\n.\n", "a layer needs 16 rows"},
      {"colour: red\n", "line 1: unknown key \"colour\""},
      {"difficulty: hard\n", "line 1: difficulty must be a number"},
      {"just words\n", "line 1: expected"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(ReadLevelDrawing(c.text, layout, &error)) << c.text;
    EXPECT_NE(error.find(c.expect), std::string::npos) << error;
  }
  std::string twice = "layer 0\n" + std::string(16, '\n') + "layer 0\n" + std::string(16, '\n');
  std::string error;
  EXPECT_FALSE(ReadLevelDrawing(twice, layout, &error));
  EXPECT_NE(error.find("drawn twice"), std::string::npos);
  EXPECT_EQ(layout.title, "kept");
}
