#include "game/game_play.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "board_test_support.h"

namespace {

constexpr TFace kBook{4, 0}, kBell{3, 0}, kPipe{34, 0}, kPipe2{34, 1}, kPipe3{34, 2};
constexpr TFace kTreasure{101, 0}, kOtherTreasure{105, 1};

// Board host and play host in one, as the game window is: the sets box the board asks
// about is the play's, and what the play asks of the window is recorded.
class TPlayHost : public TRecordingHost, public TGamePlayHost {
 public:
  int SetsBoxCount() const override { return play ? play->SetsBox().Count() : 0; }
  bool SetsBoxCanTake(const TBoardTile& tile) const override {
    return !play || play->SetsBox().CanAccept(play->Board(), tile.face);
  }
  void PlayCue(TBoardSound sound) override { TRecordingHost::PlaySound(sound); }
  void ScoreChanged() override { ++scoreChanges; }
  void LightHint(std::span<const TTileId> tiles) override {
    lit.assign(tiles.begin(), tiles.end());
  }
  void ShowAppraisalCursor(bool magnifier) override { magnifierCursor = magnifier; }
  void OpenAppraisal(TFace face) override { appraisals.push_back(face); }
  void OpenKennyOffer() override { ++kennyOffers; }
  void StartTreasureEnding(TFace face) override { treasureEndings.push_back(face); }
  void SetsSubmitted(const TSetsBox& box) override { submitted.push_back(box.Count()); }
  bool GiveTreasure(TFace face) override {
    if (collectionFull) return false;
    ++collection[{face.suit, face.variant}];
    return true;
  }
  void TakeBackTreasure(TFace face) override { --collection[{face.suit, face.variant}]; }
  void OnGiftTakenBack(TFace face) override { TakeBackTreasure(face); }
  TFace OfferTreasure() override { return offerTreasure; }
  bool TutorialLevel() const override { return tutorialLevel; }

  TGamePlay* play = nullptr;
  int scoreChanges = 0;
  std::vector<TTileId> lit;
  bool magnifierCursor = false;
  std::vector<TFace> appraisals, treasureEndings;
  std::vector<int> submitted;
  std::map<std::pair<int, int>, int> collection;
  bool collectionFull = false;
  TFace offerTreasure = kOtherTreasure;
  bool tutorialLevel = false;
};

TScoreSettings Prices() {
  TScoreSettings settings;
  settings.matchValueMin = 10;
  settings.matchValueMax = 11;
  settings.hintCost = 50;
  settings.shuffleCost = 100;
  settings.appraisalCost = 30;
  return settings;
}

// Everything undo and redo must restore: which tiles stand, their faces, the undo records,
// the ledger by kind, the box and the collection.
struct TSnapshot {
  std::vector<std::pair<bool, std::pair<int, int>>> tiles;
  std::vector<std::tuple<int, int, int, int>> records;  // count, first tile, gift suit, score
  std::map<int, int> totals;
  int total = 0;
  std::vector<TTileId> box;
  std::map<std::pair<int, int>, int> collection;
  bool operator==(const TSnapshot&) const = default;
};

class GamePlayTest : public ::testing::Test {
 protected:
  GamePlayTest() : board(Setup(1000)), play(board, host, 7) {
    board.SetHost(&host);
    host.play = &play;
  }
  static TBoardSetup Setup(int bankroll) {
    TBoardSetup setup;
    setup.bankroll = bankroll;
    setup.score = Prices();
    return setup;
  }
  TTileId Place(int layer, int x, int y, TFace face) { return board.PlaceTile(layer, x, y, face); }
  // A row of free tiles on layer 0, four columns apart.
  std::vector<TTileId> Row(int y, std::initializer_list<TFace> faces) {
    std::vector<TTileId> ids;
    int x = 0;
    for (TFace face : faces) {
      ids.push_back(Place(0, x, y, face));
      x += 4;
    }
    return ids;
  }
  TSnapshot Snapshot() const {
    TSnapshot s;
    for (int id = 0; id < board.TileCount(); ++id)
      s.tiles.push_back(
          {board.Tile(id).removed, {board.Tile(id).face.suit, board.Tile(id).face.variant}});
    for (const TUndoRecord& r : board.UndoStack().Records()) {
      const TScoreEntry* entry = board.Ledger().Entry(r.scoreSlot);
      s.records.emplace_back(r.count, r.tiles[0].tile, r.gift.suit, entry ? entry->Value() : -1);
    }
    for (int kind = 0; kind <= 12; ++kind)
      s.totals[kind] = board.Ledger().TotalOfKind(static_cast<TScoreKind>(kind));
    s.total = board.Ledger().Total();
    for (const TPlacedTile& e : play.SetsBox().Entries()) s.box.push_back(e.tile);
    for (const auto& [face, count] : host.collection)
      if (count != 0) s.collection[face] = count;
    return s;
  }

