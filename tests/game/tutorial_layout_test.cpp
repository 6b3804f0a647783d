// The shipped tutorial layout, played lesson by lesson with the fixed tutorial deal: each
// lesson's tiles must come free when the lesson needs them, and no other pair may open
// early.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "game/layout_checker.h"
#include "game/layout_grid.h"
#include "game/level_drawing.h"

namespace {

struct TPlaced {
  TLayoutPosition pos;
  int suit;
  int variant;
};

std::vector<TPlaced> DealTutorial(const TLevelLayout& layout) {
  // The k-th position in (layer, x, y) order gets the k-th face.
  const int faces[15][2] = {{75, 0},  {63, 0},  {63, 0}, {73, 0}, {36, 0},
                            {126, 0}, {126, 0}, {36, 1}, {73, 0}, {58, 0},
                            {58, 0},  {75, 0},  {36, 2}, {36, 3}, {58, 0}};
  std::vector<TPlaced> placed;
  int k = 0;
  for (const TLayoutPosition& p : layout.Positions()) {
    placed.push_back({p, faces[k][0], faces[k][1]});
    ++k;
  }
  return placed;
}

class TutorialLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ifstream in(std::string(MC_SOURCE_DIR) + "/content/levels/tutorial.txt");
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    ASSERT_TRUE(ReadLevelDrawing(text.str(), mLayout, &error)) << error;
    ASSERT_EQ(mLayout.PositionCount(), 15);
    mTiles = DealTutorial(mLayout);
    mGrid = std::make_unique<TLayoutGrid>(mLayout);
  }

  bool Free(const TPlaced& t) const { return mGrid->IsFree(t.pos.layer, t.pos.x, t.pos.y); }
  bool Standing(const TPlaced& t) const { return mGrid->Stands(t.pos.layer, t.pos.x, t.pos.y); }
  void Remove(const TPlaced& t) { mGrid->Remove(t.pos.layer, t.pos.x, t.pos.y); }

  std::vector<const TPlaced*> OfSuit(int suit) const {
    std::vector<const TPlaced*> out;
    for (const TPlaced& t : mTiles)
      if (t.suit == suit && Standing(t)) out.push_back(&t);
    return out;
  }

  // Faces that stand free twice or more (a pair a left click could match).
  std::set<int> FreePairSuits() const {
    std::set<int> seen, pairs;
    for (const TPlaced& t : mTiles) {
      if (!Standing(t) || !Free(t)) continue;
      int key = t.suit * 16 + t.variant;
      if (!seen.insert(key).second) pairs.insert(t.suit);
    }
    return pairs;
  }

  // Moves a whole suit into the sets box one free tile at a time; false when it stalls.
  bool BoxSuitOneByOne(int suit) {
    for (auto tiles = OfSuit(suit); !tiles.empty(); tiles = OfSuit(suit)) {
      const TPlaced* free = nullptr;
      for (const TPlaced* t : tiles)
        if (Free(*t)) free = t;
      if (!free) return false;
      Remove(*free);
    }
    return true;
  }

  TLevelLayout mLayout;
  std::vector<TPlaced> mTiles;
  std::unique_ptr<TLayoutGrid> mGrid;
};

}  // namespace

TEST_F(TutorialLayout, PassesTheCheckerWithItsTreasurePairAsCandidates) {
  TLayoutReport report = CheckLayout(mLayout);
  std::vector<std::string> problems;
  TLayoutRequirements rules;
  rules.evenCount = false;
  rules.exactPositions = 15;
  EXPECT_TRUE(LayoutPasses(report, rules, problems)) << problems.front();
  for (const TPlaced& t : mTiles) EXPECT_EQ(t.pos.type == 7, t.suit == 126);
}

TEST_F(TutorialLayout, EveryLessonCanHappenInItsOrder) {
  // Start: the tv pair is the only free pair (suits 73 and 58 cannot be paired by clicks
  // before their lessons, so only faces that are not protected matter).
  EXPECT_EQ(FreePairSuits(), (std::set<int>{75}));
  for (const TPlaced* t : OfSuit(126)) EXPECT_FALSE(Free(*t));
  for (const TPlaced* t : OfSuit(75)) Remove(*t);

  // Blocked pair: exactly one stamper is free, and removing it frees the other.
  auto stampers = OfSuit(63);
  ASSERT_EQ(stampers.size(), 2u);
  EXPECT_NE(Free(*stampers[0]), Free(*stampers[1]));
  EXPECT_TRUE(FreePairSuits().count(63) == 0);
  EXPECT_TRUE(BoxSuitOneByOne(63));

  // Three of a kind, then the run of four, each through the sets box.
  for (const TPlaced* t : OfSuit(126)) EXPECT_FALSE(Free(*t));
  EXPECT_TRUE(BoxSuitOneByOne(58));
  for (const TPlaced* t : OfSuit(126)) EXPECT_FALSE(Free(*t));
  EXPECT_TRUE(BoxSuitOneByOne(36));

  // Hint pair: the computers are the only free pair, the registers still blocked.
  EXPECT_EQ(FreePairSuits(), (std::set<int>{73}));
  for (const TPlaced* t : OfSuit(73)) Remove(*t);

  // The treasure pair comes last.
  EXPECT_EQ(FreePairSuits(), (std::set<int>{126}));
  int standing = 0;
  for (const TPlaced& t : mTiles) standing += Standing(t);
  EXPECT_EQ(standing, 2);
}
