#include "game/board_solver.h"

#include <gtest/gtest.h>

#include "board_test_support.h"

#include "game/deal.h"
#include "game/face_shuffle.h"
#include "shipped_layouts.h"

namespace {

constexpr TFace kA{4, 0}, kB{3, 0}, kC{34, 0};

// Applies a solution to the board through the rules, as a player would: pairs of free
// tiles by clicking, the sets box's groups tile by tile.
bool Replay(TBoard& board, const std::vector<TBoardSolver::TMove>& moves) {
  for (const TBoardSolver::TMove& move : moves) {
    for (TTileId id : move.tiles) {
      if (!board.IsSelectable(id) && !(move.together && board.Tile(id).selected)) return false;
      if (!move.together) board.RemoveTile(id);
    }
    if (move.together) {
      if (board.SelectTile(move.tiles[0], true) != TSelectResult::kSelected) return false;
      const TSelectResult result = board.SelectTile(move.tiles[1], true);
      if (result != TSelectResult::kMatched && result != TSelectResult::kTreasurePair &&
          result != TSelectResult::kKennyPair)
        return false;
      if (result == TSelectResult::kTreasurePair)
        for (TTileId id : move.tiles) board.RemoveTile(id);
    }
  }
  return true;
}

}  // namespace

TEST(BoardSolver, FindsTheOrderThatOpensABlockedRow) {
  TBoard board;
  // a b b a in a row: the b pair is blocked until an a goes. A greedy player that cannot
  // see past the next move would be stuck; the solver is not.
  for (int i = 0; i < 4; ++i) board.PlaceTile(0, 2 + 2 * i, 4, i == 0 || i == 3 ? kA : kB);
  const TBoardSolver::TResult result = TBoardSolver(board).Solve({});
  ASSERT_TRUE(result.solved);
  ASSERT_EQ(result.moves.size(), 2u);
  EXPECT_EQ(board.Tile(result.moves[0].tiles[0]).face, kA);
  EXPECT_TRUE(Replay(board, result.moves));
  EXPECT_EQ(board.TilesOnBoard(), 0);
}

TEST(BoardSolver, UsesTheSetsBoxForPairsThatBlockThemselvesOnlyWhenAllowed) {
  TBoard board;
  // A stacked pair under a stacked pair: each pair blocks itself.
  PlaceStack(board, 10, 4, {kA, kA, kB, kB});
  TBoardSolver::TOptions options;
  EXPECT_TRUE(TBoardSolver(board).Solve(options).solved);
  options.setsBox = false;
  const TBoardSolver::TResult plain = TBoardSolver(board).Solve(options);
  EXPECT_FALSE(plain.solved);
  EXPECT_FALSE(plain.gaveUp) << "a small board is searched to the end";
}

TEST(BoardSolver, ReportsBoardsThatCannotBeCleared) {
  TBoard board;
  // Crossed stacks: a over b on the left, b over a on the right, a c pair on top. Each
  // of a and b waits for the other, even through the sets box.
  PlaceStack(board, 4, 4, {kB, kA, kC});
  PlaceStack(board, 20, 4, {kA, kB, kC});
  const TBoardSolver::TResult result = TBoardSolver(board).Solve({});
  EXPECT_FALSE(result.solved);
  EXPECT_FALSE(result.gaveUp);
}

TEST(BoardSolver, EndingTheLevelNeedsOnlyTheTreasure) {
  TBoard board;
  board.PlaceTile(0, 2, 4, {101, 0});
  board.PlaceTile(0, 30, 4, {101, 0});
  board.PlaceTile(0, 10, 4, kA);  // a lone tile: the board can never be cleared
  TBoardSolver::TOptions options;
  EXPECT_FALSE(TBoardSolver(board).Solve(options).solved);
  options.goal = TBoardSolver::TGoal::kEndLevel;
  const TBoardSolver::TResult result = TBoardSolver(board).Solve(options);
  ASSERT_TRUE(result.solved);
  EXPECT_TRUE(result.moves.back().treasure);
}