  TPlayHost host;
  TBoard board;
  TGamePlay play;
};

}  // namespace

TEST_F(GamePlayTest, TheBoxTakesOneSuitAndATreasureFaceOnly) {
  const auto t = Row(0, {kPipe, kPipe2, kBook, kTreasure, kOtherTreasure});
  const TSetsBox& box = play.SetsBox();
  EXPECT_TRUE(box.CanAccept(board, kBook)) << "an empty box takes any tile";
  EXPECT_FALSE(box.CanAccept(board, kNoFace));
  ASSERT_TRUE(play.PutIntoSetsBox(t[0]));
  EXPECT_TRUE(board.Tile(t[0]).removed);
  EXPECT_EQ(board.TilesOnBoard(), 4);
  EXPECT_TRUE(box.CanAccept(board, kPipe2)) << "same suit, another variant";
  EXPECT_FALSE(play.PutIntoSetsBox(t[2])) << "another suit";
  EXPECT_FALSE(board.Tile(t[2]).removed);
  play.UndoSetsBox();
  ASSERT_TRUE(play.PutIntoSetsBox(t[3]));
  EXPECT_FALSE(box.CanAccept(board, kOtherTreasure));
  EXPECT_FALSE(box.CanAccept(board, {101, 1})) << "a treasure suit takes only its own face";
}

TEST_F(GamePlayTest, PairsSetsAndRunsAreValidButTwoVariantsAreNot) {
  const auto t = Row(0, {kPipe, kPipe2, kPipe3, kPipe, kBook, kBook});
  play.PutIntoSetsBox(t[0]);
  EXPECT_FALSE(play.SetsBox().IsValidSet(board, false)) << "one tile";
  EXPECT_FALSE(play.SubmitReady());
  play.PutIntoSetsBox(t[1]);
  EXPECT_FALSE(play.SetsBox().IsValidSet(board, false)) << "two pipes of different variants";
  play.Submit();
  EXPECT_EQ(host.sounds.back(), TBoardSound::kRefuse);
  EXPECT_EQ(play.SetsBox().Count(), 2);
  play.PutIntoSetsBox(t[2]);
  EXPECT_TRUE(play.SubmitReady()) << "three pipes of one suit: a run";
  EXPECT_EQ(std::count(host.sounds.begin(), host.sounds.end(), TBoardSound::kSetReady), 1);
  play.PutIntoSetsBox(t[3]);
  EXPECT_TRUE(play.SubmitReady());
  EXPECT_EQ(std::count(host.sounds.begin(), host.sounds.end(), TBoardSound::kSetReady), 1)
      << "the set-ready sound plays when the submit button appears, not again";
  EXPECT_FALSE(play.PutIntoSetsBox(t[4])) << "the box is full";
  play.Submit();
  EXPECT_EQ(board.Ledger().CountOfKind(TScoreKind::kRunOf4), 1);
  EXPECT_EQ(board.Ledger().TotalOfKind(TScoreKind::kRunOf4), 4 * 10 * 3);
  EXPECT_TRUE(play.SetsBox().Empty());
  EXPECT_EQ(host.submitted, std::vector<int>{4});
  // Two identical books are a pair through the box.
  play.PutIntoSetsBox(t[4]);
  play.PutIntoSetsBox(t[5]);
  EXPECT_TRUE(play.SubmitReady());
  play.Submit();
  EXPECT_EQ(board.Ledger().TotalOfKind(TScoreKind::kPair), 10);
  EXPECT_EQ(host.levelEnds.size(), 1u) << "the board is cleared";
}

