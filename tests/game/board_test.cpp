#include "game/board.h"

#include <gtest/gtest.h>

#include "board_test_support.h"

namespace {

constexpr TFace kBook{4, 0}, kBell{3, 0}, kPipe{34, 0}, kPipe2{34, 1};
constexpr TFace kTreasure{101, 0};

TScoreSettings FixedAmounts(int amount) {
  TScoreSettings settings;
  settings.matchValueMin = amount;
  settings.matchValueMax = amount + 1;
  return settings;
}

class BoardTest : public ::testing::Test {
 protected:
  BoardTest() : board(MakeSetup()) { board.SetHost(&host); }
  static TBoardSetup MakeSetup() {
    TBoardSetup setup;
    setup.bankroll = 100;
    setup.score = FixedAmounts(10);
    return setup;
  }
  TTileId Place(int layer, int x, int y, TFace face) { return board.PlaceTile(layer, x, y, face); }

  TRecordingHost host;
  TBoard board;
};

}  // namespace

TEST_F(BoardTest, PlacementRefusesBadCellsAndFacesAndKeepsTheFirstTileOfACell) {
  EXPECT_EQ(Place(0, 38, 0, kBook), kNoTile);
  EXPECT_EQ(Place(0, 0, 16, kBook), kNoTile);
  EXPECT_EQ(Place(7, 0, 0, kBook), kNoTile);
  EXPECT_EQ(Place(-1, 0, 0, kBook), kNoTile);
  EXPECT_EQ(Place(0, 0, 0, kNoFace), kNoTile);
  EXPECT_EQ(Place(0, 0, 0, {1, 1}), kNoTile) << "a face the catalogue does not hold";
  const TTileId first = Place(0, 35, 6, kBook);
  ASSERT_NE(first, kNoTile);
  EXPECT_EQ(Place(0, 35, 6, kBell), first);
  EXPECT_EQ(board.Tile(first).face, kBook);
  EXPECT_EQ(board.TilesOnBoard(), 1) << "a second face for a cell is not counted";
  EXPECT_EQ(board.TileAt(0, 35, 6), first);
  EXPECT_EQ(board.TileAt(0, 36, 6), kNoTile) << "a tile stands on its upper-left cell";
  board.ClearGrid();
  EXPECT_EQ(board.TilesOnBoard(), 0);
  EXPECT_EQ(board.TileCount(), 0);
  EXPECT_EQ(board.TileAt(0, 35, 6), kNoTile);
}

TEST(BoardGeometry, TilePositionsFollowColumnsRowsAndLayers) {
  EXPECT_EQ(TileScreenPosition(0, 35, 6).left, 712);
  EXPECT_EQ(TileScreenPosition(0, 35, 6).top, 240);
  EXPECT_EQ(TileScreenPosition(1, 30, 5).left, 618);
  EXPECT_EQ(TileScreenPosition(1, 30, 5).top, 205);
  const int right[] = {0, 6, 13, 19, 26, 32, 39};
  const int up[] = {0, 7, 15, 22, 30, 37, 45};
  for (int layer = 0; layer < 7; ++layer) {
    EXPECT_EQ(TileScreenPosition(layer, 0, 0).left - 12, right[layer]) << layer;
    EXPECT_EQ(72 - TileScreenPosition(layer, 0, 0).top, up[layer]) << layer;
  }
}

TEST_F(BoardTest, FreeRuleLooksAtRowsOneAboveAndBelowButNotTwo) {
  const TTileId tile = Place(0, 2, 4, kBook);
  const TTileId right = Place(0, 4, 4, kBell);
  Place(0, 0, 3, kPipe);  // left neighbour one row higher: blocks the left side
  EXPECT_FALSE(board.IsSelectable(tile));
  board.RemoveTile(right);
  EXPECT_TRUE(board.IsSelectable(tile)) << "open on the right";

  TBoard other;
  const TTileId t = other.PlaceTile(0, 2, 4, kBook);
  other.PlaceTile(0, 4, 4, kBell);
  other.PlaceTile(0, 0, 2, kPipe);  // two rows higher: no neighbour
  EXPECT_TRUE(other.IsSelectable(t));
  // At the grid's edges a side is always open.
  TBoard edges;
  const TTileId left = edges.PlaceTile(0, 1, 4, kBook);
  edges.PlaceTile(0, 3, 4, kBell);
  const TTileId far = edges.PlaceTile(0, 36, 4, kBook);
  edges.PlaceTile(0, 34, 4, kBell);
  EXPECT_TRUE(edges.IsSelectable(left));
  EXPECT_TRUE(edges.IsSelectable(far));
}

