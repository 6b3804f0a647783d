#include "game/window/tile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "frame/event.h"
#include "game/face_catalogue.h"
#include "game/window/board_view.h"
#include "gfx/texture.h"
#include "gfx/texture_atlas.h"
#include "ui/window_manager.h"
#include "ui/window_paint.h"

namespace {

// The face sits on the tile's top surface: 3 pixels right of and above the blank's centre.
constexpr float kFaceOffsetX = 3.0f;
constexpr float kFaceOffsetY = -3.0f;

std::shared_ptr<TTexture> LoadTilePicture(std::string_view name) {
  return GetTexture("tiles/" + std::string(name), 0);
}

// From the board's atlas when it holds the picture (the whole board is then one batch).
void DrawCentred(TTextureAtlas& atlas, TTexture& texture, float x, float y, float scale,
                 float alpha) {
  TDrawParams drawing;
  drawing.x = x;
  drawing.y = y;
  drawing.alpha = alpha;
  drawing.flags = kDrawTransform;
  drawing.transform = TTransform2d{scale, 0, 0, scale, 0, 0};
  if (!atlas.Draw(texture, drawing)) texture.Draw(drawing);
}

}  // namespace

void AddTileBlanks(TTextureAtlas& atlas) {
  using namespace tile_blank;
  for (const char* blank :
       {kOff, kOn, kOffHint, kAntique, kAntiqueOn, kAntiqueHint, kKenny, kKennyOn, kKennyHint})
    atlas.Add(LoadTilePicture(blank));
}

TTileBlanks BlanksForLook(TFace face) {
  using namespace tile_blank;
  if (HasAntiqueLook(face.suit)) return {kAntique, kAntiqueOn, kAntiqueHint};
  if (IsKennySuit(face.suit)) return {kKenny, kKennyOn, kKennyHint};
  return {kOff, kOn, kOffHint};
}

TTileBlanks BlanksForHint(TFace face) {
  using namespace tile_blank;
  if (IsTreasureSuit(face.suit)) return {kAntique, kAntiqueOn, kAntiqueHint};
  if (IsKennySuit(face.suit)) return {kKenny, kKennyOn, kKennyHint};
  return {kOff, kOn, kOffHint};
}

TTile::TTile(TBoardView& view, TTileId id) : TImage(false), mView(view), mId(id) {
  SetFlags(GetFlags() & ~kWindowOpaque);
  ShowSelected(false);
}

TTile::~TTile() = default;

const TBoardTile& TTile::Model() const {
  return mView.Board().Tile(mId);
}

std::string_view TTile::ShortName() const {
  return FaceShortName(Model().face);
}

void TTile::SetImages(std::string_view blank) {
  mFace = LoadTilePicture(std::string(FaceImageName(Model().face)) + "_md");
  mFaceScale = kBoardFaceScale;
  using namespace tile_blank;
  if (!mView.TutorialSeen() && (blank == kOffHint || blank == kAntiqueHint)) mHintMarked = true;
  if (mHintMarked) {
    if (blank == kOff) blank = kOffHint;
    if (blank == kAntique) blank = kAntiqueHint;
  }
  mBlankName = blank;
  mBlank = LoadTilePicture(blank);
  mView.Atlas().Add(mFace);
  mView.Atlas().Add(mBlank);
  if (mBlank) SetSize(mBlank->GetWidth(), mBlank->GetHeight());
  Invalidate();
}

void TTile::SetNormalImage() {
  SetImages(BlanksForLook(Model().face).plain);
}

void TTile::ShowSelected(bool selected) {
  const TTileBlanks blanks = BlanksForLook(Model().face);
  SetImages(selected ? blanks.lit : blanks.plain);
  if (!selected)
    if (TWindowManager* manager = TWindowManager::Get()) manager->Forget(this);
}

void TTile::SetAlpha(float alpha) {
  mAlpha = alpha;
  Invalidate();
}

void TTile::Draw() {
  if (Model().removed || !mFace || !mBlank) return;
  TScoped2d batch;
  if (!batch.Renderer()) return;
  const float alpha = std::clamp(mAlpha, 0.0f, 1.0f);
  const float cx = static_cast<float>(mBlank->GetWidth()) / 2;
  const float cy = static_cast<float>(mBlank->GetHeight()) / 2;
  TTextureAtlas& atlas = mView.Atlas();
  DrawCentred(atlas, *mBlank, cx, cy, 1.0f, alpha);
  DrawCentred(atlas, *mFace, cx + kFaceOffsetX, cy + kFaceOffsetY, mFaceScale, alpha);
}