TEST_F(GamePlayTest, ATreasureDealtFourTimesIsValidOnlyWithAllFourInTheBox) {
  const auto t = Row(0, {kTreasure, kTreasure, kTreasure, kTreasure, kBook, kBook});
  for (int i = 0; i < 3; ++i) play.PutIntoSetsBox(t[i]);
  EXPECT_FALSE(play.SetsBox().IsValidSet(board, false)) << "a copy is still on the board";
  play.PutIntoSetsBox(t[3]);
  ASSERT_TRUE(play.SetsBox().IsValidSet(board, false));
  play.Submit();
  EXPECT_EQ(host.treasureEndings, std::vector<TFace>{kTreasure});
  EXPECT_EQ(play.SetsBox().Count(), 4) << "the box keeps the treasure until the level closes";
  EXPECT_EQ(board.Ledger().CountOfKind(TScoreKind::kSetOf4), 0);
}

TEST_F(GamePlayTest, TheTutorialLevelWantsExactlyThreeOfSuit58AndFourOfSuit36) {
  host.tutorialLevel = true;
  const auto t = Row(0, {{58, 0}, {58, 0}, {58, 0}, {36, 0}, {36, 1}, {36, 2}, {36, 3}});
  play.PutIntoSetsBox(t[0]);
  play.PutIntoSetsBox(t[1]);
  EXPECT_FALSE(play.SubmitReady()) << "a pair of 58 is no lesson";
  play.PutIntoSetsBox(t[2]);
  EXPECT_TRUE(play.SubmitReady());
  play.Submit();
  for (int i = 3; i < 6; ++i) play.PutIntoSetsBox(t[i]);
  EXPECT_FALSE(play.SubmitReady()) << "a run of three of suit 36 is not the lesson";
  play.PutIntoSetsBox(t[6]);
  EXPECT_TRUE(play.SubmitReady());
}

TEST_F(GamePlayTest, UndoAndRedoOfMatchesAndSetsRestoreEverythingExactly) {
  const auto t = Row(0, {kBook, kBook, kPipe, kPipe2, kPipe3, kBell, kBell, kPipe});
  std::vector<TSnapshot> states{Snapshot()};
  board.ClickTile(t[0]);
  board.ClickTile(t[1]);
  states.push_back(Snapshot());
  for (int i : {2, 3, 4}) play.PutIntoSetsBox(t[i]);
  play.Submit();
  states.push_back(Snapshot());
  board.ClickTile(t[5]);
  board.ClickTile(t[6]);
  states.push_back(Snapshot());
  ASSERT_EQ(board.UndoStack().Size(), 3);
  EXPECT_EQ(board.Ledger().Total(), 1000 + 10 + 60 + 10);

  for (int step = 2; step >= 0; --step) {
    play.Undo();
    EXPECT_EQ(Snapshot(), states[step]) << "after undoing to state " << step;
  }
  EXPECT_FALSE(play.CanUndo());
  for (int step = 1; step <= 3; ++step) {
    ASSERT_TRUE(play.Redo()) << step;
    EXPECT_EQ(Snapshot(), states[step]) << "after redoing to state " << step;
  }
  EXPECT_FALSE(play.Redo()) << "nothing left to redo";
  // The redone records undo again like the originals.
  play.Undo();
  play.Undo();
  EXPECT_EQ(Snapshot(), states[1]);
}

