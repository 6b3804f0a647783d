#include "game/layout_solver.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// Every suit one variant except a few with more, enough to fill any budget.
TVariantCounts TestVariants() {
  TVariantCounts v;
  v.fill(1);
  v[4] = 4;
  v[8] = 6;
  v[34] = 4;
  return v;
}

TLevelLayout Rows(int rows, int perRow, int candidates) {
  TLevelLayout layout;
  for (int r = 0; r < rows; ++r)
    for (int i = 0; i < perRow; ++i) layout.SetType(0, 2 + 2 * i, 2 * r, 1);
  // Candidates in the middle of the first rows: never at a row end.
  for (int c = 0; c < candidates; ++c) layout.SetType(0, 2 + 2 * (perRow / 2), 2 * c, 7);
  return layout;
}

std::map<std::pair<int, int>, int> Count(const std::vector<TFace>& faces) {
  std::map<std::pair<int, int>, int> counts;
  for (const TFace& f : faces) ++counts[{f.suit, f.variant}];
  return counts;
}

}  // namespace

TEST(LayoutSolver, DealPutsTheTreasuresOnCandidatesAndPairsTheRest) {
  TLevelLayout layout = Rows(4, 12, 2);
  std::vector<TLayoutPosition> positions = layout.Positions();
  std::vector<TFace> faces = SimulateDeal(layout, TestVariants(), 0, 17);
  ASSERT_EQ(faces.size(), 48u);
  for (size_t i = 0; i < positions.size(); ++i) {
    bool treasure = faces[i].suit >= 78;
    EXPECT_EQ(treasure, positions[i].type == 7) << i;
    EXPECT_GE(faces[i].suit, 0);
  }
  for (const auto& [face, n] : Count(faces)) EXPECT_EQ(n % 2, 0) << face.first;
  // Below level 10 only the early suits are dealt.
  for (const TFace& f : faces) EXPECT_NE(f.suit, 2);
}

TEST(LayoutSolver, LaterLevelsAddKennyAndMoreTreasureCopies) {
  TLevelLayout layout = Rows(6, 14, 4);
  std::vector<TFace> faces = SimulateDeal(layout, TestVariants(), 13, 5);
  auto counts = Count(faces);
  EXPECT_EQ((counts[{0, 0}]), 2);
  EXPECT_EQ((counts[{100, 0}]), 4);
  // With fewer candidates than treasure copies, ordinary positions run short.
  TLevelLayout few = Rows(6, 14, 2);
  std::vector<TFace> shortDeal = SimulateDeal(few, TestVariants(), 13, 5);
  int empty = 0;
  for (const TFace& f : shortDeal) empty += f.suit < 0;
  EXPECT_EQ(empty, 2);
}

TEST(LayoutSolver, GreedyPlayerClearsWhatIsClearableAndStopsWhenStuck) {
  TLevelLayout row;
  for (int x = 2; x <= 8; x += 2) row.SetType(0, x, 4, 1);
  bool ended = false;
  // a b b a: the b pair in the middle is blocked by the a's; clearing a first opens it.
  EXPECT_EQ(PlayGreedy(row, {{1, 0}, {3, 0}, {3, 0}, {1, 0}}, ended), 0);
  EXPECT_TRUE(ended);
  // Two tiles stacked with the same face under two different ones: a stack of four where
  // the top pair differs cannot be played at all.
  TLevelLayout stack;
  for (int layer = 0; layer < 4; ++layer) stack.SetType(layer, 10, 4, 1);
  EXPECT_EQ(PlayGreedy(stack, {{1, 0}, {1, 0}, {3, 0}, {4, 0}}, ended), 4);
  EXPECT_FALSE(ended);
  // A self-blocking stacked pair is cleared through the sets box.
  EXPECT_EQ(PlayGreedy(stack, {{1, 0}, {1, 0}, {3, 0}, {3, 0}}, ended), 0);
}

TEST(LayoutSolver, TreasurePairEndsTheLevelEvenWhenTheBoardStaysStuck) {
  TLevelLayout row;
  for (int x = 2; x <= 10; x += 2) row.SetType(0, x, 4, 1);
  row.SetType(1, 6, 4, 1);
  row.SetType(2, 6, 4, 1);
  // Row: T x y x T, with a two-high stack (y-stack) over the middle that cannot pair.
  std::vector<TFace> faces = {{100, 0}, {5, 0}, {7, 0}, {5, 1}, {100, 0}, {8, 0}, {9, 0}};
  bool ended = false;
  int left = PlayGreedy(row, faces, ended);
  EXPECT_TRUE(ended);
  EXPECT_GT(left, 0);
}

TEST(LayoutSolver, SolverIsRepeatableAndCountsEveryDeal) {
  TLevelLayout layout = Rows(8, 6, 2);
  TSolverResult a = RunGreedySolver(layout, TestVariants(), 0, 40, 3);
  TSolverResult b = RunGreedySolver(layout, TestVariants(), 0, 40, 3);
  EXPECT_EQ(a.deals, 40);
  EXPECT_EQ(a.levelEnded, b.levelEnded);
  EXPECT_EQ(a.boardCleared, b.boardCleared);
  EXPECT_GE(a.levelEnded, a.boardCleared);
  // Short rows open from both ends and are easy: most deals end. Long flat rows (only
  // their ends free) are hard: rows of twelve end far less often.
  EXPECT_GT(a.levelEnded, 30);
  TSolverResult hard = RunGreedySolver(Rows(4, 12, 2), TestVariants(), 0, 40, 3);
  EXPECT_LT(hard.levelEnded, a.levelEnded);
}
