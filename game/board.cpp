#include "game/board.h"

#include <algorithm>

#include "game/face_catalogue.h"
#include "game/free_rule.h"
#include "game/move_finder.h"

namespace {

int CellIndex(int layer, int x, int y) {
  return TLevelLayout::CellIndex(layer, x, y);
}

}  // namespace

TBoard::TBoard(const TBoardSetup& setup)
    : mCampaignMode(setup.campaignMode),
      mLedger(std::make_unique<TScoreLedger>(setup.score, setup.amountSeed)),
      mSearchRandom(setup.searchSeed),
      mDealtByFace(kCatalogueFaceCount, 0) {
  mCells.fill(kNoTile);
  mLedger->Add(setup.bankroll, 1.0, TScoreKind::kBankroll);
}

TBoard::~TBoard() = default;

// --- Grid ---------------------------------------------------------------------------------

TTileId TBoard::PlaceTile(int layer, int x, int y, TFace face) {
  if (!TLevelLayout::InGrid(layer, x, y) || !IsCataloguedFace(face)) return kNoTile;
  const int cell = CellIndex(layer, x, y);
  // A second face for an occupied cell is dropped; the tile there is neither duplicated
  // nor counted twice.
  if (mCells[cell] != kNoTile) return mCells[cell];
  TBoardTile tile;
  tile.face = face;
  tile.layer = static_cast<int16_t>(layer);
  tile.x = static_cast<int16_t>(x);
  tile.y = static_cast<int16_t>(y);
  const TTileId id = static_cast<TTileId>(mTiles.size());
  mTiles.push_back(tile);
  mCells[cell] = static_cast<int16_t>(id);
  ++mDealtByFace[FaceIndex(face)];
  ++mTilesOnBoard;
  mGridOrderValid = false;
  mHost->OnTilePlaced(id);
  return id;
}

void TBoard::ClearGrid() {
  mHost->OnGridCleared();
  ClearSelection();
  mTiles.clear();
  mCells.fill(kNoTile);
  std::fill(mDealtByFace.begin(), mDealtByFace.end(), 0);
  mTilesOnBoard = 0;
  mGridOrder.clear();
  mGridOrderValid = true;
}

void TBoard::RecountTiles(bool restack) {
  mTilesOnBoard = static_cast<int>(
      std::count_if(mTiles.begin(), mTiles.end(), [](const TBoardTile& t) { return !t.removed; }));
  if (restack) {
    const std::vector<TTileId> order = DrawingOrder();
    mHost->OnDrawingOrder(order);
  }
}

TTileId TBoard::TileAt(int layer, int x, int y) const {
  return TLevelLayout::InGrid(layer, x, y) ? mCells[CellIndex(layer, x, y)] : kNoTile;
}

const std::vector<TTileId>& TBoard::GridOrder() const {
  if (!mGridOrderValid) {
    mGridOrder.clear();
    for (int cell = 0; cell < TLevelLayout::kCells; ++cell)
      if (mCells[cell] != kNoTile) mGridOrder.push_back(mCells[cell]);
    mGridOrderValid = true;
  }
  return mGridOrder;
}

std::vector<TTileId> TBoard::DrawingOrder() const {
  std::vector<TTileId> order;
  order.reserve(mTiles.size());
  for (int layer = 0; layer < TLevelLayout::kLayers; ++layer)
    for (int diagonal = TLevelLayout::kColumns - 1; diagonal >= -TLevelLayout::kColumns; --diagonal)
      for (int y = std::min(TLevelLayout::kRows - 1, TLevelLayout::kColumns - 1 - diagonal); y >= 0;
           --y) {
        const TTileId id = TileAt(layer, diagonal + y, y);
        if (id != kNoTile && !mTiles[id].removed) order.push_back(id);
      }
  return order;
}

int TBoard::DealtCount(TFace face) const {
  const int index = FaceIndex(face);
  return index < 0 ? 0 : mDealtByFace[index];
}

bool TBoard::HasManyCopies(TFace face) const {
  return IsTreasureSuit(face.suit) && DealtCount(face) > 2;
}

// --- Free rule ----------------------------------------------------------------------------

bool TBoard::Stands(int layer, int x, int y) const {
  const TTileId id = TileAt(layer, x, y);
  return id != kNoTile && !mTiles[id].removed;
}

bool TBoard::IsFree(int layer, int x, int y) const {
  return free_rule::IsFree([this](int l, int cx, int cy) { return Stands(l, cx, cy); }, layer, x,
                           y);
}

