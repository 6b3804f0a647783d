#include "game/score_ledger.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

constexpr TFace kPipe1{34, 0}, kPipe2{34, 1}, kPipe4{34, 2}, kBook{4, 0};

TScoreLedger Ledger(int bankroll = 0, uint32_t seed = 1) {
  TScoreLedger ledger(TScoreSettings{}, seed);
  ledger.Add(bankroll, 1.0, TScoreKind::kBankroll);
  return ledger;
}

}  // namespace

TEST(ScoreLedger, APairAddsARandomAmountAndSplitsIntoTwoPopups) {
  TScoreSettings narrow;
  narrow.matchValueMin = 9;
  narrow.matchValueMax = 10;  // every amount is 9
  TScoreLedger ledger(narrow, 1);
  ledger.Add(250, 1.0, TScoreKind::kBankroll);
  const TFace pair[] = {kBook, kBook};
  const int slot = ledger.AddForTiles(pair);
  ASSERT_EQ(slot, 1);
  EXPECT_EQ(ledger.Total(), 259);
  char popup[32];
  std::snprintf(popup, sizeof popup, "$%.2f", ledger.LastValue() * 0.5);
  EXPECT_STREQ(popup, "$4.50");
  EXPECT_EQ(ledger.TotalOfKind(TScoreKind::kPair), 9);
  EXPECT_EQ(ledger.TotalOfKind(TScoreKind::kBankroll), 250);
  EXPECT_EQ(ledger.CountOfKind(TScoreKind::kPair), 1);
}

TEST(ScoreLedger, RandomAmountsStayInsideTheShippedRange) {
  TScoreLedger ledger = Ledger();
  int low = 100, high = 0;
  for (int i = 0; i < 2000; ++i) {
    const int amount = ledger.RandomAmount();
    low = std::min(low, amount);
    high = std::max(high, amount);
  }
  EXPECT_EQ(low, 7);
  EXPECT_EQ(high, 13) << "amounts stay below score_matchvalue_max";
  // A reversed range in the settings gives the minimum instead of dividing by nothing.
  TScoreSettings reversed;
  reversed.matchValueMin = 12;
  reversed.matchValueMax = 12;
  EXPECT_EQ(TScoreLedger(reversed).RandomAmount(), 12);
}

TEST(ScoreLedger, SetsAndRunsDrawOneAmountPerTile) {
  TScoreLedger ledger = Ledger();
  const TFace set[] = {kPipe1, kPipe1, kPipe1};
  const TScoreEntry* entry = ledger.Entry(ledger.AddForTiles(set));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->kind, TScoreKind::kSetOf3);
  EXPECT_EQ(entry->points, entry->parts[0] + entry->parts[1] + entry->parts[2]);
  EXPECT_EQ(entry->parts[3], 0);
  EXPECT_EQ(entry->Value(), entry->points * 2);

  const TFace run[] = {kPipe1, kPipe2, kPipe4};
  EXPECT_EQ(ledger.Entry(ledger.AddForTiles(run))->kind, TScoreKind::kRunOf3);
  const TFace four[] = {kPipe1, kPipe1, kPipe1, kPipe1};
  const TScoreEntry* setOf4 = ledger.Entry(ledger.AddForTiles(four));
  EXPECT_EQ(setOf4->kind, TScoreKind::kSetOf4);
  EXPECT_EQ(setOf4->Value(), setOf4->points * 3);
  const TFace runOf4[] = {kPipe1, kPipe2, kPipe4, kPipe1};
  EXPECT_EQ(ledger.Entry(ledger.AddForTiles(runOf4))->kind, TScoreKind::kRunOf4);

  // Groups that score nothing.
  const TFace variants[] = {kPipe1, kPipe2};
  const TFace mixed[] = {kPipe1, kPipe2, kBook};
  const TFace five[] = {kPipe1, kPipe1, kPipe1, kPipe1, kPipe1};
  const int used = ledger.SlotsUsed();
  EXPECT_EQ(ledger.AddForTiles(variants), -1);
  EXPECT_EQ(ledger.AddForTiles(mixed), -1);
  EXPECT_EQ(ledger.AddForTiles(five), -1);
  EXPECT_EQ(ledger.AddForTiles(std::span<const TFace>(five, 1)), -1);
  EXPECT_EQ(ledger.SlotsUsed(), used);
}

