#include "game/deal.h"

#include <gtest/gtest.h>

#include <map>

#include "game/face_catalogue.h"
#include "shipped_layouts.h"

namespace {

// A picker that always offers the same two treasures, like a location with two left.
std::function<TFace(TFace)> TwoTreasures() {
  return [](TFace excluded) { return excluded == TFace{101, 0} ? TFace{102, 0} : TFace{101, 0}; };
}

std::map<std::pair<int, int>, int> Counts(std::span<const TFace> faces) {
  std::map<std::pair<int, int>, int> counts;
  for (const TFace& f : faces)
    if (!f.IsNone()) ++counts[{f.suit, f.variant}];
  return counts;
}

std::map<std::pair<int, int>, int> BoardCounts(const TBoard& board) {
  std::vector<TFace> faces;
  for (TTileId id = 0; id < board.TileCount(); ++id) faces.push_back(board.Tile(id).face);
  return Counts(faces);
}

// Rows of ordinary positions with a few treasure candidates inside the rows.
TLevelLayout Rows(int positions, int candidates) {
  TLevelLayout layout;
  int placed = 0;
  for (int layer = 0; layer < 7 && placed < positions; ++layer)
    for (int y = 0; y < 16 && placed < positions; y += 2)
      for (int x = 0; x < 38 && placed < positions; x += 2, ++placed)
        layout.SetType(layer, x, y, placed >= 2 && placed < 2 + candidates ? 7 : 1);
  return layout;
}

TBagRequest Campaign(int beaten) {
  TBagRequest request;
  request.levelsBeaten = beaten;
  request.pickTreasure = TwoTreasures();
  return request;
}

}  // namespace

TEST(TileBag, TreasureCopiesAndKennyTilesGrowWithTheLevelsBeaten) {
  struct TCase {
    int beaten, first, second, kenny;
  };
  for (const TCase c : {TCase{0, 2, 0, 0},
                        {4, 2, 2, 0},
                        {9, 2, 2, 2},
                        {13, 4, 0, 2},
                        {18, 4, 2, 2},
                        {23, 3, 3, 2},
                        {30, 4, 4, 2},
                        {50, 4, 4, 2}}) {
    TTileBag bag;
    TMersenneTwister random(c.beaten);
    ASSERT_TRUE(bag.Build(100, Campaign(c.beaten), random));
    EXPECT_EQ(bag.Bucket(101).size(), size_t(c.first)) << c.beaten;
    EXPECT_EQ(bag.Bucket(102).size(), size_t(c.second)) << c.beaten;
    EXPECT_EQ(bag.Bucket(0).size(), size_t(c.kenny)) << c.beaten;
    int common = 0;
    for (int suit = 1; suit <= 77; ++suit) common += static_cast<int>(bag.Bucket(suit).size());
    const int rest = 100 - c.first - c.second - c.kenny;
    EXPECT_TRUE(common == rest || common == rest + 1) << c.beaten;
  }
}

TEST(TileBag, CommonSuitsFillTheBudgetWithEarlySuitsOnlyAndOneTeacupSuit) {
  const std::vector<int> early = {1,  3,  4,  8,  11, 18, 28, 34, 36, 37, 39,
                                  42, 50, 52, 58, 60, 63, 64, 65, 73, 74, 75};
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    TTileBag bag;
    TMersenneTwister random(seed);
    bag.Build(48, Campaign(0), random);
    // 46 common faces: a budget of ceil(46 x 0.3) = 14 faces in pairs, then 9 more pairs.
    int budget = 0;
    for (int suit : bag.ChosenSuits()) {
      EXPECT_NE(std::find(early.begin(), early.end(), suit), early.end()) << suit;
      budget += VariantCount(suit);
    }
    EXPECT_EQ(budget, 14) << seed;
    int faces = 0;
    for (int suit : bag.ChosenSuits()) faces += static_cast<int>(bag.Bucket(suit).size());
    EXPECT_EQ(faces, 46);

    TTileBag late;
    late.Build(200, Campaign(40), random);
    const auto& chosen = late.ChosenSuits();
    EXPECT_FALSE(std::count(chosen.begin(), chosen.end(), 45) &&
                 std::count(chosen.begin(), chosen.end(), 46))
        << "at most one teacup suit";
  }
}

TEST(TileBag, TheSuitDrawStopsWhenNoAllowedSuitFitsAndOversizedLayoutsAreRefused) {
  // Below level 10 the allowed suits hold 50 faces; 400 positions ask for a budget of 120.
  TTileBag bag;
  TMersenneTwister random(7);
  ASSERT_TRUE(bag.Build(400, Campaign(0), random));
  int faces = 0;
  for (int suit = 0; suit < kSuitCount; ++suit) faces += static_cast<int>(bag.Bucket(suit).size());
  EXPECT_TRUE(faces == 400 || faces == 401) << faces;
  EXPECT_EQ(bag.ChosenSuits().size(), 22u) << "every early suit, then the draw stopped";

  EXPECT_FALSE(bag.Build(TTileBag::kCapacity + 1, Campaign(0), random));
  EXPECT_TRUE(bag.Bucket(101).empty());
}

