// THoldingArea ("SetDrawer"): the sets box on screen, a drawer of four slots under the
// board. It shows the tiles of the game's sets box (TSetsBox) on their slot blanks, shows
// the submit button while the box can be submitted, takes dropped tiles into the next free
// slot, shows a slot's tile in the preview while the pointer is over it, and lets the
// player appraise a slot's tile in appraisal mode.
//
// Its slot windows are named "game_set_tile_background_0" .. "_3" (the blanks) and
// "game_set_tile_image_0" .. "_3" (the faces); the submit buttons "game_submit_button" and
// "game_submit_button_inactive". They are looked up in the game window, so the script may
// put them inside the drawer or beside it.
#pragma once

#include <array>

#include "ui/window.h"

class TGame;
class TImage;

class THoldingArea : public TWindow {
 public:
  static constexpr int kSlots = 4;

  static TWindow* Create();
  const char* GetClassName() const override { return "THoldingArea"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &THoldingArea::Create || TWindow::IsKindOf(type);
  }

  bool OnMouseDown(TPoint2 point) override;
  bool OnMouseUp(TPoint2 point) override;
  bool OnMouseMove(TPoint2 point) override;

  // Binds the drawer to its game window and looks up the slot windows.
  void Bind(TGame* game);
  TGame* Game() const { return mGame; }
  // Empties the slot pictures and hides the submit button.
  void Reset();
  // Shows what the sets box holds.
  void Refresh();
  // The first slot from the box's count up to the last whose blank contains the screen
  // point (left and top edges in, right and bottom out), or -1.
  int SlotAt(TPoint2 screenPoint) const;
  // The screen position a tile flies to for slot i (its blank's top-left corner).
  TPoint2 SlotPosition(int slot) const;
  // The slot under a screen point, whatever it holds, or -1.
  int SlotUnder(TPoint2 screenPoint) const;
  TImage* SlotBlank(int slot) const { return mBlanks[slot]; }
  TImage* SlotFace(int slot) const { return mFaces[slot]; }

 private:
  TGame* mGame = nullptr;
  std::array<TImage*, kSlots> mBlanks{};
  std::array<TImage*, kSlots> mFaces{};
  TWindow* mSubmit = nullptr;
  TWindow* mSubmitInactive = nullptr;
};