TEST(ScoreLedger, TreasuresAndTheTilesLeftAtTheEnding) {
  TScoreLedger ledger = Ledger(100);
  const TFace treasure[] = {{101, 0}, {101, 0}};
  const int slot = ledger.AddForTiles(treasure);
  EXPECT_EQ(ledger.Entry(slot)->kind, TScoreKind::kTreasurePair);
  EXPECT_EQ(ledger.LastValue(), 0);
  ledger.AddRemaining(13);
  EXPECT_EQ(ledger.TotalOfKind(TScoreKind::kTilesLeft), 260);
  EXPECT_EQ(ledger.Total(), 360);
}

TEST(ScoreLedger, PurchasesNeedTheMoneyAndUndoNeverLeavesANegativeTotal) {
  TScoreLedger ledger = Ledger(40);
  EXPECT_FALSE(ledger.CanAfford(50)) << "a hint of 50 with 40 in hand";
  EXPECT_TRUE(ledger.CanAfford(40));

  // A pair worth 20 undone when purchases have brought the total to 12.
  TScoreSettings twenty;
  twenty.matchValueMin = 20;
  twenty.matchValueMax = 21;
  TScoreLedger spent(twenty);
  spent.Add(0, 1.0, TScoreKind::kBankroll);
  const TFace pair[] = {kBook, kBook};
  const int slot = spent.AddForTiles(pair);
  spent.AddPurchase(8);
  EXPECT_EQ(spent.Total(), 12);
  spent.Remove(slot);
  EXPECT_EQ(spent.Total(), 0);
  EXPECT_EQ(spent.CountOfKind(TScoreKind::kUndoCorrection), 1);
  EXPECT_EQ(spent.TotalOfKind(TScoreKind::kUndoCorrection), 8);
  EXPECT_EQ(spent.TotalOfKind(TScoreKind::kPurchase), -8) << "undo leaves purchases alone";
  EXPECT_EQ(spent.LastValue(), 8);
  // Slots already empty, and slots that never were, are ignored.
  spent.Remove(slot);
  spent.Remove(-1);
  spent.Remove(9999);
  EXPECT_EQ(spent.Total(), 0);
  EXPECT_EQ(spent.CountOfKind(TScoreKind::kUndoCorrection), 1);
}

// Undo empties a slot and a new match takes a new one, so a player who undoes and redoes
// the same match again and again uses up slots. The ledger keeps scoring past the 1024
// slots it starts with, and every undo record's slot still names its own entry.
TEST(ScoreLedger, MatchesUndoneAndMadeAgainKeepScoringPastAThousandSlots) {
  TScoreLedger ledger = Ledger(500);
  const TFace pair[] = {kBook, kBook};
  for (int round = 0; round < 3000; ++round) {
    const int slot = ledger.AddForTiles(pair);
    ASSERT_GE(slot, 0) << round;
    ASSERT_EQ(ledger.Entry(slot)->kind, TScoreKind::kPair);
    ledger.Remove(slot);
    ASSERT_EQ(ledger.Total(), 500);
  }
  EXPECT_EQ(ledger.SlotsUsed(), 3001);
  const int kept = ledger.AddForTiles(pair);
  EXPECT_GT(ledger.Total(), 500);
  EXPECT_EQ(ledger.Total() - 500, ledger.LastValue());
  EXPECT_EQ(ledger.CountOfKind(TScoreKind::kPair), 1);
  EXPECT_EQ(kept, 3001);
}

TEST(ScoreLedger, ValuesTruncateTowardZeroAndStayInsideInt) {
  TScoreEntry entry;
  entry.points = 7;
  entry.multiplier = 1.5;
  EXPECT_EQ(entry.Value(), 10);
  entry.points = -7;
  EXPECT_EQ(entry.Value(), -10);
  entry.points = 2000000000;
  entry.multiplier = 3.0;
  EXPECT_EQ(entry.Value(), 2147483647);
  TScoreLedger ledger = Ledger(2000000000);
  ledger.Add(2000000000, 1.0, TScoreKind::kPair);
  EXPECT_EQ(ledger.Total(), 2147483647);
}