TEST_F(BoardTest, ADiagonalTileAboveCoversButHidesOnlyTilesOffTheBorder) {
  const TTileId inner = Place(0, 10, 5, kBook);
  Place(1, 11, 6, kBell);
  EXPECT_FALSE(board.IsSelectable(inner));
  EXPECT_FALSE(board.IsTopVisible(0, 10, 5));
  const TTileId border = Place(0, 0, 5, kBook);
  Place(1, 1, 6, kBell);
  EXPECT_FALSE(board.IsSelectable(border));
  EXPECT_TRUE(board.IsTopVisible(0, 0, 5)) << "on the border only the straight cells count";
  EXPECT_TRUE(board.IsTopVisible(6, 0, 0)) << "the top layer is always visible";
  const TTileId top = Place(6, 20, 8, kPipe);
  EXPECT_TRUE(board.IsSelectable(top)) << "nothing can cover the top layer";
}

TEST_F(BoardTest, DrawingOrderGoesUpLayersAndAlongDiagonalsFromTheRight) {
  const TTileId a = Place(0, 2, 0, kBook);   // diagonal 2
  const TTileId b = Place(0, 4, 2, kBook);   // diagonal 2, lower row
  const TTileId c = Place(0, 10, 0, kBell);  // diagonal 10
  const TTileId d = Place(1, 0, 0, kBell);   // layer 1
  const TTileId e = Place(0, 0, 4, kPipe);   // diagonal -4
  board.RecountTiles(true);
  const std::vector<TTileId> expected = {c, b, a, e, d};
  EXPECT_EQ(host.drawingOrder, expected);
  board.RemoveTile(c);
  EXPECT_EQ(board.DrawingOrder(), (std::vector<TTileId>{b, a, e, d}));
  EXPECT_EQ(board.GridOrder(), (std::vector<TTileId>{e, a, b, c, d}));
}

TEST_F(BoardTest, APairOfACommonSuitScoresAndLeavesTheBoard) {
  const TTileId a = Place(0, 2, 2, kBook);
  const TTileId b = Place(0, 10, 2, kBook);
  Place(0, 20, 2, kBell);
  Place(0, 30, 2, kBell);
  EXPECT_EQ(board.ClickTile(a), TSelectResult::kSelected);
  EXPECT_TRUE(board.Tile(a).selected);
  EXPECT_EQ(board.ClickTile(b), TSelectResult::kMatched);
  EXPECT_TRUE(board.Tile(a).removed && board.Tile(b).removed);
  EXPECT_FALSE(board.Tile(a).selected);
  EXPECT_EQ(board.TilesOnBoard(), 2);
  EXPECT_EQ(board.Ledger().Total(), 110);
  EXPECT_EQ(host.shown, (std::vector<TTileId>{b, a})) << "last selected first";
  EXPECT_EQ(host.acceptedSlots, (std::vector<int>{1}));
  EXPECT_EQ(board.UndoStack().Size(), 1);
  EXPECT_TRUE(board.Selection().empty());
  EXPECT_EQ(board.TileAt(0, 2, 2), a) << "a removed tile keeps its cell";
}

TEST_F(BoardTest, AMismatchKeepsTheSecondTileSelectedAndScoresNothing) {
  const TTileId a = Place(0, 2, 2, kPipe);
  const TTileId b = Place(0, 10, 2, kPipe2);
  board.ClickTile(a);
  host.sounds.clear();
  EXPECT_EQ(board.ClickTile(b), TSelectResult::kMismatch);
  EXPECT_FALSE(board.Tile(a).selected);
  EXPECT_TRUE(board.Tile(b).selected);
  ASSERT_EQ(board.Selection().size(), 1u);
  EXPECT_EQ(board.Selection()[0].tile, b);
  EXPECT_EQ(board.Ledger().Total(), 100);
  EXPECT_EQ(host.sounds, (std::vector<TBoardSound>{TBoardSound::kSelect}));
  // Clicking the selected tile again deselects it.
  EXPECT_EQ(board.ClickTile(b), TSelectResult::kDeselected);
  EXPECT_TRUE(board.Selection().empty());
}

