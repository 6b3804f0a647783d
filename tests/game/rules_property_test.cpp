// The rules against independent readings, over many seeded deals of every shipped layout:
// the free test against the tiles' footprints, and the stuck test against an exhaustive
// search for any move.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "game/board.h"
#include "game/deal.h"
#include "shipped_layouts.h"

namespace {

struct TStanding {
  TTileId id;
  int layer, x, y;
  TFace face;
};

// Footprints: a tile covers columns [x, x + 2) and rows [y, y + 2).
bool RowsMeet(const TStanding& a, const TStanding& b) {
  return a.y < b.y + 2 && b.y < a.y + 2;
}
bool ColumnsMeet(const TStanding& a, const TStanding& b) {
  return a.x < b.x + 2 && b.x < a.x + 2;
}

// A tile is free when no tile of the layer above overlaps it and not both of its sides
// touch a tile of its own layer.
bool FreeByFootprints(const std::vector<TStanding>& tiles, const TStanding& t) {
  bool left = false, right = false;
  for (const TStanding& u : tiles) {
    if (u.id == t.id) continue;
    if (u.layer == t.layer + 1 && RowsMeet(t, u) && ColumnsMeet(t, u)) return false;
    if (u.layer == t.layer && RowsMeet(t, u)) {
      left = left || u.x + 2 == t.x;
      right = right || t.x + 2 == u.x;
    }
  }
  return !(left && right);
}

std::vector<TStanding> Standing(const TBoard& board, const std::vector<TTileId>& aside = {}) {
  std::vector<TStanding> tiles;
  for (TTileId id = 0; id < board.TileCount(); ++id) {
    const TBoardTile& t = board.Tile(id);
    if (!t.removed && std::find(aside.begin(), aside.end(), id) == aside.end())
      tiles.push_back({id, t.layer, t.x, t.y, t.face});
  }
  return tiles;
}

bool FreeAfter(const TBoard& board, TTileId id, const std::vector<TTileId>& aside) {
  const std::vector<TStanding> tiles = Standing(board, aside);
  auto it =
      std::find_if(tiles.begin(), tiles.end(), [id](const TStanding& t) { return t.id == id; });
  return it != tiles.end() && FreeByFootprints(tiles, *it);
}

// Any group the sets box could take, tile by tile, each free when it goes in: all copies
// of a treasure face on the board, or three tiles of one common suit.
bool SetsBoxGroupFrom(const TBoard& board, std::vector<TTileId>& chain, int target) {
  if (static_cast<int>(chain.size()) == target) return true;
  const TFace first = board.Tile(chain[0]).face;
  for (const TStanding& t : Standing(board, chain)) {
    const bool fits = IsTreasureSuit(first.suit) ? t.face == first : t.face.suit == first.suit;
    if (!fits || !FreeAfter(board, t.id, chain)) continue;
    chain.push_back(t.id);
    if (SetsBoxGroupFrom(board, chain, target)) return true;
    chain.pop_back();
  }
  return false;
}

bool AnyMoveExhaustive(const TBoard& board) {
  const std::vector<TStanding> tiles = Standing(board);
  for (const TStanding& t : tiles) {
    if (!FreeByFootprints(tiles, t)) continue;
    const bool many = IsTreasureSuit(t.face.suit) && board.DealtCount(t.face) > 2;
    for (const TStanding& u : tiles)
      if (u.id != t.id && u.face == t.face && !many && FreeAfter(board, u.id, {t.id}))
        return true;  // a free pair, or one that blocks itself
    int target = 3;
    if (IsTreasureSuit(t.face.suit))
      target = static_cast<int>(std::count_if(
          tiles.begin(), tiles.end(), [&](const TStanding& u) { return u.face == t.face; }));
    std::vector<TTileId> chain{t.id};
    if (target >= 2 && SetsBoxGroupFrom(board, chain, target)) return true;
  }
  return false;
}

TDealRequest Campaign(const TShippedLayout& shipped, uint32_t seed) {
  TDealRequest request;
  request.bag.levelsBeaten = shipped.levelsBeaten;
  request.bag.tutorialWon = shipped.name != "tutorial";
  request.bag.pickTreasure = CatalogueTreasurePicker(seed);
  return request;
}

}  // namespace

