// A fresh player's first levels played through the game's model by a greedy player: levels
// 1 to 5 as the record picks them (the tutorial level, which needs the sets box, is skipped
// as the intro's skip does), each dealt from the record's progress and treasure pick, played
// until a treasure pair or an empty board ends it, and recorded as the end-of-level screen
// records a win. After every level the ledger, the score
// it adds up to and the record (in memory and in the file) must tell the same story.
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "campaign/record/game_state.h"
#include "campaign/record/treasure_table.h"
#include "data/settings.h"
#include "game/board.h"
#include "game/deal.h"
#include "game/level_info.h"
#include "game/level_list.h"
#include "tests/campaign/record/record_test_fixture.h"

namespace {

// The greedy player: a free treasure pair when there is one (it ends the level with its
// treasure), else the first free pair in grid order. Treasures dealt more than twice only
// leave through the sets box, which this player does not use.
std::optional<std::array<TTileId, 2>> GreedyPair(const TBoard& board) {
  std::map<std::pair<int, int>, TTileId> firstOfFace;
  std::optional<std::array<TTileId, 2>> pair;
  for (TTileId id : board.FreeTiles()) {
    const TFace face = board.Tile(id).face;
    if (IsTreasureSuit(face.suit) && board.HasManyCopies(face)) continue;
    const auto [it, first] = firstOfFace.emplace(std::pair{face.suit, face.variant}, id);
    if (first) continue;
    if (IsTreasureSuit(face.suit)) return std::array<TTileId, 2>{it->second, id};
    if (!pair) pair = std::array<TTileId, 2>{it->second, id};
  }
  return pair;
}

struct TPlayedLevel {
  bool won = false;
  TFace treasure = kNoFace;
  int pairs = 0;       // common and Kenny pairs matched
  int pairPoints = 0;  // what the matched common pairs added to the ledger
};

// Plays the board until the level ends (won) or no greedy move is left (lost).
TPlayedLevel Play(TBoard& board) {
  TPlayedLevel played;
  while (!board.LevelEnded()) {
    const std::optional<std::array<TTileId, 2>> pair = GreedyPair(board);
    if (!pair) break;
    const int before = board.Ledger().Total();
    EXPECT_EQ(board.SelectTile((*pair)[0], true), TSelectResult::kSelected);
    const TSelectResult result = board.SelectTile((*pair)[1], true);
    if (result == TSelectResult::kTreasurePair) {
      played.treasure = board.Tile((*pair)[0]).face;
      board.FinishTreasureEnding(played.treasure);
      break;
    }
    EXPECT_TRUE(result == TSelectResult::kMatched || result == TSelectResult::kKennyPair)
        << static_cast<int>(result);
    ++played.pairs;
    played.pairPoints += board.Ledger().Total() - before;
    if (board.EndCheck() != TEndCheck::kPlaying) break;
  }
  played.won = board.LevelEnded();
  return played;
}

class CampaignPlay : public RecordTest {
 protected:
  void SetUp() override {
    RecordTest::SetUp();
    // Levels come from the game's package in the program folder (the tests' working folder).
    InitFileSystem();
    SetSetting("solvable_deals", "1");
    AddPlayer("Greedy");
  }
  void TearDown() override {
    ResetSettings();
    RecordTest::TearDown();
  }
};

}  // namespace

