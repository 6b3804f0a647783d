// TBoardWindow ("GameBoard"): a window that deals one level and lets it be played by its
// rules — tiles, hover, selection, matching and the board's sounds — without the game
// window's score display, buttons, sets box and end screens. Dialog scripts use it to show
// a dealt level (the board preview of the main screen); the campaign's game window owns a
// board and a TBoardView the same way.
//
//   GameBoard{ name = "preview_board", x = 0, y = 0, w = 800, h = 600,
//              level = "levels/level_007.xml",   -- or levelnumber = 7; default level 1
//              seed = 12,                         -- default: the clock
//              beaten = 6,                        -- levels beaten; default: the level's index
//              mode = 1,                          -- 1 campaign, 0 free play
//              solvable = true }                  -- default: the setting "solvable_deals"
//
// What happens in the level is written to the log: the end (cleared or a treasure won,
// with the score) and a board without a move.
#pragma once

#include <memory>

#include "game/board.h"
#include "game/deal.h"
#include "game/level_info.h"
#include "ui/window.h"

class TBoardView;

class TBoardWindow : public TWindow, private TBoardHost {
 public:
  TBoardWindow();
  ~TBoardWindow() override;

  static TWindow* Create();
  const char* GetClassName() const override { return "TBoardWindow"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &TBoardWindow::Create || TWindow::IsKindOf(type);
  }

  void Init(const TWindowStyle& style) override;
  void PostCreate(const TWindowStyle& style) override;
  // A click beside the tiles deselects; the event goes on.
  bool OnMouseDown(TPoint2 point) override;

  TBoard& Board() { return *mBoard; }
  TBoardView& View() { return *mView; }
  const TLevelInfo& LevelInfo() const { return mInfo; }

 private:
  // The level flow of this window: a treasure ends the level at once.
  void OnTreasurePair(TFace face) override;
  void OnLevelEnded(TFace won) override;
  void OnNoMovesLeft() override;

  std::unique_ptr<TBoard> mBoard;
  std::unique_ptr<TBoardView> mView;
  TLevelInfo mInfo;
  std::string mLevelFile;
  TDealRequest mRequest;
  uint32_t mSeed = 0;
};