TEST_F(GamePlayTest, UndoWithTilesInTheBoxPutsThemBackAndIsNotRedone) {
  const auto t = Row(0, {kPipe, kPipe2, kBook, kBook});
  board.ClickTile(t[2]);
  board.ClickTile(t[3]);
  const int total = board.Ledger().Total();
  play.PutIntoSetsBox(t[0]);
  play.PutIntoSetsBox(t[1]);
  EXPECT_TRUE(play.CanUndo());
  play.Undo();
  EXPECT_TRUE(play.SetsBox().Empty());
  EXPECT_FALSE(board.Tile(t[0]).removed);
  EXPECT_FALSE(board.Tile(t[1]).removed);
  EXPECT_EQ(board.Ledger().Total(), total) << "taking tiles out of the box costs nothing";
  EXPECT_EQ(board.UndoStack().Size(), 1) << "the box's record was taken back at once";
  EXPECT_FALSE(play.CanRedo());
  play.Undo();
  EXPECT_TRUE(play.CanRedo()) << "the pair can be redone";
}

TEST_F(GamePlayTest, RedoTakesBackTheCorrectionThatKeptTheTotalAtZero) {
  TBoard poor(Setup(0));
  TPlayHost poorHost;
  TGamePlay poorPlay(poor, poorHost, 3);
  poor.SetHost(&poorHost);
  poorHost.play = &poorPlay;
  const TTileId a = poor.PlaceTile(0, 0, 0, kBook), b = poor.PlaceTile(0, 4, 0, kBook);
  poor.PlaceTile(0, 8, 0, kBell);
  poor.PlaceTile(0, 12, 0, kBell);
  poor.ClickTile(a);
  poor.ClickTile(b);
  poor.Ledger().AddPurchase(8);  // something bought since: the total is 2
  ASSERT_EQ(poor.Ledger().Total(), 2);
  poorPlay.Undo();
  EXPECT_EQ(poor.Ledger().Total(), 0) << "undo keeps the total at 0";
  EXPECT_EQ(poor.Ledger().TotalOfKind(TScoreKind::kUndoCorrection), 8);
  ASSERT_TRUE(poorPlay.Redo());
  EXPECT_EQ(poor.Ledger().Total(), 2);
  EXPECT_EQ(poor.Ledger().TotalOfKind(TScoreKind::kUndoCorrection), 0);
  EXPECT_EQ(poor.Ledger().TotalOfKind(TScoreKind::kPair), 10);
}

TEST_F(GamePlayTest, ANewMoveOrAShuffleForgetsWhatCouldBeRedone) {
  const auto t = Row(0, {kBook, kBook, kBell, kBell, kPipe, kPipe});
  board.ClickTile(t[0]);
  board.ClickTile(t[1]);
  play.Undo();
  EXPECT_TRUE(play.CanRedo());
  play.PutIntoSetsBox(t[4]);
  EXPECT_FALSE(play.CanRedo()) << "a tile into the box";
  play.Undo();
  board.ClickTile(t[0]);
  board.ClickTile(t[1]);
  play.Undo();
  play.Shuffle();
  EXPECT_FALSE(play.CanRedo()) << "after a shuffle the undone tiles may show other faces";
}

TEST_F(GamePlayTest, RedoRefusesARecordWhoseTilesAreNoLongerOnTheBoard) {
  const auto t = Row(0, {kBook, kBook, kBell, kBell});
  board.ClickTile(t[0]);
  board.ClickTile(t[1]);
  play.Undo();
  board.RemoveTile(t[0]);  // changed behind the play's back
  EXPECT_FALSE(play.Redo());
  EXPECT_FALSE(play.CanRedo());
}

TEST_F(GamePlayTest, HintLightsAPairOrASetAndChargesOnlyWhenItFindsOne) {
  const auto t = Row(0, {kBook, kBell, kBook});
  EXPECT_TRUE(play.Hint());
  EXPECT_EQ(host.lit, (std::vector<TTileId>{t[0], t[2]}));
  EXPECT_EQ(board.Ledger().Total(), 950);
  EXPECT_EQ(host.sounds.back(), TBoardSound::kHint);
  play.PutIntoSetsBox(t[1]);
  EXPECT_FALSE(play.Hint()) << "refused while the box holds tiles";
  EXPECT_EQ(host.sounds.back(), TBoardSound::kRefuse);
  EXPECT_EQ(board.Ledger().Total(), 950);
}