TEST_F(BoardTest, TwoKennyTilesLeaveWithoutScoreAndOpenTheOffer) {
  const TTileId a = Place(0, 2, 2, kKennyFace);
  const TTileId b = Place(0, 10, 2, {0, 3});  // any variant of the Kenny suit
  Place(0, 20, 2, kBell);
  Place(0, 30, 2, kBell);
  board.ClickTile(a);
  EXPECT_EQ(board.ClickTile(b), TSelectResult::kKennyPair);
  EXPECT_TRUE(board.Tile(a).removed && board.Tile(b).removed);
  EXPECT_EQ(host.removed, (std::vector<TTileId>{b, a}));
  EXPECT_EQ(host.kennyOffers, 1);
  EXPECT_EQ(board.Ledger().Total(), 100);
  ASSERT_EQ(board.UndoStack().Size(), 1);
  EXPECT_EQ(board.UndoStack().Records()[0].scoreSlot, -1);
  EXPECT_TRUE(board.UndoLastRecord());
  EXPECT_FALSE(board.Tile(a).removed || board.Tile(b).removed);
  EXPECT_EQ(board.Ledger().Total(), 100);
  EXPECT_EQ(board.TilesOnBoard(), 4);
}

TEST_F(BoardTest, ATreasurePairEndsTheLevelAndTheOtherTilesAreCashed) {
  const TTileId a = Place(0, 2, 2, kTreasure);
  const TTileId b = Place(0, 10, 2, kTreasure);
  Place(0, 2, 6, {102, 0});  // another treasure face stays on the board
  Place(0, 20, 2, kBell);
  Place(1, 20, 2, kBook);
  board.ClickTile(a);
  EXPECT_EQ(board.ClickTile(b), TSelectResult::kTreasurePair);
  EXPECT_FALSE(board.Tile(a).removed) << "the treasure stays through its ending";
  EXPECT_EQ(host.treasurePairs, (std::vector<TFace>{kTreasure}));
  EXPECT_EQ(board.Ledger().TotalOfKind(TScoreKind::kTreasurePair), 0);
  EXPECT_EQ(board.Ledger().CountOfKind(TScoreKind::kTreasurePair), 1);
  // The ending cashes every tile but the won treasure, visiting x, then layers downwards.
  const std::vector<TTileId> cashed = board.TilesToCash(kTreasure);
  EXPECT_EQ(cashed, (std::vector<TTileId>{2, 4, 3}));
  board.FinishTreasureEnding(kTreasure);
  EXPECT_TRUE(board.LevelEnded());
  EXPECT_EQ(board.WonFace(), kTreasure);
  EXPECT_EQ(host.levelEnds, (std::vector<TFace>{kTreasure}));
  EXPECT_EQ(board.Ledger().TotalOfKind(TScoreKind::kTilesLeft), 60);
  board.FinishTreasureEnding(kTreasure);
  EXPECT_EQ(host.levelEnds.size(), 1u) << "the ending runs once";
  EXPECT_FALSE(board.UndoLastRecord()) << "no undo once the level has ended";
}

TEST_F(BoardTest, ClickRulesRefuseIgnoreAndDeferToTheSetsBoxAndTutorial) {
  const TTileId free = Place(0, 2, 2, kBook);
  const TTileId blocked = Place(0, 4, 2, kBook);
  Place(0, 6, 2, kBook);
  const TTileId other = Place(0, 20, 2, kBook);
  EXPECT_EQ(board.ClickTile(blocked), TSelectResult::kRefused);
  EXPECT_EQ(host.sounds.back(), TBoardSound::kRefuse);

  host.setsBoxTakes = false;
  EXPECT_EQ(board.ClickTile(free), TSelectResult::kRefused);
  host.setsBoxTakes = true;
  host.setsBoxCount = 4;
  EXPECT_EQ(board.ClickTile(free), TSelectResult::kRefused);
  host.setsBoxCount = 2;
  EXPECT_EQ(board.ClickTile(free), TSelectResult::kNothing) << "a set is being built";
  host.setsBoxCount = 0;

  EXPECT_EQ(board.ClickTile(free), TSelectResult::kSelected);
  host.tutorialBlockedSuit = kBook.suit;
  EXPECT_EQ(board.ClickTile(other), TSelectResult::kDeselectedAll);
  EXPECT_TRUE(board.Selection().empty());
  EXPECT_EQ(host.sounds.back(), TBoardSound::kRefuse) << "a vetoed move is refused audibly";
  EXPECT_FALSE(board.Tile(free).selected);
  EXPECT_EQ(board.ClickTile(free), TSelectResult::kSelected) << "the veto needs a selection";
}

