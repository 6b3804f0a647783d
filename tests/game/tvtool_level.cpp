// Runs the built tvtool's level commands on files of its own making.
#include <gtest/gtest.h>

#include <string>

#include "game/level_drawing.h"
#include "game/level_file.h"
#include "tests/support/tvtool_fixture.h"

namespace {

namespace fs = std::filesystem;

class TvtoolLevelTest : public TTvtoolFixture {
 protected:
  TvtoolLevelTest() : TTvtoolFixture("mc_tvtool_level_") {}
};

// Two rows of four with a covered pair of candidates in the middle.
TLevelLayout SmallLayout() {
  TLevelLayout layout;
  layout.title = "Small";
  for (int x = 10; x <= 16; x += 2) {
    layout.SetType(0, x, 4, kOrdinaryPosition);
    layout.SetType(0, x, 6, kOrdinaryPosition);
  }
  layout.SetType(0, 12, 4, kCandidatePosition);
  layout.SetType(0, 14, 6, kCandidatePosition);
  layout.SetType(1, 13, 5, kOrdinaryPosition);
  layout.SetType(1, 11, 5, kOrdinaryPosition);
  return layout;
}

}  // namespace

TEST_F(TvtoolLevelTest, ConvertsADrawingToALevelFileAndBack) {
  const std::string drawing = WriteLevelDrawing(SmallLayout());
  Write(root / "small.txt", drawing);
  ASSERT_EQ(Run("level '" + (root / "small.txt").string() + "' '" +
                (root / "out/small.xml").string() + "'"),
            0)
      << Err();
  TLevelLayout fromXml;
  ASSERT_TRUE(ReadLevelXml(Read(root / "out/small.xml"), fromXml));
  EXPECT_EQ(fromXml.Types(), SmallLayout().Types());
  ASSERT_EQ(Run("level '" + (root / "out/small.xml").string() + "' '" +
                (root / "back.txt").string() + "'"),
            0)
      << Err();
  EXPECT_EQ(Read(root / "back.txt"), drawing);
}

TEST_F(TvtoolLevelTest, LevelReportsUnreadableInputAndWritesNothing) {
  Write(root / "bad.txt", "layer 0\nxx\n");
  EXPECT_EQ(
      Run("level '" + (root / "bad.txt").string() + "' '" + (root / "out.xml").string() + "'"), 1);
  EXPECT_NE(Err().find("unknown cell character"), std::string::npos) << Err();
  EXPECT_FALSE(fs::exists(root / "out.xml"));
  EXPECT_EQ(Run("level only-one-argument"), 2);
}

TEST_F(TvtoolLevelTest, CheckPassesGoodLayoutsAndFailsBadOnes) {
  Write(root / "good.txt", WriteLevelDrawing(SmallLayout()));
  EXPECT_EQ(Run("levelcheck '" + (root / "good.txt").string() + "'"), 0) << Out();
  EXPECT_NE(Out().find("10 positions, 2 layers, 2 candidates"), std::string::npos) << Out();

  TLevelLayout odd = SmallLayout();
  odd.SetType(0, 11, 6, kOrdinaryPosition);  // an eleventh position, overlapping its row neighbours
  Write(root / "bad.txt", WriteLevelDrawing(odd));
  EXPECT_EQ(Run("levelcheck '" + (root / "good.txt").string() + "' '" +
                (root / "bad.txt").string() + "'"),
            1);
  EXPECT_NE(Out().find("FAILED"), std::string::npos);
  EXPECT_NE(Out().find("overlap: layer 0 x 10 y 6 and layer 0 x 11 y 6"), std::string::npos)
      << Out();
  EXPECT_NE(Out().find("odd position count 11"), std::string::npos) << Out();
  // The tutorial rule: exactly 15 positions, odd allowed.
  EXPECT_EQ(Run("levelcheck --tutorial '" + (root / "good.txt").string() + "'"), 1);
  EXPECT_NE(Out().find("needs exactly 15 positions"), std::string::npos) << Out();
}

