#include "game/game_play.h"

#include <algorithm>

#include "frame/log.h"
#include "game/deal.h"
#include "game/face_shuffle.h"

TGamePlay::TGamePlay(TBoard& board, TGamePlayHost& host, uint32_t seed)
    : mBoard(board), mHost(host), mRandom(seed), mKenny(TKennySettings::FromSettings()) {}

// --- The sets box ---------------------------------------------------------------------------

bool TGamePlay::PutIntoSetsBox(TTileId id) {
  if (id < 0 || id >= mBoard.TileCount()) return false;
  const TBoardTile& tile = mBoard.Tile(id);
  if (tile.removed || !mSetsBox.CanHold(mBoard, tile.face)) return false;
  const TPlacedTile entry{id, tile.layer, tile.x, tile.y};
  mBoard.RemoveTile(id);
  mHost.PlayCue(TBoardSound::kPlaced);
  mSetsBox.Append(entry);
  ForgetRedo();
  BoxChanged();
  return true;
}

bool TGamePlay::DropSelectedIntoSetsBox() {
  const std::span<const TPlacedTile> selection = mBoard.Selection();
  if (selection.empty()) return false;
  return PutIntoSetsBox(selection.back().tile);
}

void TGamePlay::BoxChanged() {
  SetSubmitReady(mSetsBox.IsValidSet(mBoard, mHost.TutorialLevel()));
  mHost.SetsBoxChanged();
  mHost.UndoStateChanged();
}

void TGamePlay::SetSubmitReady(bool ready) {
  if (ready && !mSubmitReady) mHost.PlayCue(TBoardSound::kSetReady);
  mSubmitReady = ready;
}

std::vector<TPlacedTile> TGamePlay::BoxEntries() const {
  const std::span<const TPlacedTile> entries = mSetsBox.Entries();
  return {entries.begin(), entries.end()};
}

void TGamePlay::Submit() {
  mHost.ShowAppraisalCursor(false);
  if (mBoard.LevelEnded() || !mSetsBox.IsValidSet(mBoard, mHost.TutorialLevel())) {
    mHost.PlayCue(TBoardSound::kRefuse);
    return;
  }
  const TFace first = mSetsBox.FirstFace(mBoard);
  mHost.OnSubmitting(first);
  if (IsTreasureSuit(first.suit)) {
    // The box keeps the treasure tiles until the level closes.
    mSubmitReady = false;
    mHost.SetsBoxChanged();
    mHost.StartTreasureEnding(first);
    return;
  }
  const std::vector<TPlacedTile> entries = BoxEntries();
  int slot = -1;
  if (!IsKennySuit(first.suit)) {
    slot = mBoard.Ledger().AddForTiles(mSetsBox.Faces(mBoard));
    if (slot < 0) return;
    mHost.PlayCue(TBoardSound::kSubmit);
    mHost.ScoreChanged();
  }
  mBoard.UndoStack().Push(entries, slot);
  ForgetRedo();
  mHost.SetsSubmitted(mSetsBox);
  mSetsBox.Clear();
  mSubmitReady = false;
  mHost.SetsBoxChanged();
  mHost.UndoStateChanged();
  if (IsKennySuit(first.suit)) {
    mHost.OpenKennyOffer();
    return;
  }
  mBoard.EndCheck();
}

void TGamePlay::UndoSetsBox() {
  if (mSetsBox.Empty()) return;
  // The box's tiles go back as one record that is taken back at once: each returns to
  // its cell, nothing is scored.
  mBoard.UndoStack().Push(BoxEntries(), -1);
  mSetsBox.Clear();
  mSubmitReady = false;
  mBoard.UndoLastRecord();
  mHost.SetsBoxChanged();
  mHost.UndoStateChanged();
  mBoard.EndCheck();
}

// --- Help, undo and redo --------------------------------------------------------------------

void TGamePlay::Charge(int price) {
  mBoard.Ledger().AddPurchase(price);
  mHost.ScoreChanged();
}