TEST_F(GamePlayTest, HintWithNothingToFindChargesNothingAndHintBelowThePriceIsRefused) {
  Row(0, {kBook, kBell});
  host.lit.clear();
  EXPECT_TRUE(play.Hint());
  EXPECT_TRUE(host.lit.empty());
  EXPECT_EQ(board.Ledger().Total(), 1000);

  TBoard poor(Setup(40));
  TPlayHost poorHost;
  TGamePlay poorPlay(poor, poorHost, 3);
  poor.SetHost(&poorHost);
  poor.PlaceTile(0, 0, 0, kBook);
  poor.PlaceTile(0, 4, 0, kBook);
  EXPECT_FALSE(poorPlay.Hint()) << "a total of 40 does not pay a hint of 50";
  EXPECT_TRUE(poorHost.lit.empty());
  EXPECT_EQ(poor.Ledger().Total(), 40);
}

TEST_F(GamePlayTest, AHintFindsAPairThatBlocksItself) {
  // Two books side by side with nothing else in their row: each blocks the other's inner
  // side but both are free on the outside... so put a third tile on the right to block.
  const TTileId a = Place(0, 0, 0, kBook);
  const TTileId b = Place(0, 2, 0, kBook);
  Place(0, 4, 0, kBell);
  // Only a is free (b has a on the left and the bell on the right).
  ASSERT_TRUE(board.IsSelectable(a));
  ASSERT_FALSE(board.IsSelectable(b));
  EXPECT_TRUE(play.Hint());
  EXPECT_EQ(host.lit, (std::vector<TTileId>{a, b}));
  // Clearing it needs the box: a goes in first, then b is free.
  board.ClickTile(a);
  EXPECT_TRUE(play.DropSelectedIntoSetsBox());
  EXPECT_TRUE(board.IsSelectable(b));
  EXPECT_TRUE(play.PutIntoSetsBox(b));
  play.Submit();
  EXPECT_EQ(board.Ledger().TotalOfKind(TScoreKind::kPair), 10);
}

TEST_F(GamePlayTest, ShuffleKeepsTreasuresAndTheCountOfEveryFace) {
  const auto t = Row(0, {kBook, kBook, kBell, kBell, kTreasure, kPipe, kPipe2});
  std::map<std::pair<int, int>, int> before;
  for (TTileId id : t) ++before[{board.Tile(id).face.suit, board.Tile(id).face.variant}];
  play.Shuffle();
  std::map<std::pair<int, int>, int> after;
  for (TTileId id : t) ++after[{board.Tile(id).face.suit, board.Tile(id).face.variant}];
  EXPECT_EQ(before, after);
  EXPECT_EQ(board.Tile(t[4]).face, kTreasure);
  EXPECT_EQ(board.Ledger().Total(), 900);
  EXPECT_EQ(host.sounds.back(), TBoardSound::kShuffle);
  play.PutIntoSetsBox(t[0]);
  play.Shuffle();
  EXPECT_EQ(host.sounds.back(), TBoardSound::kRefuse) << "not while the box holds tiles";
  EXPECT_EQ(board.Ledger().Total(), 900);
}

TEST_F(GamePlayTest, UndoAfterAPurchaseLeavesThePurchase) {
  const auto t = Row(0, {kBook, kBook, kBell, kBell});
  board.ClickTile(t[0]);
  board.ClickTile(t[1]);
  play.Hint();
  play.Undo();
  EXPECT_EQ(board.Ledger().Total(), 1000 - 50);
  play.Undo();  // an empty stack: nothing changes
  EXPECT_EQ(board.Ledger().Total(), 1000 - 50);
}

TEST_F(GamePlayTest, AKennyPairChangesNoScoreAndItsGiftGoesBackWithUndo) {
  const auto t = Row(0, {kKennyFace, kKennyFace, kBook, kBook});
  const TSnapshot start = Snapshot();
  board.ClickTile(t[0]);
  board.ClickTile(t[1]);
  EXPECT_EQ(host.kennyOffers, 1);
  EXPECT_EQ(board.Ledger().Total(), 1000);
  const TKennyGift gift = play.ChooseKennyGift(TKennyChoice::kSureGift);
  EXPECT_EQ(gift.money, 10);
  play.AssignKennyUndo();
  EXPECT_EQ(board.Ledger().Total(), 1010);
  EXPECT_EQ(board.Ledger().TotalOfKind(TScoreKind::kKennyGift), 10);
  const TSnapshot gifted = Snapshot();
  play.Undo();
  EXPECT_EQ(Snapshot(), start) << "both Kenny tiles back, the money gone";
  ASSERT_TRUE(play.Redo());
  EXPECT_EQ(Snapshot(), gifted);
}

