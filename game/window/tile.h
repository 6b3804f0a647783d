// TTile: the window of one tile on the board. It draws its face on its blank (plain, lit or
// hint-green, in the common, antique or Kenny look) and turns the pointer into the board's
// rules: hovering lights a free tile, a left click selects and matches. What the tile shows
// follows the board model; the tile window holds only what is seen and what the pointer
// does (hover, press, drag).
//
// Tiles are made only by their TBoardView when the board places a tile; they are never
// created from a dialog script.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "game/board_tile.h"
#include "ui/image.h"

class TBoardView;
class TTexture;
class TTextureAtlas;

// The blanks, relative to the "tiles" folder.
namespace tile_blank {
inline constexpr char kOff[] = "blank/tile_off.png";
inline constexpr char kOn[] = "blank/tile_on.png";
inline constexpr char kOffHint[] = "blank/tile_off_hint.png";
inline constexpr char kAntique[] = "blank/tile_antique.png";
inline constexpr char kAntiqueOn[] = "blank/tile_antique_on.png";
inline constexpr char kAntiqueHint[] = "blank/tile_antique_hint.png";
inline constexpr char kKenny[] = "blank/tile_kenny.png";
inline constexpr char kKennyOn[] = "blank/tile_kenny_on.png";
inline constexpr char kKennyHint[] = "blank/tile_kenny_hint.png";
}  // namespace tile_blank

// The three blanks of one look.
struct TTileBlanks {
  const char* plain;
  const char* lit;
  const char* hint;
};
// Puts all nine blanks into an atlas.
void AddTileBlanks(TTextureAtlas& atlas);
// By look: antique (suits 78 and above), else Kenny, else common.
TTileBlanks BlanksForLook(TFace face);
// The hint highlight's choice: treasure suits get the antique blanks, so the antique-look
// commons 127..129 light up like common tiles.
TTileBlanks BlanksForHint(TFace face);

class TTile : public TImage {
 public:
  // The face scale on the board: faces are drawn at 11/15 of their picture size.
  static constexpr float kBoardFaceScale = 0.73333335f;

  TTile(TBoardView& view, TTileId id);
  ~TTile() override;

  void Draw() override;
  bool OnMouseDown(TPoint2 point) override;
  bool OnMouseButton(TPoint2 point, int code) override;
  bool OnMouseUp(TPoint2 point) override;
  bool OnMouseMove(TPoint2 point) override;
  bool OnMouseLeave() override;

  // Loads the face picture ("tiles/" + image base + "_md") at the board scale and the blank
  // "tiles/" + blank, sizes the window to the blank. While the player has not seen the
  // tutorial, a hint blank marks the tile, and a marked tile shows the hint blank wherever
  // its plain blank would be (so a tile the tutorial lit stays lit).
  void SetImages(std::string_view blank);
  // The plain blank of the tile's look (after a face change, too).
  void SetNormalImage();
  // The lit blank while selected; the plain one again when deselected.
  void ShowSelected(bool selected);

  TTileId Id() const { return mId; }
  const TBoardTile& Model() const;
  std::string_view ShortName() const;
  bool IsHovered() const { return mHovered; }
  bool IsHintMarked() const { return mHintMarked; }
  bool IsPressed() const { return mPressed; }
  bool IsDragging() const { return mDragging; }
  TPoint2 Home() const { return mHome; }
  void SetHome(TPoint2 home) { mHome = home; }
  float Alpha() const { return mAlpha; }
  void SetAlpha(float alpha);
  const std::string& BlankName() const { return mBlankName; }
  // Ends a press without a click (the tile left play, or a drag ended).
  void EndPress();

  // A press moved this far (more than this in x and in y) starts a drag.
  static constexpr int kDragThreshold = 5;
  // A dragged tile hangs from the pointer by this point of its window.
  static constexpr int kDragGrip = 25;

 private:
  bool Contains(TPoint2 point) const;
  // Drags start when a press has moved beyond the threshold: the tile takes the pointer
  // and comes to the front of the board.
  bool MaybeStartDrag(TPoint2 point);
  void DragTo(TPoint2 point);
  void EndDrag(TPoint2 point);

  TBoardView& mView;
  TTileId mId;
  std::shared_ptr<TTexture> mFace;
  std::shared_ptr<TTexture> mBlank;
  std::string mBlankName;
  bool mHovered = false;
  bool mHintMarked = false;
  bool mPressed = false;
  bool mDragging = false;
  std::optional<TPoint2> mPressPoint;
  TPoint2 mHome;
  float mAlpha = 1.0f;
  float mFaceScale = 1.0f;
};
