#include "game/window/holding_area.h"

#include <string>

#include "game/face_catalogue.h"
#include "game/window/board_view.h"
#include "game/window/game.h"
#include "game/window/tile.h"
#include "gfx/texture.h"
#include "ui/image.h"

namespace {

// The slot blanks are the head-on tile pictures at 95 % of their size. A face is drawn on
// the blank's light top panel (the upper 58 of its 69 rows) at the size that leaves the
// panel's margins as wide as the board's tiles leave theirs.
constexpr float kSlotBlankScale = 0.95f;
constexpr float kSlotFaceScale = 0.78f;
constexpr int kSlotPanelHeight = 56;  // at the blank's scale

const char* SlotBlankName(TFace face) {
  if (IsKennySuit(face.suit)) return "tiles/blank/tile_medium_kenny_headon";
  if (IsTreasureSuit(face.suit)) return "tiles/blank/tile_medium_antique_headon";
  return "tiles/blank/tile_medium_headon";
}

bool InRect(const TRect& r, TPoint2 p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace

TWindow* THoldingArea::Create() {
  return new THoldingArea;
}

void THoldingArea::Bind(TGame* game) {
  mGame = game;
  if (!game) return;
  for (int i = 0; i < kSlots; ++i) {
    mBlanks[i] =
        dynamic_cast<TImage*>(game->FindChild("game_set_tile_background_" + std::to_string(i)));
    mFaces[i] = dynamic_cast<TImage*>(game->FindChild("game_set_tile_image_" + std::to_string(i)));
  }
  mSubmit = game->FindChild("game_submit_button");
  mSubmitInactive = game->FindChild("game_submit_button_inactive");
}

void THoldingArea::Reset() {
  for (int i = 0; i < kSlots; ++i) {
    if (mBlanks[i]) mBlanks[i]->SetTexture(nullptr, 1.0f);
    if (mFaces[i]) mFaces[i]->SetTexture(nullptr, 1.0f);
  }
  if (mSubmit) mSubmit->SetFlags(0);
  if (mSubmitInactive) mSubmitInactive->SetFlags(kWindowVisible);
}

void THoldingArea::Refresh() {
  if (!mGame) return;
  const TSetsBox& box = mGame->Play().SetsBox();
  const TBoard& board = mGame->Board();
  for (int i = 0; i < kSlots; ++i) {
    TImage* blank = mBlanks[i];
    TImage* face = mFaces[i];
    if (i >= box.Count()) {
      if (blank) blank->SetTexture(nullptr, 1.0f);
      if (face) face->SetTexture(nullptr, 1.0f);
      continue;
    }
    const TFace shown = board.Tile(box.Entries()[i].tile).face;
    if (blank) blank->SetTexture(GetTexture(SlotBlankName(shown), 0), kSlotBlankScale);
    if (face && blank) {
      face->SetTexture(GetTexture("tiles/" + std::string(FaceImageName(shown)) + "_md", 0),
                       kSlotFaceScale);
      const TRect slot = blank->GetRect();
      face->SetPosition(slot.left + (slot.right - slot.left - face->Width()) / 2,
                        slot.top + (kSlotPanelHeight - face->Height()) / 2);
    }
  }
  const bool ready = mGame->Play().SubmitReady();
  const uint32_t visible = kWindowVisible;
  if (mSubmit) mSubmit->SetFlags(ready ? visible : 0u);
  if (mSubmitInactive) mSubmitInactive->SetFlags(ready ? 0u : visible);
}

int THoldingArea::SlotUnder(TPoint2 screenPoint) const {
  for (int i = 0; i < kSlots; ++i)
    if (mBlanks[i] && InRect(mBlanks[i]->GetAbsoluteRect(), screenPoint)) return i;
  return -1;
}

int THoldingArea::SlotAt(TPoint2 screenPoint) const {
  if (!mGame) return -1;
  for (int i = mGame->Play().SetsBox().Count(); i < kSlots; ++i)
    if (mBlanks[i] && InRect(mBlanks[i]->GetAbsoluteRect(), screenPoint)) return i;
  return -1;
}

TPoint2 THoldingArea::SlotPosition(int slot) const {
  if (slot < 0 || slot >= kSlots || !mBlanks[slot]) return {0, 0};
  const TRect r = mBlanks[slot]->GetAbsoluteRect();
  return {r.left, r.top};
}

// In appraisal mode a click on a filled slot appraises its tile.
bool THoldingArea::OnMouseDown(TPoint2 point) {
  if (!mGame || !mGame->Board().appraisalMode) return false;
  const int slot = SlotUnder(LocalToScreen(point));
  if (slot < 0) return false;
  const TSetsBox& box = mGame->Play().SetsBox();
  if (slot < box.Count()) mGame->Play().Appraise(box.Entries()[slot].tile);
  return true;
}

// A release over the next free slot takes the selected tile into it (a click there after
// choosing a tile; a dragged tile's release arrives through its own handler).
bool THoldingArea::OnMouseUp(TPoint2 point) {
  if (!mGame) return false;
  return mGame->DropAt(LocalToScreen(point));
}

// The pointer over a filled slot shows its tile in the preview; elsewhere over the drawer
// the preview goes back to the location's sign.
bool THoldingArea::OnMouseMove(TPoint2 point) {
  if (!mGame) return false;
  const int slot = SlotUnder(LocalToScreen(point));
  const TSetsBox& box = mGame->Play().SetsBox();
  if (slot >= 0 && slot < box.Count())
    mGame->ShowPreview(mGame->View().TileWindow(box.Entries()[slot].tile), false);
  else
    mGame->ShowPreview(nullptr);
  return slot >= 0;
}