TEST_F(GamePlayTest, AGambledTreasureGoesToTheCollectionAndBackOnUndoOrQuit) {
  const auto t = Row(0, {kKennyFace, kKennyFace, kBook, kBook, kBell, kBell});
  TGamePlay& p = play;
  board.ClickTile(t[0]);
  board.ClickTile(t[1]);
  // Through the play, whose own roll decides: try again until the treasure comes.
  TKennyGift played;
  for (int attempt = 0; attempt < 200; ++attempt) {
    played = p.ChooseKennyGift(TKennyChoice::kGamble);
    if (played.outcome == TKennyOutcome::kTreasure) break;
    p.AssignKennyUndo();
    p.Undo();  // take the Kenny pair and whatever it brought back, and match it again
    ASSERT_FALSE(board.Tile(t[0]).removed);
    board.ClickTile(t[0]);
    board.ClickTile(t[1]);
  }
  ASSERT_EQ(played.outcome, TKennyOutcome::kTreasure);
  p.AssignKennyUndo();
  EXPECT_EQ((host.collection[{kOtherTreasure.suit, kOtherTreasure.variant}]), 1);
  // A later match, then quitting: the gift leaves the collection.
  board.ClickTile(t[2]);
  board.ClickTile(t[3]);
  p.TakeBackGifts();
  EXPECT_EQ((host.collection[{kOtherTreasure.suit, kOtherTreasure.variant}]), 0);
}

TEST(KennyOffer, TheGambleFollowsItsChancesAndTheSureGiftIsTheCost) {
  TKennySettings settings;
  settings.giftCost = 100;
  settings.treasureChance = 0.1;
  settings.badIdeaChance = 0.4;
  const TFace treasure{110, 1};
  EXPECT_EQ(ChooseKennyGift(TKennyChoice::kSureGift, settings, 0.0, treasure).money, 100);
  EXPECT_EQ(ChooseKennyGift(TKennyChoice::kGamble, settings, 0.05, treasure).outcome,
            TKennyOutcome::kTreasure);
  EXPECT_EQ(ChooseKennyGift(TKennyChoice::kGamble, settings, 0.05, treasure).money, 0);
  EXPECT_EQ(ChooseKennyGift(TKennyChoice::kGamble, settings, 0.1, treasure).outcome,
            TKennyOutcome::kBadIdea);
  EXPECT_EQ(ChooseKennyGift(TKennyChoice::kGamble, settings, 0.49, treasure).outcome,
            TKennyOutcome::kBadIdea);
  const TKennyGift rest = ChooseKennyGift(TKennyChoice::kGamble, settings, 0.5, treasure);
  EXPECT_EQ(rest.outcome, TKennyOutcome::kDoubleMoney);
  EXPECT_EQ(rest.money, 200);
  // No treasure left to give: the treasure's share pays money.
  EXPECT_EQ(ChooseKennyGift(TKennyChoice::kGamble, settings, 0.05, kNoFace).outcome,
            TKennyOutcome::kDoubleMoney);
  // Damaged chances are clamped: everything is a bad idea.
  settings.treasureChance = -3;
  settings.badIdeaChance = 7;
  EXPECT_EQ(ChooseKennyGift(TKennyChoice::kGamble, settings, 0.99, treasure).outcome,
            TKennyOutcome::kBadIdea);
}