TEST_F(CampaignPlay, LevelsOneToFiveAgreeWithTheLedgerAndTheRecord) {
  TGameState state(*store);
  EXPECT_EQ(NextLevelEntry(TLevelProgress{false, 0}, 0).index, kTutorialLevelIndex);
  state.Progress().tutorialLevelDone = true;
  state.Save(record_key::kTutorialLevelDone);
  int collectionSize = 0;
  for (int played = 1; played <= 5; ++played) {
    const TProgress before = state.Progress();
    const TLevelEntry entry =
        NextLevelEntry(TLevelProgress{before.tutorialLevelDone, before.levelsBeatenCount}, 0);
    EXPECT_EQ(entry.index, played - 1);
    TLevelInfo info;
    TLevelLayout layout;
    ASSERT_EQ(LoadLevel(entry.file, info, layout), TLevelSource::kGame) << entry.file;

    // A lost deal is played again with another one, as a player retries from the loss
    // screen; the record only hears of the win.
    std::unique_ptr<TBoard> board;
    TPlayedLevel result;
    int tilesDealt = 0;
    for (uint32_t seed = 1; seed <= 100 && !result.won; ++seed) {
      TBoardSetup setup;
      setup.campaignMode = true;
      setup.bankroll = before.bankroll;
      setup.amountSeed = seed;
      setup.searchSeed = seed;
      board = std::make_unique<TBoard>(setup);
      TDealRequest request;
      request.solvable = SolvableDealsSetting();
      request.bag.gameMode = 1;
      request.bag.tutorialWon = before.tutorialLevelDone;
      request.bag.levelsBeaten = before.levelsBeatenCount;
      request.bag.pickTreasure = [&state, seed](TFace excluded) {
        return state.ChooseUnownedTreasure(state.CurrentLocation(), excluded, seed);
      };
      tilesDealt = Deal(*board, layout, request, seed);
      ASSERT_GT(tilesDealt, 0) << entry.file;
      result = Play(*board);
    }
    ASSERT_TRUE(result.won) << entry.file << ": the greedy player lost 100 deals";

    // The ledger: the bankroll carried in, the pairs, the tiles left at a treasure ending.
    const TScoreLedger& ledger = board->Ledger();
    const int total = ledger.Total();
    EXPECT_EQ(ledger.TotalOfKind(TScoreKind::kBankroll), before.bankroll) << entry.file;
    EXPECT_EQ(ledger.TotalOfKind(TScoreKind::kPair), result.pairPoints) << entry.file;
    EXPECT_EQ(ledger.TotalOfKind(TScoreKind::kTreasurePair), 0);
    EXPECT_EQ(total, before.bankroll + ledger.TotalOfKind(TScoreKind::kPair) +
                         ledger.TotalOfKind(TScoreKind::kTilesLeft))
        << entry.file;
    const int tilesLeft = tilesDealt - 2 * result.pairs - (result.treasure.IsNone() ? 0 : 2);
    EXPECT_EQ(ledger.TotalOfKind(TScoreKind::kTilesLeft),
              result.treasure.IsNone() ? 0 : tilesLeft * ledger.Settings().remainingTileValue)
        << entry.file;
    EXPECT_EQ(board->WonFace(), result.treasure);

    state.RecordWonLevel({entry.file, board->WonFace(), total});

    // The record, in memory.
    const TProgress& after = state.Progress();
    EXPECT_EQ(after.bankroll, total);
    EXPECT_EQ(after.levelsBeatenCount, played);
    EXPECT_EQ(after.levelsBeaten[static_cast<size_t>(played - 1)], entry.index);
    EXPECT_EQ(after.locationWins[kGrammasAttic], played);
    if (!result.treasure.IsNone()) {
      ++collectionSize;
      EXPECT_TRUE(state.CollectionContains(result.treasure)) << entry.file;
      const std::span<const TFace> table = TreasureTable(kGrammasAttic);
      EXPECT_NE(std::find(table.begin(), table.end(), result.treasure), table.end())
          << "the treasure comes from the current location";
    }
    EXPECT_EQ(state.DisplayCase().CollectionSize(), collectionSize);
    EXPECT_EQ(state.FilledCollectionCount(), static_cast<size_t>(collectionSize));
  }

  // The record, as the next start reads it from the file.
  const TProgress kept = state.Progress();
  store = OpenStore();
  TGameState again(*store);
  EXPECT_EQ(again.Progress().bankroll, kept.bankroll);
  EXPECT_EQ(again.Progress().levelsBeatenCount, 5);
  EXPECT_EQ(again.Progress().levelsBeaten, kept.levelsBeaten);
  EXPECT_EQ(again.Progress().locationWins, kept.locationWins);
  EXPECT_EQ(again.Progress().collection.Values()[0], kept.collection.Values()[0]);
  EXPECT_EQ(again.DaysLeftAtCurrentLocation(), 2);
  EXPECT_GT(kept.bankroll, 0);
}