// With "solvable_deals" on, every deal of every layout can be cleared: the solver finds
// an order for each, and the order plays on the board through the rules.
TEST(BoardSolver, ClearsEverySolvableDealOfEveryLayout) {
  for (const TShippedLayout& shipped : ShippedLayouts()) {
    if (shipped.name == "tutorial") continue;
    for (uint32_t seed : {1u, 2u}) {
      TDealRequest request;
      request.bag.levelsBeaten = shipped.levelsBeaten;
      request.bag.pickTreasure = CatalogueTreasurePicker(seed);
      request.solvable = true;
      TBoard board;
      Deal(board, shipped.layout, request, seed);
      TBoardSolver::TOptions options;
      options.boardLimit = 50000;
      const TBoardSolver::TResult result = TBoardSolver(board).Solve(options);
      ASSERT_TRUE(result.solved) << shipped.name << " seed " << seed << " after " << result.boards;
      ASSERT_TRUE(Replay(board, result.moves)) << shipped.name << " seed " << seed;
      EXPECT_EQ(board.TilesOnBoard(), 0);
    }
  }
}

TEST(BoardSolver, TheSolvableShuffleLeavesAClearableBoard) {
  int shuffles = 0;
  for (const TShippedLayout& shipped : ShippedLayouts()) {
    if (shipped.levelsBeaten % 10 != 5) continue;
    TDealRequest request;
    request.bag.levelsBeaten = shipped.levelsBeaten;
    request.bag.pickTreasure = CatalogueTreasurePicker(4);
    TBoard board;
    Deal(board, shipped.layout, request, 4);
    // Play some pairs, then shuffle what is left.
    for (int i = 0; i < 10; ++i)
      if (auto pair = board.FindPair(); pair && board.IsSelectable((*pair)[1])) {
        board.RemoveTile((*pair)[0]);
        board.RemoveTile((*pair)[1]);
      }
    std::map<std::pair<int, int>, int> before;
    for (TTileId id = 0; id < board.TileCount(); ++id)
      if (!board.Tile(id).removed)
        ++before[{board.Tile(id).face.suit, board.Tile(id).face.variant}];
    TMersenneTwister random(shipped.levelsBeaten);
    ASSERT_TRUE(ShuffleFaces(board, random, true)) << shipped.name;
    ++shuffles;
    std::map<std::pair<int, int>, int> after;
    for (TTileId id = 0; id < board.TileCount(); ++id)
      if (!board.Tile(id).removed) ++after[{board.Tile(id).face.suit, board.Tile(id).face.variant}];
    EXPECT_EQ(before, after) << "a shuffle keeps the faces";
    TBoardSolver::TOptions options;
    options.boardLimit = 50000;
    EXPECT_TRUE(TBoardSolver(board).Solve(options).solved) << shipped.name;
  }
  EXPECT_EQ(shuffles, 5);
}

TEST(FaceShuffle, ThePlainShuffleKeepsTreasuresInPlace) {
  TBoard board;
  board.PlaceTile(0, 2, 4, {101, 0});
  board.PlaceTile(0, 30, 4, {101, 0});
  for (int i = 0; i < 8; ++i) board.PlaceTile(1, 2 * i, 8, i < 4 ? kA : kB);
  board.PlaceTile(2, 0, 8, kKennyFace);
  board.PlaceTile(2, 2, 8, kKennyFace);
  TMersenneTwister random(3);
  bool moved = false;
  for (int round = 0; round < 5; ++round) {
    EXPECT_TRUE(ShuffleFaces(board, random, false));
    EXPECT_EQ(board.Tile(0).face, (TFace{101, 0}));
    EXPECT_EQ(board.Tile(1).face, (TFace{101, 0}));
    EXPECT_EQ(board.DealtCount(kA), 4);
    EXPECT_EQ(board.DealtCount(kKennyFace), 2) << "Kenny tiles are shuffled with the rest";
    moved = moved || board.Tile(2).face != kA;
  }
  EXPECT_TRUE(moved);
}
