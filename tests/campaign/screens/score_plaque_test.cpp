// The end-of-level plaque's counting and the main menu's ring of decorations: the orders
// and steps that a player sees.
#include "campaign/screens/score_plaque.h"

#include <gtest/gtest.h>

#include <vector>

#include "campaign/screens/menu_decorations.h"

namespace {

// Counts a plaque to the end; answers the values shown after each update.
std::vector<std::vector<int>> CountAll(TScorePlaque& plaque) {
  std::vector<std::vector<int>> shown;
  for (int guard = 0; guard < 1000 && plaque.Advance() >= 0; ++guard) {
    std::vector<int> row;
    for (int i = 0; i < TScorePlaque::kLines; ++i) row.push_back(plaque.Line(i).shown);
    shown.push_back(row);
  }
  return shown;
}

}  // namespace

TEST(ScorePlaqueTest, LinesCountOneAfterAnotherInStepsOfAThirtieth) {
  TScorePlaque plaque;
  plaque.SetTarget(0, 31);  // steps of 2: 2, 4, ..., 30, 31
  plaque.SetTarget(1, 0);   // nothing to count: done at once
  plaque.SetTarget(2, 3000);
  plaque.SetTarget(4, 3031);
  const auto shown = CountAll(plaque);
  ASSERT_EQ(shown.size(), 16u + 30u + 30u);  // 3031 in steps of 102
  EXPECT_EQ(shown[0], (std::vector<int>{2, 0, 0, 0, 0}));
  EXPECT_EQ(shown[14], (std::vector<int>{30, 0, 0, 0, 0}));
  EXPECT_EQ(shown[15], (std::vector<int>{31, 0, 0, 0, 0}));
  // The third line starts only after the first is complete, the total only after the third.
  EXPECT_EQ(shown[16], (std::vector<int>{31, 0, 100, 0, 0}));
  EXPECT_EQ(shown[45], (std::vector<int>{31, 0, 3000, 0, 0}));
  EXPECT_EQ(shown[46], (std::vector<int>{31, 0, 3000, 0, 102}));
  EXPECT_EQ(shown.back(), (std::vector<int>{31, 0, 3000, 0, 3031}));
  EXPECT_TRUE(plaque.Done());
  EXPECT_EQ(plaque.Advance(), -1);
}

TEST(ScorePlaqueTest, AClickFinishesTheCountingLineAndIsRefusedWhenAllAreDone) {
  TScorePlaque plaque;
  plaque.SetTarget(0, 600);
  plaque.SetTarget(1, 90);
  EXPECT_EQ(plaque.Advance(), 0);
  EXPECT_EQ(plaque.Line(0).shown, 20);
  EXPECT_TRUE(plaque.FinishCurrentLine());
  EXPECT_EQ(plaque.Line(0).shown, 599);
  EXPECT_EQ(plaque.Advance(), 0);
  EXPECT_EQ(plaque.Line(0).shown, 600);
  // The next line now counts; its own steps are unchanged.
  EXPECT_EQ(plaque.Advance(), 1);
  EXPECT_EQ(plaque.Line(1).shown, 3);
  EXPECT_TRUE(plaque.FinishCurrentLine());
  EXPECT_EQ(plaque.Advance(), 1);
  EXPECT_TRUE(plaque.Done());
  EXPECT_FALSE(plaque.FinishCurrentLine());
  EXPECT_EQ(plaque.Line(1).shown, 90);
}

TEST(ScorePlaqueTest, ANegativeAmountShowsAsItIsAndOutOfRangeLinesAreIgnored) {
  TScorePlaque plaque;
  plaque.SetTarget(4, -250);
  plaque.SetTarget(-1, 50);
  plaque.SetTarget(TScorePlaque::kLines, 50);
  EXPECT_EQ(plaque.Line(4).shown, -250);
  EXPECT_TRUE(plaque.Done());
}

TEST(DecorationRingTest, AnimationsTakeTurnsWithAQuietPauseBetween) {
  TDecorationRing ring(5);
  std::vector<bool> playing(5, false);
  std::vector<int> started;
  int lastStart = -1000;
  for (int update = 0; update < 2000; ++update) {
    const int start = ring.Step(playing);
    if (start >= 0) {
      // Never two at once, and always after more than 50 quiet updates.
      for (bool on : playing) EXPECT_FALSE(on);
      EXPECT_GT(update - lastStart, TDecorationRing::kQuietUpdates);
      started.push_back(start);
      lastStart = update;
      playing[static_cast<size_t>(start)] = true;
    }
    // Each animation plays for 40 updates.
    for (int i = 0; i < 5; ++i)
      if (playing[static_cast<size_t>(i)] && update - lastStart >= 40) playing[i] = false;
  }
  ASSERT_GE(started.size(), 10u);
  for (size_t i = 0; i < started.size(); ++i) EXPECT_EQ(started[i], static_cast<int>(i % 5));
}

TEST(DecorationRingTest, TheNextWaitsWhileThePreviousStillPlays) {
  TDecorationRing ring(3);
  std::vector<bool> none(3, false);
  int first = -1;
  for (int i = 0; i < 60 && first < 0; ++i) first = ring.Step(none);
  ASSERT_EQ(first, 0);
  // Animation 0 keeps playing (a long one): nothing else starts however long it takes.
  std::vector<bool> busy{true, false, false};
  for (int i = 0; i < 500; ++i) ASSERT_EQ(ring.Step(busy), -1);
  EXPECT_EQ(ring.Quiet(), 0);
  // Once it stops, the quiet pause starts from there.
  int next = -1, waited = 0;
  while (next < 0 && waited < 100) {
    next = ring.Step(none);
    ++waited;
  }
  EXPECT_EQ(next, 1);
  EXPECT_EQ(waited, TDecorationRing::kQuietUpdates + 2);
}