bool TBoard::IsSelectable(TTileId id) const {
  if (id < 0 || id >= TileCount()) return false;
  const TBoardTile& tile = mTiles[id];
  return !tile.removed && IsFree(tile.layer, tile.x, tile.y);
}

bool TBoard::IsTopVisible(int layer, int x, int y) const {
  return free_rule::IsTopVisible([this](int l, int cx, int cy) { return Stands(l, cx, cy); }, layer,
                                 x, y);
}

std::vector<TTileId> TBoard::FreeTiles() const {
  std::vector<TTileId> free;
  for (TTileId id : GridOrder())
    if (IsSelectable(id)) free.push_back(id);
  return free;
}

// --- Selection and matching ---------------------------------------------------------------

bool TBoard::InSelection(TTileId id) const {
  return std::any_of(mSelection.begin(), mSelection.begin() + mSelectionCount,
                     [id](const TPlacedTile& entry) { return entry.tile == id; });
}

void TBoard::DropFromSelection(TTileId id) {
  auto end = mSelection.begin() + mSelectionCount;
  auto it = std::remove_if(mSelection.begin(), end,
                           [id](const TPlacedTile& entry) { return entry.tile == id; });
  mSelectionCount = it - mSelection.begin();
  std::fill(it, mSelection.end(), TPlacedTile{});
}

void TBoard::SetSelected(TTileId id, bool selected) {
  mTiles[id].selected = selected;
  mHost->OnTileSelectionChanged(id);
}

TPlacedTile TBoard::Placed(TTileId id) const {
  const TBoardTile& tile = mTiles[id];
  return {id, tile.layer, tile.x, tile.y};
}

TSelectResult TBoard::ClickTile(TTileId id) {
  // Once the level has ended (the treasure ending fades the tiles left) nothing is matched.
  if (id < 0 || id >= TileCount() || mLevelEnded) return TSelectResult::kNothing;
  const TBoardTile& tile = mTiles[id];
  if (mHost->SetsBoxCount() >= 4 || !mHost->SetsBoxCanTake(tile) || !IsSelectable(id)) {
    mHost->PlaySound(TBoardSound::kRefuse);
    return TSelectResult::kRefused;
  }
  // Treasures dealt more than twice go through the sets box, all copies at once.
  if (HasManyCopies(tile.face)) return TSelectResult::kNothing;
  // While a set is being built, left clicks do not select.
  if (mHost->SetsBoxCount() > 0) return TSelectResult::kNothing;
  // A move that would break the tutorial's lesson: the selection is dropped and the click
  // refused, audibly.
  if (mSelectionCount > 0 && mHost->TutorialBlocksSelection(tile)) {
    ClearSelection();
    mHost->PlaySound(TBoardSound::kRefuse);
    return TSelectResult::kDeselectedAll;
  }
  return SelectTile(id, true);
}

TSelectResult TBoard::SelectTile(TTileId id, bool checkFree) {
  if (id < 0 || id >= TileCount() || mSelectionCount >= mSelection.size())
    return TSelectResult::kNothing;
  if (InSelection(id)) {
    DropFromSelection(id);
    SetSelected(id, false);
    mHost->PlaySound(TBoardSound::kDeselect);
    return TSelectResult::kDeselected;
  }
  if (checkFree && !IsSelectable(id)) return TSelectResult::kNothing;
  mSelection[mSelectionCount++] = Placed(id);
  SetSelected(id, true);
  if (mSelectionCount == 1) {
    mHost->PlaySound(TBoardSound::kSelect);
    return TSelectResult::kSelected;
  }
  if (mSelectionCount == 2) return MatchSelection();
  return TSelectResult::kAddedToSelection;
}

TSelectResult TBoard::MatchSelection() {
  const TTileId first = mSelection[0].tile;
  const TTileId second = mSelection[1].tile;
  const TFace firstFace = mTiles[first].face;
  if (IsKennySuit(firstFace.suit) && IsKennySuit(mTiles[second].face.suit)) {
    mUndo.Push(Selection(), -1);
    RemoveTile(second);
    RemoveTile(first);
    mHost->OnKennyPair();
    return TSelectResult::kKennyPair;
  }
  const TFace faces[] = {firstFace, mTiles[second].face};
  const int slot = mLedger->AddForTiles(faces);
  if (slot < 0) {
    mHost->PlaySound(TBoardSound::kSelect);
    DropFromSelection(first);
    SetSelected(first, false);
    return TSelectResult::kMismatch;
  }
  mHost->OnPairAccepted(first, second, slot);
  mUndo.Push(Selection(), slot);
  // A treasure pair stays on the board through the treasure ending, which ends the level.
  if (IsTreasureSuit(firstFace.suit)) {
    mHost->OnTreasurePair(firstFace);
    return TSelectResult::kTreasurePair;
  }
  for (TTileId id : {second, first}) {
    mHost->OnMatchShown(id);
    RemoveTile(id);
  }
  EndCheck();
  return TSelectResult::kMatched;
}