// Plays each deal by random free pairs to its end; at every step the board's free tiles
// match the footprint reading and its stuck test matches the exhaustive search.
TEST(RulesProperty, FreeTilesAndTheStuckTestAgreeWithIndependentReadings) {
  int stuckBoards = 0, checkedBoards = 0;
  for (const TShippedLayout& shipped : ShippedLayouts()) {
    for (uint32_t seed : {3u, 11u}) {
      TBoardSetup setup;
      setup.searchSeed = seed;
      TBoard board(setup);
      Deal(board, shipped.layout, Campaign(shipped, seed), seed);
      TMersenneTwister play(seed);
      for (;;) {
        const std::vector<TStanding> tiles = Standing(board);
        std::vector<TTileId> expectedFree;
        for (const TStanding& t : tiles)
          if (FreeByFootprints(tiles, t)) expectedFree.push_back(t.id);
        std::vector<TTileId> free = board.FreeTiles();
        std::sort(free.begin(), free.end());
        ASSERT_EQ(free, expectedFree) << shipped.name << " seed " << seed;
        ++checkedBoards;
        const bool stuck = board.NoMovesLeft();
        ASSERT_EQ(stuck, board.TilesOnBoard() > 0 && !AnyMoveExhaustive(board))
            << shipped.name << " seed " << seed << " with " << board.TilesOnBoard() << " tiles";
        if (stuck) ++stuckBoards;
        // Take a random free pair of one face, as a player matching pairs would.
        std::vector<std::pair<TTileId, TTileId>> pairs;
        for (size_t i = 0; i < free.size(); ++i)
          for (size_t j = i + 1; j < free.size(); ++j)
            if (board.Tile(free[i]).face == board.Tile(free[j]).face &&
                !board.HasManyCopies(board.Tile(free[i]).face))
              pairs.push_back({free[i], free[j]});
        if (pairs.empty()) break;
        const auto [a, b] = pairs[play.Next() % pairs.size()];
        board.RemoveTile(a);
        board.RemoveTile(b);
      }
    }
  }
  EXPECT_GE(stuckBoards, 5) << "the deals must reach stuck boards to test the stuck test";
  EXPECT_GT(checkedBoards, 3000);
}

TEST(RulesProperty, DealsPairEveryOrdinaryFaceAndPutTreasuresOnCandidates) {
  for (const TShippedLayout& shipped : ShippedLayouts()) {
    for (uint32_t seed = 1; seed <= 6; ++seed) {
      for (bool solvable : {false, true}) {
        TDealRequest request = Campaign(shipped, seed);
        request.solvable = solvable;
        TBoard board;
        const int placed = Deal(board, shipped.layout, request, seed);
        ASSERT_EQ(placed, board.TilesOnBoard());
        std::map<std::pair<int, int>, int> counts;
        for (TTileId id = 0; id < board.TileCount(); ++id) {
          const TBoardTile& t = board.Tile(id);
          ++counts[{t.face.suit, t.face.variant}];
          const uint8_t type = shipped.layout.TypeAt(t.layer, t.x, t.y);
          ASSERT_NE(type, kNoPosition) << "a tile off the layout";
          if (IsTreasureSuit(t.face.suit)) {
            ASSERT_EQ(type, kCandidatePosition)
                << shipped.name << ": a treasure off the candidates";
          }
        }
        if (shipped.name == "tutorial") {
          // The tutorial's own faces: pairs, a three of a kind, a family of four.
          EXPECT_EQ(placed, 15);
          EXPECT_EQ((counts[{58, 0}]), 3);
          EXPECT_EQ((counts[{126, 0}]), 2);
          continue;
        }
        int treasures = 0;
        for (const auto& [face, count] : counts) {
          if (IsTreasureSuit(face.first)) {
            treasures += count;
            if (solvable) {
              EXPECT_GE(count, 2) << "no lone treasure in a solvable deal";
            }
          } else {
            EXPECT_EQ(count % 2, 0)
                << shipped.name << " seed " << seed << " face " << face.first << "," << face.second;
          }
        }
        EXPECT_GE(treasures, 2) << shipped.name;
        // Every position gets a tile unless the treasures outnumber the candidates.
        EXPECT_GE(placed, shipped.layout.PositionCount() - 8) << shipped.name;
      }
    }
  }
}