TEST(TileBag, DrawsTakeTheFirstFittingFaceAndLeaveEmptySlots) {
  TTileBag bag;
  TMersenneTwister random(1);
  for (TFace f : {TFace{101, 0}, TFace{4, 0}, TFace{0, 0}, TFace{102, 0}}) bag.Append(f);
  EXPECT_EQ(bag.CountTreasures(), 2);
  EXPECT_EQ(bag.DrawNormal(), (TFace{4, 0}));
  EXPECT_EQ(bag.DrawTreasure(), (TFace{101, 0}));
  EXPECT_EQ(bag.DrawExact({102, 0}), (TFace{102, 0}));
  EXPECT_EQ(bag.DrawExact({102, 0}), kNoFace);
  EXPECT_EQ(bag.DrawTreasure(), kKennyFace) << "no treasure left: an ordinary face";
  EXPECT_EQ(bag.DrawNormal(), kNoFace);
  EXPECT_EQ(bag.List().size(), 4u) << "taken entries stay as empty slots";
}

TEST(Deal, TheTutorialGetsItsFacesInOrder) {
  const TLevelLayout tutorial = ReadShippedDrawing("tutorial");
  ASSERT_EQ(tutorial.PositionCount(), 15);
  TDealRequest request;
  request.bag.tutorialWon = false;
  TBoard board;
  EXPECT_EQ(Deal(board, tutorial, request, 5), 15);
  const std::vector<TLayoutPosition> positions = tutorial.Positions();
  auto faceAt = [&](size_t k) {
    const TLayoutPosition& p = positions[k];
    return board.Tile(board.TileAt(p.layer, p.x, p.y)).face;
  };
  EXPECT_EQ(faceAt(0), (TFace{75, 0}));
  EXPECT_EQ(faceAt(5), (TFace{126, 0}));
  EXPECT_EQ(faceAt(6), (TFace{126, 0}));
  EXPECT_EQ(faceAt(14), (TFace{58, 0}));
  // In free play the tutorial layout is an ordinary level.
  request.bag.gameMode = 0;
  TBoard freePlay;
  Deal(freePlay, tutorial, request, 5);
  EXPECT_EQ(BoardCounts(freePlay).count(std::make_pair(126, 0)), 0u);
}

TEST(Deal, TreasuresBeyondTheCandidatesStayInTheBag) {
  // 13 levels beaten: four copies of one treasure, two candidates.
  const TLevelLayout layout = Rows(48, 2);
  TDealRequest request;
  request.bag = Campaign(13);
  TBoard board;
  Deal(board, layout, request, 9);
  auto counts = BoardCounts(board);
  EXPECT_EQ((counts[{101, 0}]), 2);
  EXPECT_EQ((counts[{0, 0}]), 2) << "Kenny tiles are dealt as ordinary faces";
  EXPECT_EQ((Counts(board.Bag().List())[{101, 0}]), 2) << "two copies stay in the bag";
  const int empty = layout.PositionCount() - board.TilesOnBoard();
  EXPECT_TRUE(empty == 1 || empty == 2) << empty;
  EXPECT_FALSE(board.HasManyCopies(TFace{101, 0})) << "only two copies were dealt";
}

TEST(Deal, FreePlayDealsNoTreasuresOrKennyTiles) {
  TDealRequest request;
  request.bag = Campaign(30);
  request.bag.gameMode = 0;
  TBoard board;
  const TLevelLayout layout = Rows(60, 4);
  EXPECT_EQ(Deal(board, layout, request, 2), 60);
  for (const auto& [face, count] : BoardCounts(board)) {
    EXPECT_TRUE(IsCommonSuit(face.first)) << face.first;
    EXPECT_EQ(count % 2, 0);
  }
}

TEST(Deal, ALayoutLargerThanTheBagIsRefused) {
  TLevelLayout huge;
  for (int layer = 0; layer < 7; ++layer)
    for (int x = 0; x < 38; ++x)
      for (int y = 0; y < 16; y += 2) huge.SetType(layer, x, y, kOrdinaryPosition);
  ASSERT_GT(huge.PositionCount(), TTileBag::kCapacity);
  TBoard board;
  TDealRequest request;
  request.bag = Campaign(3);
  EXPECT_EQ(Deal(board, huge, request, 1), 0);
  EXPECT_EQ(board.TilesOnBoard(), 0);
}

TEST(Deal, TheSameSeedDealsTheSameBoard) {
  const TLevelLayout& layout = ShippedLayouts()[20].layout;
  for (bool solvable : {false, true}) {
    TDealRequest request;
    request.bag = Campaign(20);
    request.solvable = solvable;
    TBoard a, b, c;
    Deal(a, layout, request, 77);
    Deal(b, layout, request, 77);
    Deal(c, layout, request, 78);
    ASSERT_EQ(a.TileCount(), b.TileCount());
    bool differs = false;
    for (TTileId id = 0; id < a.TileCount(); ++id) {
      EXPECT_EQ(a.Tile(id).face, b.Tile(id).face);
      differs = differs || c.TileCount() != a.TileCount() || !(c.Tile(id).face == a.Tile(id).face);
    }
    EXPECT_TRUE(differs);
  }
}