bool TGamePlay::Hint() {
  mHost.ShowAppraisalCursor(false);
  const int price = mBoard.Ledger().HintCost();
  if (!mBoard.Ledger().CanAfford(price)) return false;
  if (!mSetsBox.Empty()) {
    mHost.PlayCue(TBoardSound::kRefuse);
    return false;
  }
  if (const auto pair = mBoard.FindPair()) {
    mHost.LightHint(*pair);
  } else {
    const std::vector<TTileId> set = mBoard.FindSet();
    if (set.empty()) return true;
    mHost.LightHint(set);
  }
  Charge(price);
  mHost.PlayCue(TBoardSound::kHint);
  mBoard.EndCheck();
  return true;
}

void TGamePlay::Shuffle() {
  mHost.ShowAppraisalCursor(false);
  if (!mBoard.Selection().empty()) mBoard.DeselectAll();
  const int price = mBoard.Ledger().ShuffleCost();
  if (mBoard.LevelEnded() || !mBoard.Ledger().CanAfford(price) || !mSetsBox.Empty()) {
    mHost.PlayCue(TBoardSound::kRefuse);
    return;
  }
  ShuffleFaces(mBoard, mRandom, SolvableDealsSetting());
  ForgetRedo();
  Charge(price);
  mHost.UndoStateChanged();
  mHost.ClearPreview();
  mHost.PlayCue(TBoardSound::kShuffle);
  mBoard.EndCheck();
}

bool TGamePlay::CanUndo() const {
  return !mSetsBox.Empty() || !mBoard.UndoStack().Empty();
}

void TGamePlay::Undo() {
  mHost.ShowAppraisalCursor(false);
  if (!mSetsBox.Empty() && !mBoard.LevelEnded()) {
    UndoSetsBox();
    return;
  }
  const TUndoRecord* top = mBoard.UndoStack().Top();
  if (mBoard.LevelEnded() || !top) {
    mBoard.UndoLastRecord();  // deselects and recounts, takes nothing back
    return;
  }
  TRedoEntry redo;
  redo.record = *top;
  if (const TScoreEntry* entry = mBoard.Ledger().Entry(top->scoreSlot)) redo.score = *entry;
  TScoreLedger& ledger = mBoard.Ledger();
  const int slotsBefore = ledger.SlotsUsed();
  mBoard.UndoLastRecord();
  // The ledger adds one correction entry when the total would have gone below 0.
  if (ledger.SlotsUsed() > slotsBefore) redo.correctionSlot = ledger.SlotsUsed() - 1;
  mRedo.push_back(redo);
  mHost.ScoreChanged();
  mHost.UndoStateChanged();
}

bool TGamePlay::Redo() {
  mHost.ShowAppraisalCursor(false);
  if (mRedo.empty() || mBoard.LevelEnded() || !mSetsBox.Empty()) return false;
  const TRedoEntry redo = mRedo.back();
  // Every tile of the record must stand on its cell again, as undo left it.
  for (int i = 0; i < redo.record.count; ++i) {
    const TPlacedTile& entry = redo.record.tiles[i];
    const TTileId id = mBoard.TileAt(entry.layer, entry.x, entry.y);
    if (id != entry.tile || mBoard.Tile(id).removed) {
      mRedo.clear();
      return false;
    }
  }
  mRedo.pop_back();
  mBoard.ClearSelection();
  for (int i = redo.record.count - 1; i >= 0; --i) mBoard.RemoveTile(redo.record.tiles[i].tile);
  TScoreLedger& ledger = mBoard.Ledger();
  const int slot = redo.score ? ledger.Restore(*redo.score) : -1;
  ledger.Remove(redo.correctionSlot);
  mBoard.UndoStack().Push(std::span(redo.record.tiles.data(), size_t(redo.record.count)), slot);
  if (!redo.record.gift.IsNone() && mHost.GiveTreasure(redo.record.gift))
    mBoard.UndoStack().SetTopGift(redo.record.gift);
  mBoard.RecountTiles(true);
  mHost.ScoreChanged();
  mHost.UndoStateChanged();
  mBoard.EndCheck();
  return true;
}

