#include "game/window/board_view.h"

#include "game/window/tile.h"
#include "gfx/renderer.h"
#include "ui/sound_player.h"
#include "ui/window.h"
#include "ui/window_manager.h"

namespace {

// The board's sounds, in the order of TBoardSound.
constexpr const char* kSoundFiles[] = {
    "audio/sfx/tile_select_1.ogg", "audio/sfx/negative.ogg",      "audio/sfx/henry_start.ogg",
    "audio/sfx/click_hint.ogg",    "audio/sfx/click_shuffle.ogg", "audio/sfx/sets_activated.ogg",
    "audio/sfx/tile_rollover.ogg", "audio/sfx/tile_deselect.ogg", "audio/sfx/sets_tileplaced.ogg",
    "audio/sfx/click_submit.ogg"};
static_assert(std::size(kSoundFiles) == static_cast<size_t>(TBoardSound::kSubmit) + 1);

}  // namespace

TBoardView::TBoardView(TBoard& board, TWindow& parent, std::string anchor)
    : mBoard(board), mParent(parent), mAnchor(std::move(anchor)), mAtlas(GetRenderer()) {
  for (size_t i = 0; i < mSounds.size(); ++i) mSounds[i] = GetWidgetSound(kSoundFiles[i]);
  // Every blank is there before the first hover or hint needs it.
  AddTileBlanks(mAtlas);
  mBoard.SetHost(this);
}

TBoardView::~TBoardView() {
  mBoard.SetHost(nullptr);
  OnGridCleared();
}

TTile* TBoardView::TileWindow(TTileId id) const {
  return id >= 0 && static_cast<size_t>(id) < mTiles.size() ? mTiles[id].get() : nullptr;
}

void TBoardView::ShowPreview(TTile* tile) {
  if (mPreview) mPreview(tile);
}

void TBoardView::Appraise(TTile& tile) {
  if (mAppraise) mAppraise(tile);
}

bool TBoardView::SendToBox(TTile& tile) {
  return mSendToBox && mSendToBox(tile);
}

void TBoardView::Drop(TTile& tile, TPoint2 screenPoint) {
  if (mDrop) mDrop(tile, screenPoint);
}

void TBoardView::PlaySound(TBoardSound sound) {
  if (const auto& playable = mSounds[static_cast<size_t>(sound)]) playable->Play();
  mGame->PlaySound(sound);
}

void TBoardView::OnTilePlaced(TTileId id) {
  if (static_cast<size_t>(id) >= mTiles.size()) mTiles.resize(id + 1);
  mTiles[id] = std::make_unique<TTile>(*this, id);
  TTile& tile = *mTiles[id];
  const TBoardTile& model = mBoard.Tile(id);
  const TTileScreenPosition position = TileScreenPosition(model.layer, model.x, model.y);
  tile.SetPosition(position.left, position.top);
  tile.SetSize(kTileWindowWidth, kTileWindowHeight);
  mParent.AddChild(&tile, true);
  const TRect absolute = tile.GetAbsoluteRect();
  tile.SetHome({absolute.left, absolute.top});
  mGame->OnTilePlaced(id);
}

void TBoardView::OnTileSelectionChanged(TTileId id) {
  if (TTile* tile = TileWindow(id)) tile->ShowSelected(mBoard.Tile(id).selected);
  mGame->OnTileSelectionChanged(id);
}

void TBoardView::OnTileRemoved(TTileId id) {
  if (TTile* tile = TileWindow(id)) {
    tile->EndPress();
    mParent.RemoveChild(tile);
    if (tile->IsHovered()) ShowPreview(nullptr);
    if (TWindowManager* manager = TWindowManager::Get()) manager->Forget(tile);
  }
  mGame->OnTileRemoved(id);
}

void TBoardView::OnTileRestored(TTileId id) {
  if (TTile* tile = TileWindow(id)) {
    mParent.AddChild(tile, true);
    tile->ShowSelected(false);
  }
  mGame->OnTileRestored(id);
}

void TBoardView::OnTileFaceChanged(TTileId id) {
  if (TTile* tile = TileWindow(id)) tile->SetNormalImage();
  mGame->OnTileFaceChanged(id);
}

void TBoardView::OnGridCleared() {
  TWindowManager* manager = TWindowManager::Get();
  for (auto& tile : mTiles) {
    if (!tile) continue;
    mParent.RemoveChild(tile.get());
    if (manager) manager->Forget(tile.get());
  }
  mTiles.clear();
  mGame->OnGridCleared();
}

// Each tile goes just in front of the one before it, the first just in front of the
// anchor, so that later tiles are drawn over earlier ones and the board stays below the
// windows in front of the anchor.
void TBoardView::OnDrawingOrder(std::span<const TTileId> order) {
  TWindow* previous = mParent.FindChild(mAnchor, 1);
  for (TTileId id : order) {
    TTile* tile = TileWindow(id);
    if (!tile || tile->GetParent() != &mParent) continue;
    if (previous)
      tile->MoveInFrontOf(previous);
    else
      tile->MoveToBack();
    previous = tile;
  }
  mGame->OnDrawingOrder(order);
}

int TBoardView::SetsBoxCount() const {
  return mGame->SetsBoxCount();
}

bool TBoardView::SetsBoxCanTake(const TBoardTile& tile) const {
  return mGame->SetsBoxCanTake(tile);
}

bool TBoardView::TutorialBlocksSelection(const TBoardTile& tile) {
  return mGame->TutorialBlocksSelection(tile);
}

void TBoardView::OnPairAccepted(TTileId first, TTileId second, int slot) {
  for (TTileId id : {first, second})
    if (TTile* tile = TileWindow(id)) tile->EndPress();
  mGame->OnPairAccepted(first, second, slot);
}

void TBoardView::OnMatchShown(TTileId id) {
  mGame->OnMatchShown(id);
}
void TBoardView::OnKennyPair() {
  mGame->OnKennyPair();
}
void TBoardView::OnTreasurePair(TFace face) {
  mGame->OnTreasurePair(face);
}
void TBoardView::OnLevelEnded(TFace won) {
  mGame->OnLevelEnded(won);
}
void TBoardView::OnNoMovesLeft() {
  mGame->OnNoMovesLeft();
}
void TBoardView::OnGiftTakenBack(TFace face) {
  mGame->OnGiftTakenBack(face);
}