void TBoard::DeselectAll() {
  const bool any = mSelectionCount > 0;
  ClearSelection();
  if (any) mHost->PlaySound(TBoardSound::kDeselect);
}

void TBoard::ClearSelection() {
  while (mSelectionCount > 0) {
    const TTileId id = mSelection[0].tile;
    DropFromSelection(id);
    SetSelected(id, false);
  }
}

void TBoard::RemoveSelected(int index) {
  if (index < 0 || static_cast<size_t>(index) >= mSelectionCount) return;
  RemoveTile(mSelection[index].tile);
}

void TBoard::RemoveTile(TTileId id) {
  if (id < 0 || id >= TileCount() || mTiles[id].removed) return;
  mHost->OnTileRemoved(id);
  mTiles[id].removed = true;
  --mTilesOnBoard;
  if (InSelection(id)) {
    DropFromSelection(id);
    SetSelected(id, false);
  }
}

// --- Moves and the end of the level -------------------------------------------------------

std::optional<std::array<TTileId, 2>> TBoard::FindPair() {
  return TMoveFinder(*this).FindPair(&mSearchRandom);
}

std::vector<TTileId> TBoard::FindSet() const {
  return TMoveFinder(*this).FindSet();
}

bool TBoard::NoMovesLeft() const {
  if (mTilesOnBoard == 0) return false;
  const TMoveFinder finder(*this);
  return !finder.FindPair(nullptr) && finder.FindSet().empty();
}

TEndCheck TBoard::EndCheck() {
  if (mTilesOnBoard == 0) {
    EndLevel(kNoFace);
    return TEndCheck::kCleared;
  }
  if (NoMovesLeft()) {
    mHost->OnNoMovesLeft();
    return TEndCheck::kNoMovesLeft;
  }
  return TEndCheck::kPlaying;
}

void TBoard::EndLevel(TFace won) {
  mLevelEnded = true;
  mWonFace = won;
  mHost->OnLevelEnded(won);
}

bool TBoard::StartTreasureEnding() {
  if (mTreasureEndingStarted) return false;
  mTreasureEndingStarted = true;
  mLevelEnded = true;
  return true;
}

std::vector<TTileId> TBoard::TilesToCash(TFace won) const {
  std::vector<TTileId> tiles;
  for (int x = 0; x < TLevelLayout::kColumns; ++x)
    for (int layer = TLevelLayout::kLayers - 1; layer >= 0; --layer)
      for (int y = 0; y < TLevelLayout::kRows; ++y) {
        const TTileId id = TileAt(layer, x, y);
        if (id == kNoTile || mTiles[id].removed) continue;
        const TFace face = mTiles[id].face;
        if (IsTreasureSuit(face.suit) && face == won) continue;
        tiles.push_back(id);
      }
  return tiles;
}

void TBoard::FinishTreasureEnding(TFace won) {
  if (!StartTreasureEnding()) return;
  mLedger->AddRemaining(static_cast<int>(TilesToCash(won).size()));
  EndLevel(won);
}

// --- Undo, faces --------------------------------------------------------------------------

bool TBoard::UndoLastRecord() {
  DeselectAll();
  if (mLevelEnded) return false;
  TUndoRecord record;
  if (!mUndo.Pop(record)) {
    RecountTiles(true);
    return false;
  }
  for (int i = 0; i < record.count; ++i) {
    const TPlacedTile& entry = record.tiles[i];
    const TTileId id = TileAt(entry.layer, entry.x, entry.y);
    if (id == kNoTile) break;
    mTiles[id].removed = false;
    mTiles[id].selected = false;
    mHost->OnTileRestored(id);
  }
  if (!record.gift.IsNone()) mHost->OnGiftTakenBack(record.gift);
  mLedger->Remove(record.scoreSlot);
  RecountTiles(true);
  return true;
}

void TBoard::SetTileFace(TTileId id, TFace face) {
  if (id < 0 || id >= TileCount() || !IsCataloguedFace(face)) return;
  --mDealtByFace[FaceIndex(mTiles[id].face)];
  mTiles[id].face = face;
  ++mDealtByFace[FaceIndex(face)];
  mHost->OnTileFaceChanged(id);
}

TTileScreenPosition TileScreenPosition(int layer, int x, int y) {
  return {(layer * 13) / 2 + x * 20 + 12, y * 28 - (layer * 15) / 2 + 72};
}