TEST_F(TvtoolLevelTest, SolveDealsOnTheGamesRulesAndReportsShares) {
  Write(root / "level_001.txt", WriteLevelDrawing(SmallLayout()));
  ASSERT_EQ(Run("levelsolve 20 '" + (root / "level_001.txt").string() + "'"), 0) << Err();
  EXPECT_NE(Out().find("10 positions, 20 deals, greedy ended"), std::string::npos) << Out();
  ASSERT_EQ(Run("levelsolve 20 --solvable '" + (root / "level_001.txt").string() + "'"), 0);
  EXPECT_NE(Out().find("ended 100.0%, cleared 100.0%"), std::string::npos) << Out();
  // The greedy player alone: the same greedy share as the full run of the same deals, and
  // no solver figures.
  ASSERT_EQ(Run("levelsolve 20 '" + (root / "level_001.txt").string() + "'"), 0) << Err();
  const std::string full = Out();
  ASSERT_EQ(Run("levelsolve --greedy 20 '" + (root / "level_001.txt").string() + "'"), 0) << Err();
  const std::string greedy = Out();
  const auto share = [](const std::string& text) {
    const size_t at = text.find("greedy ended ");
    return at == std::string::npos ? std::string() : text.substr(at, text.find('%', at) - at);
  };
  EXPECT_FALSE(share(greedy).empty()) << greedy;
  EXPECT_EQ(share(greedy), share(full)) << greedy << full;
  EXPECT_EQ(greedy.find("cleared"), std::string::npos) << greedy;
  EXPECT_EQ(greedy.find("searches gave up"), std::string::npos) << greedy;
  EXPECT_EQ(Run("levelsolve none '" + (root / "level_001.txt").string() + "'"), 1);
  EXPECT_EQ(Run("levelsolve 20 --mode 3 '" + (root / "level_001.txt").string() + "'"), 1);
  EXPECT_NE(Err().find("bad value \"3\" for --mode"), std::string::npos) << Err();
  EXPECT_EQ(Run("levelsolve 20 '" + (root / "missing.txt").string() + "'"), 1);
}

TEST_F(TvtoolLevelTest, DealPrintsEveryLayerAndTheFaces) {
  Write(root / "level_001.txt", WriteLevelDrawing(SmallLayout()));
  ASSERT_EQ(Run("deal '" + (root / "level_001.txt").string() + "' --seed 3"), 0) << Err();
  EXPECT_NE(Out().find("10 positions, 10 tiles dealt, seed 3, mode 1, 0 levels beaten"),
            std::string::npos)
      << Out();
  EXPECT_NE(Out().find("layer 0: 8 tiles"), std::string::npos) << Out();
  EXPECT_NE(Out().find("layer 1: 2 tiles"), std::string::npos);
  EXPECT_NE(Out().find(" treasure"), std::string::npos) << "two treasures on the candidates";
  const std::string first = Out();
  ASSERT_EQ(Run("deal '" + (root / "level_001.txt").string() + "' --seed 3"), 0);
  EXPECT_EQ(Out(), first) << "a seed deals the same board every time";
  ASSERT_EQ(Run("deal '" + (root / "level_001.txt").string() + "' --mode 0"), 0);
  EXPECT_EQ(Out().find(" treasure"), std::string::npos) << "free play deals no treasures";
  EXPECT_EQ(Run("deal"), 2);
  EXPECT_EQ(Run("deal 51"), 1) << "not a campaign number, and no such file";
}

// The game's own levels from the package the build makes beside tvtool.
TEST_F(TvtoolLevelTest, DealReadsTheCampaignLevelsFromThePackage) {
  ASSERT_EQ(Run("deal 50 --seed 7"), 0) << Err();
  EXPECT_NE(Out().find("50: 200 positions, 200 tiles dealt, seed 7, mode 1, 49 levels beaten"),
            std::string::npos)
      << Out();
  for (const char* layer : {"layer 0:", "layer 1:", "layer 2:", "layer 6:"})
    EXPECT_NE(Out().find(layer), std::string::npos) << layer;
  EXPECT_NE(Out().find("KK "), std::string::npos) << "two Kenny tiles after nine levels";
  ASSERT_EQ(Run("deal tutorial"), 0) << Err();
  EXPECT_NE(Out().find("15 tiles dealt"), std::string::npos) << Out();
  EXPECT_EQ(Run("deal 3 --package '" + (root / "none.tvp").string() + "'"), 1);
}