// --- Appraisal ------------------------------------------------------------------------------

void TGamePlay::ToggleAppraisal() {
  if (mBoard.appraisalMode) {
    mHost.ShowAppraisalCursor(false);
    mBoard.appraisalMode = false;
  } else if (mBoard.Ledger().CanAfford(mBoard.Ledger().AppraisalCost())) {
    mHost.ShowAppraisalCursor(true);
    mBoard.appraisalMode = true;
  }
}

void TGamePlay::Appraise(TTileId id) {
  mHost.ShowAppraisalCursor(false);
  mBoard.appraisalMode = false;
  if (id < 0 || id >= mBoard.TileCount()) return;
  mAppraised = mBoard.Tile(id).face;
  BuyAppraisal();
}

bool TGamePlay::BuyAppraisal() {
  mHost.ShowAppraisalCursor(false);
  const int price = mBoard.Ledger().AppraisalCost();
  if (mAppraised.IsNone() || !mBoard.Ledger().CanAfford(price)) {
    mHost.PlayCue(TBoardSound::kRefuse);
    return false;
  }
  Charge(price);
  mHost.OpenAppraisal(mAppraised);
  return true;
}

// --- Zozad Uravi's offer --------------------------------------------------------------------

TKennyGift TGamePlay::ChooseKennyGift(TKennyChoice choice) {
  const double roll = mRandom.Next() * (1.0 / 4294967296.0);
  TKennyGift gift = ::ChooseKennyGift(
      choice, mKenny, roll, choice == TKennyChoice::kGamble ? mHost.OfferTreasure() : kNoFace);
  mPendingGiftSlot = -1;
  if (gift.outcome == TKennyOutcome::kTreasure && !mHost.GiveTreasure(gift.treasure)) {
    // The collection could not take it: the sure gift instead.
    gift.outcome = TKennyOutcome::kSureGift;
    gift.treasure = kNoFace;
    gift.money = mKenny.giftCost;
  }
  if (gift.money > 0) {
    mPendingGiftSlot = mBoard.Ledger().Add(gift.money, 1.0, TScoreKind::kKennyGift);
    mHost.ScoreChanged();
  }
  Log("Kenny offer: %s, $%d%s", choice == TKennyChoice::kGamble ? "gamble" : "sure gift",
      gift.money, gift.outcome == TKennyOutcome::kTreasure ? " and a treasure" : "");
  mPendingGift = gift;
  return gift;
}

void TGamePlay::AssignKennyUndo() {
  if (!mPendingGift) return;
  TUndoRecord* top = mBoard.UndoStack().Top();
  // The gift belongs to the Kenny pair that brought the offer: the top record, with no
  // score of its own.
  if (top && top->scoreSlot < 0 && top->count > 0 &&
      IsKennySuit(mBoard.Tile(top->tiles[0].tile).face.suit)) {
    top->scoreSlot = mPendingGiftSlot;
    top->gift = mPendingGift->treasure;
  }
  mPendingGift.reset();
  mPendingGiftSlot = -1;
}

void TGamePlay::TakeBackGifts() {
  AssignKennyUndo();
  for (const TUndoRecord& record : mBoard.UndoStack().Records())
    if (!record.gift.IsNone()) mHost.TakeBackTreasure(record.gift);
}

bool TGamePlay::AutoWin() {
  if (mBoard.LevelEnded()) return false;
  if (!mBoard.CampaignMode()) {
    mBoard.ClearSelection();
    const std::vector<TTileId> tiles = mBoard.GridOrder();
    for (TTileId id : tiles) mBoard.RemoveTile(id);
    return mBoard.EndCheck() == TEndCheck::kCleared;
  }
  for (TTileId id : mBoard.GridOrder()) {
    const TFace face = mBoard.Tile(id).face;
    if (!HasAntiqueLook(face.suit)) continue;
    mBoard.ClearSelection();
    mBoard.SelectTile(id, false);
    mHost.StartTreasureEnding(face);
    return true;
  }
  return false;
}