TEST_F(BoardTest, TreasuresDealtFourTimesGoOnlyThroughTheSetsBox) {
  TTileId copies[4];
  for (int i = 0; i < 4; ++i) copies[i] = Place(0, 2 + 8 * i, 2, kTreasure);
  EXPECT_TRUE(board.HasManyCopies(kTreasure));
  EXPECT_EQ(board.ClickTile(copies[0]), TSelectResult::kNothing);
  EXPECT_TRUE(board.Selection().empty());
  EXPECT_FALSE(board.FindPair().has_value());
  EXPECT_EQ(board.FindSet().size(), 4u) << "the sets box wants all four";
  EXPECT_FALSE(board.NoMovesLeft());
  // With one copy removed the set still wants every copy left on the board.
  board.RemoveTile(copies[3]);
  EXPECT_EQ(board.FindSet().size(), 3u);
}

TEST_F(BoardTest, TheEndCheckEndsAnEmptyBoardAndAsksForTheLossScreenWhenStuck) {
  EXPECT_EQ(board.EndCheck(), TEndCheck::kCleared);
  EXPECT_EQ(host.levelEnds, (std::vector<TFace>{kNoFace}));

  TRecordingHost stuckHost;
  TBoard stuck;
  stuck.SetHost(&stuckHost);
  // A stack of four whose pairs can only be taken in an order the stack forbids: the top
  // two differ, and the bottom pair is buried under them.
  PlaceStack(stuck, 10, 4, {kBook, kBook, kBell, kPipe});
  PlaceStack(stuck, 20, 4, {kBell, kPipe2});
  EXPECT_TRUE(stuck.NoMovesLeft());
  EXPECT_EQ(stuck.EndCheck(), TEndCheck::kNoMovesLeft);
  EXPECT_EQ(stuckHost.lossScreens, 1);
  EXPECT_FALSE(stuck.LevelEnded()) << "the loss screen does not end the level";
}

TEST_F(BoardTest, UndoBringsBackTheTilesAndTakesBackTheScore) {
  const TTileId a = Place(0, 2, 2, kBook);
  const TTileId b = Place(0, 10, 2, kBook);
  Place(0, 20, 2, kBell);
  Place(0, 30, 2, kBell);
  board.ClickTile(a);
  board.ClickTile(b);
  board.Ledger().AddPurchase(30);
  EXPECT_EQ(board.Ledger().Total(), 80);
  board.ClickTile(board.TileAt(0, 20, 2));
  EXPECT_TRUE(board.UndoLastRecord());
  EXPECT_TRUE(board.Selection().empty()) << "undo deselects first";
  EXPECT_FALSE(board.Tile(a).removed);
  EXPECT_EQ(board.TilesOnBoard(), 4);
  EXPECT_EQ(board.Ledger().Total(), 70) << "the purchase stays";
  EXPECT_EQ(host.restored, (std::vector<TTileId>{a, b}));
  EXPECT_EQ(host.drawingOrder.size(), 4u) << "undo restacks the board";
  EXPECT_FALSE(board.UndoLastRecord());
  EXPECT_EQ(board.Ledger().Total(), 70);
}

TEST_F(BoardTest, ShuffledFacesKeepTheDealtCounts) {
  const TTileId a = Place(0, 2, 2, kBook);
  board.SetTileFace(a, kBell);
  EXPECT_EQ(board.DealtCount(kBook), 0);
  EXPECT_EQ(board.DealtCount(kBell), 1);
  board.SetTileFace(a, {1, 7});  // not in the catalogue: refused
  EXPECT_EQ(board.Tile(a).face, kBell);
}