bool TTile::Contains(TPoint2 point) const {
  return point.x >= 0 && point.y >= 0 && point.x <= Width() && point.y <= Height();
}

// A left press: locked input (a tile is flying to the sets box) does nothing; a free tile
// remembers the press for dragging; in appraisal mode the tile is appraised; otherwise the
// board's click rule decides.
bool TTile::OnMouseDown(TPoint2 point) {
  TBoard& board = mView.Board();
  if (board.inputLocked) return true;
  const TBoardTile& tile = Model();
  if (!tile.removed && !board.appraisalMode && board.IsSelectable(mId)) {
    mPressed = true;
    mPressPoint = point;
  }
  if (board.appraisalMode) {
    mView.Appraise(*this);
    return true;
  }
  board.ClickTile(mId);
  return true;
}

// The right button sends the tile to the sets box (the game decides); nothing in
// appraisal mode or while a tile flies.
bool TTile::OnMouseButton(TPoint2, int code) {
  TBoard& board = mView.Board();
  if (board.appraisalMode || board.inputLocked) return true;
  if (code != kMouseRightDown) return false;
  return mView.SendToBox(*this);
}

bool TTile::OnMouseUp(TPoint2 point) {
  if (mDragging) EndDrag(point);
  EndPress();
  return true;
}

void TTile::EndPress() {
  mPressed = false;
  mPressPoint.reset();
  if (mDragging) {
    // The tile left play while dragged: no drop, the pointer is free again.
    mDragging = false;
    if (TWindowTreeHost* host = TreeHost()) host->RemoveCapture(this);
  }
}

bool TTile::MaybeStartDrag(TPoint2 point) {
  if (mDragging || !mPressed || !mPressPoint) return mDragging;
  if (std::abs(point.x - mPressPoint->x) <= kDragThreshold ||
      std::abs(point.y - mPressPoint->y) <= kDragThreshold)
    return false;
  mDragging = true;
  if (TWindowTreeHost* host = TreeHost()) host->AddCapture(this);
  ChangeOrder(kToFront);
  return true;
}

void TTile::DragTo(TPoint2 point) {
  const TPoint2 inParent = LocalToParent(point);
  SetPosition(inParent.x - kDragGrip, inParent.y - kDragGrip);
}

// Letting go of a dragged tile: it jumps home, is selected (which may match it with the
// tile selected before), and the sets box may take it at the release point; what stays
// selected is then deselected and the board's drawing order restored.
void TTile::EndDrag(TPoint2 point) {
  const TPoint2 release = LocalToScreen(point);
  mDragging = false;
  if (TWindowTreeHost* host = TreeHost()) host->RemoveCapture(this);
  if (TWindow* parent = GetParent()) {
    const TPoint2 home = parent->ScreenToLocal(mHome);
    SetPosition(home.x, home.y);
  }
  TBoard& board = mView.Board();
  if (!Model().selected) board.SelectTile(mId, true);
  mView.Drop(*this, release);
  board.DeselectAll();
  board.RecountTiles(true);
}

// Hover: over a free tile that is not selected the lit blank shows and the rollover plays;
// any tile with a face shows in the game window's preview. The tile keeps the pointer while
// it is top-visible, so that it sees the pointer leave.
bool TTile::OnMouseMove(TPoint2 point) {
  if (mDragging || MaybeStartDrag(point)) {
    DragTo(point);
    return true;
  }
  if (!Contains(point)) return OnMouseLeave();
  const TBoardTile& tile = Model();
  TBoard& board = mView.Board();
  if (board.IsTopVisible(tile.layer, tile.x, tile.y))
    if (TWindowManager* manager = TWindowManager::Get()) manager->AddCapture(this);
  if (board.IsSelectable(mId) && !tile.selected && !mHovered) {
    mHovered = true;
    mView.PlaySound(TBoardSound::kRollover);
    SetImages(BlanksForLook(tile.face).lit);
  }
  if (mFace) mView.ShowPreview(this);
  return true;
}

bool TTile::OnMouseLeave() {
  // A dragged tile keeps the pointer; leaving while pressed is a move to (0, 0), which
  // starts the drag when the press point is far enough from the corner.
  if (mDragging || MaybeStartDrag({0, 0})) return true;
  if (TWindowManager* manager = TWindowManager::Get()) manager->RemoveCapture(this);
  if (mHovered && !Model().selected) SetNormalImage();
  mHovered = false;
  mView.ShowPreview(nullptr);
  return true;
}