TEST_F(GamePlayTest, AppraisalModeNeedsTheMoneyAndAClickBuysTheAppraisal) {
  const auto t = Row(0, {kTreasure, kBook});
  play.ToggleAppraisal();
  EXPECT_TRUE(board.appraisalMode);
  EXPECT_TRUE(host.magnifierCursor);
  play.ToggleAppraisal();
  EXPECT_FALSE(board.appraisalMode);
  EXPECT_FALSE(host.magnifierCursor);
  play.ToggleAppraisal();
  play.Appraise(t[0]);
  EXPECT_FALSE(board.appraisalMode);
  EXPECT_EQ(host.appraisals, std::vector<TFace>{kTreasure});
  EXPECT_EQ(board.Ledger().Total(), 970);

  TBoard poor(Setup(20));
  TPlayHost poorHost;
  TGamePlay poorPlay(poor, poorHost, 3);
  poor.SetHost(&poorHost);
  const TTileId tile = poor.PlaceTile(0, 0, 0, kTreasure);
  poorPlay.ToggleAppraisal();
  EXPECT_FALSE(poor.appraisalMode) << "20 does not pay an appraisal of 30";
  poorPlay.Appraise(tile);
  EXPECT_TRUE(poorHost.appraisals.empty()) << "the price is checked when buying, too";
  EXPECT_EQ(poor.Ledger().Total(), 20);
}

TEST_F(GamePlayTest, AutoWinEndsTheLevelWithTheFirstAntiqueFace) {
  Row(0, {kBook, kBook, kOtherTreasure, kTreasure});
  EXPECT_TRUE(play.AutoWin());
  ASSERT_EQ(host.treasureEndings.size(), 1u);
  EXPECT_EQ(host.treasureEndings[0], kOtherTreasure) << "grid order: the lower x first";

  TBoardSetup freePlay = Setup(0);
  freePlay.campaignMode = false;
  TBoard other(freePlay);
  TPlayHost otherHost;
  TGamePlay otherPlay(other, otherHost, 1);
  other.PlaceTile(0, 0, 0, kBook);
  other.PlaceTile(0, 2, 0, kBook);
  other.PlaceTile(1, 0, 0, kBook);
  EXPECT_TRUE(otherPlay.AutoWin()) << "free play: the board is cleared";
  EXPECT_EQ(other.TilesOnBoard(), 0);
  EXPECT_TRUE(other.LevelEnded());
  EXPECT_TRUE(other.WonFace().IsNone());
  EXPECT_FALSE(otherPlay.AutoWin()) << "once ended, nothing more";
}

// More than 512 records at once (the old fixed capacity): every one undoes and redoes.
TEST_F(GamePlayTest, TheUndoStackHoldsEveryRecordOfALargeBoard) {
  TBoard big(Setup(0));
  TPlayHost bigHost;
  TGamePlay bigPlay(big, bigHost, 1);
  big.SetHost(&bigHost);
  bigHost.play = &bigPlay;
  // Every cell of the grid that a tile can stand on without overlapping, all one face:
  // 1064 tiles, matched in free pairs until two are left (the level must not end).
  std::vector<TTileId> ids;
  for (int layer = 0; layer < 7; ++layer)
    for (int y = 0; y < 16; y += 2)
      for (int x = 0; x < 38; x += 2) ids.push_back(big.PlaceTile(layer, x, y, kBook));
  ASSERT_EQ(ids.size(), 7u * 8 * 19);
  int pairs = 0;
  while (big.TilesOnBoard() > 2) {
    const std::vector<TTileId> free = big.FreeTiles();
    ASSERT_GE(free.size(), 2u);
    big.ClickTile(free[0]);
    big.ClickTile(free[1]);
    ++pairs;
  }
  ASSERT_GT(pairs, 512);
  EXPECT_EQ(big.UndoStack().Size(), pairs);
  for (int i = 0; i < pairs; ++i) bigPlay.Undo();
  EXPECT_EQ(big.TilesOnBoard(), static_cast<int>(ids.size()));
  EXPECT_EQ(big.Ledger().Total(), 0);
  for (int i = 0; i < pairs; ++i) ASSERT_TRUE(bigPlay.Redo()) << i;
  EXPECT_EQ(big.Ledger().TotalOfKind(TScoreKind::kPair), pairs * 10);
}
