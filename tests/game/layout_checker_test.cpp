#include "game/layout_checker.h"

#include <gtest/gtest.h>

#include "game/layout_grid.h"

TEST(LayoutGrid, FreeRuleLooksAtRowsWithinOneAndTheNineCellsAbove) {
  TLevelLayout layout;
  layout.SetType(0, 2, 4, kOrdinaryPosition);
  // The left neighbour one row higher blocks the left side.
  layout.SetType(0, 0, 3, kOrdinaryPosition);
  layout.SetType(0, 4, 2, kOrdinaryPosition);  // right neighbour two rows higher: does not block
  TLayoutGrid grid(layout);
  EXPECT_TRUE(grid.IsFree(0, 2, 4));
  grid.Restore(0, 4, 4);
  EXPECT_FALSE(grid.IsFree(0, 2, 4));
  grid.Remove(0, 4, 4);
  grid.Restore(1, 3, 5);  // diagonal tile above covers it
  EXPECT_TRUE(grid.IsCovered(0, 2, 4));
  EXPECT_FALSE(grid.IsFree(0, 2, 4));
  // Tiles at the grid's edge columns are always open on that side.
  TLevelLayout edge;
  edge.SetType(0, 1, 0, kOrdinaryPosition);
  edge.SetType(0, 3, 0, kOrdinaryPosition);
  TLayoutGrid edgeGrid(edge);
  EXPECT_TRUE(edgeGrid.IsFree(0, 1, 0));
}

TEST(LayoutChecker, CountsAndAGoodLayoutPasses) {
  TLevelLayout layout;
  for (int x = 4; x <= 14; x += 2) layout.SetType(0, x, 4, kOrdinaryPosition);
  layout.SetType(0, 8, 4, kCandidatePosition);
  layout.SetType(0, 10, 4, kCandidatePosition);
  layout.SetType(1, 9, 4, kOrdinaryPosition);
  layout.SetType(1, 11, 4, kOrdinaryPosition);
  TLayoutReport report = CheckLayout(layout);
  EXPECT_EQ(report.positions, 8);
  EXPECT_EQ(report.layers, 2);
  EXPECT_EQ(report.candidates, 2);
  std::vector<std::string> problems;
  EXPECT_TRUE(LayoutPasses(report, {}, problems));
  EXPECT_TRUE(problems.empty());
}

TEST(LayoutChecker, FindsOverlapsFloatingAndFreeCandidates) {
  TLevelLayout layout;
  layout.SetType(0, 4, 4, kCandidatePosition);   // free at the start
  layout.SetType(0, 5, 5, kOrdinaryPosition);    // overlaps the first
  layout.SetType(2, 20, 8, kCandidatePosition);  // nothing under it
  layout.SetType(0, 36, 14, kOrdinaryPosition);
  layout.SetType(0, 37, 2, kOrdinaryPosition);  // sticks out of the grid
  TLayoutReport report = CheckLayout(layout);
  ASSERT_EQ(report.overlaps.size(), 1u);
  EXPECT_EQ(report.overlaps[0].first, (TLayoutPosition{0, 4, 4, 7}));
  ASSERT_EQ(report.floating.size(), 1u);
  EXPECT_EQ(report.floating[0].layer, 2);
  ASSERT_EQ(report.outsideGrid.size(), 1u);
  EXPECT_EQ(report.outsideGrid[0].x, 37);
  EXPECT_EQ(report.freeCandidates.size(), 2u);
  std::vector<std::string> problems;
  EXPECT_FALSE(LayoutPasses(report, {}, problems));
  EXPECT_GE(problems.size(), 5u);  // odd count, overlap, floating, outside, free candidates
}

TEST(LayoutChecker, MeasuresThePlayNeededToReachEachCandidate) {
  // A row of five with a two-high stack on its middle: the middle candidate is covered by
  // one tile, which is covered by another; its row neighbours flank it.
  TLevelLayout layout;
  for (int x = 4; x <= 12; x += 2) layout.SetType(0, x, 4, kOrdinaryPosition);
  layout.SetType(0, 8, 4, kCandidatePosition);
  layout.SetType(0, 4, 4, kCandidatePosition);  // row end: free at once
  layout.SetType(1, 8, 4, kOrdinaryPosition);
  layout.SetType(2, 8, 4, kOrdinaryPosition);
  TLayoutReport report = CheckLayout(layout);
  EXPECT_EQ(report.candidateRounds, (std::vector<int>{0, 2}));
  EXPECT_EQ(report.freeCandidates.size(), 1u);
  EXPECT_TRUE(report.neverFreed.empty());
}
